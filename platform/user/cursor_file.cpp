// The .cur file and the icon image inside it: an ICONDIR (type 2 for cursors), ICONDIRENTRYs with
// the hot spot, and for the image a BITMAPINFOHEADER of double height, the palette, the XOR bits and
// the 1-bit AND mask, rows bottom-up and padded to 32 bits. Every size is checked against the data.
#include <algorithm>

#include "user/cursors.h"

namespace user {
namespace {

constexpr int kMaxSide = 256;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void SetBit(std::vector<uint8_t>& bits, int rowBytes, int x, int y) {
    bits[static_cast<size_t>(y) * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

}  // namespace

std::shared_ptr<CursorImage> ReadIconImage(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 40) return nullptr;
    const uint32_t headerSize = Dword(data);
    const int32_t width = static_cast<int32_t>(Dword(data + 4));
    const int32_t doubleHeight = static_cast<int32_t>(Dword(data + 8));
    const uint16_t planes = Word(data + 12);
    const uint16_t bitCount = Word(data + 14);
    const uint32_t compression = Dword(data + 16);
    const uint32_t colorsUsed = Dword(data + 32);
    if (headerSize < 40 || headerSize > size) return nullptr;
    if (width <= 0 || width > kMaxSide || doubleHeight <= 0 || doubleHeight > 2 * kMaxSide || doubleHeight % 2 != 0)
        return nullptr;
    if (planes != 1 || compression != 0) return nullptr;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return nullptr;
    const int height = doubleHeight / 2;

    uint64_t paletteEntries = 0;
    if (bitCount <= 8) {
        const uint32_t full = 1u << bitCount;
        if (colorsUsed > full) return nullptr;
        paletteEntries = colorsUsed != 0 ? colorsUsed : full;
    }
    const uint64_t xorStride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    const uint64_t andStride = (static_cast<uint64_t>(width) + 31) / 32 * 4;
    const uint64_t paletteAt = headerSize;
    const uint64_t xorAt = paletteAt + paletteEntries * 4;
    const uint64_t andAt = xorAt + xorStride * height;
    if (andAt + andStride * height > size) return nullptr;

    auto image = std::make_shared<CursorImage>();
    image->width = width;
    image->height = height;
    image->monochrome = bitCount == 1;
    const int rowBytes = image->MaskRowBytes();
    image->mask.assign(static_cast<size_t>(rowBytes) * image->MaskHeight(), 0);
    if (!image->monochrome) image->color.assign(static_cast<size_t>(width) * height, 0);

    auto paletteColor = [&](uint32_t index) -> uint32_t {
        if (index >= paletteEntries) return 0;  // outside the palette: black
        const uint8_t* q = data + paletteAt + index * 4;
        return (static_cast<uint32_t>(q[2]) << 16) | (static_cast<uint32_t>(q[1]) << 8) | q[0];
    };
    for (int y = 0; y < height; ++y) {
        const int fileRow = height - 1 - y;  // the file's rows are bottom-up
        const uint8_t* andRow = data + andAt + andStride * fileRow;
        const uint8_t* xorRow = data + xorAt + xorStride * fileRow;
        for (int x = 0; x < width; ++x) {
            if ((andRow[x / 8] >> (7 - x % 8)) & 1) SetBit(image->mask, rowBytes, x, y);
            uint32_t pixel = 0;
            switch (bitCount) {
                case 1: pixel = paletteColor((xorRow[x / 8] >> (7 - x % 8)) & 1); break;
                case 4: pixel = paletteColor((xorRow[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F); break;
                case 8: pixel = paletteColor(xorRow[x]); break;
                case 24: {
                    const uint8_t* p = xorRow + x * 3;
                    pixel = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
                    break;
                }
                case 32: pixel = Dword(xorRow + x * 4); break;
            }
            if (image->monochrome) {
                // The XOR mask below the AND mask: set where the palette colour is light.
                const uint32_t sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
                if (sum >= 384) SetBit(image->mask, rowBytes, x, height + y);
            } else {
                image->color[static_cast<size_t>(y) * width + x] = pixel;
            }
        }
    }
    return image;
}

std::shared_ptr<CursorImage> ReadCursorFile(const uint8_t* data, size_t size) {
    constexpr size_t kDirectoryBytes = 6, kEntryBytes = 16;
    if (data == nullptr || size < kDirectoryBytes + kEntryBytes) return nullptr;
    if (Word(data) != 0 || Word(data + 2) != 2) return nullptr;
    const uint16_t count = Word(data + 4);
    if (count == 0 || kDirectoryBytes + static_cast<size_t>(count) * kEntryBytes > size) return nullptr;
    const uint8_t* entry = data + kDirectoryBytes;  // the first image
    const uint16_t hotspotX = Word(entry + 4), hotspotY = Word(entry + 6);
    const uint32_t bytes = Dword(entry + 8), offset = Dword(entry + 12);
    if (offset > size || bytes > size - offset) return nullptr;
    auto image = ReadIconImage(data + offset, bytes);
    if (!image) return nullptr;
    image->hotspotX = std::min<int>(hotspotX, image->width - 1);
    image->hotspotY = std::min<int>(hotspotY, image->height - 1);
    return image;
}

}  // namespace user
