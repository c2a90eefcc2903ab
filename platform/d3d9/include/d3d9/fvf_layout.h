// Where each component of a vertex of a flexible vertex format sits. The one decoder of the format:
// the device's buffers and draws and D3DX's meshes all read vertices through it.
#pragma once

#include "d3d9types.h"

namespace d3d9 {

struct FvfLayout {
    UINT stride = 0;        // bytes of one vertex; 0 when the format is not valid
    DWORD position = 0;     // the position bits (fvf & D3DFVF_POSITION_MASK); 0: no position
    UINT positionSize = 0;  // bytes of the position with its blend weights
    int normal = -1, pointSize = -1, diffuse = -1, specular = -1;  // byte offsets, -1 when absent
    UINT texSets = 0;
    int texOffset[D3DDP_MAXTEXCOORD] = {};
    UINT texSize[D3DDP_MAXTEXCOORD] = {};  // bytes of each coordinate set: 4, 8, 12 or 16
};

// The layout of `fvf`, components in their fixed order: position, normal, point size, diffuse,
// specular, texture sets. Unknown position bits or more than eight texture sets are not valid.
FvfLayout DecodeFvf(DWORD fvf);

}  // namespace d3d9
