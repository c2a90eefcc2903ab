// BMP and DDS files built in memory, field by field, so that tests can write good files of every
// kind and break any field of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void Poke32(Bytes& b, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + i] = uint8_t(v >> (8 * i));
}

struct BmpSpec {
    int32_t width = 1;
    int32_t height = 1;  // the image's height; written negative when topDown
    uint16_t bits = 24;
    bool topDown = false;
    uint32_t compression = 0;       // BI_RGB
    uint32_t headerSize = 40;       // 40, or 108 for a header that carries masks with alpha
    std::vector<uint32_t> masks;    // red, green, blue (and alpha): after a 40-byte header, or inside
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    uint32_t colorsUsed = 0;
    // Top row first: palette indices for 1, 4 and 8 bits, otherwise the raw pixel value.
    std::vector<uint32_t> texels;
};

// Field offsets of a built BMP.
constexpr size_t kBmpPixelOffsetField = 10;
constexpr size_t kBmpColorsUsedField = 46;

inline Bytes MakeBmp(const BmpSpec& s) {
    const uint32_t stride = ((uint32_t(s.width) * s.bits + 31) / 32) * 4;
    const bool maskBlock = s.compression == 3 && s.headerSize == 40;
    const uint32_t paletteBytes = uint32_t(s.palette.size()) * 4;
    const uint32_t offset = 14 + s.headerSize + (maskBlock ? 12 : 0) + paletteBytes;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + stride * uint32_t(s.height));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, s.headerSize);
    Put32(b, uint32_t(s.width));
    Put32(b, uint32_t(s.topDown ? -s.height : s.height));
    Put16(b, 1);
    Put16(b, s.bits);
    Put32(b, s.compression);
    Put32(b, stride * uint32_t(s.height));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, s.colorsUsed);
    Put32(b, 0);
    if (s.headerSize > 40) {
        for (size_t i = 0; i < 4; ++i) Put32(b, i < s.masks.size() ? s.masks[i] : 0);
        while (b.size() < 14 + s.headerSize) b.push_back(0);
    } else if (maskBlock) {
        for (size_t i = 0; i < 3; ++i) Put32(b, s.masks[i]);
    }
    for (uint32_t c : s.palette) Put32(b, c);
    for (int32_t fileRow = 0; fileRow < s.height; ++fileRow) {
        const int32_t y = s.topDown ? fileRow : s.height - 1 - fileRow;
        Bytes row(stride, 0);
        for (int32_t x = 0; x < s.width; ++x) {
            const uint32_t v = s.texels[size_t(y) * s.width + x];
            const uint32_t bit = uint32_t(x) * s.bits;
            switch (s.bits) {
            case 1:
            case 4:
            case 8: row[bit / 8] |= uint8_t(v << (8 - s.bits - bit % 8)); break;
            default:
                for (uint32_t k = 0; k < s.bits / 8u; ++k) row[bit / 8 + k] = uint8_t(v >> (8 * k));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

struct DdsSpec {
    uint32_t width = 4;
    uint32_t height = 4;
    uint32_t mipCount = 1;  // written with the mip-count flag when above 1
    uint32_t fourCC = 0;    // 0: uncompressed by masks
    uint32_t bitCount = 32;
    uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};  // red, green, blue, alpha
    bool alphaPixels = true;
    uint32_t caps2 = 0;
    Bytes data;  // every level, largest first
};

// Field offsets of a built DDS.
constexpr size_t kDdsHeightField = 12;
constexpr size_t kDdsWidthField = 16;
constexpr size_t kDdsMipCountField = 28;
constexpr size_t kDdsFlagsOfFormatField = 80;

// A DXT colour block with end points c0 and c1 whose texel i of each row uses index i: c0, c1 and the
// two mixes (or the half mix and transparent black).
inline Bytes DxtColorBlock(uint16_t c0, uint16_t c1) {
    Bytes b;
    Put16(b, c0);
    Put16(b, c1);
    Put32(b, 0xE4E4E4E4u);
    return b;
}

inline Bytes MakeDds(const DdsSpec& s) {
    Bytes b = {'D', 'D', 'S', ' '};
    Put32(b, 124);
    Put32(b, 0x1 | 0x2 | 0x4 | 0x1000 | (s.mipCount > 1 ? 0x20000 : 0));
    Put32(b, s.height);
    Put32(b, s.width);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, s.mipCount);
    for (int i = 0; i < 11; ++i) Put32(b, 0);
    Put32(b, 32);
    Put32(b, s.fourCC ? 0x4 : (0x40 | (s.alphaPixels ? 0x1 : 0)));
    Put32(b, s.fourCC);
    Put32(b, s.fourCC ? 0 : s.bitCount);
    for (uint32_t m : s.masks) Put32(b, s.fourCC ? 0 : m);
    Put32(b, 0x1000 | (s.mipCount > 1 ? 0x400008 : 0));
    Put32(b, s.caps2);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    b.insert(b.end(), s.data.begin(), s.data.end());
    return b;
}

// Texels of one 32-bit level, as the file stores them.
inline void AppendTexels32(Bytes& b, const std::vector<uint32_t>& texels) {
    for (uint32_t t : texels) Put32(b, t);
}

inline uint32_t FourCC(const char* code) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 | uint32_t(uint8_t(code[2])) << 16 |
           uint32_t(uint8_t(code[3])) << 24;
}

}  // namespace test
