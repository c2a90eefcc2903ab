#include "pipeline/render_target.h"

#include <algorithm>

namespace pipeline {

Rect DrawableArea(const RenderTarget& target) {
    const Viewport& vp = target.viewport;
    // 64-bit sums: a viewport near INT_MAX must not overflow.
    int64_t right = static_cast<int64_t>(vp.x) + std::max(vp.width, 0);
    int64_t bottom = static_cast<int64_t>(vp.y) + std::max(vp.height, 0);
    int64_t l = std::max(vp.x, 0), t = std::max(vp.y, 0);
    int64_t r = std::min<int64_t>(right, target.color.data ? target.color.width : 0);
    int64_t b = std::min<int64_t>(bottom, target.color.data ? target.color.height : 0);
    if (target.scissorEnabled) {
        l = std::max<int64_t>(l, target.scissor.left);
        t = std::max<int64_t>(t, target.scissor.top);
        r = std::min<int64_t>(r, target.scissor.right);
        b = std::min<int64_t>(b, target.scissor.bottom);
    }
    if (r <= l || b <= t) return {};
    return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)};
}

}  // namespace pipeline
