#include "dxt_blocks.h"

#include <algorithm>

#include "byte_reading.h"

namespace d3dx9 {

namespace {

uint32_t Expand565(uint16_t c) {
    const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * wa + cb * wb + (wa + wb) / 2) / (wa + wb)) << shift;
    }
    return out;
}

// The 16 colours of a colour block, alpha 0xFF; a DXT1 block in three-colour mode makes index 3
// transparent black.
void DecodeColorBlock(const uint8_t* block, bool dxt1, uint32_t out[16]) {
    const uint16_t c0 = ReadU16(block, 0), c1 = ReadU16(block, 2);
    uint32_t colors[4];
    colors[0] = 0xFF000000u | Expand565(c0);
    colors[1] = 0xFF000000u | Expand565(c1);
    if (c0 > c1 || !dxt1) {
        colors[2] = 0xFF000000u | Mix(colors[0], colors[1], 2, 1);
        colors[3] = 0xFF000000u | Mix(colors[0], colors[1], 1, 2);
    } else {
        colors[2] = 0xFF000000u | Mix(colors[0], colors[1], 1, 1);
        colors[3] = 0;
    }
    const uint32_t indices = ReadU32(block, 4);
    for (int i = 0; i < 16; ++i) out[i] = colors[(indices >> (2 * i)) & 3];
}

void DecodeExplicitAlpha(const uint8_t* block, uint32_t texels[16]) {
    for (int i = 0; i < 16; ++i) {
        const uint32_t a = (block[i / 2] >> (4 * (i % 2))) & 15;
        texels[i] = (texels[i] & 0x00FFFFFF) | ((a * 17) << 24);
    }
}

void DecodeInterpolatedAlpha(const uint8_t* block, uint32_t texels[16]) {
    const uint32_t a0 = block[0], a1 = block[1];
    uint32_t alphas[8] = {a0, a1};
    if (a0 > a1) {
        for (uint32_t i = 1; i < 7; ++i) alphas[i + 1] = ((7 - i) * a0 + i * a1 + 3) / 7;
    } else {
        for (uint32_t i = 1; i < 5; ++i) alphas[i + 1] = ((5 - i) * a0 + i * a1 + 2) / 5;
        alphas[6] = 0;
        alphas[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= uint64_t(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) texels[i] = (texels[i] & 0x00FFFFFF) | (alphas[(bits >> (3 * i)) & 7] << 24);
}

}  // namespace

bool IsDxtFormat(D3DFORMAT format) { return DxtBlockBytes(format) != 0; }

UINT DxtBlockBytes(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_DXT1: return 8;
    case D3DFMT_DXT2:
    case D3DFMT_DXT3:
    case D3DFMT_DXT4:
    case D3DFMT_DXT5: return 16;
    default: return 0;
    }
}

uint64_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height) {
    return uint64_t((width + 3) / 4) * ((height + 3) / 4) * DxtBlockBytes(format);
}

void DecodeDxtLevel(D3DFORMAT format, const uint8_t* blocks, UINT width, UINT height, uint32_t* argb) {
    const UINT blockBytes = DxtBlockBytes(format);
    const UINT across = (width + 3) / 4, down = (height + 3) / 4;
    for (UINT by = 0; by < down; ++by) {
        for (UINT bx = 0; bx < across; ++bx) {
            const uint8_t* block = blocks + (size_t(by) * across + bx) * blockBytes;
            uint32_t texels[16];
            if (format == D3DFMT_DXT1) {
                DecodeColorBlock(block, true, texels);
            } else {
                DecodeColorBlock(block + 8, false, texels);
                if (format == D3DFMT_DXT2 || format == D3DFMT_DXT3)
                    DecodeExplicitAlpha(block, texels);
                else
                    DecodeInterpolatedAlpha(block, texels);
            }
            // Blocks on the right and bottom edges hang over smaller levels.
            for (UINT ty = 0; ty < 4 && by * 4 + ty < height; ++ty)
                for (UINT tx = 0; tx < 4 && bx * 4 + tx < width; ++tx)
                    argb[size_t(by * 4 + ty) * width + bx * 4 + tx] = texels[ty * 4 + tx];
        }
    }
}

}  // namespace d3dx9
