#pragma once
// Depth tests and writes for eight pixels in lanes: PackDepth, ReadDepth, passes and WriteDepth
// (formats.h, pixel_ops.h) with the same results, for the formats whose stored values stay below
// 2^31 (all but D32). Pixels are either eight neighbours of a row or eight addresses of their own.
#include "raster/pixel_lanes.h"

namespace pipeline::lanes {

inline bool DepthInLanes(DepthFormat f) {
    return f == DepthFormat::D16 || f == DepthFormat::D24X8 || f == DepthFormat::D24S8 || f == DepthFormat::D32F;
}

inline bool HasStencilByte(DepthFormat f) { return f == DepthFormat::D24X8 || f == DepthFormat::D24S8; }

// PackDepth of eight depths (a format DepthInLanes accepts).
inline I8 PackDepths(DepthFormat format, F8 z) {
    const F8 v = Min(Max(z, Splat(0.0f)), Splat(1.0f));  // NaN reads 0, as PackDepth clamps it
    switch (format) {
    case DepthFormat::D16: return Truncate(v * Splat(65535.0f) + Splat(0.5f));
    case DepthFormat::D32F: return Bits(v);
    default: break;
    }
#if PIPELINE_LANES_AVX2
    const __m256d k = _mm256_set1_pd(16777215.0), half = _mm256_set1_pd(0.5);
    const __m128i lo = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(v.v)), k), half));
    const __m128i hi = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(_mm256_cvtps_pd(_mm256_extractf128_ps(v.v, 1)), k), half));
    return {_mm256_set_m128i(hi, lo)};
#else
    return Each<I8>([&](int i) { return static_cast<int32_t>(PackDepth(format, v.v[i])); });
#endif
}

// The stored words of eight neighbouring pixels from p (D24 with its stencil byte).
inline I8 LoadDepths(DepthFormat format, const uint8_t* p) {
    if (format == DepthFormat::D16) {
        uint16_t d[kLanes];
        std::memcpy(d, p, sizeof d);
        alignas(32) const uint32_t w[kLanes] = {d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]};
        return Load(w);
    }
    alignas(32) uint32_t w[kLanes];
    std::memcpy(w, p, sizeof w);
    return Load(w);
}

// The stored words of the pixels at p[0..7].
inline I8 GatherDepths(DepthFormat format, uint8_t* const p[kLanes]) {
    alignas(32) uint32_t w[kLanes];
    if (format == DepthFormat::D16) {
        for (int j = 0; j < kLanes; ++j) {
            uint16_t d;
            std::memcpy(&d, p[j], 2);
            w[j] = d;
        }
    } else {
        for (int j = 0; j < kLanes; ++j) std::memcpy(&w[j], p[j], 4);
    }
    return Load(w);
}

// The depths the stored words hold.
inline I8 DepthValues(DepthFormat format, I8 stored) { return HasStencilByte(format) ? ShiftRightLogical<8>(stored) : stored; }

// The words to store for depth z, keeping every stencil byte.
inline I8 DepthWords(DepthFormat format, I8 stored, I8 z) {
    return HasStencilByte(format) ? (stored & Splat(0xFF)) | ShiftLeft<8>(z) : z;
}

// Writes depth z to the neighbouring pixels from p in `mask`, keeping the others and every stencil byte.
inline void StoreDepths(DepthFormat format, uint8_t* p, I8 stored, I8 z, I8 mask) {
    alignas(32) uint32_t w[kLanes];
    Store(w, Select(mask, DepthWords(format, stored, z), stored));
    if (format == DepthFormat::D16) {
        uint16_t d[kLanes];
        for (int j = 0; j < kLanes; ++j) d[j] = static_cast<uint16_t>(w[j]);
        std::memcpy(p, d, sizeof d);
        return;
    }
    std::memcpy(p, w, sizeof w);
}

// Writes depth z to the pixels at p[j] for the lanes in `live`, keeping every stencil byte.
inline void ScatterDepths(DepthFormat format, uint8_t* const p[kLanes], I8 stored, I8 z, int live) {
    alignas(32) uint32_t w[kLanes];
    Store(w, DepthWords(format, stored, z));
    for (; live; live &= live - 1) {
        const int j = __builtin_ctz(static_cast<unsigned>(live));
        if (format == DepthFormat::D16) {
            const uint16_t d = static_cast<uint16_t>(w[j]);
            std::memcpy(p[j], &d, 2);
        } else {
            std::memcpy(p[j], &w[j], 4);
        }
    }
}

}  // namespace pipeline::lanes
