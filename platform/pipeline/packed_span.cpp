// The 8-bit integer pixel path. Spans are short (a few pixels on detailed meshes), so the work is cut
// per pixel, not per span: the varyings are interpolated four at a time in SSE registers, sampling runs
// code specialised for the stage's filter and addressing, and colours stay packed from sampler to target.
#include "pipeline/packed_span.h"

#include <bit>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "pipeline/output_merger.h"
#include "pipeline/pixel_ops.h"

namespace pipeline {

namespace {

// fastLog2 without branches.
inline float log2Approx(float x) {
    const uint32_t bits = std::bit_cast<uint32_t>(x);
    const float exponent = static_cast<float>(static_cast<int>(bits >> 23) - 128);
    const float m = std::bit_cast<float>((bits & 0x007FFFFFu) | 0x3F800000u);
    float r = exponent + (-0.34484843f * m + 2.02466578f) * m - 0.67487759f;
    r = x < 1e30f ? r : 100.0f;
    return x > 1e-30f ? r : -100.0f;
}

inline uint32_t sampleStage(const StageSampler& s, SampleKind kind, float u, float v, float lod) {
    switch (kind) {
    case SampleKind::PointWrapPow2: {
        const SamplerLevel& level = s.levels[s.base];
        u = detail::sanitize(u);
        v = detail::sanitize(v);
        int x = static_cast<int>(detail::fraction(u) * static_cast<float>(level.width));
        int y = static_cast<int>(detail::fraction(v) * static_cast<float>(level.height));
        x = x < level.width ? (x < 0 ? 0 : x) : level.width - 1;
        y = y < level.height ? (y < 0 ? 0 : y) : level.height - 1;
        return level.texels[static_cast<size_t>(y) * level.width + x];
    }
    case SampleKind::LinearWrapPow2:
        return detail::sampleLinear(s, s.levels[s.base], detail::sanitize(u), detail::sanitize(v));
    case SampleKind::TrilinearWrapPow2: {
        const SamplerLevel& top = s.levels[s.base];
        u = detail::sanitize(u);
        v = detail::sanitize(v);
        if (!(lod > 0.0f)) return detail::sampleLinear(s, top, u, v);
        if (lod > 30.0f) lod = 30.0f;
        const int whole = static_cast<int>(lod);
        const int level = s.base + whole, last = s.levelCount - 1;
        if (level >= last) return detail::sampleLinear(s, s.levels[last], u, v);
        const uint32_t f = static_cast<uint32_t>((lod - static_cast<float>(whole)) * 256.0f);
        const int x256 = static_cast<int>(detail::fraction(u) * static_cast<float>(top.width * 256));
        const int y256 = static_cast<int>(detail::fraction(v) * static_cast<float>(top.height * 256));
        return detail::trilinearFixed(s.levels[level], s.levels[level + 1], whole, x256, y256, f);
    }
    case SampleKind::Generic: return sampleTexture(s, u, v, lod);
    case SampleKind::White: break;
    }
    return 0xFFFFFFFFu;
}

// Four colour values 0..1 (r, g, b, a) as 0xAARRGGBB, each channel as toByte makes it.
#if PIPELINE_SSE2
inline uint32_t argbOf(__m128 rgba) {
    // max first: it answers its second operand for NaN, so NaN reads 0 as in toByte.
    const __m128 v = _mm_min_ps(_mm_max_ps(rgba, _mm_setzero_ps()), _mm_set1_ps(1.0f));
    __m128i i = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(v, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f)));
    i = _mm_shuffle_epi32(i, _MM_SHUFFLE(3, 0, 1, 2)); // b, g, r, a in memory order
    i = _mm_packs_epi32(i, i);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(i, i)));
}
#endif
inline uint32_t argbOf(const float* rgba) {
#if PIPELINE_SSE2
    return argbOf(_mm_loadu_ps(rgba));
#else
    return toByte(rgba[3]) << 24 | toByte(rgba[0]) << 16 | toByte(rgba[1]) << 8 | toByte(rgba[2]);
#endif
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

    // The varyings and their steps, padded to whole groups of four.
    const int groups = (vl.count + 3) / 4;
    alignas(16) float vb[kMaxVaryings + 4], vd[kMaxVaryings + 4];
    for (int k = 0; k < vl.count; ++k) {
        vb[k] = base[2 + k];
        vd[k] = ddx[2 + k];
    }
    for (int k = vl.count; k < 4 * groups; ++k) vb[k] = vd[k] = 0.0f;
    { static std::atomic<long> tested{0}, spans{0}; static struct P { ~P() { if (getenv("ZZ_COUNT")) fprintf(stderr, "tested %ld spans %ld\n", tested.load(), spans.load()); } } p; tested += x1 - x0 + 1; spans++; }

    for (int x = x0; x <= x1; ++x) {
        const float i = static_cast<float>(x - x0);
        uint32_t z = 0;
        uint8_t* depthPixel = nullptr;
        if (pp.depthTest) {
            depthPixel = depthRow + static_cast<size_t>(x) * depthBytes;
            z = packDepth(depthFormat, base[0] + ddx[0] * i);
            if (!passes(depthFunc, z, readDepth(depthFormat, depthPixel))) continue;
        }
        const float w = 1.0f / (base[1] + ddx[1] * i);
        alignas(16) float v[kMaxVaryings + 4];
#if PIPELINE_SSE2
        const __m128 iv = _mm_set1_ps(i), wv = _mm_set1_ps(w);
        for (int g = 0; g < groups; ++g)
            _mm_store_ps(v + 4 * g,
                         _mm_mul_ps(_mm_add_ps(_mm_load_ps(vb + 4 * g), _mm_mul_ps(_mm_load_ps(vd + 4 * g), iv)), wv));
#else
        for (int k = 0; k < 4 * groups; ++k) v[k] = (vb[k] + vd[k] * i) * w;
#endif
        // Arguments by ArgSource: current, diffuse, texture, factor, specular.
        uint32_t in[5];
        in[0] = in[1] = argbOf(v);
        in[2] = 0xFFFFFFFFu;
        in[3] = pp.factorArgb;
        in[4] = specular ? argbOf(v + vl.specular) : 0;
        for (int s = 0; s < stageCount; ++s) {
            const StageState& stage = state.stages[s];
            if (pp.samples[s]) {
                const StageSampler& sampler = pp.samplers[s];
                const int t = pp.texVarying[s];
                const float u = v[t], tv = v[t + 1];
                float lod = 0.0f;
                if (sampler.needsLod) {
                    const float dudx = (ddx[2 + t] - u * ddx[1]) * w, dvdx = (ddx[3 + t] - tv * ddx[1]) * w;
                    const float dudy = (ddy[2 + t] - u * ddy[1]) * w, dvdy = (ddy[3 + t] - tv * ddy[1]) * w;
                    const float ax = dudx * sampler.baseWidth, bx = dvdx * sampler.baseHeight;
                    const float ay = dudy * sampler.baseWidth, by = dvdy * sampler.baseHeight;
                    const float lx = ax * ax + bx * bx, ly = ay * ay + by * by;
                    lod = 0.5f * log2Approx(lx > ly ? lx : ly) + sampler.lodBias;
                }
                in[2] = sampleStage(sampler, pp.sampleKinds[s], u, tv, lod);
            } else {
                in[2] = 0xFFFFFFFFu;
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
        if (fog) {
            const float f = v[vl.fog];
            const uint32_t f256 = static_cast<uint32_t>((f > 0.0f ? (f < 1.0f ? f : 1.0f) : 0.0f) * 256.0f + 0.5f);
            c = (lerpPacked(pp.fogArgb, c, f256) & 0x00FFFFFFu) | (c & 0xFF000000u);
        }
        if (alphaTest && !passes(alphaFunc, c >> 24, alphaRef)) continue;
        if (pp.depthWrite) writeDepth(depthFormat, depthPixel, z);
        if (blend) c = blendSourceAlpha(c, opaqueTarget ? colorRow[x] | 0xFF000000u : colorRow[x]);
        colorRow[x] = opaqueTarget ? c | 0xFF000000u : c;
    }
}

} // namespace pipeline
