#pragma once
// Depth tests and writes for four neighbouring pixels of a row in lanes: packDepth, readDepth,
// passes and writeDepth (formats.h, pixel_ops.h) with the same results, for the formats whose
// stored values stay below 2^31 (all but D32).
#include "pipeline/pixel_lanes.h"

namespace pipeline::lanes {

inline bool depthInLanes(DepthFormat f) {
    return f == DepthFormat::D16 || f == DepthFormat::D24X8 || f == DepthFormat::D24S8 || f == DepthFormat::D32F;
}

inline bool hasStencilByte(DepthFormat f) { return f == DepthFormat::D24X8 || f == DepthFormat::D24S8; }

// Lane j all ones where bit j of `bits` is set.
inline I4 maskOf(int bits) {
    alignas(16) static constexpr int32_t lane[4] = {1, 2, 4, 8};
    const I4 l = load(reinterpret_cast<const uint32_t*>(lane));
    return equalMask(splat(bits) & l, l);
}

// packDepth of four depths (a format depthInLanes accepts).
inline I4 packDepths(DepthFormat format, F4 z) {
    const F4 v = min(max(z, splat(0.0f)), splat(1.0f)); // NaN reads 0, as packDepth clamps it
    switch (format) {
    case DepthFormat::D16: return truncate(v * splat(65535.0f) + splat(0.5f));
    case DepthFormat::D32F: return bits(v);
    default: break;
    }
#if PIPELINE_LANES_SSE2
    const __m128d k = _mm_set1_pd(16777215.0), half = _mm_set1_pd(0.5);
    const __m128i lo = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(_mm_cvtps_pd(v.v), k), half));
    const __m128i hi = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(v.v, v.v)), k), half));
    return {_mm_unpacklo_epi64(lo, hi)};
#else
    return each<I4>([&](int i) { return static_cast<int32_t>(packDepth(format, v.v[i])); });
#endif
}

// The stored words of four pixels (D24 with its stencil byte).
inline I4 loadDepths(DepthFormat format, const uint8_t* p) {
    if (format == DepthFormat::D16) {
        uint16_t d[4];
        std::memcpy(d, p, 8);
        alignas(16) const uint32_t w[4] = {d[0], d[1], d[2], d[3]};
        return load(w);
    }
    I4 r;
    std::memcpy(&r, p, 16);
    return r;
}

// The depths the stored words hold.
inline I4 depthValues(DepthFormat format, I4 stored) { return hasStencilByte(format) ? shiftRightLogical<8>(stored) : stored; }

// Writes depth z to the pixels in `mask`, keeping the others and every stencil byte.
inline void storeDepths(DepthFormat format, uint8_t* p, I4 stored, I4 z, I4 mask) {
    const I4 next = select(mask, hasStencilByte(format) ? (stored & splat(0xFF)) | shiftLeft<8>(z) : z, stored);
    alignas(16) uint32_t w[4];
    store(w, next);
    if (format == DepthFormat::D16) {
        const uint16_t d[4] = {static_cast<uint16_t>(w[0]), static_cast<uint16_t>(w[1]), static_cast<uint16_t>(w[2]),
                               static_cast<uint16_t>(w[3])};
        std::memcpy(p, d, 8);
        return;
    }
    std::memcpy(p, w, 16);
}

} // namespace pipeline::lanes
