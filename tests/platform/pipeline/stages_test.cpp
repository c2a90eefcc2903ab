// Texture stages: operations and arguments as a table, the unbound-texture and alpha-disable rules,
// texture-coordinate indices, specular and flat shading.
#include <gtest/gtest.h>

#include "raster/combiner.h"
#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

struct OpCase { const char* name; TextureOp op; float expected; };

TEST(Combiner, OperationsOnOneChannel) {
    // arg1 0.6, arg2 0.3; diffuse alpha 0.25, texture alpha 0.5, factor alpha 0.75, current alpha 1.
    StageInputs in;
    in.diffuse = {0, 0, 0, 0.25f};
    in.texture = {0, 0, 0, 0.5f};
    in.factor = {0, 0, 0, 0.75f};
    in.current = {0, 0, 0, 1.0f};
    const OpCase cases[] = {
        {"selectarg1", TextureOp::SelectArg1, 0.6f},       {"selectarg2", TextureOp::SelectArg2, 0.3f},
        {"modulate", TextureOp::Modulate, 0.18f},          {"modulate2x", TextureOp::Modulate2x, 0.36f},
        {"modulate4x", TextureOp::Modulate4x, 0.72f},      {"add", TextureOp::Add, 0.9f},
        {"addsigned", TextureOp::AddSigned, 0.4f},         {"addsigned2x", TextureOp::AddSigned2x, 0.8f},
        {"subtract", TextureOp::Subtract, 0.3f},           {"addsmooth", TextureOp::AddSmooth, 0.72f},
        {"blenddiffusealpha", TextureOp::BlendDiffuseAlpha, 0.375f},
        {"blendtexturealpha", TextureOp::BlendTextureAlpha, 0.45f},
        {"blendfactoralpha", TextureOp::BlendFactorAlpha, 0.525f},
        {"blendcurrentalpha", TextureOp::BlendCurrentAlpha, 0.6f},
    };
    for (const OpCase& c : cases) EXPECT_NEAR(detail::Operate(c.op, 0.6f, 0.3f, in), c.expected, 1e-6f) << c.name;
    EXPECT_FLOAT_EQ(detail::Operate(TextureOp::Add, 0.8f, 0.7f, in), 1.0f);
    EXPECT_FLOAT_EQ(detail::Operate(TextureOp::Subtract, 0.2f, 0.7f, in), 0.0f);
}

TEST(Combiner, ArgumentModifiers) {
    StageInputs in;
    in.texture = {0.2f, 0.4f, 0.6f, 0.9f};
    Color c = detail::Argument({ArgSource::Texture, true, false}, in);
    EXPECT_NEAR(c.r, 0.8f, 1e-6f);
    EXPECT_NEAR(c.a, 0.1f, 1e-6f);
    c = detail::Argument({ArgSource::Texture, false, true}, in);
    EXPECT_FLOAT_EQ(c.g, 0.9f);
    c = detail::Argument({ArgSource::Texture, true, true}, in);
    EXPECT_NEAR(c.b, 0.1f, 1e-6f);
}

// Draws a 4 x 4 pre-transformed quad with the given stages.
uint32_t drawWith(const PixelState& ps, uint32_t diffuse = 0x80FF8040, uint32_t specular = 0, int texSets = 2) {
    Canvas canvas(4, 4, ColorFormat::A8R8G8B8);
    std::vector<Vertex> v(4);
    const float xs[4] = {-0.5f, 3.5f, -0.5f, 3.5f}, ys[4] = {-0.5f, -0.5f, 3.5f, 3.5f};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i];
        v[i].y = ys[i];
        v[i].diffuse = diffuse;
        v[i].specular = specular;
        v[i].u0 = v[i].v0 = 0.1f; // set 0 reads texel (0, 0)
        v[i].u1 = v[i].v1 = 0.6f; // set 1 reads texel (1, 1)
    }
    VertexStream stream = makeStream({true, false, true, true, texSets}, v);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, ps, canvas.target);
    return canvas.pixel(1, 1);
}

TEST(Stages, UnboundTextureReadsOpaqueWhite) {
    PixelState ps = basicPixels();
    ps.stages[0].colorOp = ps.stages[0].alphaOp = TextureOp::Modulate;
    ps.stages[0].colorArg1 = ps.stages[0].alphaArg1 = {ArgSource::Texture};
    EXPECT_EQ(drawWith(ps), 0x80FF8040u);
    ps.stages[0].colorOp = TextureOp::SelectArg1;
    EXPECT_EQ(drawWith(ps), 0x80FFFFFFu);
}

TEST(Stages, ColourOnWithAlphaDisabledPassesTheCurrentAlpha) {
    TextureHolder tex = makeTexture(2, 2, [](int, int) { return 0x40FFFFFFu; });
    PixelState ps = basicPixels(&tex.texture); // stage 0 modulates colour and alpha: alpha 0x80 x 0x40
    ps.stages[1].colorOp = TextureOp::Modulate;
    ps.stages[1].colorArg1 = {ArgSource::Texture};
    ps.stages[1].colorArg2 = {ArgSource::Current};
    ps.stages[1].alphaOp = TextureOp::Disable;
    EXPECT_EQ(drawWith(ps) >> 24, 0x20u);
}

TEST(Stages, TheFirstDisabledColourOpEndsTheCascade) {
    PixelState ps = basicPixels();
    ps.stages[0].colorOp = TextureOp::Disable; // stage 0 off: the diffuse colour
    ps.stages[1].colorOp = TextureOp::SelectArg1;
    ps.stages[1].colorArg1 = {ArgSource::TFactor};
    ps.textureFactor = {0, 0, 1, 1};
    EXPECT_EQ(drawWith(ps), 0x80FF8040u);
}

TEST(Stages, TexCoordIndexPicksTheSetAndAMissingSetReadsZero) {
    TextureHolder tex = makeTexture(2, 2, [](int x, int y) { return 0xFF000000u | (x * 2 + y + 1) * 0x30u; });
    PixelState ps = basicPixels(&tex.texture);
    ps.stages[0].colorOp = TextureOp::SelectArg1;
    EXPECT_EQ(drawWith(ps) & 0xFF, 0x30u); // set 0: texel (0, 0)
    ps.stages[0].texCoordIndex = 1;
    EXPECT_EQ(drawWith(ps) & 0xFF, 0xC0u); // set 1: texel (1, 1)
    ps.stages[0].texCoordIndex = 3;        // not in the vertices: (0, 0)
    EXPECT_EQ(drawWith(ps) & 0xFF, 0x30u);
}

TEST(Stages, SpecularAddsAfterTheStagesWhenEnabled) {
    PixelState ps = basicPixels();
    EXPECT_EQ(drawWith(ps, 0xFF202020, 0xFF102030), 0xFF202020u);
    ps.specular = true;
    EXPECT_EQ(drawWith(ps, 0xFF202020, 0xFF102030), 0xFF304050u);
    ps.stages[0].colorArg1 = {ArgSource::Specular};
    ps.specular = false;
    EXPECT_EQ(drawWith(ps, 0xFF202020, 0xFF102030), 0xFF102030u);
}

TEST(Stages, FlatShadingTakesTheFirstVertexColour) {
    Canvas canvas(16, 16);
    std::vector<Vertex> v(3);
    v[0].x = 1; v[0].y = 1; v[0].diffuse = 0xFFFF0000;
    v[1].x = 15; v[1].y = 1; v[1].diffuse = 0xFF00FF00;
    v[2].x = 1; v[2].y = 15; v[2].diffuse = 0xFF0000FF;
    VertexStream stream = makeStream({true, false, true}, v);
    PixelState ps = basicPixels();
    ps.shade = ShadeMode::Flat;
    Draw(drawOf(stream, PrimitiveType::TriangleList, 1), VertexState{}, ps, canvas.target);
    EXPECT_EQ(canvas.pixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(10, 3), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(3, 10), 0xFFFF0000u);
}

} // namespace
} // namespace pipeline
