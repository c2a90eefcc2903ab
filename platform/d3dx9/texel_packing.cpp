#include "texel_packing.h"

#include <cstring>
#include <optional>

#include "pipeline/formats.h"

namespace d3dx9 {

namespace {

std::optional<pipeline::ColorFormat> PackedFormatOf(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8: return pipeline::ColorFormat::A8R8G8B8;
    case D3DFMT_X8R8G8B8: return pipeline::ColorFormat::X8R8G8B8;
    case D3DFMT_R5G6B5: return pipeline::ColorFormat::R5G6B5;
    case D3DFMT_X1R5G5B5: return pipeline::ColorFormat::X1R5G5B5;
    case D3DFMT_A1R5G5B5: return pipeline::ColorFormat::A1R5G5B5;
    case D3DFMT_A4R4G4B4: return pipeline::ColorFormat::A4R4G4B4;
    default: return std::nullopt;
    }
}

}  // namespace

UINT PackedTexelBytes(D3DFORMAT format) {
    const auto packed = PackedFormatOf(format);
    return packed ? UINT(pipeline::BytesPerPixel(*packed)) : 0;
}

void PackTexels(D3DFORMAT format, const uint32_t* argb, UINT count, uint8_t* target) {
    const auto packed = PackedFormatOf(format);
    if (!packed) return;
    const int bytes = pipeline::BytesPerPixel(*packed);
    for (UINT i = 0; i < count; ++i) {
        const uint32_t value = pipeline::FromArgb8(*packed, argb[i]);
        std::memcpy(target + size_t(i) * bytes, &value, size_t(bytes));  // little-endian: the low bytes
    }
}

}  // namespace d3dx9
