// Scaling A8R8G8B8 images with the library's filters, 8 bits per channel.
#pragma once

#include <cstdint>
#include <vector>

#include "d3dx9.h"

namespace d3dx9 {

struct PixelImage {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint32_t> argb;  // top row first
};

// Whether a filter argument is one the library takes: D3DX_DEFAULT, or one of NONE, POINT, LINEAR,
// TRIANGLE and BOX with the mirror and dither bits.
bool IsValidFilter(DWORD filter);

// The image at width x height. NONE copies the overlap and leaves the rest transparent black; POINT
// takes the nearest texel; LINEAR blends the four nearest, wrapping at the edges unless mirrored;
// TRIANGLE and BOX average the texels each target texel covers. A filter of D3DX_DEFAULT is TRIANGLE.
PixelImage Resample(const PixelImage& source, UINT width, UINT height, DWORD filter);

}  // namespace d3dx9
