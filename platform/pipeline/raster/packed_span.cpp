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
inline uint32_t SampleStage(const StageSampler& s, SampleKind kind, float u, float v, float lod) {
    if (kind == SampleKind::LinearWrapPow2)
        return detail::SampleLinear(s, s.levels[s.base], detail::Sanitize(u), detail::Sanitize(v));
    return SampleTexture(s, u, v, lod);
}

// f(j) for the lanes in `which`, `others` lanes for the rest.
template <typename F> I8 EachLane(int which, I8 others, F f) {
    alignas(32) uint32_t texels[kLanes];
    lanes::Store(texels, others);
    for (; which; which &= which - 1) {
        const int j = __builtin_ctz(static_cast<unsigned>(which));
        texels[j] = f(j);
    }
    return lanes::Load(texels);
}

// Interpolants of the pixels of a group, each lane at its own offset (fx, fy) from the reference point.
struct GroupInterpolants {
    const float* plane;
    const float* dx;
    const float* dy;
    F8 fx, fy, w;  // w: 1 / q
    F8 At(int k) const { return lanes::Splat(plane[k]) + lanes::Splat(dx[k]) * fx + lanes::Splat(dy[k]) * fy; }
};

// The texels stage s reads for the pixels of a group.
[[gnu::always_inline]] inline I8 SampleLanes(const PixelPipeline& pp, int s, const GroupInterpolants& g, int live) {
    using namespace lanes;
    const StageSampler& sampler = pp.samplers[s];
    const SampleKind kind = pp.sampleKinds[s];
    const int t = pp.texVarying[s] + 2;
    const F8 w = g.w;
    const F8 u = g.At(t) * w, v = g.At(t + 1) * w;
    if (kind == SampleKind::PointWrapPow2) return PointWrap(sampler.levels[sampler.base], u, v);

    F8 lod = Splat(0.0f);
    if (sampler.needsLod) {
        const F8 dudx = (Splat(g.dx[t]) - u * Splat(g.dx[1])) * w, dvdx = (Splat(g.dx[t + 1]) - v * Splat(g.dx[1])) * w;
        const F8 dudy = (Splat(g.dy[t]) - u * Splat(g.dy[1])) * w, dvdy = (Splat(g.dy[t + 1]) - v * Splat(g.dy[1])) * w;
        const F8 bw = Splat(sampler.baseWidth), bh = Splat(sampler.baseHeight);
        const F8 ax = dudx * bw, bx = dvdx * bh, ay = dudy * bw, by = dvdy * bh;
        const F8 lx = ax * ax + bx * bx, ly = ay * ay + by * by;
        lod = Splat(0.5f) * Log2Approx(Max(lx, ly)) + Splat(sampler.lodBias);
    }
    alignas(32) float lu[kLanes], lv[kLanes], ll[kLanes];
    if (kind == SampleKind::MinMagWrapPow2) {
        // One level, two filters: minified lanes (lod > 0) take the min filter, the others the mag
        // filter. Point lanes are sampled together; linear ones one at a time, as SampleTexture does.
        const SamplerLevel& top = sampler.levels[sampler.base];
        const int minified = live & LaneBits(LessMask(Splat(0.0f), lod));
        const int magnified = live & ~minified;
        const bool pointMin = sampler.minFilter != Filter::Linear, pointMag = sampler.magFilter != Filter::Linear;
        I8 texels = Splat(0);
        const int pointLanes = (pointMin ? minified : 0) | (pointMag ? magnified : 0);
        if (pointLanes) {
            const I8 sampled = PointWrap(top, u, v);
            texels = pointLanes == live ? sampled : Select(MaskOf(pointLanes), sampled, texels);
        }
        const int linearLanes = live & ~pointLanes;
        if (linearLanes == 0) return texels;
        Store(lu, Sanitize(u));
        Store(lv, Sanitize(v));
        return EachLane(linearLanes, texels, [&](int j) { return detail::SampleLinear(sampler, top, lu[j], lv[j]); });
    }
    Store(ll, lod);
    if (kind != SampleKind::TrilinearWrapPow2) {
        Store(lu, u);
        Store(lv, v);
        return EachLane(live, Splat(0), [&](int j) { return SampleStage(sampler, kind, lu[j], lv[j], ll[j]); });
    }

    // Trilinear: positions in 1/256 texel of the largest level, whole levels and the blend weight.
    const F8 cu = Sanitize(u), cv = Sanitize(v);
    const SamplerLevel& top = sampler.levels[sampler.base];
    const I8 x256 = Truncate(Fraction(cu) * Splat(static_cast<float>(top.width * 256)) + Splat(0.5f));
    const I8 y256 = Truncate(Fraction(cv) * Splat(static_cast<float>(top.height * 256)) + Splat(0.5f));
    const F8 clamped = Min(lod, Splat(30.0f));
    const I8 whole = Truncate(clamped);
    const I8 f = Truncate((clamped - ToFloat(whole)) * Splat(256.0f));
    const int last = sampler.levelCount - 1;
    // Minified lanes whose level pair exists: one vector sample per level they share.
    const int minified =
        live & LaneBits(LessMask(Splat(0.0f), lod)) & LaneBits(GreaterMask(Splat(last - sampler.base), whole));
    alignas(32) int32_t levels[kLanes];
    Store(levels, whole);
    I8 texels = Splat(0);
    for (int pending = minified; pending;) {
        const int level = levels[__builtin_ctz(static_cast<unsigned>(pending))];
        const int same = pending & LaneBits(EqualMask(whole, Splat(level)));
        const I8 sampled = TrilinearFixed(sampler.levels[sampler.base + level], sampler.levels[sampler.base + level + 1],
                                          level, x256, y256, f);
        texels = same == live ? sampled : Select(MaskOf(same), sampled, texels);
        pending &= ~same;
    }
    const int rest = live & ~minified;
    if (rest == 0) return texels;

    // Magnified lanes and lanes at the last level: one at a time, as SampleTexture does.
    Store(lu, cu);
    Store(lv, cv);
    return EachLane(rest, texels, [&](int j) {
        const int level = sampler.base + levels[j];
        if (!(ll[j] > 0.0f)) return detail::SampleLinear(sampler, top, lu[j], lv[j]);
        return detail::SampleLinear(sampler, sampler.levels[level < last ? level : last], lu[j], lv[j]);
    });
}

// Shades groups of up to eight pixels of one primitive.
class GroupShader {
public:
    GroupShader(const PixelPipeline& pp, const float* plane, const float* ddx, const float* ddy, float refX, float refY)
        : pp_(pp), state_(*pp.state), plane_(plane), dx_(ddx), dy_(ddy), refX_(lanes::Splat(refX)),
          refY_(lanes::Splat(refY)) {
        using namespace lanes;
        const VaryingLayout& vl = pp.varyings;
        depthFormat_ = pp.depthFormat;
        depthBytes_ = BytesPerPixel(depthFormat_);
        depthLanes_ = DepthInLanes(depthFormat_);
        opaque_ = Splat(static_cast<int32_t>(pp.colorFormat == ColorFormat::X8R8G8B8 ? 0xFF000000u : 0u));
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
    void Shade(const int32_t* xs, const int32_t* ys, int count) {
        using namespace lanes;
        GroupInterpolants g{plane_, dx_, dy_, ToFloat(Load(xs)) - refX_, ToFloat(Load(ys)) - refY_, Splat(0.0f)};
        int live = (1 << count) - 1;  // bit j: pixel j is still drawn
        // Eight neighbours of a row read and write memory as a whole, putting back what they do not draw.
        const bool row = count == kLanes && ys[0] == ys[kLanes - 1];
        uint8_t* depthAt[kLanes];
        uint32_t* colorAt[kLanes];
        for (int j = 0; j < kLanes; ++j)
            colorAt[j] = reinterpret_cast<uint32_t*>(pp_.color + static_cast<size_t>(ys[j]) * pp_.colorPitch) + xs[j];
        const bool depthTest = pp_.depthTest;
        uint32_t z[kLanes] = {};
        I8 zLanes = Splat(0), stored = Splat(0);
        if (depthTest) {
            for (int j = 0; j < kLanes; ++j)
                depthAt[j] = pp_.depth + static_cast<size_t>(ys[j]) * pp_.depthPitch + static_cast<size_t>(xs[j]) * depthBytes_;
            const F8 zf = g.At(0);
            if (depthLanes_) {
                zLanes = PackDepths(depthFormat_, zf);
                stored = row ? LoadDepths(depthFormat_, depthAt[0]) : GatherDepths(depthFormat_, depthAt);
                live &= LaneBits(CompareMask(state_.depth.func, zLanes, DepthValues(depthFormat_, stored)));
            } else {
                alignas(32) float zs[kLanes];
                Store(zs, zf);
                live = 0;
                for (int j = 0; j < count; ++j) {
                    z[j] = PackDepth(depthFormat_, zs[j]);
                    if (Passes(state_.depth.func, z[j], ReadDepth(depthFormat_, depthAt[j]))) live |= 1 << j;
                }
            }
            if (live == 0) return;
        }
        g.w = Splat(1.0f) / g.At(1);
        const I8 diffuse = Argb(g, 2);
        // Arguments by ArgSource: current, diffuse, texture, factor, specular.
        I8 in[5] = {diffuse, diffuse, Splat(-1), Splat(static_cast<int32_t>(pp_.factorArgb)),
                    specularAt_ >= 0 ? Argb(g, specularAt_) : Splat(0)};
        for (int s = 0; s < stageCount_; ++s) {
            const StagePlan& plan = plans_[s];
            in[2] = plan.samples ? SampleLanes(pp_, s, g, live) : Splat(-1);
            const I8 rgb = Operate(plan.colorOp, in[plan.colorArg1], in[plan.colorArg2]);
            if (plan.sameAlpha)
                in[0] = rgb;
            else if (plan.alphaOp == TextureOp::Disable)
                in[0] = WithAlphaOf(rgb, in[0]);
            else
                in[0] = WithAlphaOf(rgb, Operate(plan.alphaOp, in[plan.alphaArg1], in[plan.alphaArg2]));
        }
        I8 c = in[0];
        if (addSpecular_) c = WithAlphaOf(AddSaturated(c, in[4]), c);
        if (fogAt_ >= 0) {
            const F8 f = g.At(fogAt_) * g.w;
            const I8 f256 = Truncate(Min(Max(f, Splat(0.0f)), Splat(1.0f)) * Splat(256.0f) + Splat(0.5f));
            c = WithAlphaOf(LerpChannels(Splat(static_cast<int32_t>(pp_.fogArgb)), c, f256), c);
        }
        if (state_.alphaTest.enable) {
            live &= LaneBits(CompareMask(state_.alphaTest.func, ShiftRightLogical<24>(c),
                                         Splat(static_cast<int32_t>(state_.alphaTest.reference))));
            if (live == 0) return;
        }
        if (pp_.depthWrite) {
            if (!depthLanes_) {
                for (int j = 0; j < count; ++j)
                    if (live >> j & 1) WriteDepth(depthFormat_, depthAt[j], z[j]);
            } else if (row) {
                StoreDepths(depthFormat_, depthAt[0], stored, zLanes, MaskOf(live));
            } else {
                ScatterDepths(depthFormat_, depthAt, stored, zLanes, live);
            }
        }
        if (row) {
            const I8 dst = Load(colorAt[0]);
            if (state_.blend.enable) c = BlendOver(c, dst | opaque_);
            Store(colorAt[0], live == (1 << kLanes) - 1 ? c | opaque_ : Select(MaskOf(live), c | opaque_, dst));
            return;
        }
        if (state_.blend.enable) {
            alignas(32) uint32_t dst[kLanes];
            for (int j = 0; j < kLanes; ++j) dst[j] = *colorAt[j];
            c = BlendOver(c, Load(dst) | opaque_);
        }
        alignas(32) uint32_t out[kLanes];
        Store(out, c | opaque_);
        for (; live; live &= live - 1) {
            const int j = __builtin_ctz(static_cast<unsigned>(live));
            *colorAt[j] = out[j];
        }
    }

private:
    struct StagePlan {
        TextureOp colorOp, alphaOp;
        int colorArg1, colorArg2, alphaArg1, alphaArg2;
        bool sameAlpha;  // alpha computed as the colour is: one operation gives all four channels
        bool samples;
    };

    // Varyings k .. k + 3 (r, g, b, a) as 0xAARRGGBB.
    static I8 Argb(const GroupInterpolants& g, int k) {
        using namespace lanes;
        const I8 r = ToBytes(g.At(k) * g.w), gr = ToBytes(g.At(k + 1) * g.w);
        const I8 b = ToBytes(g.At(k + 2) * g.w), a = ToBytes(g.At(k + 3) * g.w);
        return ShiftLeft<24>(a) | ShiftLeft<16>(r) | ShiftLeft<8>(gr) | b;
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
    StagePlan plans_[kMaxStages];
};

bool PackedOp(TextureOp op) {
    return op == TextureOp::SelectArg1 || op == TextureOp::SelectArg2 || op == TextureOp::Modulate || op == TextureOp::Add;
}

bool PlainArg(const TextureArg& a) { return !a.complement && !a.alphaReplicate; }

}  // namespace

bool FitsPackedPath(const PixelPipeline& pp, const PixelState& state) {
    if (pp.colorFormat != ColorFormat::X8R8G8B8 && pp.colorFormat != ColorFormat::A8R8G8B8) return false;
    if ((reinterpret_cast<uintptr_t>(pp.color) & 3) != 0 || (pp.colorPitch & 3) != 0) return false;
    if (pp.writeBits != ChannelBits(pp.colorFormat, 0xF)) return false;
    if (state.blend.enable && !(state.blend.op == BlendOp::Add && state.blend.src == BlendFactor::SrcAlpha &&
                                state.blend.dst == BlendFactor::InvSrcAlpha))
        return false;
    for (int s = 0; s < pp.stageCount; ++s) {
        const StageState& st = state.stages[s];
        if (!PackedOp(st.colorOp) || !(st.alphaOp == TextureOp::Disable || PackedOp(st.alphaOp))) return false;
        if (!PlainArg(st.colorArg1) || !PlainArg(st.colorArg2) || !PlainArg(st.alphaArg1) || !PlainArg(st.alphaArg2))
            return false;
    }
    return true;
}

SampleKind SampleKindOf(const StageSampler& s) {
    if (s.levelCount <= 0) return SampleKind::White;
    if (!s.wrapPow2) return SampleKind::Generic;
    if (!s.needsLod) return s.minFilter == Filter::Point ? SampleKind::PointWrapPow2 : SampleKind::LinearWrapPow2;
    if (s.mipFilter == Filter::None || s.levelCount - 1 == s.base) return SampleKind::MinMagWrapPow2;
    const SamplerLevel& top = s.levels[s.base];
    if (s.minFilter == Filter::Linear && s.magFilter == Filter::Linear && s.mipFilter == Filter::Linear &&
        s.levelCount - 1 > s.base && top.width <= 4096 && top.height <= 4096)
        return SampleKind::TrilinearWrapPow2;
    return SampleKind::Generic;
}

void ShadeRowsPacked(const PixelPipeline& pp, const SpanRow* rows, int rowCount, const float* plane, const float* ddx,
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
                shader.Shade(xs, ys, count);
                count = 0;
            }
        }
    }
    if (count == 0) return;
    for (int j = count; j < kLanes; ++j) {
        xs[j] = xs[count - 1];
        ys[j] = ys[count - 1];
    }
    shader.Shade(xs, ys, count);
}

}  // namespace pipeline
