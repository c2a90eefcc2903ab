// Vertex lighting and fog values, checked through the pixels of a pre-lit point.
#include <gtest/gtest.h>

#include "geometry/lighting.h"
#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

Color lit(const VertexState& state, Vec3 position, Vec3 normal) {
    LightingSetup setup = PrepareLighting(state, state.view);
    SurfaceColors surface{state.material.diffuse, state.material.ambient, state.material.specular,
                          state.material.emissive, state.material.power};
    Color diffuse, specular;
    LightVertex(setup, state.globalAmbient, surface, position, normal, diffuse, specular);
    return diffuse;
}

TEST(Lighting, PointLightWithZeroAttenuationIsNotAttenuatedWithinRange) {
    VertexState state;
    state.material.diffuse = {1, 1, 1, 0.5f};
    LightSource light;
    light.kind = LightKind::Point;
    light.position = {0, 10, 0};
    light.diffuse = {1, 0.5f, 0.25f, 0};
    light.range = 100;
    light.attenuation[0] = 0;
    state.lights[0] = light;
    Color c = lit(state, {0, 0, 0}, {0, 1, 0});
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 0.5f);
    EXPECT_FLOAT_EQ(c.a, 0.5f); // the diffuse source's alpha, not the light's
    // Beyond the range: nothing.
    state.lights[0]->range = 5;
    EXPECT_FLOAT_EQ(lit(state, {0, 0, 0}, {0, 1, 0}).r, 0.0f);
    // Attenuation 1 / (1 + 0.1 d): d = 10 halves it.
    state.lights[0]->range = 100;
    state.lights[0]->attenuation[0] = 1;
    state.lights[0]->attenuation[1] = 0.1f;
    EXPECT_NEAR(lit(state, {0, 0, 0}, {0, 1, 0}).r, 0.5f, 1e-5f);
}

TEST(Lighting, DirectionalAmbientAndEmissive) {
    VertexState state;
    state.material = {{1, 0, 0, 1}, {0, 1, 0, 1}, {}, {0, 0, 0.25f, 0}, 0};
    state.globalAmbient = {0.2f, 0.2f, 0.2f, 0};
    LightSource sun;
    sun.direction = {0, -1, 0}; // shining down
    sun.diffuse = {1, 1, 1, 0};
    state.lights[1] = sun;
    Color up = lit(state, {0, 0, 0}, {0, 1, 0});
    EXPECT_FLOAT_EQ(up.r, 1.0f);
    EXPECT_FLOAT_EQ(up.g, 0.2f);
    EXPECT_FLOAT_EQ(up.b, 0.25f);
    Color tilted = lit(state, {0, 0, 0}, Normalize({1, 1, 0}));
    EXPECT_NEAR(tilted.r, 0.70710678f, 1e-5f);
    Color down = lit(state, {0, 0, 0}, {0, -1, 0}); // facing away: ambient and emissive only
    EXPECT_FLOAT_EQ(down.r, 0.0f);
    EXPECT_FLOAT_EQ(down.g, 0.2f);
}

// One pre-lit vertex stream through the whole vertex stage: a triangle covering pixel (1, 1).
uint32_t drawTriangle(const VertexState& vs, const PixelState& ps, bool vertexColour, Vec3 normal = {0, 0, -1}) {
    Canvas canvas(4, 4);
    std::vector<Vertex> v(3);
    v[0].x = -10; v[0].y = 10; v[1].x = 10; v[1].y = 10; v[2].x = 0; v[2].y = -10;
    for (Vertex& x : v) {
        x.z = 2;
        x.normal = normal;
        x.diffuse = 0x8000FF00;
    }
    VertexStream stream = makeStream({false, true, vertexColour, false, 0}, v);
    Draw(drawOf(stream, PrimitiveType::TriangleList, 1), vs, ps, canvas.target);
    return canvas.pixel(1, 1);
}

VertexState orthoCamera() {
    VertexState vs;
    // x, y in -2..2 map to the 4 x 4 target; z 0..10 to depth 0..1.
    vs.projection.m[0][0] = 0.5f;
    vs.projection.m[1][1] = 0.5f;
    vs.projection.m[2][2] = 0.1f;
    return vs;
}

TEST(Lighting, ColourVertexSourcesAndUnlitColours) {
    VertexState vs = orthoCamera();
    PixelState ps = basicPixels();
    EXPECT_EQ(drawTriangle(vs, ps, true), 0xFF00FF00u);   // unlit: the vertex colour
    EXPECT_EQ(drawTriangle(vs, ps, false), 0xFFFFFFFFu);  // unlit without colour: white
    vs.lighting = true;
    vs.material = {{1, 0, 0, 1}, {0, 0, 0, 1}, {}, {}, 0};
    LightSource sun;
    sun.direction = {0, 0, 1}; // toward +z: lights normals facing -z
    sun.diffuse = {1, 1, 1, 0};
    vs.lights[0] = sun;
    EXPECT_EQ(drawTriangle(vs, ps, true), 0xFF00FF00u);   // diffuse from the vertex colour
    EXPECT_EQ(drawTriangle(vs, ps, false), 0xFFFF0000u);  // no vertex colour: the material
    vs.colorVertex = false;
    EXPECT_EQ(drawTriangle(vs, ps, true), 0xFFFF0000u);
    // Normals go through the world matrix: facing away they get nothing, turned toward the light all.
    EXPECT_EQ(drawTriangle(vs, ps, false, {0, 0, 1}), 0xFF000000u);
    vs.world = rotationY(3.14159265f) * translation(0, 0, 4);
    EXPECT_EQ(drawTriangle(vs, ps, false, {0, 0, 1}), 0xFFFF0000u);
}

TEST(Fog, LinearFactorFromViewDepthOrRange) {
    VertexState vs = orthoCamera();
    vs.fogMode = FogMode::Linear;
    vs.fogStart = 1;
    vs.fogEnd = 3; // at z 2: half fog
    PixelState ps = basicPixels();
    ps.fog = true;
    ps.fogColor = {0, 0, 0, 1};
    EXPECT_EQ(drawTriangle(vs, ps, false), 0xFF808080u);
    vs.fogStart = 3;
    vs.fogEnd = 5; // before the start: no fog
    EXPECT_EQ(drawTriangle(vs, ps, false), 0xFFFFFFFFu);
    vs.fogStart = vs.fogEnd = 2; // a zero-width range does not divide by zero
    EXPECT_EQ(drawTriangle(vs, ps, false), 0xFF000000u);
}

} // namespace
} // namespace pipeline
