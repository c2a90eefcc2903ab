#pragma once
// Rasterisation of set-up primitives into the rows of one band.
#include "raster/pixel_pipeline.h"
#include "geometry/setup.h"

namespace pipeline {

// Draws the primitives of `list` binned into `band`, restricted to rows [top, bottom) and to `area`.
// Every row is computed from the primitive alone, so any split into bands gives the same pixels.
void RasterizeBand(const PixelPipeline& pp, const SetupContext& ctx, const PrimitiveList& list, int band, int top,
                   int bottom);

}  // namespace pipeline
