// The device's state as the pipeline takes it: transforms, lights and fog for the vertices; texture
// stages, samplers, tests and blending for the pixels.
#pragma once

#include <string>

#include "device_state.h"
#include "pipeline/states.h"

namespace d3d9 {

struct DrawStates {
    pipeline::VertexState vertex;
    pipeline::PixelState pixel;
};

// Converts the state for a draw into a target with or without a depth buffer. False when the state asks
// for what the pipeline does not draw (the device's caps leave it out, see drawn_states.h): stencil,
// vertex blending, table fog, w-buffering, separate alpha blending, texture transforms and generated
// texture coordinates, the operations, arguments, factors and address modes the tables refuse, more
// than eight lights; `refused`, when given, then names the state. Only the stages up to the first
// disabled one count.
bool ConvertStates(const DeviceState& state, bool hasDepth, DrawStates& out, std::string* refused = nullptr);

}  // namespace d3d9
