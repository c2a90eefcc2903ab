// Frames per second of three typical scenes at 800 x 600, single-threaded and with all threads.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <cstring>
#include <random>
#include <vector>

#include "pipeline/pipeline.h"

namespace {

using namespace pipeline;

constexpr int kWidth = 800, kHeight = 600;

struct Frame {
    std::vector<uint8_t> color = std::vector<uint8_t>(kWidth * kHeight * 4);
    std::vector<uint8_t> depth = std::vector<uint8_t>(kWidth * kHeight * 4);
    DrawQueue queue;
    RenderTarget target;
    Frame() {
        target.color = {ColorFormat::X8R8G8B8, kWidth, kHeight, kWidth * 4, color.data()};
        target.depth = {DepthFormat::D24S8, kWidth, kHeight, kWidth * 4, depth.data()};
        target.viewport = {0, 0, kWidth, kHeight, 0, 1};
        target.queue = &queue;
    }
    ~Frame() { queue.Flush(); }
    void clearAll() { Clear(target, nullptr, 0, kClearColor | kClearDepth, 0xFF000000, 1.0f, 0); }
    // The end of a frame, as presenting it: everything queued lands in the target.
    void present() {
        Flush(target);
        benchmark::DoNotOptimize(color.data());
    }

    // With MORVATH_BENCHMARK_FRAMES=<folder>, the last frame of each scene is kept as a PPM to look at.
    void keep(const char* name) const {
        const char* folder = std::getenv("MORVATH_BENCHMARK_FRAMES");
        if (!folder) return;
        Flush(target);
        FILE* f = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
        if (!f) return;
        std::fprintf(f, "P6 %d %d 255\n", kWidth, kHeight);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const uint8_t rgb[3] = {color[4 * i + 2], color[4 * i + 1], color[4 * i]};
            std::fwrite(rgb, 1, 3, f);
        }
        std::fclose(f);
    }
};

struct OwnedTexture {
    Texture texture;
    std::vector<std::vector<uint8_t>> bytes;
};

// A mip chain in A8R8G8B8 (or a 16-bit format at level 0 only).
OwnedTexture makeTexture(int size, TextureFormat format, bool mips, uint32_t (*texel)(int, int)) {
    OwnedTexture t;
    t.texture.format = format;
    std::vector<uint32_t> level(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) level[y * size + x] = texel(x, y);
    for (int s = size; s >= 1; s /= 2) {
        const ColorFormat cf = static_cast<ColorFormat>(static_cast<int>(format));
        const int bpp = BytesPerPixel(cf);
        std::vector<uint8_t> bytes(s * s * bpp);
        for (int i = 0; i < s * s; ++i) {
            uint32_t raw = FromArgb8(cf, level[i]);
            std::memcpy(&bytes[i * bpp], &raw, bpp);
        }
        t.bytes.push_back(std::move(bytes));
        t.texture.levels.push_back({s, s, s * bpp, nullptr, 1});
        if (!mips) break;
        std::vector<uint32_t> next(std::max(1, s / 2) * std::max(1, s / 2));
        for (int y = 0; y < s / 2; ++y)
            for (int x = 0; x < s / 2; ++x) next[y * (s / 2) + x] = level[(2 * y) * s + 2 * x];
        level = std::move(next);
    }
    for (size_t i = 0; i < t.bytes.size(); ++i) t.texture.levels[i].data = t.bytes[i].data();
    return t;
}

Mat4 lookAt(Vec3 eye, Vec3 at, Vec3 up) {
    Vec3 z = Normalize(at - eye), x = Normalize(Cross(up, z)), y = Cross(z, x);
    Mat4 m;
    m.m[0][0] = x.x; m.m[0][1] = y.x; m.m[0][2] = z.x;
    m.m[1][0] = x.y; m.m[1][1] = y.y; m.m[1][2] = z.y;
    m.m[2][0] = x.z; m.m[2][1] = y.z; m.m[2][2] = z.z;
    m.m[3][0] = -Dot(x, eye); m.m[3][1] = -Dot(y, eye); m.m[3][2] = -Dot(z, eye);
    return m;
}

Mat4 perspective(float fovY, float aspect, float zn, float zf) {
    Mat4 m;
    const float ys = 1.0f / std::tan(fovY / 2), xs = ys / aspect;
    m.m[0][0] = xs; m.m[1][1] = ys; m.m[2][2] = zf / (zf - zn); m.m[2][3] = 1;
    m.m[3][2] = -zn * zf / (zf - zn); m.m[3][3] = 0;
    return m;
}

void setThreads(benchmark::State& state) { SetThreadCount(static_cast<int>(state.range(0))); }

void reportFps(benchmark::State& state) {
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(state.range(0) == 1 ? "1 thread" : "all threads");
}

// (a) a lit, fogged, two-texture height field of 128 x 128 cells seen from above at an angle.
void TerrainScene(benchmark::State& state) {
    setThreads(state);
    Frame frame;
    constexpr int n = 129;
    struct TerrainVertex { float x, y, z, nx, ny, nz; uint32_t diffuse; float u0, v0, u1, v1; };
    std::vector<TerrainVertex> vertices(n * n);
    auto height = [](float x, float z) { return 3.0f * std::sin(x * 0.11f) * std::cos(z * 0.07f) + 1.5f * std::sin(x * 0.31f + z * 0.23f); };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const float x = static_cast<float>(i), z = static_cast<float>(j);
            Vec3 normal = Normalize({height(x - 1, z) - height(x + 1, z), 2.0f, height(x, z - 1) - height(x, z + 1)});
            const uint32_t shade = static_cast<uint32_t>(128 + 127 * normal.y);
            vertices[j * n + i] = {x, height(x, z), z, normal.x, normal.y, normal.z,
                                   0xFF000000u | shade << 16 | 0xFF00u | shade,
                                   normal.x * 0.5f + 0.5f + x * 0.25f, normal.z * 0.5f + 0.5f + z * 0.25f, x / 128, z / 128};
        }
    std::vector<uint16_t> indices;
    for (int j = 0; j < n - 1; ++j)
        for (int i = 0; i < n - 1; ++i) {
            const uint16_t a = static_cast<uint16_t>(j * n + i), b = static_cast<uint16_t>(a + 1),
                           c = static_cast<uint16_t>(a + n), d = static_cast<uint16_t>(c + 1);
            indices.insert(indices.end(), {a, b, c, b, d, c}); // counter-clockwise seen from above
        }
    OwnedTexture grass = makeTexture(256, TextureFormat::A8R8G8B8, true, [](int x, int y) {
        return 0xFF000000u | ((x * 7 ^ y * 3) & 63) << 16 | (128 + ((x ^ y) & 127)) << 8 | ((x + y) & 31);
    });
    OwnedTexture shadow = makeTexture(128, TextureFormat::X8R8G8B8, false, [](int x, int y) {
        return ((x / 16 + y / 16) & 1) ? 0xFFFFFFFFu : 0xFFB0B0B0u;
    });

    DrawCall call;
    call.type = PrimitiveType::TriangleList;
    call.primitiveCount = static_cast<int>(indices.size() / 3);
    call.vertices = reinterpret_cast<const uint8_t*>(vertices.data());
    call.layout.stride = sizeof(TerrainVertex);
    call.layout.normalOffset = 12;
    call.layout.diffuseOffset = 24;
    call.layout.texCoordOffset[0] = 28;
    call.layout.texCoordOffset[1] = 36;
    call.vertexCount = n * n;
    call.usedVertexCount = n * n;
    call.indices = indices.data();
    call.indexSize = IndexSize::Bits16;
    call.indexCount = static_cast<int>(indices.size());

    VertexState vs;
    vs.view = lookAt({64, 45, -12}, {64, 0, 52}, {0, 1, 0});
    vs.projection = perspective(0.785f, 800.0f / 600.0f, 1.0f, 1000.0f);
    vs.lighting = true;
    vs.globalAmbient = {0.06f, 0.06f, 0.06f, 0};
    vs.material = {{1, 0, 0, 1}, {1, 0, 0, 1}, {}, {}, 0};
    LightSource point;
    point.kind = LightKind::Point;
    point.position = {60, 40, 40};
    point.diffuse = {1, 1, 1, 0};
    point.range = 1000;
    point.attenuation[0] = 0;
    LightSource sun;
    sun.direction = Normalize({-1, -1, 2});
    sun.diffuse = {1, 0, 0, 0};
    vs.lights[0] = point;
    vs.lights[1] = sun;
    vs.fogMode = FogMode::Linear;
    vs.fogStart = 2;
    vs.fogEnd = 200;

    PixelState ps;
    ps.cull = CullMode::Clockwise;
    ps.depth = {true, true, Compare::LessEqual};
    ps.fog = true;
    ps.stages[0] = {TextureOp::Modulate, TextureOp::Modulate, {ArgSource::Texture}, {ArgSource::Diffuse},
                    {ArgSource::Texture}, {ArgSource::Diffuse}, 0, &grass.texture,
                    {Filter::Linear, Filter::Linear, Filter::Linear}};
    ps.stages[1] = {TextureOp::Modulate, TextureOp::Disable, {ArgSource::Texture}, {ArgSource::Current},
                    {ArgSource::Texture}, {ArgSource::Current}, 1, &shadow.texture, {}};

    for (auto _ : state) {
        frame.clearAll();
        Draw(call, vs, ps, frame.target);
        frame.present();
    }
    frame.keep("TerrainScene");
    reportFps(state);
}

// (b) 250 small alpha-blended textured quads with range fog, one draw each.
void BlendedQuadsScene(benchmark::State& state) {
    setThreads(state);
    Frame frame;
    struct QuadVertex { float x, y, z, nx, ny, nz; uint32_t diffuse; float u, v; };
    std::mt19937 random(3);
    std::uniform_real_distribution<float> px(-14, 14), py(-10, 10), pz(10, 40);
    std::vector<std::vector<QuadVertex>> quads;
    const uint32_t alphas[5] = {255, 127, 85, 63, 51};
    for (int q = 0; q < 250; ++q) {
        const float x = px(random), y = py(random), z = pz(random);
        const uint32_t diffuse = alphas[q % 5] << 24 | 0xFFFFFFu;
        quads.push_back({{x, y, z, 0, 1, 0, diffuse, 0, 1}, {x, y + 1, z, 0, 1, 0, diffuse, 0, 0},
                         {x + 1, y, z, 0, 1, 0, diffuse, 1, 1}, {x + 1, y + 1, z, 0, 1, 0, diffuse, 1, 0}});
    }
    OwnedTexture tile = makeTexture(64, TextureFormat::A8R8G8B8, true, [](int x, int y) {
        return 0xFF000000u | (x * 4) << 16 | (y * 4) << 8 | (((x / 8) ^ (y / 8)) & 1 ? 255u : 64u);
    });
    VertexState vs;
    vs.view = lookAt({0, 0, -5}, {0, 0, 20}, {0, 1, 0});
    vs.projection = perspective(0.785f, 800.0f / 600.0f, 1.0f, 1000.0f);
    vs.fogMode = FogMode::Linear;
    vs.rangeFog = true;
    vs.fogStart = 2;
    vs.fogEnd = 60;
    PixelState ps;
    ps.cull = CullMode::None;
    ps.fog = true;
    ps.blend = {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendOp::Add};
    ps.stages[0] = {TextureOp::Modulate, TextureOp::Modulate, {ArgSource::Texture}, {ArgSource::Diffuse},
                    {ArgSource::Texture}, {ArgSource::Diffuse}, 0, &tile.texture,
                    {Filter::Linear, Filter::Linear, Filter::Linear}};
    ps.stages[1] = {TextureOp::Modulate, TextureOp::Disable, {ArgSource::Texture}, {ArgSource::Current},
                    {ArgSource::Texture}, {ArgSource::Current}, 1, nullptr, {}};
    DrawCall call;
    call.type = PrimitiveType::TriangleStrip;
    call.primitiveCount = 2;
    call.layout.stride = sizeof(QuadVertex);
    call.layout.normalOffset = 12;
    call.layout.diffuseOffset = 24;
    call.layout.texCoordOffset[0] = 28;
    call.vertexCount = 4;
    for (auto _ : state) {
        frame.clearAll();
        for (const auto& quad : quads) {
            call.vertices = reinterpret_cast<const uint8_t*>(quad.data());
            Draw(call, vs, ps, frame.target);
        }
        frame.present();
    }
    frame.keep("BlendedQuadsScene");
    reportFps(state);
}

// (c) 300 pre-transformed alpha-tested glyph quads of 8 x 12 pixels from a 4-4-4-4 atlas, 50 per draw.
void GlyphScene(benchmark::State& state) {
    setThreads(state);
    Frame frame;
    struct GlyphVertex { float x, y, z, rhw; uint32_t diffuse; float u, v; };
    std::vector<GlyphVertex> vertices;
    for (int g = 0; g < 300; ++g) {
        const float x = 2.0f + (g % 60) * 12.0f - 0.5f, y = 40.0f + (g / 60) * 100.0f - 0.5f;
        const float u = (g % 32) * 8 / 256.0f, v = (g / 32) * 12 / 256.0f, du = 8 / 256.0f, dv = 12 / 256.0f;
        const GlyphVertex tl{x, y, 0.9f, 1, 0xC4FFFFFF, u, v}, tr{x + 8, y, 0.9f, 1, 0xC4FFFFFF, u + du, v},
            bl{x, y + 12, 0.9f, 1, 0xC4FFFFFF, u, v + dv}, br{x + 8, y + 12, 0.9f, 1, 0xC4FFFFFF, u + du, v + dv};
        vertices.insert(vertices.end(), {bl, tl, br, tr, br, tl});
    }
    OwnedTexture atlas = makeTexture(256, TextureFormat::A4R4G4B4, false, [](int x, int y) {
        return ((x * 5 + y * 3) % 7 < 3 ? 0xFFu : 0x00u) << 24 | 0xFFFFFFu;
    });
    PixelState ps;
    ps.cull = CullMode::CounterClockwise;
    ps.alphaTest = {true, Compare::GreaterEqual, 8};
    ps.blend = {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendOp::Add};
    ps.stages[0] = {TextureOp::Modulate, TextureOp::Modulate, {ArgSource::Texture}, {ArgSource::Diffuse},
                    {ArgSource::Texture}, {ArgSource::Diffuse}, 0, &atlas.texture, {}};
    DrawCall call;
    call.type = PrimitiveType::TriangleList;
    call.primitiveCount = 100;
    call.layout.pretransformed = true;
    call.layout.stride = sizeof(GlyphVertex);
    call.layout.diffuseOffset = 16;
    call.layout.texCoordOffset[0] = 20;
    call.vertexCount = 300;
    const VertexState vs;
    for (auto _ : state) {
        frame.clearAll();
        for (int batch = 0; batch < 6; ++batch) {
            call.vertices = reinterpret_cast<const uint8_t*>(vertices.data() + batch * 300);
            Draw(call, vs, ps, frame.target);
        }
        frame.present();
    }
    frame.keep("GlyphScene");
    reportFps(state);
}

BENCHMARK(TerrainScene)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BlendedQuadsScene)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GlyphScene)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
