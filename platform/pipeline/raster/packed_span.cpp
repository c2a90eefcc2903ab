// The 8-bit integer pixel path. Pixels go in groups of eight, taken in row order across the rows of a
// batch, so small triangles fill whole groups: interpolation, perspective division, mip level and
// colour conversion run in eight float lanes, sampling of wrapped power-of-two textures, the stages,
// fog, the tests and blending in eight packed-colour lanes; other samplers run pixel by pixel. Every
// value a pixel gets depends on its position only, never on the group it fell in.
#include "raster/packed_span.h"

#include <algorithm>

#include "raster/depth_lanes.h"
#include "raster/output_merger.h"
#include "raster/pixel_ops.h"
#include "raster/sampler_lanes.h"

namespace pipeline {

namespace {

using lanes::F8;
using lanes::I8;
using lanes::kLanes;

// The kinds whose float work is not split out: linear without mip levels, and everything else.
inline uint32_t sampleStage(const StageSampler& s, SampleKind kind, float u, float v, float lod) {
    if (kind == SampleKind::LinearWrapPow2)
        return detail::sampleLinear(s, s.levels[s.base], detail::sanitize(u), detail::sanitize(v));
    return sampleTexture(s, u, v, lod);
}

// f(j) for the lanes in `which`, `others` lanes for the rest.
template <typename F> I8 eachLane(int which, I8 others, F f) {
    alignas(32) uint32_t texels[kLanes];
    lanes::store(texels, others);
    for (; which; which &= which - 1) {
        const int j = __builtin_ctz(static_cast<unsigned>(which));
        texels[j] = f(j);
    }
    return lanes::load(texels);
}

// Interpolants of the pixels of a group, each lane at its own offset (fx, fy) from the reference point.
struct GroupInterpolants {
    const float* plane;
    const float* dx;
    const float* dy;
    F8 fx, fy, w; // w: 1 / q
    F8 at(int k) const { return lanes::splat(plane[k]) + lanes::splat(dx[k]) * fx + lanes::splat(dy[k]) * fy; }
};

// The texels stage s reads for the pixels of a group.
[[gnu::always_inline]] inline I8 sampleLanes(const PixelPipeline& pp, int s, const GroupInterpolants& g, int live) {
    using namespace lanes;
    const StageSampler& sampler = pp.samplers[s];
    const SampleKind kind = pp.sampleKinds[s];
    const int t = pp.texVarying[s] + 2;
    const F8 w = g.w;
    const F8 u = g.at(t) * w, v = g.at(t + 1) * w;
    if (kind == SampleKind::PointWrapPow2) return pointWrap(sampler.levels[sampler.base], u, v);

    F8 lod = splat(0.0f);
    if (sampler.needsLod) {
        const F8 dudx = (splat(g.dx[t]) - u * splat(g.dx[1])) * w, dvdx = (splat(g.dx[t + 1]) - v * splat(g.dx[1])) * w;
        const F8 dudy = (splat(g.dy[t]) - u * splat(g.dy[1])) * w, dvdy = (splat(g.dy[t + 1]) - v * splat(g.dy[1])) * w;
        const F8 bw = splat(sampler.baseWidth), bh = splat(sampler.baseHeight);
        const F8 ax = dudx * bw, bx = dvdx * bh, ay = dudy * bw, by = dvdy * bh;
        const F8 lx = ax * ax + bx * bx, ly = ay * ay + by * by;
        lod = splat(0.5f) * log2Approx(max(lx, ly)) + splat(sampler.lodBias);
    }
    alignas(32) float lu[kLanes], lv[kLanes], ll[kLanes];
    store(ll, lod);
    if (kind != SampleKind::TrilinearWrapPow2) {
        store(lu, u);
        store(lv, v);
        return eachLane(live, splat(0), [&](int j) { return sampleStage(sampler, kind, lu[j], lv[j], ll[j]); });
    }

    // Trilinear: positions in 1/256 texel of the largest level, whole levels and the blend weight.
    const F8 cu = sanitize(u), cv = sanitize(v);
    const SamplerLevel& top = sampler.levels[sampler.base];
    const I8 x256 = truncate(fraction(cu) * splat(static_cast<float>(top.width * 256)));
    const I8 y256 = truncate(fraction(cv) * splat(static_cast<float>(top.height * 256)));
    const F8 clamped = min(lod, splat(30.0f));
    const I8 whole = truncate(clamped);
    const I8 f = truncate((clamped - toFloat(whole)) * splat(256.0f));
    const int last = sampler.levelCount - 1;
    // Minified lanes whose level pair exists: one vector sample per level they share.
    const int minified =
        live & laneBits(lessMask(splat(0.0f), lod)) & laneBits(greaterMask(splat(last - sampler.base), whole));
    alignas(32) int32_t levels[kLanes];
    store(levels, whole);
    I8 texels = splat(0);
    for (int pending = minified; pending;) {
        const int level = levels[__builtin_ctz(static_cast<unsigned>(pending))];
        const int same = pending & laneBits(equalMask(whole, splat(level)));
        const I8 sampled = trilinearFixed(sampler.levels[sampler.base + level], sampler.levels[sampler.base + level + 1],
                                          level, x256, y256, f);
        texels = same == live ? sampled : select(maskOf(same), sampled, texels);
        pending &= ~same;
    }
    const int rest = live & ~minified;
    if (rest == 0) return texels;

    // Magnified lanes and lanes at the last level: one at a time, as sampleTexture does.
    store(lu, cu);
    store(lv, cv);
    return eachLane(rest, texels, [&](int j) {
        const int level = sampler.base + levels[j];
        if (!(ll[j] > 0.0f)) return detail::sampleLinear(sampler, top, lu[j], lv[j]);
        return detail::sampleLinear(sampler, sampler.levels[level < last ? level : last], lu[j], lv[j]);
    });
}

// Shades groups of up to eight pixels of one primitive.
class GroupShader {
public:
    GroupShader(const PixelPipeline& pp, const float* plane, const float* ddx, const float* ddy, float refX, float refY)
        : pp_(pp), state_(*pp.state), plane_(plane), dx_(ddx), dy_(ddy), refX_(lanes::splat(refX)),
          refY_(lanes::splat(refY)) {
        using namespace lanes;
        const VaryingLayout& vl = pp.varyings;
        depthFormat_ = pp.depthFormat;
        depthBytes_ = bytesPerPixel(depthFormat_);
        depthLanes_ = depthInLanes(depthFormat_);
        opaque_ = splat(static_cast<int32_t>(pp.colorFormat == ColorFormat::X8R8G8B8 ? 0xFF000000u : 0u));
        fogAt_ = state_.fog && vl.fog >= 0 ? vl.fog + 2 : -1;
        specularAt_ = vl.specular >= 0 ? vl.specular + 2 : -1;
        addSpecular_ = state_.specular && specularAt_ >= 0;
        stageCount_ = pp.stageCount;
        for (int s = 0; s < stageCount_; ++s) {
            const StageState& st = state_.stages[s];
            plans_[s] = {st.colorOp, st.alphaOp, static_cast<int>(st.colorArg1.source),
                         static_cast<int>(st.colorArg2.source), static_cast<int>(st.alphaArg1.source),
                         static_cast<int>(st.alphaArg2.source),
                         st.alphaOp == st.colorOp && st.alphaArg1.source == st.colorArg1.source &&
                             st.alphaArg2.source == st.colorArg2.source,
                         pp.samples[s]};
        }
    }

    // Pixels (xs[j], ys[j]) for j < count; the lanes from count on repeat a valid pixel.
    void shade(const int32_t* xs, const int32_t* ys, int count) {
        using namespace lanes;
        GroupInterpolants g{plane_, dx_, dy_, toFloat(load(xs)) - refX_, toFloat(load(ys)) - refY_, splat(0.0f)};
        int live = (1 << count) - 1; // bit j: pixel j is still drawn
        // Eight neighbours of a row read and write memory as a whole, putting back what they do not draw.
        const bool row = count == kLanes && ys[0] == ys[kLanes - 1];
        uint8_t* depthAt[kLanes];
        uint32_t* colorAt[kLanes];
        for (int j = 0; j < kLanes; ++j)
            colorAt[j] = reinterpret_cast<uint32_t*>(pp_.color + static_cast<size_t>(ys[j]) * pp_.colorPitch) + xs[j];
        const bool depthTest = pp_.depthTest;
        uint32_t z[kLanes] = {};
        I8 zLanes = splat(0), stored = splat(0);
        if (depthTest) {
            for (int j = 0; j < kLanes; ++j)
                depthAt[j] = pp_.depth + static_cast<size_t>(ys[j]) * pp_.depthPitch + static_cast<size_t>(xs[j]) * depthBytes_;
            const F8 zf = g.at(0);
            if (depthLanes_) {
                zLanes = packDepths(depthFormat_, zf);
                stored = row ? loadDepths(depthFormat_, depthAt[0]) : gatherDepths(depthFormat_, depthAt);
                live &= laneBits(compareMask(state_.depth.func, zLanes, depthValues(depthFormat_, stored)));
            } else {
                alignas(32) float zs[kLanes];
                store(zs, zf);
                live = 0;
                for (int j = 0; j < count; ++j) {
                    z[j] = packDepth(depthFormat_, zs[j]);
                    if (passes(state_.depth.func, z[j], readDepth(depthFormat_, depthAt[j]))) live |= 1 << j;
                }
            }
            if (live == 0) return;
        }
        g.w = splat(1.0f) / g.at(1);
        const I8 diffuse = argb(g, 2);
        // Arguments by ArgSource: current, diffuse, texture, factor, specular.
        I8 in[5] = {diffuse, diffuse, splat(-1), splat(static_cast<int32_t>(pp_.factorArgb)),
                    specularAt_ >= 0 ? argb(g, specularAt_) : splat(0)};
        for (int s = 0; s < stageCount_; ++s) {
            const StagePlan& plan = plans_[s];
            in[2] = plan.samples ? sampleLanes(pp_, s, g, live) : splat(-1);
            const I8 rgb = operate(plan.colorOp, in[plan.colorArg1], in[plan.colorArg2]);
            if (plan.sameAlpha)
                in[0] = rgb;
            else if (plan.alphaOp == TextureOp::Disable)
                in[0] = withAlphaOf(rgb, in[0]);
            else
                in[0] = withAlphaOf(rgb, operate(plan.alphaOp, in[plan.alphaArg1], in[plan.alphaArg2]));
        }
        I8 c = in[0];
        if (addSpecular_) c = withAlphaOf(addSaturated(c, in[4]), c);
        if (fogAt_ >= 0) {
            const F8 f = g.at(fogAt_) * g.w;
            const I8 f256 = truncate(min(max(f, splat(0.0f)), splat(1.0f)) * splat(256.0f) + splat(0.5f));
            c = withAlphaOf(lerpChannels(splat(static_cast<int32_t>(pp_.fogArgb)), c, f256), c);
        }
        if (state_.alphaTest.enable) {
            live &= laneBits(compareMask(state_.alphaTest.func, shiftRightLogical<24>(c),
                                         splat(static_cast<int32_t>(state_.alphaTest.reference))));
            if (live == 0) return;
        }
        if (pp_.depthWrite) {
            if (!depthLanes_) {
                for (int j = 0; j < count; ++j)
                    if (live >> j & 1) writeDepth(depthFormat_, depthAt[j], z[j]);
            } else if (row) {
                storeDepths(depthFormat_, depthAt[0], stored, zLanes, maskOf(live));
            } else {
                scatterDepths(depthFormat_, depthAt, stored, zLanes, live);
            }
        }
        if (row) {
            const I8 dst = load(colorAt[0]);
            if (state_.blend.enable) c = blendOver(c, dst | opaque_);
            store(colorAt[0], live == (1 << kLanes) - 1 ? c | opaque_ : select(maskOf(live), c | opaque_, dst));
            return;
        }
        if (state_.blend.enable) {
            alignas(32) uint32_t dst[kLanes];
            for (int j = 0; j < kLanes; ++j) dst[j] = *colorAt[j];
            c = blendOver(c, load(dst) | opaque_);
        }
        alignas(32) uint32_t out[kLanes];
        store(out, c | opaque_);
        for (; live; live &= live - 1) {
            const int j = __builtin_ctz(static_cast<unsigned>(live));
            *colorAt[j] = out[j];
        }
    }

private:
    struct StagePlan {
        TextureOp colorOp, alphaOp;
        int colorArg1, colorArg2, alphaArg1, alphaArg2;
        bool sameAlpha; // alpha computed as the colour is: one operation gives all four channels
        bool samples;
    };

    // Varyings k .. k + 3 (r, g, b, a) as 0xAARRGGBB.
    static I8 argb(const GroupInterpolants& g, int k) {
        using namespace lanes;
        const I8 r = toBytes(g.at(k) * g.w), gr = toBytes(g.at(k + 1) * g.w);
        const I8 b = toBytes(g.at(k + 2) * g.w), a = toBytes(g.at(k + 3) * g.w);
        return shiftLeft<24>(a) | shiftLeft<16>(r) | shiftLeft<8>(gr) | b;
    }

    const PixelPipeline& pp_;
    const PixelState& state_;
    const float *plane_, *dx_, *dy_;
    F8 refX_, refY_;
    DepthFormat depthFormat_ = DepthFormat::None;
    int depthBytes_ = 0;
    bool depthLanes_ = false;
    I8 opaque_;
    int fogAt_ = -1, specularAt_ = -1;
    bool addSpecular_ = false;
    int stageCount_ = 0;
    StagePlan plans_[8];
};

bool packedOp(TextureOp op) {
    return op == TextureOp::SelectArg1 || op == TextureOp::SelectArg2 || op == TextureOp::Modulate || op == TextureOp::Add;
}

bool plainArg(const TextureArg& a) { return !a.complement && !a.alphaReplicate; }

} // namespace

bool fitsPackedPath(const PixelPipeline& pp, const PixelState& state) {
    if (pp.colorFormat != ColorFormat::X8R8G8B8 && pp.colorFormat != ColorFormat::A8R8G8B8) return false;
    if ((reinterpret_cast<uintptr_t>(pp.color) & 3) != 0 || (pp.colorPitch & 3) != 0) return false;
    if (pp.writeBits != channelBits(pp.colorFormat, 0xF)) return false;
    if (state.blend.enable && !(state.blend.op == BlendOp::Add && state.blend.src == BlendFactor::SrcAlpha &&
                                state.blend.dst == BlendFactor::InvSrcAlpha))
        return false;
    for (int s = 0; s < pp.stageCount; ++s) {
        const StageState& st = state.stages[s];
        if (!packedOp(st.colorOp) || !(st.alphaOp == TextureOp::Disable || packedOp(st.alphaOp))) return false;
        if (!plainArg(st.colorArg1) || !plainArg(st.colorArg2) || !plainArg(st.alphaArg1) || !plainArg(st.alphaArg2))
            return false;
    }
    return true;
}

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
    GroupShader shader(pp, plane, ddx, ddy, refX, refY);
    alignas(32) int32_t xs[kLanes], ys[kLanes];
    int count = 0;
    for (int r = 0; r < rowCount; ++r) {
        const int y = rows[r].y;
        for (int x = rows[r].left; x <= rows[r].right;) {
            const int take = std::min(kLanes - count, rows[r].right - x + 1);
            for (int j = 0; j < take; ++j) {
                xs[count + j] = x + j;
                ys[count + j] = y;
            }
            count += take;
            x += take;
            if (count == kLanes) {
                shader.shade(xs, ys, count);
                count = 0;
            }
        }
    }
    if (count == 0) return;
    for (int j = count; j < kLanes; ++j) {
        xs[j] = xs[count - 1];
        ys[j] = ys[count - 1];
    }
    shader.shade(xs, ys, count);
}

} // namespace pipeline
