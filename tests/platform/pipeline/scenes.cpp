#include "scenes.h"

#include <cmath>
#include <random>

namespace pipeline::test {

Mesh makeSphere(int slices, int stacks) {
    std::vector<Vertex> vertices;
    for (int j = 0; j <= stacks; ++j)
        for (int i = 0; i <= slices; ++i) {
            const float theta = 3.14159265f * j / stacks, phi = 2 * 3.14159265f * i / slices;
            Vertex v;
            v.normal = {std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
            v.x = v.normal.x;
            v.y = v.normal.y;
            v.z = v.normal.z;
            v.u0 = static_cast<float>(i) / slices;
            v.v0 = static_cast<float>(j) / stacks;
            vertices.push_back(v);
        }
    Mesh mesh;
    mesh.stream = makeStream({false, true, false, false, 1}, vertices);
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const uint16_t a = static_cast<uint16_t>(j * (slices + 1) + i), b = static_cast<uint16_t>(a + 1),
                           c = static_cast<uint16_t>(a + slices + 1), d = static_cast<uint16_t>(c + 1);
            mesh.indices.insert(mesh.indices.end(), {a, b, c, b, d, c});
        }
    return mesh;
}

VertexState cameraState() {
    VertexState vs;
    vs.view = lookAt({0, 0, -4}, {0, 0, 0}, {0, 1, 0});
    vs.projection = perspective(0.785398f, 1.0f, 1.0f, 100.0f);
    return vs;
}

void drawLitSphere(Canvas& canvas) {
    Mesh sphere = makeSphere(24, 16);
    VertexState vs = cameraState();
    vs.lighting = true;
    vs.globalAmbient = {0.06f, 0.06f, 0.06f, 1};
    vs.material.diffuse = {1, 1, 1, 1};
    vs.material.ambient = {1, 1, 1, 1};
    LightSource point;
    point.kind = LightKind::Point;
    point.position = {-3, 3, -3};
    point.diffuse = {0.2f, 0.6f, 1.0f, 0};
    point.range = 100;
    point.attenuation[0] = 0; // all three 0: no fall-off
    LightSource sun;
    sun.direction = Normalize({1, -0.5f, 1});
    sun.diffuse = {1, 0.3f, 0, 0};
    vs.lights[0] = point;
    vs.lights[1] = sun;
    PixelState ps = basicPixels();
    ps.cull = CullMode::None;
    ps.depth = {true, true, Compare::LessEqual};
    DrawCall call = indexedDrawOf(sphere.stream, sphere.indices, PrimitiveType::TriangleList,
                                  static_cast<int>(sphere.indices.size() / 3));
    Draw(call, vs, ps, canvas.target);
}

TextureHolder checkerTexture(int size, int cell, int levels) {
    return makeTexture(size, size, [cell](int x, int y) {
        return ((x / cell + y / cell) & 1) ? 0xFFFFFFFFu : 0xFF2040C0u;
    }, levels);
}

void drawTexturedFloor(Canvas& canvas, Filter minMag, Filter mip, const Texture& texture) {
    std::vector<Vertex> v(4);
    const float xs[4] = {-2, 2, -2, 2}, zs[4] = {0, 0, 30, 30};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i];
        v[i].y = -1;
        v[i].z = zs[i] - 2;
        v[i].u0 = xs[i] < 0 ? 0 : 2;
        v[i].v0 = zs[i] / 2;
    }
    VertexStream stream = makeStream({false, false, false, false, 1}, v);
    VertexState vs = cameraState();
    vs.view = lookAt({0, 0, -4}, {0, -1, 4}, {0, 1, 0});
    PixelState ps = basicPixels(&texture);
    ps.stages[0].sampler = {minMag, minMag, mip};
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), vs, ps, canvas.target);
}

void drawDemandingScene(Canvas& canvas, TextureOp secondStage) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> pos(-2.5f, 2.5f), depth(-1.0f, 6.0f), unit(0, 1);
    std::vector<Vertex> vertices;
    for (int t = 0; t < 300; ++t) {
        const float cx = pos(random), cy = pos(random), cz = depth(random);
        for (int k = 0; k < 3; ++k) {
            Vertex v;
            v.x = cx + pos(random) * 0.4f;
            v.y = cy + pos(random) * 0.4f;
            v.z = cz + pos(random) * 0.4f;
            v.normal = Normalize({unit(random) - 0.5f, unit(random) - 0.5f, -1});
            v.diffuse = static_cast<uint32_t>(random()) | 0x40000000u;
            v.u0 = unit(random) * 3;
            v.v0 = unit(random) * 3;
            v.u1 = unit(random);
            v.v1 = unit(random);
            vertices.push_back(v);
        }
    }
    VertexStream stream = makeStream({false, true, true, false, 2}, vertices);
    static TextureHolder a = checkerTexture(32, 4, 6);
    static TextureHolder b = makeTexture(16, 16, [](int x, int y) { return 0x80000000u | (x * 16) << 16 | (y * 16) << 8 | 0xFF; }, 5);
    VertexState vs = cameraState();
    vs.lighting = true;
    vs.globalAmbient = {0.2f, 0.2f, 0.2f, 1};
    LightSource sun;
    sun.direction = Normalize({0.3f, -0.5f, 1});
    sun.diffuse = {1, 1, 1, 0};
    vs.lights[0] = sun;
    vs.fogMode = FogMode::Linear;
    vs.fogStart = 2;
    vs.fogEnd = 12;
    vs.rangeFog = true;
    PixelState ps = basicPixels(&a.texture);
    ps.stages[0].sampler = {Filter::Linear, Filter::Linear, Filter::Linear};
    ps.stages[1].colorOp = secondStage;
    ps.stages[1].texture = &b.texture;
    ps.stages[1].texCoordIndex = 1;
    ps.stages[1].alphaOp = TextureOp::Modulate;
    ps.fog = true;
    ps.fogColor = {0.3f, 0.3f, 0.4f, 1};
    ps.depth = {true, true, Compare::LessEqual};
    ps.blend = {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendOp::Add};
    Draw(drawOf(stream, PrimitiveType::TriangleList, 300), vs, ps, canvas.target);
}

} // namespace pipeline::test
