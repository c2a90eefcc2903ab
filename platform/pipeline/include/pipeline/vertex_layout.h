#pragma once
// Where each attribute sits inside one vertex of a stream.
#include "pipeline/limits.h"

namespace pipeline {

struct VertexLayout {
    int stride = 0;               // bytes from one vertex to the next
    bool pretransformed = false;  // position is x, y (pixels), z, rhw: no transform, lighting or clipping to w
    int positionOffset = 0;       // 3 floats (4 when pretransformed)
    int normalOffset = -1;        // 3 floats, or -1 when absent
    int diffuseOffset = -1;       // 0xAARRGGBB, or -1 (white)
    int specularOffset = -1;      // 0xAARRGGBB, or -1 (black, alpha 0 ... fog factor 1 for pretransformed)
    int texCoordOffset[kMaxTexCoordSets] = {-1, -1, -1, -1, -1, -1, -1, -1};  // 2 floats each, or -1 ((0, 0))
};

}  // namespace pipeline
