#pragma once
// Sampling four pixels at once on wrapped power-of-two levels: the point and trilinear cases of
// sampler.h with the same arithmetic, lane by lane. Indices are masked to the level, so lanes of
// pixels that are not drawn still read inside it.
#include "pipeline/pixel_lanes.h"

namespace pipeline::lanes {

inline int log2Size(int size) { return __builtin_ctz(static_cast<unsigned>(size)); } // size a power of two

inline I4 gather(const uint32_t* texels, I4 index) {
#if defined(__AVX2__) && defined(PIPELINE_HARDWARE_GATHER)
    return {_mm_i32gather_epi32(reinterpret_cast<const int*>(texels), index.v, 4)};
#endif
    alignas(16) int32_t i[4];
    store(i, index);
    alignas(16) const uint32_t t[4] = {texels[i[0]], texels[i[1]], texels[i[2]], texels[i[3]]};
    return load(t);
}

// The point sample of the packed path: texel (u, v) on a wrapped level, clamped at the far edge.
inline I4 pointWrap(const SamplerLevel& level, F4 u, F4 v) {
    const I4 mx = splat(level.width - 1), my = splat(level.height - 1), zero = splat(0);
    I4 tx = truncate(fraction(sanitize(u)) * splat(static_cast<float>(level.width)));
    I4 ty = truncate(fraction(sanitize(v)) * splat(static_cast<float>(level.height)));
    tx = select(greaterMask(tx, mx), mx, select(greaterMask(zero, tx), zero, tx));
    ty = select(greaterMask(ty, my), my, select(greaterMask(zero, ty), zero, ty));
    return gather(level.texels, shiftLeftBy(ty, log2Size(level.width)) + tx);
}

// detail::fixedTaps for four pixels: the taps and their weights (x, y).
inline void fixedTaps(const SamplerLevel& level, int shift, I4 x256, I4 y256, I4 taps[4], I4 weights[2]) {
    const I4 x = shiftRightBy(x256, shift) - splat(128), y = shiftRightBy(y256, shift) - splat(128);
    const I4 mx = splat(level.width - 1), my = splat(level.height - 1), one = splat(1), low = splat(255);
    const I4 fx = shiftRightBy(x, 8), fy = shiftRightBy(y, 8);
    const I4 x0 = fx & mx, x1 = (fx + one) & mx;
    const int rowShift = log2Size(level.width);
    const I4 row0 = shiftLeftBy(fy & my, rowShift), row1 = shiftLeftBy((fy + one) & my, rowShift);
    taps[0] = gather(level.texels, row0 + x0);
    taps[1] = gather(level.texels, row0 + x1);
    taps[2] = gather(level.texels, row1 + x0);
    taps[3] = gather(level.texels, row1 + x1);
    weights[0] = x & low;
    weights[1] = y & low;
}

// detail::trilinearFixed for four pixels that share the level pair: `near` at `shift`, `far` next.
inline I4 trilinearFixed(const SamplerLevel& near, const SamplerLevel& far, int shift, I4 x256, I4 y256, I4 f) {
    I4 a[4], aw[2], b[4], bw[2];
    fixedTaps(near, shift, x256, y256, a, aw);
    fixedTaps(far, shift + 1, x256, y256, b, bw);
    return trilinear(a, aw, b, bw, f);
}

} // namespace pipeline::lanes
