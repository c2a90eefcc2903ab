#include "pipeline/dxt.h"

namespace pipeline {

int DxtBlockBytes(TextureFormat format) {
    if (!IsCompressed(format)) return 0;
    return format == TextureFormat::DXT1 ? 8 : 16;
}

namespace {

uint32_t Read16(const uint8_t* p) { return p[0] | p[1] << 8; }

void Rgb565(uint32_t c, uint32_t rgb[3]) {
    uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

uint32_t Argb(uint32_t a, const uint32_t rgb[3]) { return a << 24 | rgb[0] << 16 | rgb[1] << 8 | rgb[2]; }

// The colour half of a block: two 565 end points and 2-bit indices. `fourColours` forces the
// four-colour mode, as every format but DXT1 uses.
void DecodeColours(const uint8_t* p, bool fourColours, uint32_t out[16]) {
    uint32_t c0 = Read16(p), c1 = Read16(p + 2);
    uint32_t e[4][3];
    Rgb565(c0, e[0]);
    Rgb565(c1, e[1]);
    uint32_t alpha3 = 255;
    for (int k = 0; k < 3; ++k) {
        if (fourColours || c0 > c1) {
            e[2][k] = (2 * e[0][k] + e[1][k] + 1) / 3;
            e[3][k] = (e[0][k] + 2 * e[1][k] + 1) / 3;
        } else {
            e[2][k] = (e[0][k] + e[1][k] + 1) / 2;  // rounded to nearest, as the thirds are
            e[3][k] = 0;
        }
    }
    if (!fourColours && c0 <= c1) alpha3 = 0;  // index 3 is transparent black
    uint32_t bits = p[4] | p[5] << 8 | p[6] << 16 | static_cast<uint32_t>(p[7]) << 24;
    for (int i = 0; i < 16; ++i) {
        uint32_t index = (bits >> (2 * i)) & 3;
        out[i] = Argb(index == 3 ? alpha3 : 255, e[index]);
    }
}

}  // namespace

void DecodeDxtBlock(TextureFormat format, const uint8_t* block, uint32_t out[16]) {
    if (format == TextureFormat::DXT1) {
        DecodeColours(block, false, out);
        return;
    }
    DecodeColours(block + 8, true, out);
    if (format == TextureFormat::DXT2 || format == TextureFormat::DXT3) {
        for (int i = 0; i < 16; ++i) {
            uint32_t a = (block[i / 2] >> (4 * (i & 1))) & 15;
            out[i] = (out[i] & 0x00FFFFFFu) | (a * 17) << 24;
        }
        return;
    }
    // DXT4/5: two 8-bit end points and 3-bit indices.
    uint32_t a0 = block[0], a1 = block[1];
    uint32_t table[8] = {a0, a1};
    if (a0 > a1) {
        for (int k = 1; k < 7; ++k) table[k + 1] = ((7 - k) * a0 + k * a1 + 3) / 7;
    } else {
        for (int k = 1; k < 5; ++k) table[k + 1] = ((5 - k) * a0 + k * a1 + 2) / 5;
        table[6] = 0;
        table[7] = 255;
    }
    uint64_t bits = 0;
    for (int k = 0; k < 6; ++k) bits |= static_cast<uint64_t>(block[2 + k]) << (8 * k);
    for (int i = 0; i < 16; ++i) {
        uint32_t a = table[(bits >> (3 * i)) & 7];
        out[i] = (out[i] & 0x00FFFFFFu) | a << 24;
    }
}

void DecodeDxtLevel(TextureFormat format, const uint8_t* blocks, size_t pitch, int width, int height, uint32_t* argb) {
    const int blockBytes = DxtBlockBytes(format);
    uint32_t block[16];
    for (int by = 0; by < (height + 3) / 4; ++by) {
        for (int bx = 0; bx < (width + 3) / 4; ++bx) {
            DecodeDxtBlock(format, blocks + static_cast<size_t>(by) * pitch + static_cast<size_t>(bx) * blockBytes, block);
            for (int y = 0; y < 4 && by * 4 + y < height; ++y)
                for (int x = 0; x < 4 && bx * 4 + x < width; ++x)
                    argb[static_cast<size_t>(by * 4 + y) * width + bx * 4 + x] = block[y * 4 + x];
        }
    }
}

}  // namespace pipeline
