#pragma once
// Four float or int32 lanes: SSE2 registers where available, plain arrays elsewhere. Every operation
// gives, lane by lane, exactly what the scalar expression in its comment gives.
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PIPELINE_LANES_SSE2 1
#if defined(__SSE4_1__)
#include <smmintrin.h>
#endif
#endif

namespace pipeline::lanes {

#if PIPELINE_LANES_SSE2

struct F4 { __m128 v; };
struct I4 { __m128i v; };

inline F4 splat(float a) { return {_mm_set1_ps(a)}; }
inline F4 ramp(float a) { return {_mm_add_ps(_mm_set1_ps(a), _mm_set_ps(3, 2, 1, 0))}; } // a + lane
inline F4 operator+(F4 a, F4 b) { return {_mm_add_ps(a.v, b.v)}; }
inline F4 operator-(F4 a, F4 b) { return {_mm_sub_ps(a.v, b.v)}; }
inline F4 operator*(F4 a, F4 b) { return {_mm_mul_ps(a.v, b.v)}; }
inline F4 operator/(F4 a, F4 b) { return {_mm_div_ps(a.v, b.v)}; }
inline F4 max(F4 a, F4 b) { return {_mm_max_ps(a.v, b.v)}; } // a > b ? a : b
inline F4 min(F4 a, F4 b) { return {_mm_min_ps(a.v, b.v)}; } // a < b ? a : b
inline F4 less(F4 a, F4 b, F4 yes, F4 no) {                    // a < b ? yes : no
    const __m128 m = _mm_cmplt_ps(a.v, b.v);
    return {_mm_or_ps(_mm_and_ps(m, yes.v), _mm_andnot_ps(m, no.v))};
}
inline I4 truncate(F4 a) { return {_mm_cvttps_epi32(a.v)}; } // (int32_t) a, a within range
inline F4 toFloat(I4 a) { return {_mm_cvtepi32_ps(a.v)}; }
inline I4 bits(F4 a) { return {_mm_castps_si128(a.v)}; }
inline F4 fromBits(I4 a) { return {_mm_castsi128_ps(a.v)}; }
inline I4 splat(int32_t a) { return {_mm_set1_epi32(a)}; }
inline I4 operator+(I4 a, I4 b) { return {_mm_add_epi32(a.v, b.v)}; }
inline I4 operator-(I4 a, I4 b) { return {_mm_sub_epi32(a.v, b.v)}; }
inline I4 lessMask(F4 a, F4 b) { return {_mm_castps_si128(_mm_cmplt_ps(a.v, b.v))}; } // a < b ? -1 : 0
inline I4 operator&(I4 a, I4 b) { return {_mm_and_si128(a.v, b.v)}; }
inline I4 operator|(I4 a, I4 b) { return {_mm_or_si128(a.v, b.v)}; }
template <int n> I4 shiftLeft(I4 a) { return {_mm_slli_epi32(a.v, n)}; }
template <int n> I4 shiftRightLogical(I4 a) { return {_mm_srli_epi32(a.v, n)}; }
inline I4 shiftLeftBy(I4 a, int n) { return {_mm_sll_epi32(a.v, _mm_cvtsi32_si128(n))}; }
inline I4 shiftRightBy(I4 a, int n) { return {_mm_sra_epi32(a.v, _mm_cvtsi32_si128(n))}; } // arithmetic
inline void store(float* p, F4 a) { _mm_storeu_ps(p, a.v); }
inline void store(int32_t* p, I4 a) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), a.v); }
inline void store(uint32_t* p, I4 a) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), a.v); }

#else

struct F4 { float v[4]; };
struct I4 { int32_t v[4]; };

template <typename R, typename F> inline R each(F f) {
    R r;
    for (int i = 0; i < 4; ++i) r.v[i] = f(i);
    return r;
}
inline F4 splat(float a) { return each<F4>([&](int) { return a; }); }
inline F4 ramp(float a) { return each<F4>([&](int i) { return a + static_cast<float>(i); }); }
inline F4 operator+(F4 a, F4 b) { return each<F4>([&](int i) { return a.v[i] + b.v[i]; }); }
inline F4 operator-(F4 a, F4 b) { return each<F4>([&](int i) { return a.v[i] - b.v[i]; }); }
inline F4 operator*(F4 a, F4 b) { return each<F4>([&](int i) { return a.v[i] * b.v[i]; }); }
inline F4 operator/(F4 a, F4 b) { return each<F4>([&](int i) { return a.v[i] / b.v[i]; }); }
inline F4 max(F4 a, F4 b) { return each<F4>([&](int i) { return a.v[i] > b.v[i] ? a.v[i] : b.v[i]; }); }
inline F4 min(F4 a, F4 b) { return each<F4>([&](int i) { return a.v[i] < b.v[i] ? a.v[i] : b.v[i]; }); }
inline F4 less(F4 a, F4 b, F4 yes, F4 no) { return each<F4>([&](int i) { return a.v[i] < b.v[i] ? yes.v[i] : no.v[i]; }); }
inline I4 truncate(F4 a) { return each<I4>([&](int i) { return static_cast<int32_t>(a.v[i]); }); }
inline F4 toFloat(I4 a) { return each<F4>([&](int i) { return static_cast<float>(a.v[i]); }); }
inline I4 bits(F4 a) {
    I4 r;
    std::memcpy(r.v, a.v, 16);
    return r;
}
inline F4 fromBits(I4 a) {
    F4 r;
    std::memcpy(r.v, a.v, 16);
    return r;
}
inline I4 splat(int32_t a) { return each<I4>([&](int) { return a; }); }
inline I4 operator+(I4 a, I4 b) { return each<I4>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) + static_cast<uint32_t>(b.v[i])); }); }
inline I4 operator-(I4 a, I4 b) { return each<I4>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) - static_cast<uint32_t>(b.v[i])); }); }
inline I4 lessMask(F4 a, F4 b) { return each<I4>([&](int i) { return a.v[i] < b.v[i] ? -1 : 0; }); }
inline I4 operator&(I4 a, I4 b) { return each<I4>([&](int i) { return a.v[i] & b.v[i]; }); }
inline I4 operator|(I4 a, I4 b) { return each<I4>([&](int i) { return a.v[i] | b.v[i]; }); }
template <int n> I4 shiftLeft(I4 a) { return each<I4>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) << n); }); }
template <int n> I4 shiftRightLogical(I4 a) { return each<I4>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) >> n); }); }
inline I4 shiftLeftBy(I4 a, int n) { return each<I4>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) << n); }); }
inline I4 shiftRightBy(I4 a, int n) { return each<I4>([&](int i) { return a.v[i] >> n; }); }
inline void store(float* p, F4 a) { std::memcpy(p, a.v, 16); }
inline void store(int32_t* p, I4 a) { std::memcpy(p, a.v, 16); }
inline void store(uint32_t* p, I4 a) { std::memcpy(p, a.v, 16); }

#endif

// clamp01 as toByte does it (NaN gives 0), times 255, rounded: toByte lane by lane.
inline I4 toBytes(F4 c) { return truncate(min(max(c, splat(0.0f)), splat(1.0f)) * splat(255.0f) + splat(0.5f)); }

// detail::floorInt, sanitize and fraction (sampler.h) lane by lane.
inline I4 floorInt(F4 x) {
    const I4 i = truncate(x);
    return i + lessMask(x, toFloat(i));
}
#if PIPELINE_LANES_SSE2
inline F4 sanitize(F4 u) { // |u| < 1e6 ? u : 0, NaN failing the test
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), u.v);
    return {_mm_and_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(1e6f)), u.v)};
}
#else
inline F4 sanitize(F4 u) { return less(u, splat(1e6f), less(splat(-1e6f), u, u, splat(0.0f)), splat(0.0f)); }
#endif
#if defined(__SSE4_1__)
inline F4 fraction(F4 u) { return {_mm_sub_ps(u.v, _mm_floor_ps(u.v))}; } // the same for |u| < 2^31
#else
inline F4 fraction(F4 u) { return u - toFloat(floorInt(u)); }
#endif

// fastLog2 lane by lane (see sampler.h), without branches.
inline F4 log2Approx(F4 x) {
    const I4 b = bits(x);
    const F4 exponent = toFloat(shiftRightLogical<23>(b) + splat(-128));
    const F4 m = fromBits((b & splat(0x007FFFFF)) | splat(0x3F800000));
    F4 r = exponent + (splat(-0.34484843f) * m + splat(2.02466578f)) * m - splat(0.67487759f);
    r = less(x, splat(1e30f), r, splat(100.0f));
    return less(splat(1e-30f), x, r, splat(-100.0f));
}

} // namespace pipeline::lanes
