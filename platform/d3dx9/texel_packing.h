// A8R8G8B8 texels written into the texture formats the loader produces.
#pragma once

#include <cstdint>

#include "d3d9types.h"

namespace d3dx9 {

// Writes `count` texels of `argb` into `target` in one of the device's colour formats (d3d9::ColorFormatOf;
// nothing for any other format), d3d9::BytesPerPixel of it each. Alpha-less formats store their unused
// bits as ones.
void PackTexels(D3DFORMAT format, const uint32_t* argb, UINT count, uint8_t* target);

}  // namespace d3dx9
