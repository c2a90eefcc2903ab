// The 8-bit integer pixel path. Pixels go in groups of four: interpolation, perspective division, mip
// level and colour conversion run in four float lanes, then sampling (with code specialised for the
// stage's filter and addressing), the stages and the output run per pixel on packed colours. The
// arithmetic is, pixel for pixel, the same as doing it all one pixel at a time.
#include "pipeline/packed_span.h"

#include "pipeline/lanes.h"
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

void shadeSpanPacked(const PixelPipeline& pp, int y, int x0, int x1, const float* base, const float* ddx,
                     const float* ddy) {
    using namespace lanes;
    const PixelState& state = *pp.state;
    const VaryingLayout& vl = pp.varyings;
    uint32_t* colorRow = reinterpret_cast<uint32_t*>(pp.color + static_cast<size_t>(y) * pp.colorPitch);
    uint8_t* depthRow = pp.depth ? pp.depth + static_cast<size_t>(y) * pp.depthPitch : nullptr;
    const int depthBytes = bytesPerPixel(pp.depthFormat);
    const DepthFormat depthFormat = pp.depthFormat;
    const Compare depthFunc = state.depth.func;
    const bool alphaTest = state.alphaTest.enable;
    const Compare alphaFunc = state.alphaTest.func;
    const uint32_t alphaRef = state.alphaTest.reference;
    const bool opaqueTarget = pp.colorFormat == ColorFormat::X8R8G8B8;
    const bool fog = state.fog && vl.fog >= 0;
    const bool specular = vl.specular >= 0;
    const bool addSpecular = state.specular && specular;
    const bool blend = state.blend.enable;
    const int stageCount = pp.stageCount;
    const float* vb = base + 2;
    const float* vd = ddx + 2;
    auto argb = [&](int k, F4 w, F4 i) { // varyings k .. k + 3 (r, g, b, a) as 0xAARRGGBB
        const I4 r = toBytes((splat(vb[k]) + splat(vd[k]) * i) * w);
        const I4 g = toBytes((splat(vb[k + 1]) + splat(vd[k + 1]) * i) * w);
        const I4 b = toBytes((splat(vb[k + 2]) + splat(vd[k + 2]) * i) * w);
        const I4 a = toBytes((splat(vb[k + 3]) + splat(vd[k + 3]) * i) * w);
        return shiftLeft<24>(a) | shiftLeft<16>(r) | shiftLeft<8>(g) | b;
    };

    // Four pixels at a time: the float work in lanes, then the integer work pixel by pixel.
    for (int group = x0; group <= x1; group += 4) {
        const int count = x1 - group + 1 < 4 ? x1 - group + 1 : 4;
        const F4 i = ramp(static_cast<float>(group - x0));
        alignas(16) float zf[4];
        uint32_t z[4] = {};
        int live[4], liveCount = 0;
        if (pp.depthTest) {
            store(zf, splat(base[0]) + splat(ddx[0]) * i);
            for (int j = 0; j < count; ++j) {
                z[j] = packDepth(depthFormat, zf[j]);
                if (passes(depthFunc, z[j], readDepth(depthFormat, depthRow + static_cast<size_t>(group + j) * depthBytes)))
                    live[liveCount++] = j;
            }
            if (liveCount == 0) continue;
        } else {
            for (int j = 0; j < count; ++j) live[j] = j;
            liveCount = count;
        }
        const F4 w = splat(1.0f) / (splat(base[1]) + splat(ddx[1]) * i);
        alignas(16) uint32_t diffuse[4], spec[4] = {}, fog256[4];
        store(diffuse, argb(0, w, i));
        if (specular) store(spec, argb(vl.specular, w, i));
        if (fog) {
            const F4 f = (splat(vb[vl.fog]) + splat(vd[vl.fog]) * i) * w;
            store(fog256, truncate(min(max(f, splat(0.0f)), splat(1.0f)) * splat(256.0f) + splat(0.5f)));
        }
        alignas(16) float su[8][4], sv[8][4], slod[8][4];
        alignas(16) int32_t sx[8][4], sy[8][4], swhole[8][4], sf[8][4];
        for (int s = 0; s < stageCount; ++s) {
            if (!pp.samples[s]) continue;
            const StageSampler& sampler = pp.samplers[s];
            const int t = pp.texVarying[s];
            const F4 u = (splat(vb[t]) + splat(vd[t]) * i) * w, v = (splat(vb[t + 1]) + splat(vd[t + 1]) * i) * w;
            const SampleKind kind = pp.sampleKinds[s];
            if (kind == SampleKind::PointWrapPow2) {
                // Texel indices in lanes; the per-pixel part only clamps and fetches.
                const SamplerLevel& level = sampler.levels[sampler.base];
                store(sx[s], truncate(fraction(sanitize(u)) * splat(static_cast<float>(level.width))));
                store(sy[s], truncate(fraction(sanitize(v)) * splat(static_cast<float>(level.height))));
                continue;
            }
            if (kind == SampleKind::TrilinearWrapPow2) {
                const F4 cu = sanitize(u), cv = sanitize(v);
                store(su[s], cu);
                store(sv[s], cv);
                const SamplerLevel& top = sampler.levels[sampler.base];
                store(sx[s], truncate(fraction(cu) * splat(static_cast<float>(top.width * 256))));
                store(sy[s], truncate(fraction(cv) * splat(static_cast<float>(top.height * 256))));
            } else {
                store(su[s], u);
                store(sv[s], v);
            }
            if (sampler.needsLod) {
                const F4 dudx = (splat(ddx[2 + t]) - u * splat(ddx[1])) * w, dvdx = (splat(ddx[3 + t]) - v * splat(ddx[1])) * w;
                const F4 dudy = (splat(ddy[2 + t]) - u * splat(ddy[1])) * w, dvdy = (splat(ddy[3 + t]) - v * splat(ddy[1])) * w;
                const F4 bw = splat(sampler.baseWidth), bh = splat(sampler.baseHeight);
                const F4 ax = dudx * bw, bx = dvdx * bh, ay = dudy * bw, by = dvdy * bh;
                const F4 lx = ax * ax + bx * bx, ly = ay * ay + by * by;
                const F4 lod = splat(0.5f) * log2Approx(max(lx, ly)) + splat(sampler.lodBias);
                store(slod[s], lod);
                if (kind == SampleKind::TrilinearWrapPow2) { // whole levels and the blend weight (used when lod > 0)
                    const F4 clamped = min(lod, splat(30.0f));
                    const I4 whole = truncate(clamped);
                    store(swhole[s], whole);
                    store(sf[s], truncate((clamped - toFloat(whole)) * splat(256.0f)));
                }
            } else {
                store(slod[s], splat(0.0f));
            }
        }

        for (int k = 0; k < liveCount; ++k) {
            const int j = live[k];
            const int x = group + j;
            // Arguments by ArgSource: current, diffuse, texture, factor, specular.
            uint32_t in[5] = {diffuse[j], diffuse[j], 0xFFFFFFFFu, pp.factorArgb, spec[j]};
            for (int s = 0; s < stageCount; ++s) {
                const StageState& stage = state.stages[s];
                in[2] = 0xFFFFFFFFu;
                if (pp.samples[s]) {
                    const StageSampler& sampler = pp.samplers[s];
                    switch (pp.sampleKinds[s]) {
                    case SampleKind::PointWrapPow2: {
                        const SamplerLevel& level = sampler.levels[sampler.base];
                        int tx = sx[s][j], ty = sy[s][j];
                        tx = tx < level.width ? (tx < 0 ? 0 : tx) : level.width - 1;
                        ty = ty < level.height ? (ty < 0 ? 0 : ty) : level.height - 1;
                        in[2] = level.texels[static_cast<size_t>(ty) * level.width + tx];
                        break;
                    }
                    case SampleKind::TrilinearWrapPow2: {
                        const int last = sampler.levelCount - 1, level = sampler.base + swhole[s][j];
                        if (!(slod[s][j] > 0.0f))
                            in[2] = detail::sampleLinear(sampler, sampler.levels[sampler.base], su[s][j], sv[s][j]);
                        else if (level >= last)
                            in[2] = detail::sampleLinear(sampler, sampler.levels[last], su[s][j], sv[s][j]);
                        else
                            in[2] = detail::trilinearFixed(sampler.levels[level], sampler.levels[level + 1], swhole[s][j],
                                                           sx[s][j], sy[s][j], static_cast<uint32_t>(sf[s][j]));
                        break;
                    }
                    default: in[2] = sampleStage(sampler, pp.sampleKinds[s], su[s][j], sv[s][j], slod[s][j]); break;
                    }
                }
                const uint32_t rgb = operatePacked(stage.colorOp, in[static_cast<int>(stage.colorArg1.source)],
                                                   in[static_cast<int>(stage.colorArg2.source)]);
                uint32_t alpha = in[0];
                if (stage.alphaOp != TextureOp::Disable)
                    alpha = operatePacked(stage.alphaOp, in[static_cast<int>(stage.alphaArg1.source)],
                                          in[static_cast<int>(stage.alphaArg2.source)]);
                in[0] = (rgb & 0x00FFFFFFu) | (alpha & 0xFF000000u);
            }
            uint32_t c = in[0];
            if (addSpecular) c = (addPacked(c, in[4]) & 0x00FFFFFFu) | (c & 0xFF000000u);
            if (fog) c = (lerpPacked(pp.fogArgb, c, fog256[j]) & 0x00FFFFFFu) | (c & 0xFF000000u);
            if (alphaTest && !passes(alphaFunc, c >> 24, alphaRef)) continue;
            if (pp.depthWrite) writeDepth(depthFormat, depthRow + static_cast<size_t>(x) * depthBytes, z[j]);
            if (blend) c = blendSourceAlpha(c, opaqueTarget ? colorRow[x] | 0xFF000000u : colorRow[x]);
            colorRow[x] = opaqueTarget ? c | 0xFF000000u : c;
        }
    }
}

} // namespace pipeline
