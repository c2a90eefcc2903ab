// DDS files: "DDS ", a 124-byte header with a 32-byte pixel format, then the levels one after the
// other, largest first. Uncompressed RGB (16, 24 and 32 bits, by masks) and DXT1 to DXT5 are read;
// cube maps, volumes, the extended header and other pixel formats are not.
#include <algorithm>

#include "byte_reading.h"
#include "channel_masks.h"
#include "d3d9/format_info.h"
#include "d3dx9/image_file.h"
#include "pipeline/dxt.h"

namespace d3dx9 {

namespace {

constexpr size_t kHeaderOffset = 4;
constexpr size_t kDataOffset = 4 + 124;
constexpr uint32_t kMipMapCountFlag = 0x20000;
constexpr uint32_t kAlphaPixels = 0x1;
constexpr uint32_t kFourCC = 0x4;
constexpr uint32_t kRgb = 0x40;
constexpr uint32_t kCubeMap = 0x200;
constexpr uint32_t kVolume = 0x200000;

struct PixelFormat {
    uint32_t flags, fourCC, bitCount, red, green, blue, alpha;
};

// The format an RGB layout is written in and the one a texture takes from it.
void ChooseRgbFormats(const PixelFormat& pf, DecodedImage& image) {
    const uint32_t a = pf.alpha;
    auto is = [&](uint32_t bits, uint32_t r, uint32_t g, uint32_t b) {
        return pf.bitCount == bits && pf.red == r && pf.green == g && pf.blue == b;
    };
    D3DFORMAT file = a ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    if (is(32, 0xFF0000, 0xFF00, 0xFF)) file = a == 0xFF000000u ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    else if (is(32, 0xFF, 0xFF00, 0xFF0000)) file = a == 0xFF000000u ? D3DFMT_A8B8G8R8 : D3DFMT_X8B8G8R8;
    else if (is(24, 0xFF0000, 0xFF00, 0xFF)) file = D3DFMT_R8G8B8;
    else if (is(16, 0xF800, 0x07E0, 0x001F) && !a) file = D3DFMT_R5G6B5;
    else if (is(16, 0x7C00, 0x03E0, 0x001F)) file = a == 0x8000 ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
    else if (is(16, 0x0F00, 0x00F0, 0x000F)) file = a == 0xF000 ? D3DFMT_A4R4G4B4 : D3DFMT_X4R4G4B4;
    image.fileFormat = file;
    // A format the device stores is kept; the others widen to 32 bits.
    image.textureFormat = d3d9::ColorFormatOf(file) ? file : a ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

D3DFORMAT DxtFormatOfFourCC(uint32_t code) {
    for (D3DFORMAT format : {D3DFMT_DXT1, D3DFMT_DXT2, D3DFMT_DXT3, D3DFMT_DXT4, D3DFMT_DXT5})
        if (code == static_cast<uint32_t>(format)) return format;
    return D3DFMT_UNKNOWN;
}

UINT FullChain(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT size = std::max(width, height); size > 1; size /= 2) ++levels;
    return levels;
}

}  // namespace

HRESULT DecodeDds(const uint8_t* data, size_t size, DecodedImage& image) {
    if (!data || !Fits(0, kDataOffset, size) || ReadU32(data, 0) != MAKEFOURCC('D', 'D', 'S', ' ') ||
        ReadU32(data, kHeaderOffset) != 124 || ReadU32(data, kHeaderOffset + 72) != 32)
        return D3DXERR_INVALIDDATA;
    const uint32_t flags = ReadU32(data, kHeaderOffset + 4);
    const uint32_t height = ReadU32(data, kHeaderOffset + 8);
    const uint32_t width = ReadU32(data, kHeaderOffset + 12);
    const uint32_t storedLevels = ReadU32(data, kHeaderOffset + 24);
    PixelFormat pf{ReadU32(data, kHeaderOffset + 76), ReadU32(data, kHeaderOffset + 80),
                         ReadU32(data, kHeaderOffset + 84), ReadU32(data, kHeaderOffset + 88),
                         ReadU32(data, kHeaderOffset + 92), ReadU32(data, kHeaderOffset + 96),
                         ReadU32(data, kHeaderOffset + 100)};
    const uint32_t caps2 = ReadU32(data, kHeaderOffset + 108);
    if (width == 0 || height == 0 || uint64_t(width) * height > kMaxImagePixels) return D3DXERR_INVALIDDATA;
    if (caps2 & (kCubeMap | kVolume)) return D3DXERR_INVALIDDATA;

    DecodedImage decoded;
    decoded.fileKind = D3DXIFF_DDS;
    uint32_t bytesPerPixel = 0;
    if (pf.flags & kFourCC) {
        // Only a known code becomes a D3DFORMAT: most codes lie outside the enumeration's range.
        const D3DFORMAT format = DxtFormatOfFourCC(pf.fourCC);
        if (format == D3DFMT_UNKNOWN) return D3DXERR_INVALIDDATA;
        decoded.fileFormat = decoded.textureFormat = format;
    } else if (pf.flags & kRgb) {
        if (pf.bitCount != 16 && pf.bitCount != 24 && pf.bitCount != 32) return D3DXERR_INVALIDDATA;
        if (!(pf.flags & kAlphaPixels)) pf.alpha = 0;
        if (!pf.red && !pf.green && !pf.blue) return D3DXERR_INVALIDDATA;
        bytesPerPixel = pf.bitCount / 8;
        ChooseRgbFormats(pf, decoded);
    } else {
        return D3DXERR_INVALIDDATA;
    }

    // A stored count beyond the full chain is cut to it; the levels must all be there.
    UINT levels = (flags & kMipMapCountFlag) && storedLevels > 0 ? storedLevels : 1;
    levels = std::min(levels, FullChain(width, height));
    const ChannelMasks masks(pf.red, pf.green, pf.blue, pf.alpha);
    size_t offset = kDataOffset;
    for (UINT i = 0; i < levels; ++i) {
        ImageLevel level;
        level.width = std::max(width >> i, 1u);
        level.height = std::max(height >> i, 1u);
        const uint64_t pixels = uint64_t(level.width) * level.height;
        const d3d9::SurfaceLayout blocks = d3d9::LayoutOf(decoded.fileFormat, level.width, level.height);
        const uint64_t bytes = bytesPerPixel ? pixels * bytesPerPixel : uint64_t(blocks.pitch) * blocks.rows;
        if (!Fits(offset, bytes, size)) return D3DXERR_INVALIDDATA;
        const uint8_t* source = data + offset;
        level.argb.resize(pixels);
        if (bytesPerPixel == 0) {
            level.blocks.assign(source, source + bytes);
            // DXT2 and DXT4 colours stay as stored (premultiplied by their alpha).
            pipeline::DecodeDxtLevel(*d3d9::TextureFormatOf(decoded.fileFormat), source, blocks.pitch, int(level.width),
                                     int(level.height), level.argb.data());
        } else {
            for (uint64_t p = 0; p < pixels; ++p) {
                const uint8_t* s = source + p * bytesPerPixel;
                uint32_t value = s[0] | (uint32_t(s[1]) << 8);
                if (bytesPerPixel >= 3) value |= uint32_t(s[2]) << 16;
                if (bytesPerPixel == 4) value |= uint32_t(s[3]) << 24;
                level.argb[p] = masks.ToArgb(value);
            }
        }
        offset += bytes;
        decoded.levels.push_back(std::move(level));
    }
    image = std::move(decoded);
    return D3D_OK;
}

}  // namespace d3dx9
