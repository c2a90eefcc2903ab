#pragma once
// Texture sampling: address modes, point and linear filtering, mip selection. Never reads outside a level.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "pipeline/states.h"
#include "pipeline/texture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define PIPELINE_SSE2 1
#endif

namespace pipeline {

constexpr int kMaxLevels = 16;

struct SamplerLevel {
    const uint32_t* texels = nullptr;
    int width = 0, height = 0;
};

// One stage's texture and sampler state, prepared per draw.
struct StageSampler {
    SamplerLevel levels[kMaxLevels];
    int levelCount = 0;           // 0: no usable texture (reads opaque white)
    int base = 0;                 // the largest level used
    float baseWidth = 1, baseHeight = 1;
    Filter minFilter = Filter::Point, magFilter = Filter::Point, mipFilter = Filter::None;
    Address addressU = Address::Wrap, addressV = Address::Wrap;
    uint32_t border = 0;
    float lodBias = 0;
    bool needsLod = false;        // min and mag differ, or a mip filter is on
    bool wrapPow2 = false;        // wrap on both axes and every level a power of two in size
};

// Decodes the levels the sampler may use; levels that do not decode end the chain. When `keep` is
// given, the decoded levels used are appended to it, so they outlive changes to the texture.
StageSampler PrepareSampler(const Texture* texture, const SamplerState& state,
                            std::vector<std::shared_ptr<const DecodedLevel>>* keep = nullptr);

// Approximate log2 (about 0.01 off), enough for picking mip levels; large negative for 0, negatives and NaN.
inline float FastLog2(float x) {
    if (!(x > 1e-30f)) return -100.0f;
    if (!(x < 1e30f)) return 100.0f;
    uint32_t bits;
    std::memcpy(&bits, &x, 4);
    const float exponent = static_cast<float>(static_cast<int>(bits >> 23) - 128);  // the polynomial adds 1
    bits = (bits & 0x007FFFFFu) | 0x3F800000u;
    float m;
    std::memcpy(&m, &bits, 4);
    return exponent + (-0.34484843f * m + 2.02466578f) * m - 0.67487759f;
}

namespace detail {

inline float Sanitize(float u) { return u > -1e6f && u < 1e6f ? u : 0.0f; }  // NaN and huge values read 0

// floor for |x| < 2^31, without a library call.
inline int FloorInt(float x) {
    const int i = static_cast<int>(x);
    return x < static_cast<float>(i) ? i - 1 : i;
}

inline float Fraction(float u) { return u - static_cast<float>(FloorInt(u)); }

inline uint32_t LerpArgb(uint32_t a, uint32_t b, uint32_t f) {  // f in 0..256
    const uint32_t g = 256 - f;
    const uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    const uint32_t ag = ((((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f)) & 0xFF00FF00u;
    return rb | ag;
}


// The four texels of a bilinear sample and the weights of the second column and row (0..256).
struct FixedTaps {
    uint32_t t00, t01, t10, t11, wx, wy;
};
inline FixedTaps FetchFixedTaps(const SamplerLevel& level, int shift, int x256, int y256) {
    const int x = (x256 >> shift) - 128, y = (y256 >> shift) - 128;  // texel centres at k + 0.5
    const int mx = level.width - 1, my = level.height - 1;
    const int fx = x >> 8, fy = y >> 8;
    const int x0 = fx & mx, x1 = (fx + 1) & mx;
    const uint32_t* row0 = level.texels + static_cast<size_t>(fy & my) * level.width;
    const uint32_t* row1 = level.texels + static_cast<size_t>((fy + 1) & my) * level.width;
    return {row0[x0], row0[x1], row1[x0], row1[x1], static_cast<uint32_t>(x & 255), static_cast<uint32_t>(y & 255)};
}

#if PIPELINE_SSE2
// The four channels of (a (256 - f) + b f) >> 8 as 32-bit lanes, from 16-bit pairs (a, b) per channel.
inline __m128i PairWeights(uint32_t f) { return _mm_set1_epi32(static_cast<int>((256 - f) | f << 16)); }

// Bilinear filter of the taps as four 32-bit channel lanes (b, g, r, a).
inline __m128i BilinearLanes(const FixedTaps& t) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(t.t00)), _mm_cvtsi32_si128(static_cast<int>(t.t01)));
    const __m128i bottom = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(t.t10)), _mm_cvtsi32_si128(static_cast<int>(t.t11)));
    const __m128i wx = PairWeights(t.wx);
    const __m128i h0 = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(top, zero), wx), 8);
    const __m128i h1 = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(bottom, zero), wx), 8);
    const __m128i rows = _mm_packs_epi32(h0, h1);  // top channels, then bottom channels, 16-bit
    return _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(rows, _mm_srli_si128(rows, 8)), PairWeights(t.wy)), 8);
}
#endif

// LerpArgb(LerpArgb(t00, t01, wx), LerpArgb(t10, t11, wx), wy).
inline uint32_t Bilinear(uint32_t t00, uint32_t t01, uint32_t t10, uint32_t t11, uint32_t wx, uint32_t wy) {
#if PIPELINE_SSE2
    const __m128i r = BilinearLanes({t00, t01, t10, t11, wx, wy});
    const __m128i p = _mm_packs_epi32(r, r);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(p, p)));
#else
    return LerpArgb(LerpArgb(t00, t01, wx), LerpArgb(t10, t11, wx), wy);
#endif
}

// Texel index along one axis for point sampling; -1 means outside (border).
inline int PointIndex(float u, int size, Address mode) {
    float t;
    switch (mode) {
    case Address::Wrap: t = Fraction(u); break;
    case Address::Mirror: {
        t = 2.0f * Fraction(u * 0.5f);
        if (t > 1.0f) t = 2.0f - t;
        break;
    }
    case Address::Clamp: t = u < 0.0f ? 0.0f : (u > 1.0f ? 1.0f : u); break;
    default:
        if (u < 0.0f || u >= 1.0f) return -1;
        t = u;
        break;
    }
    int i = static_cast<int>(t * static_cast<float>(size));
    return i < size ? (i < 0 ? 0 : i) : size - 1;
}

// The two texel indices and the weight of the second for linear sampling; -1 means outside (border).
inline void LinearIndices(float u, int size, Address mode, int& i0, int& i1, uint32_t& weight) {
    float t = u;
    if (mode == Address::Wrap) {
        t = Fraction(u);
    } else if (mode == Address::Mirror) {
        t = 2.0f * Fraction(u * 0.5f);
        if (t > 1.0f) t = 2.0f - t;
    } else if (mode == Address::Clamp) {
        t = u < 0.0f ? 0.0f : (u > 1.0f ? 1.0f : u);
    } else {
        t = u < -1.0f ? -1.0f : (u > 2.0f ? 2.0f : u);
    }
    const float x = t * static_cast<float>(size) - 0.5f;
    const int fl = FloorInt(x);
    weight = static_cast<uint32_t>((x - static_cast<float>(fl)) * 256.0f);
    if (weight > 256) weight = 256;
    i0 = fl;
    i1 = i0 + 1;
    if (mode == Address::Wrap) {
        if (i0 < 0) i0 += size;
        if (i1 >= size) i1 -= size;
        if (i0 >= size) i0 = size - 1;  // a rounding edge: t * size == size
        if (i1 < 0 || i1 >= size) i1 = 0;
    } else if (mode == Address::Border) {
        if (i0 < 0 || i0 >= size) i0 = -1;
        if (i1 < 0 || i1 >= size) i1 = -1;
    } else {
        i0 = i0 < 0 ? 0 : (i0 >= size ? size - 1 : i0);
        i1 = i1 < 0 ? 0 : (i1 >= size ? size - 1 : i1);
    }
}

inline uint32_t Fetch(const SamplerLevel& level, int x, int y, uint32_t border) {
    if (x < 0 || y < 0) return border;
    return level.texels[static_cast<size_t>(y) * level.width + x];
}

inline uint32_t SamplePoint(const StageSampler& s, const SamplerLevel& level, float u, float v) {
    return Fetch(level, PointIndex(u, level.width, s.addressU), PointIndex(v, level.height, s.addressV), s.border);
}

inline uint32_t SampleLinear(const StageSampler& s, const SamplerLevel& level, float u, float v) {
    if (s.wrapPow2) {
        // Wrap addressing on power-of-two sizes: masks do the wrapping. Coordinates are below 1e6 in
        // size, so u - floor(u) keeps x within int range.
        const float x = Fraction(u) * static_cast<float>(level.width) - 0.5f;
        const float y = Fraction(v) * static_cast<float>(level.height) - 0.5f;
        const int fx = FloorInt(x), fy = FloorInt(y);
        const uint32_t wx = static_cast<uint32_t>((x - static_cast<float>(fx)) * 256.0f);
        const uint32_t wy = static_cast<uint32_t>((y - static_cast<float>(fy)) * 256.0f);
        const int mx = level.width - 1, my = level.height - 1;
        const int x0 = fx & mx, x1 = (fx + 1) & mx;
        const uint32_t* row0 = level.texels + static_cast<size_t>(fy & my) * level.width;
        const uint32_t* row1 = level.texels + static_cast<size_t>((fy + 1) & my) * level.width;
        return Bilinear(row0[x0], row0[x1], row1[x0], row1[x1], wx, wy);
    }
    int x0, x1, y0, y1;
    uint32_t fx, fy;
    LinearIndices(u, level.width, s.addressU, x0, x1, fx);
    LinearIndices(v, level.height, s.addressV, y0, y1, fy);
    return Bilinear(Fetch(level, x0, y0, s.border), Fetch(level, x1, y0, s.border), Fetch(level, x0, y1, s.border),
                    Fetch(level, x1, y1, s.border), fx, fy);
}

// Bilinear on a power-of-two level with wrapping, from coordinates in 1/256 texel of level 0 (already
// wrapped to 0 .. size * 256): integer-only, for trilinear filtering.
inline uint32_t BilinearFixed(const SamplerLevel& level, int shift, int x256, int y256) {
    const FixedTaps t = FetchFixedTaps(level, shift, x256, y256);
    return Bilinear(t.t00, t.t01, t.t10, t.t11, t.wx, t.wy);
}


// LerpArgb(BilinearFixed(level k), BilinearFixed(level k + 1), f), level k at `shift`.
inline uint32_t TrilinearFixed(const SamplerLevel& near, const SamplerLevel& far, int shift, int x256, int y256,
                               uint32_t f) {
    const FixedTaps a = FetchFixedTaps(near, shift, x256, y256), b = FetchFixedTaps(far, shift + 1, x256, y256);
#if PIPELINE_SSE2
    const __m128i levels = _mm_packs_epi32(BilinearLanes(a), BilinearLanes(b));
    const __m128i r = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(levels, _mm_srli_si128(levels, 8)), PairWeights(f)), 8);
    const __m128i p = _mm_packs_epi32(r, r);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(p, p)));
#else
    return LerpArgb(Bilinear(a.t00, a.t01, a.t10, a.t11, a.wx, a.wy), Bilinear(b.t00, b.t01, b.t10, b.t11, b.wx, b.wy), f);
#endif
}

inline uint32_t SampleLevel(const StageSampler& s, int level, Filter filter, float u, float v) {
    return filter == Filter::Linear ? SampleLinear(s, s.levels[level], u, v) : SamplePoint(s, s.levels[level], u, v);
}

}  // namespace detail

// Samples at (u, v) with the mip level from lod (log2 of texels per pixel at the base level).
inline uint32_t SampleTexture(const StageSampler& s, float u, float v, float lod) {
    u = detail::Sanitize(u);
    v = detail::Sanitize(v);
    if (!s.needsLod || !(lod > 0.0f)) return detail::SampleLevel(s, s.base, s.needsLod ? s.magFilter : s.minFilter, u, v);
    const int last = s.levelCount - 1;
    if (s.mipFilter == Filter::None || last == s.base) return detail::SampleLevel(s, s.base, s.minFilter, u, v);
    if (lod > 30.0f) lod = 30.0f;
    if (s.mipFilter == Filter::Point) {
        int level = s.base + static_cast<int>(lod + 0.5f);
        return detail::SampleLevel(s, level < last ? level : last, s.minFilter, u, v);
    }
    const int whole = static_cast<int>(lod);
    const int level = s.base + whole;
    if (level >= last) return detail::SampleLevel(s, last, s.minFilter, u, v);
    const uint32_t f = static_cast<uint32_t>((lod - static_cast<float>(whole)) * 256.0f);
    if (s.wrapPow2 && s.minFilter == Filter::Linear && s.levels[s.base].width <= 4096 && s.levels[s.base].height <= 4096) {
        // Both levels from one fixed-point position: level k + 1 halves the coordinates of level k.
        const SamplerLevel& top = s.levels[s.base];
        const int x256 = static_cast<int>(detail::Fraction(u) * static_cast<float>(top.width * 256));
        const int y256 = static_cast<int>(detail::Fraction(v) * static_cast<float>(top.height * 256));
        return detail::TrilinearFixed(s.levels[level], s.levels[level + 1], whole, x256, y256, f);
    }
    const uint32_t a = detail::SampleLevel(s, level, s.minFilter, u, v);
    const uint32_t b = detail::SampleLevel(s, level + 1, s.minFilter, u, v);
    return detail::LerpArgb(a, b, f);
}

// The mip level from the texture-coordinate derivatives (per pixel, in coordinate units).
inline float MipLod(const StageSampler& s, float dudx, float dvdx, float dudy, float dvdy) {
    const float ax = dudx * s.baseWidth, bx = dvdx * s.baseHeight, ay = dudy * s.baseWidth, by = dvdy * s.baseHeight;
    const float x = ax * ax + bx * bx, y = ay * ay + by * by;
    return 0.5f * FastLog2(x > y ? x : y) + s.lodBias;
}

}  // namespace pipeline
