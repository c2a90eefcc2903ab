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
inline __m256i low(I8 p) { return _mm256_cvtepu8_epi16(_mm256_castsi256_si128(p.v)); }
inline __m256i high(I8 p) { return _mm256_cvtepu8_epi16(_mm256_extracti128_si256(p.v, 1)); }
// Channels of pixels 0..3 and 4..7 (every channel 0..255) back to eight packed pixels.
inline I8 narrow(__m256i lo, __m256i hi) { return {_mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8)}; }
// Per-pixel values (32-bit lanes, 0..256) repeated over each pixel's four channels.
inline __m256i spread(__m128i w) {
    const __m256i pattern = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 8, 9, 8, 9, 8, 9, 8, 9, 0, 1, 0, 1, 0, 1, 0, 1, 8, 9,
                                             8, 9, 8, 9, 8, 9);
    return _mm256_shuffle_epi8(_mm256_cvtepu32_epi64(w), pattern);
}
inline __m256i spreadLow(I8 w) { return spread(_mm256_castsi256_si128(w.v)); }
inline __m256i spreadHigh(I8 w) { return spread(_mm256_extracti128_si256(w.v, 1)); }
inline __m256i mix(__m256i a, __m256i b, __m256i w) { // (a (256 - w) + b w) >> 8; no sum exceeds 255 * 256
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, inverse), _mm256_mullo_epi16(b, w)), 8);
}
inline __m256i mul8(__m256i a, __m256i b) { // mul8 per channel
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}
// Bilinear filter (sampler.h bilinear) of four pixels' taps, as channels.
inline __m256i bilinear(__m256i t00, __m256i t01, __m256i t10, __m256i t11, __m256i wx, __m256i wy) {
    return mix(mix(t00, t01, wx), mix(t10, t11, wx), wy);
}
} // namespace channels

inline I8 modulate(I8 a, I8 b) { // modulatePacked
    using namespace channels;
    return narrow(mul8(low(a), low(b)), mul8(high(a), high(b)));
}

inline I8 addSaturated(I8 a, I8 b) { return {_mm256_adds_epu8(a.v, b.v)}; } // addPacked

inline I8 lerpChannels(I8 a, I8 b, I8 f) { // lerpPacked(a, b, f), f 0..256 per pixel
    using namespace channels;
    auto half = [](__m256i x, __m256i y, __m256i w) {
        const __m256i g = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
        const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(x, g), _mm256_mullo_epi16(y, w));
        return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
    };
    return narrow(half(low(a), low(b), spreadLow(f)), half(high(a), high(b), spreadHigh(f)));
}

inline I8 blendOver(I8 src, I8 dst) { // blendSourceAlpha
    using namespace channels;
    const I8 alpha = shiftRightLogical<24>(src);
    auto half = [](__m256i s, __m256i d, __m256i a) {
        const __m256i k255 = _mm256_set1_epi16(255);
        const __m256i t = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(s, a), _mm256_mullo_epi16(d, _mm256_sub_epi16(k255, a))), _mm256_set1_epi16(128));
        return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
    };
    return narrow(half(low(src), low(dst), spreadLow(alpha)), half(high(src), high(dst), spreadHigh(alpha)));
}

// lerpArgb(bilinear(near taps), bilinear(far taps), f): trilinearFixed's last step, for eight pixels.
inline I8 trilinear(const I8 near[4], const I8 nearWeights[2], const I8 far[4], const I8 farWeights[2], I8 f) {
    using namespace channels;
    const __m256i lo = mix(bilinear(low(near[0]), low(near[1]), low(near[2]), low(near[3]), spreadLow(nearWeights[0]),
                                    spreadLow(nearWeights[1])),
                           bilinear(low(far[0]), low(far[1]), low(far[2]), low(far[3]), spreadLow(farWeights[0]),
                                    spreadLow(farWeights[1])),
                           spreadLow(f));
    const __m256i hi = mix(bilinear(high(near[0]), high(near[1]), high(near[2]), high(near[3]),
                                    spreadHigh(nearWeights[0]), spreadHigh(nearWeights[1])),
                           bilinear(high(far[0]), high(far[1]), high(far[2]), high(far[3]), spreadHigh(farWeights[0]),
                                    spreadHigh(farWeights[1])),
                           spreadHigh(f));
    return narrow(lo, hi);
}

#else

namespace channels {
template <typename F> inline I8 packedEach(F f) {
    return each<I8>([&](int i) { return static_cast<int32_t>(f(i)); });
}
inline uint32_t u(I8 a, int i) { return static_cast<uint32_t>(a.v[i]); }
} // namespace channels

inline I8 modulate(I8 a, I8 b) { return channels::packedEach([&](int i) { return modulatePacked(channels::u(a, i), channels::u(b, i)); }); }
inline I8 addSaturated(I8 a, I8 b) { return channels::packedEach([&](int i) { return addPacked(channels::u(a, i), channels::u(b, i)); }); }
inline I8 lerpChannels(I8 a, I8 b, I8 f) {
    return channels::packedEach([&](int i) { return lerpPacked(channels::u(a, i), channels::u(b, i), channels::u(f, i)); });
}
inline I8 blendOver(I8 src, I8 dst) {
    return channels::packedEach([&](int i) { return blendSourceAlpha(channels::u(src, i), channels::u(dst, i)); });
}
inline I8 trilinear(const I8 near[4], const I8 nearWeights[2], const I8 far[4], const I8 farWeights[2], I8 f) {
    using channels::u;
    return channels::packedEach([&](int i) {
        const uint32_t a = pipeline::detail::bilinear(u(near[0], i), u(near[1], i), u(near[2], i), u(near[3], i),
                                                      u(nearWeights[0], i), u(nearWeights[1], i));
        const uint32_t b = pipeline::detail::bilinear(u(far[0], i), u(far[1], i), u(far[2], i), u(far[3], i),
                                                      u(farWeights[0], i), u(farWeights[1], i));
        return pipeline::detail::lerpArgb(a, b, u(f, i));
    });
}

#endif

// Colour in a's red, green and blue, alpha from b.
inline I8 withAlphaOf(I8 a, I8 b) { return select(splat(static_cast<int32_t>(0xFF000000u)), b, a); }

// passes(func, value, reference) lane by lane, for values and references below 2^31.
inline I8 compareMask(Compare func, I8 value, I8 reference) {
    switch (func) {
    case Compare::Never: return splat(0);
    case Compare::Less: return greaterMask(reference, value);
    case Compare::Equal: return equalMask(value, reference);
    case Compare::LessEqual: return notMask(greaterMask(value, reference));
    case Compare::Greater: return greaterMask(value, reference);
    case Compare::NotEqual: return notMask(equalMask(value, reference));
    case Compare::GreaterEqual: return notMask(greaterMask(reference, value));
    case Compare::Always: break;
    }
    return splat(-1);
}

// operatePacked lane by lane.
inline I8 operate(TextureOp op, I8 a, I8 b) {
    switch (op) {
    case TextureOp::SelectArg2: return b;
    case TextureOp::Modulate: return modulate(a, b);
    case TextureOp::Add: return addSaturated(a, b);
    default: return a;
    }
}

} // namespace pipeline::lanes
