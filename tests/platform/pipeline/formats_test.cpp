// Pixel formats: pack/unpack round trips, known values, depth values, DXT blocks, level decoding.
#include <gtest/gtest.h>

#include <cmath>

#include "pipeline/dxt.h"
#include "pipeline/pipeline.h"

namespace pipeline {
namespace {

TEST(Formats, SixteenBitFormatsRoundTripEveryValue) {
    for (ColorFormat f : {ColorFormat::R5G6B5, ColorFormat::X1R5G5B5, ColorFormat::A1R5G5B5, ColorFormat::A4R4G4B4}) {
        for (uint32_t raw = 0; raw < 0x10000; ++raw) {
            const uint32_t expected = f == ColorFormat::X1R5G5B5 ? raw | 0x8000 : raw;
            ASSERT_EQ(FromArgb8(f, ToArgb8(f, raw)), expected) << "format " << static_cast<int>(f) << " raw " << raw;
        }
    }
}

TEST(Formats, KnownValues) {
    struct Case { ColorFormat format; uint32_t raw, argb; };
    const Case cases[] = {
        {ColorFormat::X8R8G8B8, 0x00123456, 0xFF123456}, {ColorFormat::A8R8G8B8, 0x80123456, 0x80123456},
        {ColorFormat::R5G6B5, 0xF800, 0xFFFF0000},       {ColorFormat::R5G6B5, 0x07E0, 0xFF00FF00},
        {ColorFormat::R5G6B5, 0x0010, 0xFF000084},       {ColorFormat::X1R5G5B5, 0x001F, 0xFF0000FF},
        {ColorFormat::A1R5G5B5, 0x7C00, 0x00FF0000},     {ColorFormat::A1R5G5B5, 0x8000, 0xFF000000},
        {ColorFormat::A4R4G4B4, 0x8F0A, 0x88FF00AA},
    };
    for (const Case& c : cases) EXPECT_EQ(ToArgb8(c.format, c.raw), c.argb) << std::hex << c.raw;
    EXPECT_EQ(FromArgb8(ColorFormat::A4R4G4B4, 0x88FF00AA), 0x8F0Au);
    EXPECT_EQ(FromArgb8(ColorFormat::A1R5G5B5, 0x7FFFFFFF), 0x7FFFu); // alpha below half is 0
}

TEST(Formats, FloatColoursClampAndRound) {
    EXPECT_EQ(PackColor(ColorFormat::A8R8G8B8, {1.5f, -1.0f, 0.5f, NAN}), 0x00FF0080u);
    const Color c = UnpackColor(ColorFormat::A8R8G8B8, 0x80FF0000);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_NEAR(c.a, 128.0f / 255, 1e-6);
    EXPECT_EQ(ChannelBits(ColorFormat::R5G6B5, 0x2), 0x07E0u);
    EXPECT_EQ(ChannelBits(ColorFormat::A8R8G8B8, 0x9), 0xFFFF0000u);
}

TEST(Formats, DepthKeepsOrderAndRange) {
    for (DepthFormat f : {DepthFormat::D16, DepthFormat::D24X8, DepthFormat::D24S8, DepthFormat::D32, DepthFormat::D32F}) {
        EXPECT_EQ(PackDepth(f, -1.0f), PackDepth(f, 0.0f));
        EXPECT_EQ(PackDepth(f, 2.0f), PackDepth(f, 1.0f));
        EXPECT_EQ(PackDepth(f, NAN), PackDepth(f, 0.0f));
        EXPECT_LT(PackDepth(f, 0.25f), PackDepth(f, 0.5f));
        EXPECT_NEAR(UnpackDepth(f, PackDepth(f, 0.5f)), 0.5f, 1e-4f);
    }
    EXPECT_EQ(PackDepth(DepthFormat::D16, 1.0f), 65535u);
    EXPECT_EQ(PackDepth(DepthFormat::D24S8, 1.0f), 0xFFFFFFu);
    EXPECT_EQ(PackDepth(DepthFormat::D32, 1.0f), 0xFFFFFFFFu);
}

TEST(Dxt, Dxt1FourAndThreeColourBlocks) {
    // Red and blue end points; indices of row 0: 0, 1, 2, 3.
    const uint8_t four[8] = {0x00, 0xF8, 0x1F, 0x00, 0b11100100, 0, 0, 0};
    uint32_t out[16];
    DecodeDxtBlock(TextureFormat::DXT1, four, out);
    EXPECT_EQ(out[0], 0xFFFF0000u);
    EXPECT_EQ(out[1], 0xFF0000FFu);
    EXPECT_EQ(out[2], 0xFFAA0055u);
    EXPECT_EQ(out[3], 0xFF5500AAu);
    EXPECT_EQ(out[4], 0xFFFF0000u);
    // c0 <= c1: index 2 is the midpoint and index 3 transparent black.
    const uint8_t three[8] = {0x1F, 0x00, 0x00, 0xF8, 0b11100100, 0, 0, 0};
    DecodeDxtBlock(TextureFormat::DXT1, three, out);
    EXPECT_EQ(out[0], 0xFF0000FFu);
    EXPECT_EQ(out[2], 0xFF800080u); // rounded to nearest, as D3DX decodes it too
    EXPECT_EQ(out[3], 0x00000000u);
}

TEST(Dxt, Dxt3ExplicitAndDxt5InterpolatedAlpha) {
    uint8_t dxt3[16] = {0x10, 0xF2};                     // alphas 0, 1, 2, 15 for texels 0..3
    const uint8_t colour[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}; // white
    std::copy(colour, colour + 8, dxt3 + 8);
    uint32_t out[16];
    DecodeDxtBlock(TextureFormat::DXT3, dxt3, out);
    EXPECT_EQ(out[0], 0x00FFFFFFu);
    EXPECT_EQ(out[1], 0x11FFFFFFu);
    EXPECT_EQ(out[2], 0x22FFFFFFu);
    EXPECT_EQ(out[3], 0xFFFFFFFFu);

    // a0 255 > a1 0: eight-step table. Texels 0..7 take indices 0..7.
    uint8_t dxt5[16] = {255, 0};
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(i) << (3 * i);
    for (int k = 0; k < 6; ++k) dxt5[2 + k] = static_cast<uint8_t>(bits >> (8 * k));
    std::copy(colour, colour + 8, dxt5 + 8);
    DecodeDxtBlock(TextureFormat::DXT5, dxt5, out);
    const uint32_t alphas[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(out[i] >> 24, alphas[i]) << i;
    // a0 <= a1: six steps plus 0 and 255.
    dxt5[0] = 0;
    dxt5[1] = 255;
    DecodeDxtBlock(TextureFormat::DXT5, dxt5, out);
    EXPECT_EQ(out[2] >> 24, 51u);
    EXPECT_EQ(out[6] >> 24, 0u);
    EXPECT_EQ(out[7] >> 24, 255u);
}

TEST(TextureLevels, DecodeChecksTheDescriptionAndFollowsVersions) {
    std::vector<uint8_t> bytes(8 * 4, 0);
    Texture t;
    t.format = TextureFormat::X8R8G8B8;
    t.levels.push_back({2, 4, 8, bytes.data(), 1});
    ASSERT_NE(t.Decoded(0), nullptr);
    EXPECT_EQ(t.Decoded(0)->texels[0], 0xFF000000u);
    bytes[0] = 0x12;
    EXPECT_EQ(t.Decoded(0)->texels[0], 0xFF000000u); // not re-locked: the cached copy stays
    t.levels[0].version = 2;
    EXPECT_EQ(t.Decoded(0)->texels[0], 0xFF000012u);

    t.levels[0].pitch = 7; // shorter than a row
    t.levels[0].version = 3;
    EXPECT_EQ(t.Decoded(0), nullptr);
    EXPECT_EQ(t.Decoded(1), nullptr);
    t.levels[0] = {0, 4, 8, bytes.data(), 4};
    EXPECT_EQ(t.Decoded(0), nullptr);

    // A 2 x 2 DXT1 level still takes one whole block.
    Texture d;
    d.format = TextureFormat::DXT1;
    const uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0, 0, 0, 0};
    d.levels.push_back({2, 2, 8, block, 1});
    ASSERT_NE(d.Decoded(0), nullptr);
    EXPECT_EQ(d.Decoded(0)->texels.size(), 4u);
    EXPECT_EQ(d.Decoded(0)->texels[3], 0xFFFF0000u);
}

} // namespace
} // namespace pipeline
