#include "raster/pixel_pipeline.h"

#include <cstring>

#include "raster/combiner.h"
#include "raster/output_merger.h"
#include "raster/packed_span.h"
#include "raster/pixel_ops.h"

namespace pipeline {

bool ReadsTexture(const StageState& s) {
    auto uses = [](const TextureArg& a) { return a.source == ArgSource::Texture; };
    return uses(s.colorArg1) || uses(s.colorArg2) || uses(s.alphaArg1) || uses(s.alphaArg2) ||
           s.colorOp == TextureOp::BlendTextureAlpha || s.alphaOp == TextureOp::BlendTextureAlpha;
}

PixelPipeline PreparePixels(const PixelState& state, const VaryingLayout& varyings, RenderTarget& target,
                            std::vector<std::shared_ptr<const DecodedLevel>>* keep) {
    PixelPipeline pp;
    pp.state = &state;
    pp.varyings = varyings;
    while (pp.stageCount < kMaxStages && state.stages[pp.stageCount].colorOp != TextureOp::Disable) {
        const StageState& stage = state.stages[pp.stageCount];
        const int s = pp.stageCount++;
        const int set = stage.texCoordIndex & 7;
        if (stage.texture && ReadsTexture(stage) && varyings.tex[set] >= 0) {
            pp.samplers[s] = PrepareSampler(stage.texture, stage.sampler, keep);
            pp.samples[s] = pp.samplers[s].levelCount > 0;
            pp.sampleKinds[s] = SampleKindOf(pp.samplers[s]);
            pp.texVarying[s] = varyings.tex[set];
        }
    }
    pp.colorFormat = target.color.format;
    pp.color = target.color.data;
    pp.colorPitch = target.color.pitch;
    pp.writeBits = ChannelBits(pp.colorFormat, state.colorWriteMask);
    const DepthSurface& d = target.depth;
    if (state.depth.enable && d.data && d.format != DepthFormat::None) {
        pp.depthFormat = d.format;
        pp.depth = d.data;
        pp.depthPitch = d.pitch;
        pp.depthTest = true;
        pp.depthWrite = state.depth.write;
    }
    pp.packed = FitsPackedPath(pp, state);
    pp.factorArgb = ColorToArgb(state.textureFactor);
    pp.fogArgb = ColorToArgb(state.fogColor);
    return pp;
}

void ShadeRows(const PixelPipeline& pp, const SpanRow* rows, int rowCount, const float* plane, const float* ddx,
               const float* ddy, float refX, float refY) {
    if (pp.packed) {
        ShadeRowsPacked(pp, rows, rowCount, plane, ddx, ddy, refX, refY);
        return;
    }
    const int n = pp.varyings.count + 2;
    float base[kMaxInterpolants];
    for (int r = 0; r < rowCount; ++r) {
        const float fx = static_cast<float>(rows[r].left) - refX, fy = static_cast<float>(rows[r].y) - refY;
        for (int k = 0; k < n; ++k) base[k] = plane[k] + ddx[k] * fx + ddy[k] * fy;
        ShadeSpan(pp, rows[r].y, rows[r].left, rows[r].right, base, ddx, ddy);
    }
}

void ShadeSpan(const PixelPipeline& pp, int y, int x0, int x1, const float* base, const float* ddx, const float* ddy) {
    if (pp.packed) {
        const SpanRow row{y, x0, x1};
        ShadeRowsPacked(pp, &row, 1, base, ddx, ddy, static_cast<float>(x0), static_cast<float>(y));
        return;
    }
    const PixelState& state = *pp.state;
    const VaryingLayout& vl = pp.varyings;
    const int n = vl.count;
    const int bpp = BytesPerPixel(pp.colorFormat);
    uint8_t* colorRow = pp.color + static_cast<size_t>(y) * pp.colorPitch;
    uint8_t* depthRow = pp.depth ? pp.depth + static_cast<size_t>(y) * pp.depthPitch : nullptr;
    const int depthBytes = BytesPerPixel(pp.depthFormat);
    const uint32_t alphaRef = state.alphaTest.reference;
    const bool fullMask = pp.writeBits == ChannelBits(pp.colorFormat, 0xF);
    for (int x = x0; x <= x1; ++x) {
        const float i = static_cast<float>(x - x0);
        uint32_t z = 0;
        uint8_t* depthPixel = nullptr;
        if (pp.depthTest) {
            depthPixel = depthRow + static_cast<size_t>(x) * depthBytes;
            z = PackDepth(pp.depthFormat, base[0] + ddx[0] * i);
            if (!Passes(state.depth.func, z, ReadDepth(pp.depthFormat, depthPixel))) continue;
        }
        const float q = base[1] + ddx[1] * i;
        const float w = 1.0f / q;
        float v[kMaxVaryings];
        for (int k = 0; k < n; ++k) v[k] = (base[2 + k] + ddx[2 + k] * i) * w;

        StageInputs in;
        in.diffuse = {v[0], v[1], v[2], v[3]};
        if (vl.specular >= 0) in.specular = {v[vl.specular], v[vl.specular + 1], v[vl.specular + 2], v[vl.specular + 3]};
        in.factor = state.textureFactor;
        in.current = in.diffuse;
        for (int s = 0; s < pp.stageCount; ++s) {
            if (pp.samples[s]) {
                const StageSampler& sampler = pp.samplers[s];
                const int t = pp.texVarying[s];
                const float u = v[t], tv = v[t + 1];
                float lod = 0.0f;
                if (sampler.needsLod) {
                    const float dudx = (ddx[2 + t] - u * ddx[1]) * w, dvdx = (ddx[3 + t] - tv * ddx[1]) * w;
                    const float dudy = (ddy[2 + t] - u * ddy[1]) * w, dvdy = (ddy[3 + t] - tv * ddy[1]) * w;
                    lod = MipLod(sampler, dudx, dvdx, dudy, dvdy);
                }
                in.texture = ArgbToColor(SampleTexture(sampler, u, tv, lod));
            } else {
                in.texture = {1, 1, 1, 1};
            }
            in.current = RunStage(state.stages[s], in);
        }
        Color c = in.current;
        if (state.specular && vl.specular >= 0) {
            c.r += in.specular.r;
            c.g += in.specular.g;
            c.b += in.specular.b;
        }
        if (state.fog && vl.fog >= 0) {
            const float f = detail::Clamp01(v[vl.fog]);
            c.r = f * detail::Clamp01(c.r) + (1 - f) * state.fogColor.r;
            c.g = f * detail::Clamp01(c.g) + (1 - f) * state.fogColor.g;
            c.b = f * detail::Clamp01(c.b) + (1 - f) * state.fogColor.b;
        }
        if (state.alphaTest.enable && !Passes(state.alphaTest.func, ToByte(c.a), alphaRef)) continue;
        if (pp.depthWrite) WriteDepth(pp.depthFormat, depthPixel, z);

        uint8_t* pixel = colorRow + static_cast<size_t>(x) * bpp;
        uint32_t old = 0;
        if (state.blend.enable || !fullMask) {
            if (bpp == 4)
                std::memcpy(&old, pixel, 4);
            else
                old = static_cast<uint32_t>(pixel[0] | pixel[1] << 8);
        }
        if (state.blend.enable) c = BlendColors(state.blend, c, UnpackColor(pp.colorFormat, old));
        uint32_t raw = FromArgb8(pp.colorFormat, ColorToArgb(c));
        if (!fullMask) raw = (raw & pp.writeBits) | (old & ~pp.writeBits);
        if (bpp == 4) {
            std::memcpy(pixel, &raw, 4);
        } else {
            pixel[0] = static_cast<uint8_t>(raw);
            pixel[1] = static_cast<uint8_t>(raw >> 8);
        }
    }
}

}  // namespace pipeline
