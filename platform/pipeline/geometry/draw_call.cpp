#include "pipeline/draw_call.h"

namespace pipeline {

int ElementsFor(PrimitiveType type, int primitiveCount) {
    if (primitiveCount <= 0) return 0;
    // 64-bit products: a huge count must not overflow; callers clamp to what is readable anyway.
    int64_t n = primitiveCount, result = 0;
    switch (type) {
    case PrimitiveType::PointList: result = n; break;
    case PrimitiveType::LineList: result = 2 * n; break;
    case PrimitiveType::LineStrip: result = n + 1; break;
    case PrimitiveType::TriangleList: result = 3 * n; break;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan: result = n + 2; break;
    }
    return result > INT32_MAX ? INT32_MAX : static_cast<int>(result);
}

}  // namespace pipeline
