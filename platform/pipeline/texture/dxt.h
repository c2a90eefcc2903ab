#pragma once
// Decoding of one 4 x 4 block of the DXT1 to DXT5 formats.
#include <cstdint>

#include "pipeline/formats.h"

namespace pipeline {

// Bytes per block: 8 for DXT1, 16 for the others.
int dxtBlockBytes(TextureFormat format);

// Decodes the block at `block` into 16 texels 0xAARRGGBB, row by row. DXT2 and DXT4 (premultiplied)
// decode like DXT3 and DXT5: the stored colour is what sampling returns.
void decodeDxtBlock(TextureFormat format, const uint8_t* block, uint32_t out[16]);

} // namespace pipeline
