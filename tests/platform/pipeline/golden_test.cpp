// Golden images: small scenes compared with references kept in golden/ (see compareGolden).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "scenes.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

constexpr int kSize = 64;

TEST(Golden, LitSphereUnderPointAndDirectionalLight) {
    Canvas canvas(kSize, kSize);
    drawLitSphere(canvas);
    EXPECT_EQ(compareGolden(canvas, "lit_sphere"), "");
}

TEST(Golden, TexturedFloorWithPointLinearAndMipFiltering) {
    TextureHolder checker = checkerTexture(32, 4, 6);
    struct Case { const char* name; Filter filter, mip; };
    for (Case c : {Case{"floor_point", Filter::Point, Filter::None}, Case{"floor_linear", Filter::Linear, Filter::None},
                   Case{"floor_trilinear", Filter::Linear, Filter::Linear}, Case{"floor_point_mip", Filter::Point, Filter::Point}}) {
        Canvas canvas(kSize, kSize);
        drawTexturedFloor(canvas, c.filter, c.mip, checker.texture);
        EXPECT_EQ(compareGolden(canvas, c.name), "") << c.name;
    }
}

// Top row: white quads at one view-space depth spread sideways; bottom row: quads at growing depth.
// Fogged toward red.
void drawFoggedQuads(Canvas& canvas, bool rangeFog) {
    std::vector<Vertex> v;
    auto quad = [&](float x, float y, float z, float size) {
        for (float dy : {-size, size})
            for (float dx : {-size, size}) {
                Vertex p;
                p.x = x + dx;
                p.y = y + dy;
                p.z = z;
                v.push_back(p);
            }
    };
    for (int q = 0; q < 7; ++q) quad(-4.2f + q * 1.4f, 1.8f, 8.0f, 0.6f);
    for (int q = 0; q < 6; ++q) quad(-2.5f + q * 1.0f, -1.0f, 1.0f + q * 3.0f, 0.4f);
    VertexStream stream = makeStream({false, false, false, false, 0}, v);
    VertexState vs = cameraState();
    vs.fogMode = FogMode::Linear;
    vs.fogStart = 4;
    vs.fogEnd = 22;
    vs.rangeFog = rangeFog;
    PixelState ps = basicPixels();
    ps.fog = true;
    ps.fogColor = {0.8f, 0.1f, 0.1f, 1};
    for (int q = 0; q < 13; ++q) {
        DrawCall call = drawOf(stream, PrimitiveType::TriangleStrip, 2);
        call.firstVertex = 4 * q;
        Draw(call, vs, ps, canvas.target);
    }
}

TEST(Golden, LinearFogWithAndWithoutRangeFog) {
    Canvas plain(kSize, kSize), range(kSize, kSize);
    drawFoggedQuads(plain, false);
    drawFoggedQuads(range, true);
    EXPECT_EQ(compareGolden(plain, "fog_linear"), "");
    EXPECT_EQ(compareGolden(range, "fog_range"), "");
    // View-space z fogs the top row evenly; range fog measures the eye distance, so the outer quads
    // get more fog than the middle one.
    const int row = 21;
    EXPECT_EQ(plain.pixel(32, row), plain.pixel(6, row));
    EXPECT_NE(range.pixel(32, row), range.pixel(6, row));
    EXPECT_GT(range.pixel(32, row) & 0xFF, range.pixel(6, row) & 0xFF); // blue: more white left in the middle
}

TEST(Golden, AlphaTestAndAlphaBlendingOverABackground) {
    Canvas canvas(kSize, kSize);
    // Background: vertical stripes.
    for (int x = 0; x < kSize; x += 8) {
        Rect r{x, 0, x + 4, kSize};
        Clear(canvas.target, &r, 1, kClearColor, 0xFF208020, 1, 0);
    }
    // A pre-transformed quad whose texture alpha is a radial ramp: alpha-tested at 128 on the left half,
    // blended with SRCALPHA / INVSRCALPHA on the right half.
    TextureHolder ramp = makeTexture(16, 16, [](int x, int y) {
        const float d = std::hypot(x - 7.5f, y - 7.5f) / 8.0f;
        const uint32_t a = static_cast<uint32_t>(std::fmax(0.0f, 1.0f - d) * 255);
        return a << 24 | 0xFFE0A0u;
    });
    for (int half = 0; half < 2; ++half) {
        std::vector<Vertex> v(4);
        const float x0 = half ? 33.5f : 1.5f;
        const float xs[4] = {x0, x0 + 30, x0, x0 + 30}, ys[4] = {10, 10, 54, 54};
        for (int i = 0; i < 4; ++i) {
            v[i].x = xs[i];
            v[i].y = ys[i];
            v[i].z = 0.5f;
            v[i].u0 = i % 2;
            v[i].v0 = i / 2;
        }
        VertexStream stream = makeStream({true, false, false, false, 1}, v);
        PixelState ps = basicPixels(&ramp.texture);
        ps.stages[0].sampler.magFilter = Filter::Linear;
        if (half == 0) ps.alphaTest = {true, Compare::GreaterEqual, 128};
        else ps.blend = {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendOp::Add};
        Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, ps, canvas.target);
    }
    EXPECT_EQ(compareGolden(canvas, "alpha_test_blend"), "");
}

// A cube of 12 triangles, wound clockwise seen from outside.
VertexStream cubeStream(std::vector<uint16_t>& indices) {
    std::vector<Vertex> v;
    for (int i = 0; i < 8; ++i) {
        Vertex p;
        p.x = i & 1 ? 1.0f : -1.0f;
        p.y = i & 2 ? 1.0f : -1.0f;
        p.z = i & 4 ? 1.0f : -1.0f;
        p.diffuse = 0xFF000000u | (i & 1 ? 0xFF0000u : 0x400000u) | (i & 2 ? 0xFF00u : 0x4000u) | (i & 4 ? 0xFFu : 0x40u);
        v.push_back(p);
    }
    indices = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4, 2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
    return makeStream({false, false, true, false, 0}, v);
}

TEST(Golden, WireframeAndCullingModes) {
    std::vector<uint16_t> indices;
    VertexStream cube = cubeStream(indices);
    VertexState vs = cameraState();
    vs.world = rotationY(0.6f) * translation(0, 0, 1);
    vs.view = lookAt({0, 2, -4}, {0, 0, 1}, {0, 1, 0});
    struct Case { const char* name; FillMode fill; CullMode cull; };
    for (Case c : {Case{"cube_wire_none", FillMode::Wireframe, CullMode::None},
                   Case{"cube_wire_ccw", FillMode::Wireframe, CullMode::CounterClockwise},
                   Case{"cube_solid_ccw", FillMode::Solid, CullMode::CounterClockwise},
                   Case{"cube_solid_cw", FillMode::Solid, CullMode::Clockwise},
                   Case{"cube_points", FillMode::Point, CullMode::None}}) {
        Canvas canvas(kSize, kSize);
        PixelState ps = basicPixels();
        ps.fill = c.fill;
        ps.cull = c.cull;
        ps.depth = {true, true, Compare::LessEqual};
        Draw(indexedDrawOf(cube, indices, PrimitiveType::TriangleList, 12), vs, ps, canvas.target);
        EXPECT_EQ(compareGolden(canvas, c.name), "") << c.name;
    }
}

TEST(Golden, TwoTextureStagesModulating) {
    TextureHolder stripes = makeTexture(16, 16, [](int x, int) { return x < 8 ? 0xFFFFC040u : 0xFF40C0FFu; });
    TextureHolder dots = makeTexture(8, 8, [](int x, int y) { return (x + y) % 4 == 0 ? 0xFF404040u : 0xFFFFFFFFu; });
    std::vector<Vertex> v(4);
    const float xs[4] = {-0.5f, 63.5f, -0.5f, 63.5f}, ys[4] = {-0.5f, -0.5f, 63.5f, 63.5f};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i];
        v[i].y = ys[i];
        v[i].u0 = static_cast<float>(i % 2);
        v[i].v0 = static_cast<float>(i / 2);
        v[i].u1 = static_cast<float>(i % 2) * 4;
        v[i].v1 = static_cast<float>(i / 2) * 4;
        v[i].diffuse = i == 3 ? 0xFF808080u : 0xFFFFFFFFu;
    }
    VertexStream stream = makeStream({true, false, true, false, 2}, v);
    PixelState ps = basicPixels(&stripes.texture);
    ps.stages[1].colorOp = TextureOp::Modulate;
    ps.stages[1].colorArg1 = {ArgSource::Texture};
    ps.stages[1].colorArg2 = {ArgSource::Current};
    ps.stages[1].texCoordIndex = 1;
    ps.stages[1].texture = &dots.texture;
    Canvas canvas(kSize, kSize);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, ps, canvas.target);
    EXPECT_EQ(compareGolden(canvas, "two_stages"), "");
    // Pixel (0, 0): white diffuse x stripe (FFC040) x dot texel (0, 0) (404040).
    EXPECT_EQ(canvas.pixel(0, 0), 0xFF403010u);
}

TEST(Golden, TriangleCrossingTheNearPlane) {
    // One vertex behind the eye: clipped at the near plane, the rest drawn with its colours.
    std::vector<Vertex> v(3);
    v[0].x = -1.5f; v[0].y = -1; v[0].z = 2; v[0].diffuse = 0xFFFF0000;
    v[1].x = 1.5f; v[1].y = -1; v[1].z = 2; v[1].diffuse = 0xFF00FF00;
    v[2].x = 0; v[2].y = -1; v[2].z = -8; v[2].diffuse = 0xFF0000FF;
    VertexStream stream = makeStream({false, false, true, false, 0}, v);
    Canvas canvas(kSize, kSize);
    PixelState ps = basicPixels();
    ps.depth = {true, true, Compare::LessEqual};
    Draw(drawOf(stream, PrimitiveType::TriangleList, 1), cameraState(), ps, canvas.target);
    EXPECT_EQ(compareGolden(canvas, "near_plane"), "");
    EXPECT_TRUE(canvas.guardsIntact());
}

TEST(Golden, DegenerateAndNaNInputDrawsOnlyTheSoundTriangles) {
    const float nan = std::nanf(""), inf = INFINITY;
    std::vector<Vertex> v;
    auto tri = [&](Vec3 a, Vec3 b, Vec3 c, uint32_t color) {
        for (Vec3 p : {a, b, c}) {
            Vertex x;
            x.x = p.x; x.y = p.y; x.z = p.z; x.diffuse = color;
            v.push_back(x);
        }
    };
    tri({-1, -1, 1}, {0, 1, 1}, {1, -1, 1}, 0xFF40FF40);            // sound
    tri({nan, 0, 1}, {0, 1, 1}, {1, 0, 1}, 0xFFFF0000);             // NaN position
    tri({-1, 0, 1}, {inf, 1, 1}, {1, 0, 1}, 0xFFFF0000);            // infinite position
    tri({-1, 0, 1}, {0, 0, 1}, {1, 0, 1}, 0xFFFF0000);              // zero area
    tri({0, 0, 1}, {0, 0, 1}, {0, 0, 1}, 0xFFFF0000);               // a point
    tri({-1e6f, -1, 2}, {1e6f, 1, 2}, {0, 1e6f, 2}, 0xFF2020FF);    // huge: clipped to the guard band
    VertexStream stream = makeStream({false, false, true, false, 1}, v);
    // NaN texture coordinates on the sound triangle must not reach the texture either.
    float bad[2] = {nan, inf};
    std::memcpy(stream.bytes.data() + stream.layout.texCoordOffset[0], bad, 8);
    TextureHolder tex = checkerTexture(8, 2, 4);
    PixelState ps = basicPixels(&tex.texture);
    ps.stages[0].sampler = {Filter::Linear, Filter::Linear, Filter::Linear};
    ps.depth = {true, true, Compare::LessEqual};
    VertexState vs = cameraState();
    Canvas canvas(kSize, kSize);
    Draw(drawOf(stream, PrimitiveType::TriangleList, 6), vs, ps, canvas.target);
    EXPECT_EQ(compareGolden(canvas, "degenerate_nan"), "");
    EXPECT_TRUE(canvas.guardsIntact());
}

} // namespace
} // namespace pipeline
