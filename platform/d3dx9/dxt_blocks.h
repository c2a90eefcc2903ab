// DXT1 to DXT5 blocks: 4 x 4 texels in 8 bytes (DXT1) or 16 bytes (alpha, then a colour block).
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3d9types.h"

namespace d3dx9 {

bool IsDxtFormat(D3DFORMAT format);
// Bytes of one block; 0 for a format that is not block-compressed.
UINT DxtBlockBytes(D3DFORMAT format);
// Bytes of a whole level of width x height texels.
uint64_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height);
// Decodes a level's blocks (DxtLevelBytes of them) into width x height A8R8G8B8 texels. DXT2 and
// DXT4 colours stay as stored (premultiplied by their alpha).
void DecodeDxtLevel(D3DFORMAT format, const uint8_t* blocks, UINT width, UINT height, uint32_t* argb);

}  // namespace d3dx9
