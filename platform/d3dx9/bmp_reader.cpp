// BMP files: a 14-byte file header, then a core (12-byte) or info (40-byte and longer) header, the
// optional bit-field masks and palette, and uncompressed rows padded to 4 bytes, bottom-up unless the
// height is negative. Run-length compressed files are not read.
#include <algorithm>

#include "byte_reading.h"
#include "channel_masks.h"
#include "d3dx9/image_file.h"
#include "wingdi.h"

namespace d3dx9 {

namespace {

constexpr size_t kFileHeaderSize = 14;

struct BmpLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t masks[4] = {};  // red, green, blue, alpha
    bool hasMasks = false;
    size_t paletteOffset = 0;
    size_t paletteEntrySize = 4;
    uint32_t paletteEntries = 0;
};

HRESULT ReadLayout(const uint8_t* data, size_t size, BmpLayout& layout) {
    if (!Fits(0, kFileHeaderSize + 4, size)) return D3DXERR_INVALIDDATA;
    const uint32_t headerSize = ReadU32(data, kFileHeaderSize);
    if (!Fits(kFileHeaderSize, headerSize, size)) return D3DXERR_INVALIDDATA;
    size_t after = kFileHeaderSize + headerSize;
    uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        layout.width = ReadU16(data, 18);
        layout.height = ReadU16(data, 20);
        if (ReadU16(data, 22) != 1) return D3DXERR_INVALIDDATA;
        layout.bitCount = ReadU16(data, 24);
        layout.paletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        const int32_t width = ReadS32(data, 18);
        const int32_t height = ReadS32(data, 22);
        if (width <= 0 || height == 0 || height == INT32_MIN) return D3DXERR_INVALIDDATA;
        layout.width = static_cast<uint32_t>(width);
        layout.topDown = height < 0;
        layout.height = static_cast<uint32_t>(height < 0 ? -height : height);
        if (ReadU16(data, 26) != 1) return D3DXERR_INVALIDDATA;
        layout.bitCount = ReadU16(data, 28);
        layout.compression = ReadU32(data, 30);
        colorsUsed = ReadU32(data, 46);
        if (layout.compression == BI_BITFIELDS) {
            // Longer headers carry the masks; the 40-byte one is followed by three of them.
            if (headerSize == 40) {
                if (!Fits(after, 12, size)) return D3DXERR_INVALIDDATA;
                for (int i = 0; i < 3; ++i) layout.masks[i] = ReadU32(data, after + 4 * i);
                after += 12;
            } else {
                for (int i = 0; i < 3; ++i) layout.masks[i] = ReadU32(data, 54 + 4 * i);
            }
            layout.hasMasks = true;
        }
        // As with the colour masks, an alpha mask counts only for bit-field pixels.
        if (headerSize >= 56 && layout.compression == BI_BITFIELDS) layout.masks[3] = ReadU32(data, 66);
    } else {
        return D3DXERR_INVALIDDATA;
    }
    if (layout.width == 0 || layout.height == 0 ||
        uint64_t(layout.width) * layout.height > kMaxImagePixels)
        return D3DXERR_INVALIDDATA;

    const uint16_t bits = layout.bitCount;
    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (!paletted && bits != 16 && bits != 24 && bits != 32) return D3DXERR_INVALIDDATA;
    if (layout.compression == BI_BITFIELDS ? (bits != 16 && bits != 32) : layout.compression != BI_RGB)
        return D3DXERR_INVALIDDATA;
    if (paletted) {
        const uint32_t most = 1u << bits;
        if (colorsUsed > most) return D3DXERR_INVALIDDATA;
        layout.paletteEntries = colorsUsed ? colorsUsed : most;
        layout.paletteOffset = after;
        if (!Fits(after, uint64_t(layout.paletteEntries) * layout.paletteEntrySize, size)) return D3DXERR_INVALIDDATA;
    }
    if (!layout.hasMasks) {
        if (bits == 16) {
            layout.masks[0] = 0x7C00, layout.masks[1] = 0x03E0, layout.masks[2] = 0x001F;
        } else if (bits == 32 || bits == 24) {
            layout.masks[0] = 0xFF0000, layout.masks[1] = 0xFF00, layout.masks[2] = 0xFF;
        }
    }
    if (bits == 24) layout.masks[3] = 0;
    return D3D_OK;
}

// The file's own format, and the one a texture takes from it.
void ChooseFormats(const BmpLayout& layout, DecodedImage& image) {
    const uint32_t r = layout.masks[0], g = layout.masks[1], b = layout.masks[2], a = layout.masks[3];
    switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
        image.fileFormat = D3DFMT_P8;
        image.textureFormat = D3DFMT_X8R8G8B8;
        return;
    case 24:
        image.fileFormat = D3DFMT_R8G8B8;
        image.textureFormat = D3DFMT_X8R8G8B8;
        return;
    case 16:
        if (r == 0xF800 && g == 0x07E0 && b == 0x001F && a == 0)
            image.fileFormat = D3DFMT_R5G6B5;
        else if (r == 0x7C00 && g == 0x03E0 && b == 0x001F)
            image.fileFormat = a == 0x8000 ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
        else if (r == 0x0F00 && g == 0x00F0 && b == 0x000F)
            image.fileFormat = a == 0xF000 ? D3DFMT_A4R4G4B4 : D3DFMT_X4R4G4B4;
        else
            image.fileFormat = a ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        image.textureFormat = image.fileFormat == D3DFMT_X4R4G4B4 ? D3DFMT_X8R8G8B8 : image.fileFormat;
        return;
    default:
        image.fileFormat = a ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        image.textureFormat = image.fileFormat;
        return;
    }
}

}  // namespace

HRESULT DecodeBmp(const uint8_t* data, size_t size, DecodedImage& image) {
    if (!data || size < 2 || data[0] != 'B' || data[1] != 'M') return D3DXERR_INVALIDDATA;
    BmpLayout layout;
    HRESULT hr = ReadLayout(data, size, layout);
    if (FAILED(hr)) return hr;

    const uint64_t stride = ((uint64_t(layout.width) * layout.bitCount + 31) / 32) * 4;
    uint32_t pixelOffset = ReadU32(data, 10);
    if (!Fits(pixelOffset, stride * layout.height, size)) return D3DXERR_INVALIDDATA;

    // Palette entries are blue, green, red (and a reserved byte); the reserved byte is not alpha.
    std::vector<uint32_t> palette(layout.paletteEntries);
    for (uint32_t i = 0; i < layout.paletteEntries; ++i) {
        const uint8_t* entry = data + layout.paletteOffset + size_t(i) * layout.paletteEntrySize;
        palette[i] = 0xFF000000u | (uint32_t(entry[2]) << 16) | (uint32_t(entry[1]) << 8) | entry[0];
    }
    const ChannelMasks masks(layout.masks[0], layout.masks[1], layout.masks[2], layout.masks[3]);

    ImageLevel level;
    level.width = layout.width;
    level.height = layout.height;
    level.argb.resize(size_t(layout.width) * layout.height);
    for (uint32_t row = 0; row < layout.height; ++row) {
        const uint8_t* source = data + pixelOffset + row * stride;
        const uint32_t y = layout.topDown ? row : layout.height - 1 - row;
        uint32_t* target = level.argb.data() + size_t(y) * layout.width;
        for (uint32_t x = 0; x < layout.width; ++x) {
            switch (layout.bitCount) {
            case 1:
            case 4:
            case 8: {
                const uint32_t bits = layout.bitCount;
                const uint32_t bitPos = x * bits;
                const uint32_t shift = 8 - bits - (bitPos % 8);
                const uint32_t index = (source[bitPos / 8] >> shift) & ((1u << bits) - 1);
                // An index past a short palette reads opaque black.
                target[x] = index < palette.size() ? palette[index] : 0xFF000000u;
                break;
            }
            case 16: target[x] = masks.ToArgb(ReadU16(source, size_t(x) * 2)); break;
            case 24: {
                const uint8_t* p = source + size_t(x) * 3;
                target[x] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
                break;
            }
            default: target[x] = masks.ToArgb(ReadU32(source, size_t(x) * 4)); break;
            }
        }
    }
    image = DecodedImage{};
    image.fileKind = D3DXIFF_BMP;
    ChooseFormats(layout, image);
    image.levels.push_back(std::move(level));
    return D3D_OK;
}

}  // namespace d3dx9
