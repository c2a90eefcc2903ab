#pragma once
// Eight float or int32 lanes: AVX2 registers where available, plain arrays elsewhere. Every operation
// gives, lane by lane, exactly what the scalar expression in its comment gives.
#include <cstdint>
#include <cstring>

#if defined(__AVX2__)
#include <immintrin.h>
#define PIPELINE_LANES_AVX2 1
#endif

namespace pipeline::lanes {

constexpr int kLanes = 8;

#if PIPELINE_LANES_AVX2

struct F8 { __m256 v; };
struct I8 { __m256i v; };

inline F8 Splat(float a) { return {_mm256_set1_ps(a)}; }
inline F8 operator+(F8 a, F8 b) { return {_mm256_add_ps(a.v, b.v)}; }
inline F8 operator-(F8 a, F8 b) { return {_mm256_sub_ps(a.v, b.v)}; }
inline F8 operator*(F8 a, F8 b) { return {_mm256_mul_ps(a.v, b.v)}; }
inline F8 operator/(F8 a, F8 b) { return {_mm256_div_ps(a.v, b.v)}; }
inline F8 Max(F8 a, F8 b) { return {_mm256_max_ps(a.v, b.v)}; }  // a > b ? a : b
inline F8 Min(F8 a, F8 b) { return {_mm256_min_ps(a.v, b.v)}; }  // a < b ? a : b
inline F8 Less(F8 a, F8 b, F8 yes, F8 no) {                      // a < b ? yes : no
    return {_mm256_blendv_ps(no.v, yes.v, _mm256_cmp_ps(a.v, b.v, _CMP_LT_OQ))};
}
inline I8 Truncate(F8 a) { return {_mm256_cvttps_epi32(a.v)}; }  // (int32_t) a, a within range
inline F8 ToFloat(I8 a) { return {_mm256_cvtepi32_ps(a.v)}; }
inline I8 Bits(F8 a) { return {_mm256_castps_si256(a.v)}; }
inline F8 FromBits(I8 a) { return {_mm256_castsi256_ps(a.v)}; }
inline I8 Splat(int32_t a) { return {_mm256_set1_epi32(a)}; }
inline I8 operator+(I8 a, I8 b) { return {_mm256_add_epi32(a.v, b.v)}; }
inline I8 operator-(I8 a, I8 b) { return {_mm256_sub_epi32(a.v, b.v)}; }
inline I8 operator&(I8 a, I8 b) { return {_mm256_and_si256(a.v, b.v)}; }
inline I8 operator|(I8 a, I8 b) { return {_mm256_or_si256(a.v, b.v)}; }
inline I8 LessMask(F8 a, F8 b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.v, b.v, _CMP_LT_OQ))}; }  // a < b ? -1 : 0
inline I8 EqualMask(I8 a, I8 b) { return {_mm256_cmpeq_epi32(a.v, b.v)}; }
inline I8 GreaterMask(I8 a, I8 b) { return {_mm256_cmpgt_epi32(a.v, b.v)}; }  // signed
inline I8 NotMask(I8 m) { return {_mm256_xor_si256(m.v, _mm256_set1_epi32(-1))}; }
inline I8 Select(I8 mask, I8 a, I8 b) { return {_mm256_blendv_epi8(b.v, a.v, mask.v)}; }  // a where mask, by byte
inline int LaneBits(I8 mask) { return _mm256_movemask_ps(_mm256_castsi256_ps(mask.v)); }  // bit j: lane j's sign
template <int n> I8 ShiftLeft(I8 a) { return {_mm256_slli_epi32(a.v, n)}; }
template <int n> I8 ShiftRightLogical(I8 a) { return {_mm256_srli_epi32(a.v, n)}; }
inline I8 ShiftLeftBy(I8 a, int n) { return {_mm256_sll_epi32(a.v, _mm_cvtsi32_si128(n))}; }
inline I8 ShiftRightBy(I8 a, int n) { return {_mm256_sra_epi32(a.v, _mm_cvtsi32_si128(n))}; }  // arithmetic
inline void Store(float* p, F8 a) { _mm256_storeu_ps(p, a.v); }
inline void Store(int32_t* p, I8 a) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), a.v); }
inline void Store(uint32_t* p, I8 a) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), a.v); }
inline I8 Load(const int32_t* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
inline I8 Load(const uint32_t* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
inline F8 Load(const float* p) { return {_mm256_loadu_ps(p)}; }
inline F8 Sanitize(F8 u) {  // |u| < 1e6 ? u : 0, NaN failing the test
    const __m256 magnitude = _mm256_andnot_ps(_mm256_set1_ps(-0.0f), u.v);
    return {_mm256_and_ps(_mm256_cmp_ps(magnitude, _mm256_set1_ps(1e6f), _CMP_LT_OQ), u.v)};
}
inline F8 Fraction(F8 u) { return {_mm256_sub_ps(u.v, _mm256_floor_ps(u.v))}; }  // u - floor(u), |u| < 2^31

#else

struct F8 { float v[kLanes]; };
struct I8 { int32_t v[kLanes]; };

template <typename R, typename F> inline R Each(F f) {
    R r;
    for (int i = 0; i < kLanes; ++i) r.v[i] = f(i);
    return r;
}
inline F8 Splat(float a) { return Each<F8>([&](int) { return a; }); }
inline F8 operator+(F8 a, F8 b) { return Each<F8>([&](int i) { return a.v[i] + b.v[i]; }); }
inline F8 operator-(F8 a, F8 b) { return Each<F8>([&](int i) { return a.v[i] - b.v[i]; }); }
inline F8 operator*(F8 a, F8 b) { return Each<F8>([&](int i) { return a.v[i] * b.v[i]; }); }
inline F8 operator/(F8 a, F8 b) { return Each<F8>([&](int i) { return a.v[i] / b.v[i]; }); }
inline F8 Max(F8 a, F8 b) { return Each<F8>([&](int i) { return a.v[i] > b.v[i] ? a.v[i] : b.v[i]; }); }
inline F8 Min(F8 a, F8 b) { return Each<F8>([&](int i) { return a.v[i] < b.v[i] ? a.v[i] : b.v[i]; }); }
inline F8 Less(F8 a, F8 b, F8 yes, F8 no) { return Each<F8>([&](int i) { return a.v[i] < b.v[i] ? yes.v[i] : no.v[i]; }); }
inline I8 Truncate(F8 a) { return Each<I8>([&](int i) { return static_cast<int32_t>(a.v[i]); }); }
inline F8 ToFloat(I8 a) { return Each<F8>([&](int i) { return static_cast<float>(a.v[i]); }); }
inline I8 Bits(F8 a) {
    I8 r;
    std::memcpy(r.v, a.v, sizeof r.v);
    return r;
}
inline F8 FromBits(I8 a) {
    F8 r;
    std::memcpy(r.v, a.v, sizeof r.v);
    return r;
}
inline I8 Splat(int32_t a) { return Each<I8>([&](int) { return a; }); }
inline I8 operator+(I8 a, I8 b) { return Each<I8>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) + static_cast<uint32_t>(b.v[i])); }); }
inline I8 operator-(I8 a, I8 b) { return Each<I8>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) - static_cast<uint32_t>(b.v[i])); }); }
inline I8 operator&(I8 a, I8 b) { return Each<I8>([&](int i) { return a.v[i] & b.v[i]; }); }
inline I8 operator|(I8 a, I8 b) { return Each<I8>([&](int i) { return a.v[i] | b.v[i]; }); }
inline I8 LessMask(F8 a, F8 b) { return Each<I8>([&](int i) { return a.v[i] < b.v[i] ? -1 : 0; }); }
inline I8 EqualMask(I8 a, I8 b) { return Each<I8>([&](int i) { return a.v[i] == b.v[i] ? -1 : 0; }); }
inline I8 GreaterMask(I8 a, I8 b) { return Each<I8>([&](int i) { return a.v[i] > b.v[i] ? -1 : 0; }); }
inline I8 NotMask(I8 m) { return Each<I8>([&](int i) { return ~m.v[i]; }); }
inline I8 Select(I8 mask, I8 a, I8 b) { return Each<I8>([&](int i) { return (mask.v[i] & a.v[i]) | (~mask.v[i] & b.v[i]); }); }
inline int LaneBits(I8 mask) {
    int bits = 0;
    for (int i = 0; i < kLanes; ++i) bits |= (mask.v[i] < 0 ? 1 : 0) << i;
    return bits;
}
template <int n> I8 ShiftLeft(I8 a) { return Each<I8>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) << n); }); }
template <int n> I8 ShiftRightLogical(I8 a) { return Each<I8>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) >> n); }); }
inline I8 ShiftLeftBy(I8 a, int n) { return Each<I8>([&](int i) { return static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) << n); }); }
inline I8 ShiftRightBy(I8 a, int n) { return Each<I8>([&](int i) { return a.v[i] >> n; }); }
inline void Store(float* p, F8 a) { std::memcpy(p, a.v, sizeof a.v); }
inline void Store(int32_t* p, I8 a) { std::memcpy(p, a.v, sizeof a.v); }
inline void Store(uint32_t* p, I8 a) { std::memcpy(p, a.v, sizeof a.v); }
inline I8 Load(const int32_t* p) {
    I8 r;
    std::memcpy(r.v, p, sizeof r.v);
    return r;
}
inline I8 Load(const uint32_t* p) {
    I8 r;
    std::memcpy(r.v, p, sizeof r.v);
    return r;
}
inline F8 Load(const float* p) {
    F8 r;
    std::memcpy(r.v, p, sizeof r.v);
    return r;
}
inline I8 FloorInt(F8 x) {
    const I8 i = Truncate(x);
    return i + LessMask(x, ToFloat(i));
}
inline F8 Sanitize(F8 u) { return Less(u, Splat(1e6f), Less(Splat(-1e6f), u, u, Splat(0.0f)), Splat(0.0f)); }
inline F8 Fraction(F8 u) { return u - ToFloat(FloorInt(u)); }

#endif

// Clamp01 as ToByte does it (NaN gives 0), times 255, rounded: ToByte lane by lane.
inline I8 ToBytes(F8 c) { return Truncate(Min(Max(c, Splat(0.0f)), Splat(1.0f)) * Splat(255.0f) + Splat(0.5f)); }

// Lane j all ones where bit j of `bits` is set.
inline I8 MaskOf(int bits) {
    alignas(32) static constexpr int32_t kLane[kLanes] = {1, 2, 4, 8, 16, 32, 64, 128};
    const I8 l = Load(kLane);
    return EqualMask(Splat(bits) & l, l);
}

// FastLog2 lane by lane (see sampler.h), without branches.
inline F8 Log2Approx(F8 x) {
    const I8 b = Bits(x);
    const F8 exponent = ToFloat(ShiftRightLogical<23>(b) + Splat(-128));
    const F8 m = FromBits((b & Splat(0x007FFFFF)) | Splat(0x3F800000));
    F8 r = exponent + (Splat(-0.34484843f) * m + Splat(2.02466578f)) * m - Splat(0.67487759f);
    r = Less(x, Splat(1e30f), r, Splat(100.0f));
    return Less(Splat(1e-30f), x, r, Splat(-100.0f));
}

}  // namespace pipeline::lanes
