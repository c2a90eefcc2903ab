#pragma once
// Eight packed 0xAARRGGBB pixels in the int32 lanes of an I8, and the 8-bit colour arithmetic of
// pixel_ops.h and sampler.h on all eight at once. Every operation gives, lane by lane, exactly what
// the scalar function named in its comment gives.
#include "raster/lanes.h"
#include "raster/pixel_ops.h"
#include "texture/sampler.h"

namespace pipeline::lanes {

#if PIPELINE_LANES_AVX2

namespace channels {
// Four pixels (one half of an I8) as sixteen 16-bit channels, pixel j in 64-bit lane j.
inline __m256i Low(I8 p) { return _mm256_cvtepu8_epi16(_mm256_castsi256_si128(p.v)); }
inline __m256i High(I8 p) { return _mm256_cvtepu8_epi16(_mm256_extracti128_si256(p.v, 1)); }
// Channels of pixels 0..3 and 4..7 (every channel 0..255) back to eight packed pixels.
inline I8 Narrow(__m256i lo, __m256i hi) { return {_mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8)}; }
// Per-pixel values (32-bit lanes, 0..256) repeated over each pixel's four channels.
inline __m256i Spread(__m128i w) {
    const __m256i pattern = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 8, 9, 8, 9, 8, 9, 8, 9, 0, 1, 0, 1, 0, 1, 0, 1, 8, 9,
                                             8, 9, 8, 9, 8, 9);
    return _mm256_shuffle_epi8(_mm256_cvtepu32_epi64(w), pattern);
}
inline __m256i SpreadLow(I8 w) { return Spread(_mm256_castsi256_si128(w.v)); }
inline __m256i SpreadHigh(I8 w) { return Spread(_mm256_extracti128_si256(w.v, 1)); }
inline __m256i Mix(__m256i a, __m256i b, __m256i w) {  // (a (256 - w) + b w) >> 8; no sum exceeds 255 * 256
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, inverse), _mm256_mullo_epi16(b, w)), 8);
}
inline __m256i Mul8(__m256i a, __m256i b) {  // Mul8 per channel
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}
// Bilinear filter (sampler.h bilinear) of four pixels' taps, as channels.
inline __m256i Bilinear(__m256i t00, __m256i t01, __m256i t10, __m256i t11, __m256i wx, __m256i wy) {
    return Mix(Mix(t00, t01, wx), Mix(t10, t11, wx), wy);
}
}  // namespace channels

inline I8 Modulate(I8 a, I8 b) {  // ModulatePacked
    using namespace channels;
    return Narrow(Mul8(Low(a), Low(b)), Mul8(High(a), High(b)));
}

inline I8 AddSaturated(I8 a, I8 b) { return {_mm256_adds_epu8(a.v, b.v)}; }  // AddPacked

inline I8 LerpChannels(I8 a, I8 b, I8 f) {  // LerpPacked(a, b, f), f 0..256 per pixel
    using namespace channels;
    auto half = [](__m256i x, __m256i y, __m256i w) {
        const __m256i g = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
        const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(x, g), _mm256_mullo_epi16(y, w));
        return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
    };
    return Narrow(half(Low(a), Low(b), SpreadLow(f)), half(High(a), High(b), SpreadHigh(f)));
}

inline I8 BlendOver(I8 src, I8 dst) {  // BlendSourceAlpha
    using namespace channels;
    const I8 alpha = ShiftRightLogical<24>(src);
    auto half = [](__m256i s, __m256i d, __m256i a) {
        const __m256i k255 = _mm256_set1_epi16(255);
        const __m256i t = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(s, a), _mm256_mullo_epi16(d, _mm256_sub_epi16(k255, a))), _mm256_set1_epi16(128));
        return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
    };
    return Narrow(half(Low(src), Low(dst), SpreadLow(alpha)), half(High(src), High(dst), SpreadHigh(alpha)));
}

// LerpArgb(Bilinear(near taps), Bilinear(far taps), f): TrilinearFixed's last step, for eight pixels.
inline I8 Trilinear(const I8 near[4], const I8 nearWeights[2], const I8 far[4], const I8 farWeights[2], I8 f) {
    using namespace channels;
    const __m256i lo = Mix(Bilinear(Low(near[0]), Low(near[1]), Low(near[2]), Low(near[3]), SpreadLow(nearWeights[0]),
                                    SpreadLow(nearWeights[1])),
                           Bilinear(Low(far[0]), Low(far[1]), Low(far[2]), Low(far[3]), SpreadLow(farWeights[0]),
                                    SpreadLow(farWeights[1])),
                           SpreadLow(f));
    const __m256i hi = Mix(Bilinear(High(near[0]), High(near[1]), High(near[2]), High(near[3]),
                                    SpreadHigh(nearWeights[0]), SpreadHigh(nearWeights[1])),
                           Bilinear(High(far[0]), High(far[1]), High(far[2]), High(far[3]), SpreadHigh(farWeights[0]),
                                    SpreadHigh(farWeights[1])),
                           SpreadHigh(f));
    return Narrow(lo, hi);
}

#else

namespace channels {
template <typename F> inline I8 PackedEach(F f) {
    return Each<I8>([&](int i) { return static_cast<int32_t>(f(i)); });
}
inline uint32_t U(I8 a, int i) { return static_cast<uint32_t>(a.v[i]); }
}  // namespace channels

inline I8 Modulate(I8 a, I8 b) { return channels::PackedEach([&](int i) { return ModulatePacked(channels::U(a, i), channels::U(b, i)); }); }
inline I8 AddSaturated(I8 a, I8 b) { return channels::PackedEach([&](int i) { return AddPacked(channels::U(a, i), channels::U(b, i)); }); }
inline I8 LerpChannels(I8 a, I8 b, I8 f) {
    return channels::PackedEach([&](int i) { return LerpPacked(channels::U(a, i), channels::U(b, i), channels::U(f, i)); });
}
inline I8 BlendOver(I8 src, I8 dst) {
    return channels::PackedEach([&](int i) { return BlendSourceAlpha(channels::U(src, i), channels::U(dst, i)); });
}
inline I8 Trilinear(const I8 near[4], const I8 nearWeights[2], const I8 far[4], const I8 farWeights[2], I8 f) {
    using channels::U;
    return channels::PackedEach([&](int i) {
        const uint32_t a = pipeline::detail::Bilinear(U(near[0], i), U(near[1], i), U(near[2], i), U(near[3], i),
                                                      U(nearWeights[0], i), U(nearWeights[1], i));
        const uint32_t b = pipeline::detail::Bilinear(U(far[0], i), U(far[1], i), U(far[2], i), U(far[3], i),
                                                      U(farWeights[0], i), U(farWeights[1], i));
        return pipeline::detail::LerpArgb(a, b, U(f, i));
    });
}

#endif

// Colour in a's red, green and blue, alpha from b.
inline I8 WithAlphaOf(I8 a, I8 b) { return Select(Splat(static_cast<int32_t>(0xFF000000u)), b, a); }

// Passes(func, value, reference) lane by lane, for values and references below 2^31.
inline I8 CompareMask(Compare func, I8 value, I8 reference) {
    switch (func) {
    case Compare::Never: return Splat(0);
    case Compare::Less: return GreaterMask(reference, value);
    case Compare::Equal: return EqualMask(value, reference);
    case Compare::LessEqual: return NotMask(GreaterMask(value, reference));
    case Compare::Greater: return GreaterMask(value, reference);
    case Compare::NotEqual: return NotMask(EqualMask(value, reference));
    case Compare::GreaterEqual: return NotMask(GreaterMask(reference, value));
    case Compare::Always: break;
    }
    return Splat(-1);
}

// OperatePacked lane by lane.
inline I8 Operate(TextureOp op, I8 a, I8 b) {
    switch (op) {
    case TextureOp::SelectArg2: return b;
    case TextureOp::Modulate: return Modulate(a, b);
    case TextureOp::Add: return AddSaturated(a, b);
    default: return a;
    }
}

}  // namespace pipeline::lanes
