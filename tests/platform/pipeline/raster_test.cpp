// Coverage: the top-left fill rule, pixel centres, texel-to-pixel mapping, winding and culling, strips and fans.
#include <gtest/gtest.h>

#include <random>

#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

// Adds 1/255 per covered pixel, so the red channel counts how often each pixel was drawn.
PixelState countingPixels() {
    PixelState p = basicPixels();
    p.blend = {true, BlendFactor::One, BlendFactor::One, BlendOp::Add};
    return p;
}

Vertex screen(float x, float y) {
    Vertex v;
    v.x = x;
    v.y = y;
    v.diffuse = 0xFF010101;
    return v;
}

TEST(FillRule, TrianglesSharingEdgesCoverEachPixelExactlyOnce) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> jitter(-0.49f, 0.49f);
    for (int round = 0; round < 20; ++round) {
        Canvas canvas(64, 64);
        // A grid of 5 x 5 points, some on exact pixel centres and half-pixels, split into triangles.
        Vertex grid[5][5];
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 5; ++i) {
                const bool snap = (i + j + round) % 3 == 0;
                const float base = round % 2 ? 0.5f : 0.0f; // exact pixel centres, or exact halves
                grid[j][i] = screen(4 + i * 14 + (snap ? base : jitter(random)), 4 + j * 14 + (snap ? base : jitter(random)));
            }
        std::vector<Vertex> vertices;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i) {
                const Vertex a = grid[j][i], b = grid[j][i + 1], c = grid[j + 1][i], d = grid[j + 1][i + 1];
                if ((i + j) % 2) vertices.insert(vertices.end(), {a, b, d, a, d, c});
                else vertices.insert(vertices.end(), {a, b, c, b, d, c});
            }
        VertexStream stream = makeStream({true, false, true}, vertices);
        PixelState pixels = countingPixels();
        Draw(drawOf(stream, PrimitiveType::TriangleList, static_cast<int>(vertices.size()) / 3), VertexState{}, pixels,
             canvas.target);
        // Inside the outer boundary (away from its edges) every pixel is drawn once; nothing twice anywhere.
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint32_t count = (canvas.pixel(x, y) >> 16) & 0xFF;
                ASSERT_LE(count, 1u) << "round " << round << " pixel " << x << "," << y;
                if (x >= 5 && x <= 59 && y >= 5 && y <= 59) {
                    ASSERT_EQ(count, 1u) << "round " << round << " pixel " << x << "," << y;
                }
            }
    }
}

TEST(FillRule, PixelCentresAndTopLeftEdges) {
    // A quad from (2, 2) to (6, 5) with its corners on pixel centres: the top and left edges are in,
    // the bottom and right edges out: pixels x 2..5, y 2..4.
    Canvas canvas(16, 16);
    std::vector<Vertex> v = {screen(2, 2), screen(6, 2), screen(2, 5), screen(6, 5)};
    VertexStream stream = makeStream({true, false, true}, v);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, countingPixels(), canvas.target);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t expected = x >= 2 && x <= 5 && y >= 2 && y <= 4 ? 1 : 0;
            EXPECT_EQ((canvas.pixel(x, y) >> 16) & 0xFF, expected) << x << "," << y;
        }
}

TEST(TexelMapping, PretransformedQuadOffsetByHalfMapsTexelsToPixelsOneToOne) {
    TextureHolder tex = makeTexture(16, 16, [](int x, int y) { return 0xFF000000u | x * 16 << 16 | y * 16 << 8 | (x ^ y); });
    for (Filter filter : {Filter::Point, Filter::Linear}) {
        Canvas canvas(32, 32);
        canvas.fill(0xFF0000FF);
        const float ox = 5, oy = 9;
        std::vector<Vertex> v(4);
        const float xs[4] = {0, 16, 0, 16}, ys[4] = {0, 0, 16, 16};
        for (int i = 0; i < 4; ++i) {
            v[i].x = ox + xs[i] - 0.5f;
            v[i].y = oy + ys[i] - 0.5f;
            v[i].u0 = xs[i] / 16;
            v[i].v0 = ys[i] / 16;
        }
        VertexStream stream = makeStream({true, false, false, false, 1}, v);
        PixelState pixels = basicPixels(&tex.texture);
        pixels.stages[0].sampler.minFilter = pixels.stages[0].sampler.magFilter = filter;
        Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, pixels, canvas.target);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool inside = x >= ox && x < ox + 16 && y >= oy && y < oy + 16;
                const int tx = x - static_cast<int>(ox), ty = y - static_cast<int>(oy);
                const uint32_t expected = inside ? 0xFF000000u | tx * 16 << 16 | ty * 16 << 8 | (tx ^ ty) : 0xFF0000FFu;
                ASSERT_EQ(canvas.pixel(x, y), expected) << "filter " << static_cast<int>(filter) << " at " << x << "," << y;
            }
    }
}

struct CullCase {
    const char* name;
    CullMode cull;
    bool clockwiseDrawn, counterClockwiseDrawn;
};

class Culling : public ::testing::TestWithParam<CullCase> {};

TEST_P(Culling, ByScreenWindingWithYDown) {
    // (0,0) (8,0) (0,8) runs clockwise on a y-down screen.
    for (bool clockwise : {true, false}) {
        Canvas canvas(16, 16);
        std::vector<Vertex> v = {screen(1, 1), clockwise ? screen(9, 1) : screen(1, 9), clockwise ? screen(1, 9) : screen(9, 1)};
        VertexStream stream = makeStream({true, false, true}, v);
        PixelState pixels = countingPixels();
        pixels.cull = GetParam().cull;
        Draw(drawOf(stream, PrimitiveType::TriangleList, 1), VertexState{}, pixels, canvas.target);
        const bool drawn = (canvas.pixel(3, 3) >> 16 & 0xFF) == 1;
        EXPECT_EQ(drawn, clockwise ? GetParam().clockwiseDrawn : GetParam().counterClockwiseDrawn)
            << (clockwise ? "clockwise" : "counter-clockwise");
    }
}

INSTANTIATE_TEST_SUITE_P(, Culling, ::testing::Values(CullCase{"none", CullMode::None, true, true},
                                                      CullCase{"cw", CullMode::Clockwise, false, true},
                                                      CullCase{"ccw", CullMode::CounterClockwise, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Assembly, StripOddTrianglesKeepTheWindingAndFansShareTheFirstVertex) {
    // Strip 0 BL, 1 TL, 2 BR, 3 TR: both triangles clockwise on screen, so culling CCW keeps them.
    Canvas canvas(16, 16);
    std::vector<Vertex> strip = {screen(2, 12), screen(2, 2), screen(12, 12), screen(12, 2)};
    VertexStream s = makeStream({true, false, true}, strip);
    PixelState pixels = countingPixels();
    pixels.cull = CullMode::CounterClockwise;
    Draw(drawOf(s, PrimitiveType::TriangleStrip, 2), VertexState{}, pixels, canvas.target);
    EXPECT_EQ(canvas.pixel(4, 9) >> 16 & 0xFF, 1u);
    EXPECT_EQ(canvas.pixel(10, 4) >> 16 & 0xFF, 1u);
    pixels.cull = CullMode::Clockwise;
    Canvas culled(16, 16);
    Draw(drawOf(s, PrimitiveType::TriangleStrip, 2), VertexState{}, pixels, culled.target);
    EXPECT_EQ(culled.pixel(4, 9) >> 16 & 0xFF, 0u);
    EXPECT_EQ(culled.pixel(10, 4) >> 16 & 0xFF, 0u);

    // A fan around (8, 8) covering a square: every inner pixel once.
    Canvas fan(16, 16);
    std::vector<Vertex> f = {screen(8, 8), screen(2, 2), screen(14, 2), screen(14, 14), screen(2, 14), screen(2, 2)};
    VertexStream fs = makeStream({true, false, true}, f);
    Draw(drawOf(fs, PrimitiveType::TriangleFan, 4), VertexState{}, countingPixels(), fan.target);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) {
            ASSERT_EQ(fan.pixel(x, y) >> 16 & 0xFF, 1u) << x << "," << y;
        }
    EXPECT_EQ(fan.pixel(14, 8) >> 16 & 0xFF, 0u);
}

TEST(Assembly, IndexedDrawsUseBaseVertexAndDropIndicesOutOfRange) {
    Canvas canvas(16, 16);
    std::vector<Vertex> v = {screen(0, 0), screen(0, 0), screen(1, 1), screen(9, 1), screen(1, 9)};
    VertexStream stream = makeStream({true, false, true}, v);
    std::vector<uint16_t> indices = {0, 1, 2, 0, 1, 200};
    DrawCall call = indexedDrawOf(stream, indices, PrimitiveType::TriangleList, 2);
    call.baseVertex = 2;
    call.firstVertex = 2;
    call.usedVertexCount = 3;
    Draw(call, VertexState{}, countingPixels(), canvas.target);
    EXPECT_EQ(canvas.pixel(3, 3) >> 16 & 0xFF, 1u); // the second triangle names vertex 202: dropped
    EXPECT_TRUE(canvas.guardsIntact());
}

TEST(Assembly, VerticesFarApartInTheBufferKeepTheirOwnValues) {
    // Set-up keeps processed vertices by index modulo 1024: these triangles name vertices that meet
    // on one place there, and must still draw as the same triangles given directly.
    std::vector<Vertex> v(3000, screen(0, 0));
    const Vertex corners[6] = {screen(1, 1), screen(14, 2), screen(3, 13), screen(20, 3), screen(30, 4), screen(22, 14)};
    v[5] = corners[0];
    v[1029] = corners[1];
    v[2053] = corners[2];
    v[6] = corners[3];
    v[7] = corners[4];
    v[1030] = corners[5];
    for (Vertex& c : v) c.diffuse = 0xFF010101;
    VertexStream stream = makeStream({true, false, true}, v);
    const std::vector<uint16_t> indices = {5, 1029, 2053, 6, 7, 1030};
    VertexStream direct = makeStream({true, false, true}, std::vector<Vertex>(corners, corners + 6));
    for (int threads : {1, 0}) {
        SetThreadCount(threads);
        Canvas indexed(32, 16), expected(32, 16);
        Draw(indexedDrawOf(stream, indices, PrimitiveType::TriangleList, 2), VertexState{}, countingPixels(), indexed.target);
        Draw(drawOf(direct, PrimitiveType::TriangleList, 2), VertexState{}, countingPixels(), expected.target);
        EXPECT_EQ(indexed.pixels(), expected.pixels()) << threads << " threads";
        EXPECT_GT(expected.pixel(5, 5) >> 16 & 0xFF, 0u);
    }
    SetThreadCount(0);
}

} // namespace
} // namespace pipeline
