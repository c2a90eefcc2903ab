// Sampling: address modes, texel centres, filters, mip selection, NaN coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "texture/sampler.h"
#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

// A 4 x 1 texture whose texel k has blue = k * 0x40 + 0x10.
TextureHolder ramp() { return makeTexture(4, 1, [](int x, int) { return 0xFF000000u | (x * 0x40u + 0x10u); }); }

struct AddressCase { const char* name; Address mode; float u; uint32_t expected; };

TEST(Sampler, AddressModesWithPointSampling) {
    TextureHolder tex = ramp();
    const AddressCase cases[] = {
        {"wrap inside", Address::Wrap, 0.30f, 0x50},   {"wrap above", Address::Wrap, 1.30f, 0x50},
        {"wrap below", Address::Wrap, -0.20f, 0xD0},   {"wrap at one", Address::Wrap, 1.0f, 0x10},
        {"mirror above", Address::Mirror, 1.30f, 0x90}, {"mirror below", Address::Mirror, -0.20f, 0x10},
        {"mirror two", Address::Mirror, 2.10f, 0x10},  {"clamp above", Address::Clamp, 7.0f, 0xD0},
        {"clamp below", Address::Clamp, -3.0f, 0x10},  {"border above", Address::Border, 1.2f, 0x55},
        {"border inside", Address::Border, 0.9f, 0xD0},
    };
    for (const AddressCase& c : cases) {
        SamplerState state;
        state.addressU = state.addressV = c.mode;
        state.border = {0, 0, 0x55 / 255.0f, 1};
        const StageSampler s = PrepareSampler(&tex.texture, state);
        EXPECT_EQ(SampleTexture(s, c.u, 0.5f, 0) & 0xFF, c.expected) << c.name;
    }
}

TEST(Sampler, LinearFilteringHasTexelCentresAtHalves) {
    TextureHolder tex = ramp();
    SamplerState state;
    state.minFilter = state.magFilter = Filter::Linear;
    state.addressU = Address::Clamp;
    const StageSampler s = PrepareSampler(&tex.texture, state);
    EXPECT_EQ(SampleTexture(s, 0.125f, 0.5f, 0) & 0xFF, 0x10u); // centre of texel 0
    EXPECT_EQ(SampleTexture(s, 0.25f, 0.5f, 0) & 0xFF, 0x30u);  // halfway between 0 and 1
    EXPECT_EQ(SampleTexture(s, 0.0f, 0.5f, 0) & 0xFF, 0x10u);   // clamped edge
    state.addressU = Address::Wrap;
    const StageSampler w = PrepareSampler(&tex.texture, state);
    EXPECT_EQ(w.wrapPow2, true);
    EXPECT_EQ(SampleTexture(w, 0.0f, 0.5f, 0) & 0xFF, 0x70u); // halfway between texel 3 and texel 0
}

TEST(Sampler, NonFiniteCoordinatesReadTheFirstTexel) {
    TextureHolder tex = ramp();
    for (Filter f : {Filter::Point, Filter::Linear})
        for (Address a : {Address::Wrap, Address::Mirror, Address::Clamp, Address::Border}) {
            SamplerState state{f, f, Filter::Linear, a, a};
            const StageSampler s = PrepareSampler(&tex.texture, state);
            for (float bad : {NAN, INFINITY, -INFINITY, 1e30f}) {
                const uint32_t texel = SampleTexture(s, bad, bad, bad);
                EXPECT_NE(texel, 0u); // a real texel (or the opaque border), never memory outside
            }
        }
}

TEST(Sampler, MipLevelFollowsTheScreenFootprint) {
    // 16 x 16 with five levels painted red, green, blue, white, grey; a quad drawn at 16 / 2^k pixels
    // square must sample level k.
    TextureHolder tex = makeTexture(16, 16, [](int, int) { return 0; }, 5);
    const uint32_t colours[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080};
    for (int level = 0; level < 5; ++level) paintLevel(tex, level, colours[level]);
    for (int k = 0; k < 5; ++k) {
        for (Filter mip : {Filter::Point, Filter::Linear}) {
            Canvas canvas(32, 32);
            const float size = 16.0f / static_cast<float>(1 << k);
            std::vector<Vertex> v(4);
            for (int i = 0; i < 4; ++i) {
                v[i].x = 8 - 0.5f + (i % 2) * size;
                v[i].y = 8 - 0.5f + (i / 2) * size;
                v[i].u0 = static_cast<float>(i % 2);
                v[i].v0 = static_cast<float>(i / 2);
            }
            VertexStream stream = makeStream({true, false, false, false, 1}, v);
            PixelState ps = basicPixels(&tex.texture);
            ps.stages[0].sampler = {Filter::Point, Filter::Point, mip};
            Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, ps, canvas.target);
            EXPECT_EQ(canvas.pixel(8, 8), colours[k]) << "level " << k << " mip " << static_cast<int>(mip);
        }
    }
    // The largest level used and the bias move the choice.
    SamplerState state{Filter::Point, Filter::Point, Filter::Point};
    state.maxMipLevel = 2;
    EXPECT_EQ(SampleTexture(PrepareSampler(&tex.texture, state), 0.5f, 0.5f, 0), colours[2]);
    state.maxMipLevel = 0;
    state.lodBias = 1;
    const StageSampler biased = PrepareSampler(&tex.texture, state);
    EXPECT_EQ(SampleTexture(biased, 0.5f, 0.5f, MipLod(biased, 1 / 16.0f, 0, 0, 1 / 16.0f)), colours[1]);
}

TEST(Sampler, FastLog2IsCloseEnough) {
    for (float x : {0.001f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f, 1000.0f, 123456.0f})
        EXPECT_NEAR(FastLog2(x), std::log2(x), 0.01f) << x;
    EXPECT_LT(FastLog2(0.0f), -50.0f);
    EXPECT_LT(FastLog2(NAN), -50.0f);
}

// Draws `vertices` (pre-transformed, one texture set) as a triangle list at one thread (the reference
// path) and at several (the packed path); both must give the same pixels, which are returned.
std::vector<uint32_t> drawBothWays(const std::vector<Vertex>& vertices, const PixelState& ps, int size) {
    const VertexStream stream = makeStream({true, false, false, false, 1}, vertices);
    std::vector<uint32_t> result;
    for (int threads : {1, 4}) {
        Canvas canvas(size, size);
        canvas.fill(0xFF000000);
        DrawCall call = drawOf(stream, PrimitiveType::TriangleList, static_cast<int>(vertices.size() / 3));
        call.threads = threads;
        Draw(call, VertexState{}, ps, canvas.target);
        if (result.empty())
            result = canvas.pixels();
        else
            EXPECT_EQ(canvas.pixels(), result) << "the reference and the packed path differ";
    }
    return result;
}

// A quad of pre-transformed corners over [x0, x1) x [y0, y1) pixels, texture coordinates 0..1, the rhw
// of the top and bottom edges given (a trapezoid when the widths are in the same ratio: a floor).
std::vector<Vertex> quad(float tx0, float tx1, float bx0, float bx1, float y0, float y1, float topRhw,
                         float bottomRhw) {
    Vertex a, b, c, d;
    a.x = tx0, a.y = y0, a.rhw = topRhw, a.u0 = 0, a.v0 = 0;
    b.x = tx1, b.y = y0, b.rhw = topRhw, b.u0 = 1, b.v0 = 0;
    c.x = bx0, c.y = y1, c.rhw = bottomRhw, c.u0 = 0, c.v0 = 1;
    d.x = bx1, d.y = y1, d.rhw = bottomRhw, d.u0 = 1, d.v0 = 1;
    return {a, b, c, c, b, d};
}

// A 4 x 4 texture magnified over 64 x 64 pixels: every pixel is the exact bilinear filter of the
// texels at its sample point, rounded to nearest, or one level off; on average no level off.
TEST(Precision, MagnifiedBilinearFilteringRoundsToNearest) {
    const auto texel = [](int x, int y) {
        const uint32_t k = static_cast<uint32_t>(y * 4 + x);
        return 0xFF000000u | ((k * 73 + 11) % 256) << 16 | ((k * 151 + 200) % 256) << 8 | ((k * 37 + 90) % 256);
    };
    TextureHolder tex = makeTexture(4, 4, texel);
    for (Address mode : {Address::Wrap, Address::Clamp}) {
        PixelState ps = basicPixels(&tex.texture);
        StageState& st = ps.stages[0];
        st.sampler.minFilter = st.sampler.magFilter = Filter::Linear;
        st.sampler.addressU = st.sampler.addressV = mode;
        // Pixel centres sit at whole coordinates: pixel x samples u = (x + 0.5) / 64.
        const std::vector<uint32_t> pixels = drawBothWays(quad(-0.5f, 63.5f, -0.5f, 63.5f, -0.5f, 63.5f, 1, 1), ps, 64);
        int worst = 0;
        double sum = 0;
        int count = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const double s = (x + 0.5) / 16.0 - 0.5, t = (y + 0.5) / 16.0 - 0.5;
                const int i = static_cast<int>(std::floor(s)), j = static_cast<int>(std::floor(t));
                const double fs = s - i, ft = t - j;
                auto at = [&](int xi, int yi) {
                    if (mode == Address::Wrap) return texel((xi + 4) % 4, (yi + 4) % 4);
                    return texel(std::clamp(xi, 0, 3), std::clamp(yi, 0, 3));
                };
                for (int shift : {0, 8, 16}) {
                    auto c = [&](uint32_t argb) { return static_cast<double>((argb >> shift) & 0xFF); };
                    const double exact = (1 - ft) * ((1 - fs) * c(at(i, j)) + fs * c(at(i + 1, j))) +
                                         ft * ((1 - fs) * c(at(i, j + 1)) + fs * c(at(i + 1, j + 1)));
                    const int error = static_cast<int>((pixels[y * 64 + x] >> shift) & 0xFF) -
                                      static_cast<int>(std::floor(exact + 0.5));
                    worst = std::max(worst, std::abs(error));
                    sum += error;
                    ++count;
                }
            }
        }
        EXPECT_LE(worst, 1) << "address mode " << static_cast<int>(mode);
        EXPECT_LT(std::abs(sum / count), 0.05) << "address mode " << static_cast<int>(mode);
    }
}

// A point-sampled floor at a slant through the vertex stage (64 x 64 texels tiled 10 times across and
// 10 deep, seen from 1 above it): each pixel reads the texel under the exact perspective-correct
// coordinates at its centre, but for pixels whose coordinates lie within 0.02 texel of a texel edge.
TEST(Precision, PerspectiveTextureCoordinatesPickTheExactTexel) {
    constexpr int kSize = 128, kTexels = 64;
    const auto texel = [](int x, int y) {
        return 0xFF000000u | static_cast<uint32_t>(y) << 8 | static_cast<uint32_t>(x);
    };
    TextureHolder tex = makeTexture(kTexels, kTexels, texel);
    const PixelState ps = basicPixels(&tex.texture);
    VertexState vs;
    vs.view = lookAt({0, 1, -2}, {3, 0, 10}, {0, 1, 0});
    vs.projection = perspective(1.0f, 1.0f, 0.1f, 100.0f);
    // The floor y = 0, x in [-20, 20], z in [-1, 39]; u = (x + 20) / 4, v = (z + 1) / 4.
    std::vector<Vertex> corners(4);
    const float xs[4] = {-20, 20, -20, 20}, zs[4] = {39, 39, -1, -1};
    for (int i = 0; i < 4; ++i) {
        corners[i].x = xs[i], corners[i].z = zs[i];
        corners[i].u0 = (xs[i] + 20) / 4, corners[i].v0 = (zs[i] + 1) / 4;
    }
    const std::vector<Vertex> floor = {corners[0], corners[1], corners[2], corners[2], corners[1], corners[3]};
    const VertexStream stream = makeStream({false, false, false, false, 1}, floor);
    const Mat4 m = vs.view * vs.projection;
    for (int threads : {1, 4}) {
        Canvas canvas(kSize, kSize);
        canvas.fill(0xFFFF0000);  // red: no texel has any
        DrawCall call = drawOf(stream, PrimitiveType::TriangleList, 2);
        call.threads = threads;
        Draw(call, vs, ps, canvas.target);
        int drawn = 0, misses = 0;
        double worstMiss = 0;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                // The floor point seen at the pixel centre: clip x - ndc x clip w = 0 and the same for y,
                // two equations in the floor's x and z.
                const double nx = (x - kSize / 2.0) / (kSize / 2.0), ny = -(y - kSize / 2.0) / (kSize / 2.0);
                const double a11 = m.m[0][0] - nx * m.m[0][3], a12 = m.m[2][0] - nx * m.m[2][3];
                const double a21 = m.m[0][1] - ny * m.m[0][3], a22 = m.m[2][1] - ny * m.m[2][3];
                const double b1 = nx * m.m[3][3] - m.m[3][0], b2 = ny * m.m[3][3] - m.m[3][1];
                const double det = a11 * a22 - a12 * a21;
                const double fx = (b1 * a22 - a12 * b2) / det, fz = (a11 * b2 - a21 * b1) / det;
                const double w = fx * m.m[0][3] + fz * m.m[2][3] + m.m[3][3];
                if (!(w > 0.1) || fx <= -20 || fx >= 20 || fz <= -1 || fz >= 39) continue;
                const double su = (fx + 20) / 4 * kTexels, sv = (fz + 1) / 4 * kTexels;
                const uint32_t got = canvas.pixel(x, y);
                if (got == 0xFFFF0000u) continue;  // an edge pixel the fill rule leaves out
                ++drawn;
                const uint32_t eu = static_cast<uint32_t>(su) % kTexels, ev = static_cast<uint32_t>(sv) % kTexels;
                if ((got & 0xFF) == eu && ((got >> 8) & 0xFF) == ev) continue;
                const double edge = std::min(
                    {su - std::floor(su), std::ceil(su) - su, sv - std::floor(sv), std::ceil(sv) - sv});
                worstMiss = std::max(worstMiss, edge);
                if (edge > 0.02) ++misses;
            }
        }
        EXPECT_GT(drawn, 5000) << threads << " threads";
        EXPECT_EQ(misses, 0) << threads << " threads: of " << drawn << " pixels, the worst miss lies " << worstMiss
                             << " texel from a texel edge";
    }
}

} // namespace
} // namespace pipeline
