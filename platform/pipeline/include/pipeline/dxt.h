#pragma once
// Decoding of the DXT1 to DXT5 formats: the one decoder of their blocks, for the device's sampling and
// for D3DX's loading alike.
#include <cstddef>
#include <cstdint>

#include "pipeline/formats.h"

namespace pipeline {

// Bytes per block of 4 x 4 texels: 8 for DXT1, 16 for DXT2 to DXT5, 0 for an uncompressed format. The one
// place the block size is written: the device's surfaces and D3DX's files lay out their blocks by it.
int DxtBlockBytes(TextureFormat format);

// Decodes the block at `block` into 16 texels 0xAARRGGBB, row by row. DXT2 and DXT4 (premultiplied)
// decode like DXT3 and DXT5: the stored colour is what sampling returns.
void DecodeDxtBlock(TextureFormat format, const uint8_t* block, uint32_t out[16]);

// Decodes a level of width x height texels whose rows of blocks start `pitch` bytes apart into argb
// (width x height texels, row by row). Blocks on the right and bottom edges hang over the level.
void DecodeDxtLevel(TextureFormat format, const uint8_t* blocks, size_t pitch, int width, int height, uint32_t* argb);

}  // namespace pipeline
