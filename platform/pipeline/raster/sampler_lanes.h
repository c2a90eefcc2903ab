#pragma once
// Sampling eight pixels at once on wrapped power-of-two levels: the point and trilinear cases of
// sampler.h with the same arithmetic, lane by lane. Indices are masked to the level, so lanes of
// pixels that are not drawn still read inside it.
#include "raster/pixel_lanes.h"

namespace pipeline::lanes {

inline int Log2Size(int size) { return __builtin_ctz(static_cast<unsigned>(size)); }  // size a power of two

// texels[index] lane by lane.
inline I8 Gather(const uint32_t* texels, I8 index) {
#if PIPELINE_LANES_AVX2
    return {_mm256_i32gather_epi32(reinterpret_cast<const int*>(texels), index.v, 4)};
#else
    return Each<I8>([&](int i) { return static_cast<int32_t>(texels[index.v[i]]); });
#endif
}

// The point sample of the packed path: texel (u, v) on a wrapped level, clamped at the far edge.
inline I8 PointWrap(const SamplerLevel& level, F8 u, F8 v) {
    const I8 mx = Splat(level.width - 1), my = Splat(level.height - 1), zero = Splat(0);
    I8 tx = Truncate(Fraction(Sanitize(u)) * Splat(static_cast<float>(level.width)));
    I8 ty = Truncate(Fraction(Sanitize(v)) * Splat(static_cast<float>(level.height)));
    tx = Select(GreaterMask(tx, mx), mx, Select(GreaterMask(zero, tx), zero, tx));
    ty = Select(GreaterMask(ty, my), my, Select(GreaterMask(zero, ty), zero, ty));
    return Gather(level.texels, ShiftLeftBy(ty, Log2Size(level.width)) + tx);
}

// detail::FetchFixedTaps for eight pixels: the taps and their weights (x, y).
inline void FetchFixedTaps(const SamplerLevel& level, int shift, I8 x256, I8 y256, I8 taps[4], I8 weights[2]) {
    const I8 x = ShiftRightBy(x256, shift) - Splat(128), y = ShiftRightBy(y256, shift) - Splat(128);
    const I8 mx = Splat(level.width - 1), my = Splat(level.height - 1), one = Splat(1), low = Splat(255);
    const I8 fx = ShiftRightBy(x, 8), fy = ShiftRightBy(y, 8);
    const I8 x0 = fx & mx, x1 = (fx + one) & mx;
    const int rowShift = Log2Size(level.width);
    const I8 row0 = ShiftLeftBy(fy & my, rowShift), row1 = ShiftLeftBy((fy + one) & my, rowShift);
    taps[0] = Gather(level.texels, row0 + x0);
    taps[1] = Gather(level.texels, row0 + x1);
    taps[2] = Gather(level.texels, row1 + x0);
    taps[3] = Gather(level.texels, row1 + x1);
    weights[0] = x & low;
    weights[1] = y & low;
}

// detail::TrilinearFixed for eight pixels that share the level pair: `near` at `shift`, `far` next.
inline I8 TrilinearFixed(const SamplerLevel& near, const SamplerLevel& far, int shift, I8 x256, I8 y256, I8 f) {
    I8 a[4], aw[2], b[4], bw[2];
    FetchFixedTaps(near, shift, x256, y256, a, aw);
    FetchFixedTaps(far, shift + 1, x256, y256, b, bw);
    return Trilinear(a, aw, b, bw, f);
}

}  // namespace pipeline::lanes
