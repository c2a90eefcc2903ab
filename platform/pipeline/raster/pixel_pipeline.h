#pragma once
// Everything between an interpolated fragment and a written pixel: sampling, stages, fog, tests, blending.
#include "pipeline/render_target.h"
#include "texture/sampler.h"
#include "pipeline/states.h"
#include "geometry/varyings.h"

namespace pipeline {

// The sampling code a stage runs: specialised for the common wrapped power-of-two cases.
enum class SampleKind : uint8_t { White, Generic, PointWrapPow2, LinearWrapPow2, TrilinearWrapPow2 };

// Pixel state prepared once per draw.
struct PixelPipeline {
    const PixelState* state = nullptr;
    VaryingLayout varyings;
    int stageCount = 0;                 // stages before the first disabled colour op
    StageSampler samplers[8];
    bool samples[8] = {};               // the stage reads a usable texture
    SampleKind sampleKinds[8] = {};     // how each stage samples (packed path)
    int texVarying[8] = {};             // offset of the stage's u, v in the varyings
    ColorFormat colorFormat = ColorFormat::X8R8G8B8;
    uint8_t* color = nullptr;
    int colorPitch = 0;
    uint32_t writeBits = 0;             // raw bits the colour-write mask lets through
    DepthFormat depthFormat = DepthFormat::None;
    uint8_t* depth = nullptr;
    int depthPitch = 0;
    bool depthTest = false, depthWrite = false;
    bool packed = false;                // the state fits the 8-bit integer path (see shadeRowsPacked)
    uint32_t factorArgb = 0, fogArgb = 0;
};

// Does the stage read its texture (an argument or a blend weight)?
bool readsTexture(const StageState& stage);

// Decodes the textures the stages sample; with `keep`, the decoded levels are appended to it.
PixelPipeline preparePixels(const PixelState& state, const VaryingLayout& varyings, RenderTarget& target,
                            std::vector<std::shared_ptr<const DecodedLevel>>* keep = nullptr);


// Pixels left..right (inclusive) of row y.
struct SpanRow {
    int y, left, right;
};

// Shades rows of one primitive whose interpolants at pixel (x, y) are plane + ddx (x - refX) + ddy (y - refY).
void shadeRows(const PixelPipeline& pp, const SpanRow* rows, int rowCount, const float* plane, const float* ddx,
               const float* ddy, float refX, float refY);

// Shades pixels x0..x1 (inclusive) of row y. base holds the interpolants at x0, ddx their change per
// pixel along the row, ddy per row (used for mip selection only).
void shadeSpan(const PixelPipeline& pp, int y, int x0, int x1, const float* base, const float* ddx, const float* ddy);

} // namespace pipeline
