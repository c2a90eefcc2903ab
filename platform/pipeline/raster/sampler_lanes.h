#pragma once
// Sampling eight pixels at once on wrapped power-of-two levels: the point and trilinear cases of
// sampler.h with the same arithmetic, lane by lane. Indices are masked to the level, so lanes of
// pixels that are not drawn still read inside it.
#include "raster/pixel_lanes.h"

namespace pipeline::lanes {

inline int log2Size(int size) { return __builtin_ctz(static_cast<unsigned>(size)); } // size a power of two

// texels[index] lane by lane.
inline I8 gather(const uint32_t* texels, I8 index) {
#if PIPELINE_LANES_AVX2
    return {_mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index.v, 4)};
#else
    return each<I8>([&](int i) { return static_cast<int32_t>(texels[index.v[i]]); });
#endif
}

// The point sample of the packed path: texel (u, v) on a wrapped level, clamped at the far edge.
inline I8 pointWrap(const SamplerLevel& level, F8 u, F8 v) {
    const I8 mx = splat(level.width - 1), my = splat(level.height - 1), zero = splat(0);
    I8 tx = truncate(fraction(sanitize(u)) * splat(static_cast<float>(level.width)));
    I8 ty = truncate(fraction(sanitize(v)) * splat(static_cast<float>(level.height)));
    tx = select(greaterMask(tx, mx), mx, select(greaterMask(zero, tx), zero, tx));
    ty = select(greaterMask(ty, my), my, select(greaterMask(zero, ty), zero, ty));
    return gather(level.texels, shiftLeftBy(ty, log2Size(level.width)) + tx);
}

// detail::fixedTaps for eight pixels: the taps and their weights (x, y).
inline void fixedTaps(const SamplerLevel& level, int shift, I8 x256, I8 y256, I8 taps[4], I8 weights[2]) {
    const I8 x = shiftRightBy(x256, shift) - splat(128), y = shiftRightBy(y256, shift) - splat(128);
    const I8 mx = splat(level.width - 1), my = splat(level.height - 1), one = splat(1), low = splat(255);
    const I8 fx = shiftRightBy(x, 8), fy = shiftRightBy(y, 8);
    const I8 x0 = fx & mx, x1 = (fx + one) & mx;
    const int rowShift = log2Size(level.width);
    const I8 row0 = shiftLeftBy(fy & my, rowShift), row1 = shiftLeftBy((fy + one) & my, rowShift);
    taps[0] = gather(level.texels, row0 + x0);
    taps[1] = gather(level.texels, row0 + x1);
    taps[2] = gather(level.texels, row1 + x0);
    taps[3] = gather(level.texels, row1 + x1);
    weights[0] = x & low;
    weights[1] = y & low;
}

// detail::trilinearFixed for eight pixels that share the level pair: `near` at `shift`, `far` next.
inline I8 trilinearFixed(const SamplerLevel& near, const SamplerLevel& far, int shift, I8 x256, I8 y256, I8 f) {
    I8 a[4], aw[2], b[4], bw[2];
    fixedTaps(near, shift, x256, y256, a, aw);
    fixedTaps(far, shift + 1, x256, y256, b, bw);
    return trilinear(a, aw, b, bw, f);
}

} // namespace pipeline::lanes
