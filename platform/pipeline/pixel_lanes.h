#pragma once
// Four packed 0xAARRGGBB pixels in the int32 lanes of an I4, and the 8-bit colour arithmetic of
// pixel_ops.h and sampler.h on all four at once. Every operation gives, lane by lane, exactly what
// the scalar function named in its comment gives.
#include "pipeline/lanes.h"
#include "pipeline/pixel_ops.h"
#include "pipeline/sampler.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace pipeline::lanes {

inline I4 load(const uint32_t* p) {
    I4 r;
    std::memcpy(&r, p, 16);
    return r;
}

#if PIPELINE_LANES_SSE2

inline I4 select(I4 mask, I4 a, I4 b) { return {_mm_or_si128(_mm_and_si128(mask.v, a.v), _mm_andnot_si128(mask.v, b.v))}; }
inline int laneBits(I4 mask) { return _mm_movemask_ps(_mm_castsi128_ps(mask.v)); } // bit j: lane j's sign
inline I4 equalMask(I4 a, I4 b) { return {_mm_cmpeq_epi32(a.v, b.v)}; }
inline I4 greaterMask(I4 a, I4 b) { return {_mm_cmpgt_epi32(a.v, b.v)}; } // signed
inline I4 notMask(I4 m) { return {_mm_xor_si128(m.v, _mm_set1_epi32(-1))}; }

namespace channels {

inline __m128i low16(__m128i p) { return _mm_unpacklo_epi8(p, _mm_setzero_si128()); }  // pixels 0, 1
inline __m128i high16(__m128i p) { return _mm_unpackhi_epi8(p, _mm_setzero_si128()); } // pixels 2, 3
inline I4 pack16(__m128i lo, __m128i hi) { return {_mm_packus_epi16(lo, hi)}; }

// A per-pixel value (32-bit lanes, 0..256) repeated over the pixel's four 16-bit channels.
inline void spread(__m128i w, __m128i& lo, __m128i& hi) {
    const __m128i p = _mm_packs_epi32(w, w);    // w0 w1 w2 w3 w0 w1 w2 w3
    const __m128i d = _mm_unpacklo_epi16(p, p); // w0 w0 w1 w1 w2 w2 w3 w3
    lo = _mm_unpacklo_epi32(d, d);
    hi = _mm_unpackhi_epi32(d, d);
}

// (a (256 - w) + b w) >> 8 per 16-bit channel; no sum exceeds 255 * 256.
inline __m128i mix16(__m128i a, __m128i b, __m128i w, __m128i inverse) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, inverse), _mm_mullo_epi16(b, w)), 8);
}

inline __m128i mul8x16(__m128i a, __m128i b) { // mul8 per 16-bit channel
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(a, b), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Bilinear filter (sampler.h bilinear) of four pixels, left as 16-bit channels.
inline void bilinear16(I4 t00, I4 t01, I4 t10, I4 t11, I4 wx, I4 wy, __m128i& lo, __m128i& hi) {
    const __m128i k256 = _mm_set1_epi16(256);
    __m128i xl, xh, yl, yh;
    spread(wx.v, xl, xh);
    spread(wy.v, yl, yh);
    const __m128i ixl = _mm_sub_epi16(k256, xl), ixh = _mm_sub_epi16(k256, xh);
    const __m128i iyl = _mm_sub_epi16(k256, yl), iyh = _mm_sub_epi16(k256, yh);
    lo = mix16(mix16(low16(t00.v), low16(t01.v), xl, ixl), mix16(low16(t10.v), low16(t11.v), xl, ixl), yl, iyl);
    hi = mix16(mix16(high16(t00.v), high16(t01.v), xh, ixh), mix16(high16(t10.v), high16(t11.v), xh, ixh), yh, iyh);
}

} // namespace channels

#if defined(__AVX2__)
namespace channels {
// Four pixels as sixteen 16-bit channels, pixel j in 64-bit lane j.
inline __m256i wide(I4 p) { return _mm256_cvtepu8_epi16(p.v); }
inline I4 narrow(__m256i c) { // channels back to packed pixels (every channel 0..255)
    const __m256i p = _mm256_packus_epi16(c, c);
    return {_mm256_castsi256_si128(_mm256_permute4x64_epi64(p, 0x08))};
}
// A per-pixel value (32-bit lanes, 0..256) repeated over the pixel's four channels.
inline __m256i wideWeight(__m128i w) {
    const __m256i pattern = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 8, 9, 8, 9, 8, 9, 8, 9, 0, 1, 0, 1, 0, 1, 0, 1, 8, 9,
                                             8, 9, 8, 9, 8, 9);
    return _mm256_shuffle_epi8(_mm256_cvtepu32_epi64(w), pattern);
}
inline __m256i mixWide(__m256i a, __m256i b, __m256i w) { // (a (256 - w) + b w) >> 8
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, inverse), _mm256_mullo_epi16(b, w)), 8);
}
inline __m256i bilinearWide(const I4 t[4], const I4 weights[2]) {
    const __m256i wx = wideWeight(weights[0].v), wy = wideWeight(weights[1].v);
    return mixWide(mixWide(wide(t[0]), wide(t[1]), wx), mixWide(wide(t[2]), wide(t[3]), wx), wy);
}
} // namespace channels

inline I4 modulate(I4 a, I4 b) { // modulatePacked
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(channels::wide(a), channels::wide(b)), _mm256_set1_epi16(128));
    return channels::narrow(_mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8));
}
#else
inline I4 modulate(I4 a, I4 b) { // modulatePacked
    return channels::pack16(channels::mul8x16(channels::low16(a.v), channels::low16(b.v)),
                          channels::mul8x16(channels::high16(a.v), channels::high16(b.v)));
}
#endif

inline I4 addSaturated(I4 a, I4 b) { return {_mm_adds_epu8(a.v, b.v)}; } // addPacked

inline I4 lerpChannels(I4 a, I4 b, I4 f) { // lerpPacked(a, b, f), f 0..256 per pixel
    __m128i fl, fh;
    channels::spread(f.v, fl, fh);
    const __m128i k256 = _mm_set1_epi16(256), k128 = _mm_set1_epi16(128);
    const __m128i gl = _mm_sub_epi16(k256, fl), gh = _mm_sub_epi16(k256, fh);
    const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(channels::low16(a.v), gl), _mm_mullo_epi16(channels::low16(b.v), fl));
    const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(channels::high16(a.v), gh), _mm_mullo_epi16(channels::high16(b.v), fh));
    return channels::pack16(_mm_srli_epi16(_mm_add_epi16(lo, k128), 8), _mm_srli_epi16(_mm_add_epi16(hi, k128), 8));
}

inline I4 blendOver(I4 src, I4 dst) { // blendSourceAlpha
    __m128i al, ah;
    channels::spread(_mm_srli_epi32(src.v, 24), al, ah);
    const __m128i k255 = _mm_set1_epi16(255), k128 = _mm_set1_epi16(128);
    auto channel = [&](__m128i s, __m128i d, __m128i a) {
        const __m128i t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(k255, a))), k128);
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    return channels::pack16(channel(channels::low16(src.v), channels::low16(dst.v), al),
                          channel(channels::high16(src.v), channels::high16(dst.v), ah));
}

inline I4 bilinear(I4 t00, I4 t01, I4 t10, I4 t11, I4 wx, I4 wy) { // pipeline::detail::bilinear
    __m128i lo, hi;
    channels::bilinear16(t00, t01, t10, t11, wx, wy, lo, hi);
    return channels::pack16(lo, hi);
}

// lerpArgb(bilinear(near taps), bilinear(far taps), f): trilinearFixed's last step.
inline I4 trilinear(const I4 near[4], const I4 nearWeights[2], const I4 far[4], const I4 farWeights[2], I4 f) {
#if defined(__AVX2__)
    return channels::narrow(channels::mixWide(channels::bilinearWide(near, nearWeights), channels::bilinearWide(far, farWeights),
                                              channels::wideWeight(f.v)));
#else
    __m128i al, ah, bl, bh, fl, fh;
    channels::bilinear16(near[0], near[1], near[2], near[3], nearWeights[0], nearWeights[1], al, ah);
    channels::bilinear16(far[0], far[1], far[2], far[3], farWeights[0], farWeights[1], bl, bh);
    channels::spread(f.v, fl, fh);
    const __m128i k256 = _mm_set1_epi16(256);
    return channels::pack16(channels::mix16(al, bl, fl, _mm_sub_epi16(k256, fl)), channels::mix16(ah, bh, fh, _mm_sub_epi16(k256, fh)));
#endif
}

#else

inline I4 select(I4 mask, I4 a, I4 b) { return each<I4>([&](int i) { return mask.v[i] ? a.v[i] : b.v[i]; }); }
inline int laneBits(I4 mask) {
    int bits = 0;
    for (int i = 0; i < 4; ++i) bits |= (mask.v[i] < 0 ? 1 : 0) << i;
    return bits;
}
inline I4 equalMask(I4 a, I4 b) { return each<I4>([&](int i) { return a.v[i] == b.v[i] ? -1 : 0; }); }
inline I4 greaterMask(I4 a, I4 b) { return each<I4>([&](int i) { return a.v[i] > b.v[i] ? -1 : 0; }); }
inline I4 notMask(I4 m) { return each<I4>([&](int i) { return ~m.v[i]; }); }

namespace channels {
template <typename F> inline I4 packedEach(F f) {
    return each<I4>([&](int i) { return static_cast<int32_t>(f(i)); });
}
inline uint32_t u(I4 a, int i) { return static_cast<uint32_t>(a.v[i]); }
} // namespace channels

inline I4 modulate(I4 a, I4 b) { return channels::packedEach([&](int i) { return modulatePacked(channels::u(a, i), channels::u(b, i)); }); }
inline I4 addSaturated(I4 a, I4 b) { return channels::packedEach([&](int i) { return addPacked(channels::u(a, i), channels::u(b, i)); }); }
inline I4 lerpChannels(I4 a, I4 b, I4 f) {
    return channels::packedEach([&](int i) { return lerpPacked(channels::u(a, i), channels::u(b, i), channels::u(f, i)); });
}
inline I4 blendOver(I4 src, I4 dst) {
    return channels::packedEach([&](int i) { return blendSourceAlpha(channels::u(src, i), channels::u(dst, i)); });
}
inline I4 bilinear(I4 t00, I4 t01, I4 t10, I4 t11, I4 wx, I4 wy) {
    using channels::u;
    return channels::packedEach([&](int i) {
        return pipeline::detail::bilinear(u(t00, i), u(t01, i), u(t10, i), u(t11, i), u(wx, i), u(wy, i));
    });
}
inline I4 trilinear(const I4 near[4], const I4 nearWeights[2], const I4 far[4], const I4 farWeights[2], I4 f) {
    const I4 a = bilinear(near[0], near[1], near[2], near[3], nearWeights[0], nearWeights[1]);
    const I4 b = bilinear(far[0], far[1], far[2], far[3], farWeights[0], farWeights[1]);
    return channels::packedEach([&](int i) { return pipeline::detail::lerpArgb(channels::u(a, i), channels::u(b, i), channels::u(f, i)); });
}

#endif

// Colour in a's red, green and blue, alpha from b.
inline I4 withAlphaOf(I4 a, I4 b) { return select(splat(static_cast<int32_t>(0xFF000000u)), b, a); }

// passes(func, value, reference) lane by lane, for values and references below 2^31.
inline I4 compareMask(Compare func, I4 value, I4 reference) {
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
inline I4 operate(TextureOp op, I4 a, I4 b) {
    switch (op) {
    case TextureOp::SelectArg2: return b;
    case TextureOp::Modulate: return modulate(a, b);
    case TextureOp::Add: return addSaturated(a, b);
    default: return a;
    }
}

} // namespace pipeline::lanes
