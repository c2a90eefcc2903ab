// The device's state as the pipeline takes it: transforms, lights and fog for the vertices; texture
// stages, samplers, tests and blending for the pixels.
#pragma once

#include "device_state.h"
#include "pipeline/states.h"

namespace d3d9 {

struct DrawStates {
    pipeline::VertexState vertex;
    pipeline::PixelState pixel;
};

// Converts the state for a draw into a target with or without a depth buffer. False when the state asks
// for what the pipeline does not draw (the device's caps leave it out): stencil, vertex blending, table
// fog, w-buffering, separate alpha blending, the blend factor, texture transforms and generated texture
// coordinates, the stage operations and arguments it has not, more than eight lights. Only the stages
// up to the first disabled one count.
bool ConvertStates(const DeviceState& state, bool hasDepth, DrawStates& out);

}  // namespace d3d9
