// Sampling: address modes, texel centres, filters, mip selection, NaN coordinates.
#include <gtest/gtest.h>

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

} // namespace
} // namespace pipeline
