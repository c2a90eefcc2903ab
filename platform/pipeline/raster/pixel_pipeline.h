#pragma once
// Everything between an interpolated fragment and a written pixel: sampling, stages, fog, tests, blending.
#include "raster/prepared_pixels.h"

namespace pipeline {

// Does the stage read its texture (an argument or a blend weight)?
bool ReadsTexture(const StageState& stage);

// Decodes the textures the stages sample; with `keep`, the decoded levels are appended to it.
PixelPipeline PreparePixels(const PixelState& state, const VaryingLayout& varyings, RenderTarget& target,
                            std::vector<std::shared_ptr<const DecodedLevel>>* keep = nullptr);

// Shades rows of one primitive whose interpolants at pixel (x, y) are plane + ddx (x - refX) + ddy (y - refY).
void ShadeRows(const PixelPipeline& pp, const SpanRow* rows, int rowCount, const float* plane, const float* ddx,
               const float* ddy, float refX, float refY);

// Shades pixels x0..x1 (inclusive) of row y. base holds the interpolants at x0, ddx their change per
// pixel along the row, ddy per row (used for mip selection only).
void ShadeSpan(const PixelPipeline& pp, int y, int x0, int x1, const float* base, const float* ddx, const float* ddy);

}  // namespace pipeline
