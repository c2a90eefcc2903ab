#include "texel_packing.h"

#include <cstring>

namespace d3dx9 {

namespace {

// An 8-bit channel rounded to `bits` bits.
uint32_t Narrow(uint32_t value, uint32_t bits) {
    const uint32_t most = (1u << bits) - 1;
    return (value * most + 127) / 255;
}

uint16_t Pack16(uint32_t argb, uint32_t aBits, uint32_t rBits, uint32_t gBits, uint32_t bBits, bool alphaOnes) {
    const uint32_t a = (argb >> 24) & 0xFF, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    const uint32_t alpha = alphaOnes ? (1u << aBits) - 1 : Narrow(a, aBits);
    return static_cast<uint16_t>((alpha << (rBits + gBits + bBits)) | (Narrow(r, rBits) << (gBits + bBits)) |
                                 (Narrow(g, gBits) << bBits) | Narrow(b, bBits));
}

}  // namespace

UINT PackedTexelBytes(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4: return 2;
    default: return 0;
    }
}

void PackTexels(D3DFORMAT format, const uint32_t* argb, UINT count, uint8_t* target) {
    for (UINT i = 0; i < count; ++i) {
        uint32_t value = argb[i];
        switch (format) {
        case D3DFMT_A8R8G8B8: std::memcpy(target + 4 * i, &value, 4); continue;
        case D3DFMT_X8R8G8B8:
            value |= 0xFF000000u;
            std::memcpy(target + 4 * i, &value, 4);
            continue;
        case D3DFMT_R5G6B5: value = Pack16(value, 0, 5, 6, 5, false); break;
        case D3DFMT_X1R5G5B5: value = Pack16(value, 1, 5, 5, 5, true); break;
        case D3DFMT_A1R5G5B5: value = Pack16(value, 1, 5, 5, 5, false); break;
        case D3DFMT_A4R4G4B4: value = Pack16(value, 4, 4, 4, 4, false); break;
        default: return;
        }
        const uint16_t packed = static_cast<uint16_t>(value);
        std::memcpy(target + 2 * i, &packed, 2);
    }
}

}  // namespace d3dx9
