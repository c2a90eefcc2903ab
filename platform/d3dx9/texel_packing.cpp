#include "texel_packing.h"

#include <cstring>

#include "d3d9/format_info.h"

namespace d3dx9 {

void PackTexels(D3DFORMAT format, const uint32_t* argb, UINT count, uint8_t* target) {
    const auto packed = d3d9::ColorFormatOf(format);
    if (!packed) return;
    const int bytes = pipeline::BytesPerPixel(*packed);
    for (UINT i = 0; i < count; ++i) {
        const uint32_t value = pipeline::FromArgb8(*packed, argb[i]);
        std::memcpy(target + size_t(i) * bytes, &value, size_t(bytes));  // little-endian: the low bytes
    }
}

}  // namespace d3dx9
