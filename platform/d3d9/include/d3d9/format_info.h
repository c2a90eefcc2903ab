// How the device stores each surface format, and the pipeline's name for it: the one table of both, read
// by the device's surfaces and textures and by D3DX's loaders.
#pragma once

#include <optional>

#include "d3d9types.h"
#include "pipeline/formats.h"

namespace d3d9 {

std::optional<pipeline::ColorFormat> ColorFormatOf(D3DFORMAT format);
std::optional<pipeline::DepthFormat> DepthFormatOf(D3DFORMAT format);
std::optional<pipeline::TextureFormat> TextureFormatOf(D3DFORMAT format);
bool HasStencil(D3DFORMAT format);
// Bytes of one pixel of a colour or depth format the device stores; 0 for any other format.
UINT BytesPerPixel(D3DFORMAT format);
// Bytes of one 4 x 4 block of DXT1 to DXT5 (the pipeline's block size); 0 for any other format.
UINT BlockBytes(D3DFORMAT format);
bool IsBlockCompressed(D3DFORMAT format);

// How a surface of the format is laid out: bytes per row (of pixels, or of blocks) and rows.
// Zero pitch for a format the device cannot store.
struct SurfaceLayout {
    UINT pitch = 0;
    UINT rows = 0;
};
SurfaceLayout LayoutOf(D3DFORMAT format, UINT width, UINT height);

}  // namespace d3d9
