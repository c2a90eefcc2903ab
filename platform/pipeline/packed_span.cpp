// The 8-bit integer pixel path. Pixels go in groups of four: interpolation, perspective division, mip
// level and colour conversion run in four float lanes, sampling of wrapped power-of-two textures,
// the stages, fog, the tests and blending in four packed-colour lanes; other samplers and memory
// run pixel by pixel. The arithmetic is, pixel for pixel, the same as doing it all one pixel at a time.
#include "pipeline/packed_span.h"

#include "pipeline/depth_lanes.h"
#include "pipeline/sampler_lanes.h"
#include "pipeline/output_merger.h"
#include "pipeline/pixel_ops.h"

namespace pipeline {

namespace {

// The kinds whose float work is not split out: linear without mip levels, and everything else.
inline uint32_t sampleStage(const StageSampler& s, SampleKind kind, float u, float v, float lod) {
    if (kind == SampleKind::LinearWrapPow2)
        return detail::sampleLinear(s, s.levels[s.base], detail::sanitize(u), detail::sanitize(v));
    return sampleTexture(s, u, v, lod);
}

// f(j) for the drawn lanes, 0 for the others.
template <typename F> lanes::I4 eachLive(int live, F f) {
    alignas(16) uint32_t texels[4] = {};
    for (int j = 0; j < 4; ++j)
        if (live >> j & 1) texels[j] = f(j);
    return lanes::load(texels);
}

// Interpolants of the four pixels of a group as start + step * i (i: 0..3 from the group's first
// pixel); per-row y steps for mip selection.
struct GroupInterpolants {
    const lanes::F4* start;
    const lanes::F4* step;
    const lanes::F4* rowStep;
    lanes::F4 i, w; // pixel offsets from the row's first pixel, 1 / q
    lanes::F4 at(int k) const { return start[k] + step[k] * i; }
};

// The texels stage s reads for the four pixels of a group.
[[gnu::always_inline]] inline lanes::I4 sampleLanes(const PixelPipeline& pp, int s, const GroupInterpolants& g, int live) {
    using namespace lanes;
    const StageSampler& sampler = pp.samplers[s];
    const SampleKind kind = pp.sampleKinds[s];
    const int t = pp.texVarying[s] + 2;
    const F4 w = g.w;
    const F4 u = g.at(t) * w, v = g.at(t + 1) * w;
    if (kind == SampleKind::PointWrapPow2) return pointWrap(sampler.levels[sampler.base], u, v);

    F4 lod = splat(0.0f);
    if (sampler.needsLod) {
        const F4 dudx = (g.step[t] - u * g.step[1]) * w, dvdx = (g.step[t + 1] - v * g.step[1]) * w;
        const F4 dudy = (g.rowStep[t] - u * g.rowStep[1]) * w, dvdy = (g.rowStep[t + 1] - v * g.rowStep[1]) * w;
        const F4 bw = splat(sampler.baseWidth), bh = splat(sampler.baseHeight);
        const F4 ax = dudx * bw, bx = dvdx * bh, ay = dudy * bw, by = dvdy * bh;
        const F4 lx = ax * ax + bx * bx, ly = ay * ay + by * by;
        lod = splat(0.5f) * log2Approx(max(lx, ly)) + splat(sampler.lodBias);
    }
    alignas(16) float lu[4], lv[4], ll[4];
    store(ll, lod);
    if (kind != SampleKind::TrilinearWrapPow2) {
        store(lu, u);
        store(lv, v);
        return eachLive(live, [&](int j) { return sampleStage(sampler, kind, lu[j], lv[j], ll[j]); });
    }

    // Trilinear: positions in 1/256 texel of the largest level, whole levels and the blend weight.
    const F4 cu = sanitize(u), cv = sanitize(v);
    const SamplerLevel& top = sampler.levels[sampler.base];
    const I4 x256 = truncate(fraction(cu) * splat(static_cast<float>(top.width * 256)));
    const I4 y256 = truncate(fraction(cv) * splat(static_cast<float>(top.height * 256)));
    const F4 clamped = min(lod, splat(30.0f));
    const I4 whole = truncate(clamped);
    const I4 f = truncate((clamped - toFloat(whole)) * splat(256.0f));
    alignas(16) int32_t levels[4];
    store(levels, whole);
    const int last = sampler.levelCount - 1;
    const int shared = levels[__builtin_ctz(static_cast<unsigned>(live))];
    const int sameLevel = laneBits(equalMask(whole, splat(shared))) & laneBits(lessMask(splat(0.0f), lod));
    if ((sameLevel & live) == live && sampler.base + shared < last)
        return trilinearFixed(sampler.levels[sampler.base + shared], sampler.levels[sampler.base + shared + 1], shared,
                              x256, y256, f);

    // Lanes on different levels, magnified or at the last level: one at a time, as sampleTexture does.
    alignas(16) int32_t xs[4], ys[4], fs[4];
    store(xs, x256);
    store(ys, y256);
    store(fs, f);
    store(lu, cu);
    store(lv, cv);
    return eachLive(live, [&](int j) {
        const int level = sampler.base + levels[j];
        if (!(ll[j] > 0.0f)) return detail::sampleLinear(sampler, top, lu[j], lv[j]);
        if (level >= last) return detail::sampleLinear(sampler, sampler.levels[last], lu[j], lv[j]);
        return detail::trilinearFixed(sampler.levels[level], sampler.levels[level + 1], levels[j], xs[j], ys[j],
                                      static_cast<uint32_t>(fs[j]));
    });
}

} // namespace

SampleKind sampleKindOf(const StageSampler& s) {
    if (s.levelCount <= 0) return SampleKind::White;
    if (!s.wrapPow2) return SampleKind::Generic;
    if (!s.needsLod) return s.minFilter == Filter::Point ? SampleKind::PointWrapPow2 : SampleKind::LinearWrapPow2;
    const SamplerLevel& top = s.levels[s.base];
    if (s.minFilter == Filter::Linear && s.magFilter == Filter::Linear && s.mipFilter == Filter::Linear &&
        s.levelCount - 1 > s.base && top.width <= 4096 && top.height <= 4096)
        return SampleKind::TrilinearWrapPow2;
    return SampleKind::Generic;
}

void shadeRowsPacked(const PixelPipeline& pp, const SpanRow* rows, int rowCount, const float* plane, const float* ddx,
                     const float* ddy, float refX, float refY) {
    using namespace lanes;
    const PixelState& state = *pp.state;
    const VaryingLayout& vl = pp.varyings;
    const int n = vl.count + 2;
    const DepthFormat depthFormat = pp.depthFormat;
    const int depthBytes = bytesPerPixel(depthFormat);
    const Compare depthFunc = state.depth.func;
    const bool depthTest = pp.depthTest, depthWrite = pp.depthWrite;
    const bool depthLanes = depthInLanes(depthFormat);
    const bool alphaTest = state.alphaTest.enable;
    const Compare alphaFunc = state.alphaTest.func;
    const I4 alphaRef = splat(static_cast<int32_t>(state.alphaTest.reference));
    const I4 opaque = splat(static_cast<int32_t>(pp.colorFormat == ColorFormat::X8R8G8B8 ? 0xFF000000u : 0u));
    const int fogAt = state.fog && vl.fog >= 0 ? vl.fog + 2 : -1;
    const int specularAt = vl.specular >= 0 ? vl.specular + 2 : -1;
    const bool addSpecular = state.specular && specularAt >= 0;
    const bool blend = state.blend.enable;
    const int stageCount = pp.stageCount;
    const int colorWidth = pp.colorWidth, depthWidth = pp.depthWidth;
    const I4 white = splat(-1), factor = splat(static_cast<int32_t>(pp.factorArgb));
    const I4 fogColor = splat(static_cast<int32_t>(pp.fogArgb));
    struct StagePlan {
        TextureOp colorOp, alphaOp;
        int colorArg1, colorArg2, alphaArg1, alphaArg2;
        bool sameAlpha; // alpha computed as the colour is: one operation gives all four channels
        bool samples;
    } plans[8];
    for (int s = 0; s < stageCount; ++s) {
        const StageState& st = state.stages[s];
        plans[s] = {st.colorOp, st.alphaOp, static_cast<int>(st.colorArg1.source), static_cast<int>(st.colorArg2.source),
                    static_cast<int>(st.alphaArg1.source), static_cast<int>(st.alphaArg2.source),
                    st.alphaOp == st.colorOp && st.alphaArg1.source == st.colorArg1.source &&
                        st.alphaArg2.source == st.colorArg2.source,
                    pp.samples[s]};
    }
    F4 start[kMaxInterpolants], step[kMaxInterpolants], rowStep[kMaxInterpolants];
    for (int k = 0; k < n; ++k) {
        step[k] = splat(ddx[k]);
        rowStep[k] = splat(ddy[k]);
    }
    GroupInterpolants g{start, step, rowStep, splat(0.0f), splat(0.0f)};
    auto argb = [&](int k) { // varyings k .. k + 3 (r, g, b, a) as 0xAARRGGBB
        const I4 r = toBytes(g.at(k) * g.w), gr = toBytes(g.at(k + 1) * g.w);
        const I4 b = toBytes(g.at(k + 2) * g.w), a = toBytes(g.at(k + 3) * g.w);
        return shiftLeft<24>(a) | shiftLeft<16>(r) | shiftLeft<8>(gr) | b;
    };

    for (int r = 0; r < rowCount; ++r) {
        const int y = rows[r].y, x0 = rows[r].left, x1 = rows[r].right;
        // The row's interpolants at its first pixel.
        const float fx = static_cast<float>(x0) - refX, fy = static_cast<float>(y) - refY;
        for (int k = 0; k < n; ++k) start[k] = splat(plane[k] + ddx[k] * fx + ddy[k] * fy);
        uint32_t* colorRow = reinterpret_cast<uint32_t*>(pp.color + static_cast<size_t>(y) * pp.colorPitch);
        uint8_t* depthRow = pp.depth ? pp.depth + static_cast<size_t>(y) * pp.depthPitch : nullptr;

        for (int group = x0; group <= x1; group += 4) {
            const int count = x1 - group + 1 < 4 ? x1 - group + 1 : 4;
            g.i = ramp(static_cast<float>(group - x0));
            int live = (1 << count) - 1; // bit j: pixel group + j is still drawn
            // Groups inside the row read and write four whole pixels, putting back what they do not draw.
            const bool wholeDepth = depthLanes && group + 4 <= depthWidth;
            uint8_t* depthPixels = depthRow ? depthRow + static_cast<size_t>(group) * depthBytes : nullptr;
            uint32_t z[4] = {};
            I4 zLanes = splat(0), stored = splat(0);
            if (depthTest) {
                const F4 zf = g.at(0);
                if (wholeDepth) {
                    zLanes = packDepths(depthFormat, zf);
                    stored = loadDepths(depthFormat, depthPixels);
                    live &= laneBits(compareMask(depthFunc, zLanes, depthValues(depthFormat, stored)));
                } else {
                    alignas(16) float zs[4];
                    store(zs, zf);
                    live = 0;
                    for (int j = 0; j < count; ++j) {
                        z[j] = packDepth(depthFormat, zs[j]);
                        if (passes(depthFunc, z[j], readDepth(depthFormat, depthPixels + static_cast<size_t>(j) * depthBytes)))
                            live |= 1 << j;
                    }
                }
                if (live == 0) continue;
            }
            g.w = splat(1.0f) / g.at(1);
            const I4 diffuse = argb(2);
            // Arguments by ArgSource: current, diffuse, texture, factor, specular.
            I4 in[5] = {diffuse, diffuse, white, factor, specularAt >= 0 ? argb(specularAt) : splat(0)};
            for (int s = 0; s < stageCount; ++s) {
                const StagePlan& plan = plans[s];
                in[2] = plan.samples ? sampleLanes(pp, s, g, live) : white;
                const I4 rgb = operate(plan.colorOp, in[plan.colorArg1], in[plan.colorArg2]);
                if (plan.sameAlpha)
                    in[0] = rgb;
                else if (plan.alphaOp == TextureOp::Disable)
                    in[0] = withAlphaOf(rgb, in[0]);
                else
                    in[0] = withAlphaOf(rgb, operate(plan.alphaOp, in[plan.alphaArg1], in[plan.alphaArg2]));
            }
            I4 c = in[0];
            if (addSpecular) c = withAlphaOf(addSaturated(c, in[4]), c);
            if (fogAt >= 0) {
                const F4 f = g.at(fogAt) * g.w;
                const I4 f256 = truncate(min(max(f, splat(0.0f)), splat(1.0f)) * splat(256.0f) + splat(0.5f));
                c = withAlphaOf(lerpChannels(fogColor, c, f256), c);
            }
            if (alphaTest) {
                live &= laneBits(compareMask(alphaFunc, shiftRightLogical<24>(c), alphaRef));
                if (live == 0) continue;
            }
            if (depthWrite) {
                if (wholeDepth)
                    storeDepths(depthFormat, depthPixels, stored, zLanes, maskOf(live));
                else
                    for (int j = 0; j < count; ++j)
                        if (live >> j & 1) writeDepth(depthFormat, depthPixels + static_cast<size_t>(j) * depthBytes, z[j]);
            }
            uint32_t* target = colorRow + group;
            if (group + 4 <= colorWidth) {
                const I4 dst = load(target);
                if (blend) c = blendOver(c, dst | opaque);
                const I4 out = live == 0xF ? c | opaque : select(maskOf(live), c | opaque, dst);
                std::memcpy(target, &out, 16);
                continue;
            }
            alignas(16) uint32_t dst[4] = {};
            for (int j = 0; j < count; ++j) dst[j] = target[j];
            if (blend) c = blendOver(c, load(dst) | opaque);
            alignas(16) uint32_t out[4];
            store(out, c | opaque);
            for (int j = 0; j < count; ++j)
                if (live >> j & 1) target[j] = out[j];
        }
    }
}

} // namespace pipeline
