#pragma once
// The 8-bit integer pixel path: draws whose stages select, modulate and add, that blend with source
// alpha or not at all, into 32-bit targets. Colours stay packed 0xAARRGGBB from sampler to target.
#include "raster/prepared_pixels.h"

namespace pipeline {

// Can the packed path shade this draw? Its state must select, modulate and add with plain arguments,
// blend with source alpha or not at all, write every channel of a 32-bit target on 4-byte rows. Called
// once the target fields of `pp` are set.
bool FitsPackedPath(const PixelPipeline& pp, const PixelState& state);

// How a stage samples, chosen once per draw.
SampleKind SampleKindOf(const StageSampler& sampler);

// ShadeRows for a pipeline whose `packed` is set.
void ShadeRowsPacked(const PixelPipeline& pp, const SpanRow* rows, int rowCount, const float* plane, const float* ddx,
                     const float* ddy, float refX, float refY);

}  // namespace pipeline
