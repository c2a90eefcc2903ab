// A8R8G8B8 texels written into the texture formats the loader produces.
#pragma once

#include <cstdint>

#include "d3d9types.h"

namespace d3dx9 {

// Bytes of one texel of a format the loader can write from pixels; 0 for any other format.
UINT PackedTexelBytes(D3DFORMAT format);
// Writes `count` texels of `argb` into `target` in the format (PackedTexelBytes of it each).
// Alpha-less formats store their unused bits as ones.
void PackTexels(D3DFORMAT format, const uint32_t* argb, UINT count, uint8_t* target);

}  // namespace d3dx9
