// Bad input: nothing outside the target is written, nothing outside the buffers read, no crash.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

TEST(Robustness, RandomGarbageVerticesStayInsideTheTarget) {
    std::mt19937 random(5);
    std::uniform_int_distribution<uint32_t> bits;
    const float specials[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, 0.0f, -0.0f, 1e-30f, 3.0f, -0.5f};
    for (int round = 0; round < 40; ++round) {
        std::vector<Vertex> v(60);
        for (Vertex& x : v) {
            auto value = [&] {
                const uint32_t r = bits(random);
                return r % 3 == 0 ? specials[r % 10] : (static_cast<float>(r % 2000) - 1000.0f) / 50.0f;
            };
            x.x = value(); x.y = value(); x.z = value(); x.rhw = value();
            x.normal = {value(), value(), value()};
            x.u0 = value(); x.v0 = value();
            x.diffuse = bits(random);
        }
        const bool pre = round % 2;
        VertexStream stream = makeStream({pre, !pre, true, false, 1}, v);
        TextureHolder tex = makeTexture(8, 8, [](int x, int y) { return 0xFF000000u | x << 16 | y; }, 4);
        PixelState ps = basicPixels(&tex.texture);
        ps.stages[0].sampler = {Filter::Linear, Filter::Linear, Filter::Linear,
                                round % 4 < 2 ? Address::Mirror : Address::Border, Address::Clamp};
        ps.fill = static_cast<FillMode>(round % 3);
        ps.depth = {true, true, Compare::LessEqual};
        ps.blend = {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendOp::Add};
        ps.fog = true;
        VertexState vs;
        vs.lighting = true;
        LightSource light;
        light.kind = LightKind::Point;
        light.range = INFINITY;
        light.attenuation[0] = NAN;
        vs.lights[0] = light;
        vs.fogMode = FogMode::Linear;
        vs.view.m[2][2] = round % 5 == 0 ? 0.0f : 1.0f; // a singular view matrix now and then
        Canvas canvas(32, 24);
        canvas.target.viewport = {4, 3, 20, 15, 0, 1};
        for (PrimitiveType type : {PrimitiveType::TriangleList, PrimitiveType::TriangleStrip, PrimitiveType::TriangleFan,
                                   PrimitiveType::LineList, PrimitiveType::LineStrip, PrimitiveType::PointList})
            Draw(drawOf(stream, type, 20), vs, ps, canvas.target);
        ASSERT_TRUE(canvas.guardsIntact()) << "round " << round;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                if (x < 4 || x >= 24 || y < 3 || y >= 18) {
                    ASSERT_EQ(canvas.pixel(x, y), 0xFF000000u) << x << "," << y;
                }
    }
}

TEST(Robustness, CountsBeyondTheBuffersAreCutShort) {
    Canvas canvas(16, 16);
    std::vector<Vertex> v(3);
    v[0].x = 1; v[0].y = 1; v[1].x = 15; v[1].y = 1; v[2].x = 1; v[2].y = 15;
    VertexStream stream = makeStream({true, false, false}, v);
    DrawCall call = drawOf(stream, PrimitiveType::TriangleList, 1000000); // only one fits
    Draw(call, VertexState{}, basicPixels(), canvas.target);
    EXPECT_EQ(canvas.pixel(3, 3), 0xFFFFFFFFu);
    std::vector<uint16_t> indices = {0, 1, 2, 2};
    DrawCall indexed = indexedDrawOf(stream, indices, PrimitiveType::TriangleStrip, 500);
    Draw(indexed, VertexState{}, basicPixels(), canvas.target); // reads 4 indices, no more
    call.firstVertex = 2; // one vertex left: no whole triangle
    Draw(call, VertexState{}, basicPixels(), canvas.target);
    call.firstVertex = -5;
    Draw(call, VertexState{}, basicPixels(), canvas.target);
    EXPECT_TRUE(canvas.guardsIntact());
}

TEST(Robustness, ViewportsAndScissorsOutsideTheSurfaceAreCut) {
    Canvas canvas(16, 16);
    std::vector<Vertex> v(4);
    const float xs[4] = {-100, 100, -100, 100}, ys[4] = {-100, -100, 100, 100};
    for (int i = 0; i < 4; ++i) { v[i].x = xs[i]; v[i].y = ys[i]; }
    VertexStream stream = makeStream({true, false, false}, v);
    for (Viewport vp : {Viewport{-8, -8, 40, 40, 0, 1}, Viewport{10, 10, 1000, 1000, 0, 1}, Viewport{20, 0, 5, 5, 0, 1},
                        Viewport{0, 0, 0, 16, 0, 1}, Viewport{2147483000, 2147483000, 2000, 2000, 0, 1}}) {
        canvas.target.viewport = vp;
        Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
        Clear(canvas.target, nullptr, 0, kClearColor | kClearDepth, 0xFF00FF00, 0.5f, 0);
        EXPECT_TRUE(canvas.guardsIntact());
    }
    canvas.fill(0xFF000000);
    canvas.target.viewport = {0, 0, 16, 16, 0, 1};
    canvas.target.scissorEnabled = true;
    canvas.target.scissor = {4, 5, 8, 7};
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) drawn += canvas.pixel(x, y) == 0xFFFFFFFFu;
    EXPECT_EQ(drawn, 8);
    EXPECT_EQ(canvas.pixel(4, 5), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(7, 6), 0xFFFFFFFFu);
}

TEST(Clear, RectanglesWithinTheViewportAndScissor) {
    Canvas canvas(16, 16, ColorFormat::R5G6B5, DepthFormat::D16);
    canvas.target.viewport = {2, 2, 10, 10, 0, 1};
    const Rect rects[2] = {{0, 0, 4, 4}, {10, 10, 20, 20}};
    Clear(canvas.target, rects, 2, kClearColor | kClearDepth, 0xFFFF0000, 0.5f, 0);
    EXPECT_EQ(canvas.pixel(1, 1), 0xFF000000u);
    EXPECT_EQ(canvas.pixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(4, 4), 0xFF000000u);
    EXPECT_EQ(canvas.pixel(11, 11), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(12, 12), 0xFF000000u);
    EXPECT_EQ(canvas.depthRaw(3, 3), PackDepth(DepthFormat::D16, 0.5f));
    EXPECT_EQ(canvas.depthRaw(5, 5), 0xFFFFu);
    canvas.target.scissorEnabled = true;
    canvas.target.scissor = {5, 5, 6, 6};
    Clear(canvas.target, nullptr, 0, kClearColor, 0xFF0000FF, 0, 0);
    EXPECT_EQ(canvas.pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(canvas.pixel(6, 5), 0xFF000000u);
    EXPECT_TRUE(canvas.guardsIntact());
}

} // namespace
} // namespace pipeline
