#pragma once
// The vertex stage: reads vertices, transforms, lights and fogs them into clip-space vertices.
#include "pipeline/draw_call.h"
#include "geometry/lighting.h"
#include "pipeline/render_target.h"
#include "geometry/varyings.h"

namespace pipeline {

// What the vertex stage needs, prepared once per draw.
struct VertexSetup {
    const VertexState* state = nullptr;
    VertexLayout layout;
    const uint8_t* vertices = nullptr;
    VaryingLayout varyings;
    ClipSpace clip;
    Mat4 worldView, projection, normalMatrix;
    LightingSetup lighting;
};

// Guard band beyond the viewport, in pixels: keeps the rasteriser's fixed-point math small.
constexpr float kGuardBand = 8192.0f;

VertexSetup PrepareVertexStage(const DrawCall& call, const VertexState& state, const VaryingLayout& varyings,
                               const Viewport& viewport);

// Processes vertices [first, first + count) of the stream into out[0 .. count).
void ProcessVertices(const VertexSetup& setup, int first, int count, ClipVertex* out);

}  // namespace pipeline
