// How the pipeline finds the attributes of a vertex of a flexible vertex format.
#pragma once

#include <optional>

#include "d3d9.h"
#include "pipeline/vertex_layout.h"

namespace d3d9 {

// The layout of an FVF vertex read with the given stride; none when the format is not valid, has no
// position the fixed-function pipeline can use (XYZW, or no position at all), has one-dimensional
// texture coordinates, or when the stride is smaller than one vertex.
// Blend weights and the point size are stepped over: vertex blending and point sizes are not drawn.
std::optional<pipeline::VertexLayout> PipelineLayoutOfFvf(DWORD fvf, UINT stride);

}  // namespace d3d9
