#pragma once
// The pixel state of a draw as its shading reads it, prepared once per draw, and the rows it shades.
#include "geometry/varyings.h"
#include "pipeline/render_target.h"
#include "pipeline/states.h"
#include "texture/sampler.h"

namespace pipeline {

// The sampling code a stage runs: specialised for the common wrapped power-of-two cases.
enum class SampleKind : uint8_t { White, Generic, PointWrapPow2, LinearWrapPow2, MinMagWrapPow2, TrilinearWrapPow2 };

// Pixel state prepared once per draw.
struct PixelPipeline {
    const PixelState* state = nullptr;
    VaryingLayout varyings;
    int stageCount = 0;                 // stages before the first disabled colour op
    StageSampler samplers[kMaxStages];
    bool samples[kMaxStages] = {};            // the stage reads a usable texture
    SampleKind sampleKinds[kMaxStages] = {};  // how each stage samples (packed path)
    int texVarying[kMaxStages] = {};          // offset of the stage's u, v in the varyings
    ColorFormat colorFormat = ColorFormat::X8R8G8B8;
    uint8_t* color = nullptr;
    int colorPitch = 0;
    uint32_t writeBits = 0;             // raw bits the colour-write mask lets through
    DepthFormat depthFormat = DepthFormat::None;
    uint8_t* depth = nullptr;
    int depthPitch = 0;
    bool depthTest = false, depthWrite = false;
    bool packed = false;                // the draw fits the 8-bit integer path (see FitsPackedPath)
    uint32_t factorArgb = 0, fogArgb = 0;
};

// Pixels left..right (inclusive) of row y.
struct SpanRow {
    int y, left, right;
};

}  // namespace pipeline
