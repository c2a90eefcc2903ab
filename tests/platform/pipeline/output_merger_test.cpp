// Depth functions, alpha test, blend factors and operations, colour-write mask, as tables of cases.
#include <gtest/gtest.h>

#include "raster/output_merger.h"
#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

// One pre-transformed quad over the whole 4 x 4 canvas at depth z with colour argb.
void drawQuad(Canvas& canvas, float z, uint32_t argb, const PixelState& ps) {
    std::vector<Vertex> v(4);
    const float xs[4] = {-0.5f, 3.5f, -0.5f, 3.5f}, ys[4] = {-0.5f, -0.5f, 3.5f, 3.5f};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i];
        v[i].y = ys[i];
        v[i].z = z;
        v[i].diffuse = argb;
    }
    VertexStream stream = makeStream({true, false, true}, v);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, ps, canvas.target);
}

struct CompareCase { Compare func; bool less, equal, greater; };
const CompareCase kCompares[] = {
    {Compare::Never, false, false, false},   {Compare::Less, true, false, false},
    {Compare::Equal, false, true, false},    {Compare::LessEqual, true, true, false},
    {Compare::Greater, false, false, true},  {Compare::NotEqual, true, false, true},
    {Compare::GreaterEqual, false, true, true}, {Compare::Always, true, true, true},
};

TEST(DepthTest, AllEightFunctionsAgainstAStoredDepth) {
    for (DepthFormat format : {DepthFormat::D16, DepthFormat::D24S8, DepthFormat::D32F}) {
        for (const CompareCase& c : kCompares) {
            for (float z : {0.25f, 0.5f, 0.75f}) {
                Canvas canvas(4, 4, ColorFormat::X8R8G8B8, format);
                canvas.fill(0xFF000000, 0.5f);
                PixelState ps = basicPixels();
                ps.depth = {true, true, c.func};
                drawQuad(canvas, z, 0xFFFFFFFF, ps);
                const bool expected = z < 0.5f ? c.less : (z == 0.5f ? c.equal : c.greater);
                EXPECT_EQ(canvas.pixel(1, 1) == 0xFFFFFFFF, expected)
                    << "func " << static_cast<int>(c.func) << " z " << z << " format " << static_cast<int>(format);
                const uint32_t written = expected ? PackDepth(format, z) : PackDepth(format, 0.5f);
                const uint32_t stored = format == DepthFormat::D24S8 ? canvas.depthRaw(1, 1) >> 8 : canvas.depthRaw(1, 1);
                EXPECT_EQ(stored, written);
            }
        }
    }
}

TEST(DepthTest, WriteDisabledKeepsDepthAndTheStencilByteSurvives) {
    Canvas canvas(4, 4, ColorFormat::X8R8G8B8, DepthFormat::D24S8);
    Clear(canvas.target, nullptr, 0, kClearDepth | kClearStencil, 0, 1.0f, 0x5A);
    PixelState ps = basicPixels();
    ps.depth = {true, false, Compare::Less};
    drawQuad(canvas, 0.25f, 0xFFFFFFFF, ps);
    EXPECT_EQ(canvas.pixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.depthRaw(2, 2), 0xFFFFFF5Au);
    ps.depth.write = true;
    drawQuad(canvas, 0.25f, 0xFFFFFFFF, ps);
    EXPECT_EQ(canvas.depthRaw(2, 2), PackDepth(DepthFormat::D24S8, 0.25f) << 8 | 0x5A);
    // Depth off: no test and no write.
    ps.depth.enable = false;
    drawQuad(canvas, 0.9f, 0xFF00FF00, ps);
    EXPECT_EQ(canvas.pixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(canvas.depthRaw(2, 2), PackDepth(DepthFormat::D24S8, 0.25f) << 8 | 0x5A);
}

TEST(AlphaTest, AllEightFunctionsAgainstTheReference) {
    for (const CompareCase& c : kCompares) {
        for (uint32_t alpha : {0x7Fu, 0x80u, 0x81u}) {
            Canvas canvas(4, 4);
            PixelState ps = basicPixels();
            ps.alphaTest = {true, c.func, 0x80};
            drawQuad(canvas, 0.5f, alpha << 24 | 0xFFFFFF, ps);
            const bool expected = alpha < 0x80 ? c.less : (alpha == 0x80 ? c.equal : c.greater);
            EXPECT_EQ(canvas.pixel(0, 0) != 0xFF000000u, expected) << "func " << static_cast<int>(c.func) << " alpha " << alpha;
        }
    }
}

TEST(AlphaTest, AFailedPixelWritesNoDepth) {
    Canvas canvas(4, 4);
    PixelState ps = basicPixels();
    ps.alphaTest = {true, Compare::GreaterEqual, 8};
    ps.depth = {true, true, Compare::LessEqual};
    drawQuad(canvas, 0.1f, 0x07FFFFFF, ps);
    EXPECT_EQ(canvas.depthRaw(0, 0) >> 8, 0xFFFFFFu);
}

struct FactorCase { BlendFactor factor; Color expected; };

TEST(Blending, FactorsAsATable) {
    const Color src{0.8f, 0.4f, 0.2f, 0.6f}, dst{0.1f, 0.5f, 0.9f, 0.3f};
    const FactorCase cases[] = {
        {BlendFactor::Zero, {0, 0, 0, 0}},
        {BlendFactor::One, {1, 1, 1, 1}},
        {BlendFactor::SrcColor, src},
        {BlendFactor::InvSrcColor, {0.2f, 0.6f, 0.8f, 0.4f}},
        {BlendFactor::SrcAlpha, {0.6f, 0.6f, 0.6f, 0.6f}},
        {BlendFactor::InvSrcAlpha, {0.4f, 0.4f, 0.4f, 0.4f}},
        {BlendFactor::DestAlpha, {0.3f, 0.3f, 0.3f, 0.3f}},
        {BlendFactor::InvDestAlpha, {0.7f, 0.7f, 0.7f, 0.7f}},
        {BlendFactor::DestColor, dst},
        {BlendFactor::InvDestColor, {0.9f, 0.5f, 0.1f, 0.7f}},
        {BlendFactor::SrcAlphaSat, {0.6f, 0.6f, 0.6f, 1}},
    };
    for (const FactorCase& c : cases) {
        const Color f = FactorColor(c.factor, src, dst);
        EXPECT_NEAR(f.r, c.expected.r, 1e-6) << static_cast<int>(c.factor);
        EXPECT_NEAR(f.g, c.expected.g, 1e-6) << static_cast<int>(c.factor);
        EXPECT_NEAR(f.b, c.expected.b, 1e-6) << static_cast<int>(c.factor);
        EXPECT_NEAR(f.a, c.expected.a, 1e-6) << static_cast<int>(c.factor);
    }
    // SrcAlphaSat takes 1 - dest alpha when that is smaller.
    EXPECT_NEAR(FactorColor(BlendFactor::SrcAlphaSat, src, {0, 0, 0, 0.9f}).r, 0.1f, 1e-6);
}

TEST(Blending, OperationsOnATargetPixel) {
    struct Case { BlendOp op; BlendFactor src, dst; uint32_t expected; };
    // Source 0x80 C0 40 20 (alpha 0x80), destination 0x40 60 80.
    const Case cases[] = {
        {BlendOp::Add, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, 0xFF805050},
        {BlendOp::Add, BlendFactor::One, BlendFactor::One, 0xFFFFA0A0},
        {BlendOp::Subtract, BlendFactor::One, BlendFactor::One, 0xFF800000},
        {BlendOp::RevSubtract, BlendFactor::One, BlendFactor::One, 0xFF002060},
        {BlendOp::Min, BlendFactor::Zero, BlendFactor::Zero, 0xFF404020},
        {BlendOp::Max, BlendFactor::Zero, BlendFactor::Zero, 0xFFC06080},
        {BlendOp::Add, BlendFactor::DestColor, BlendFactor::Zero, 0xFF301810},
    };
    for (const Case& c : cases) {
        Canvas canvas(4, 4);
        canvas.fill(0xFF406080);
        PixelState ps = basicPixels();
        ps.blend = {true, c.src, c.dst, c.op};
        drawQuad(canvas, 0.5f, 0x80C04020, ps);
        EXPECT_EQ(canvas.pixel(1, 1), c.expected) << "op " << static_cast<int>(c.op) << " src " << static_cast<int>(c.src);
    }
}

TEST(ColorWriteMask, KeepsTheMaskedChannelsIn32And16BitTargets) {
    Canvas canvas(4, 4, ColorFormat::A8R8G8B8);
    canvas.fill(0x11223344);
    PixelState ps = basicPixels();
    ps.colorWriteMask = 0x1 | 0x4; // red and blue
    drawQuad(canvas, 0.5f, 0xFFAABBCC, ps);
    EXPECT_EQ(canvas.pixel(0, 0), 0x11AA33CCu);

    Canvas small(4, 4, ColorFormat::R5G6B5, DepthFormat::D16);
    small.fill(0xFF000000);
    ps.colorWriteMask = 0x2; // green only
    drawQuad(small, 0.5f, 0xFFFFFFFF, ps);
    EXPECT_EQ(small.raw(3, 3), 0x07E0u);
}

} // namespace
} // namespace pipeline
