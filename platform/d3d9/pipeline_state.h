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

// The two halves of ConvertStates, for a device that keeps the converted state and converts again only
// the half whose device state changed: the vertex half reads the render states, transforms, material
// and lights; the pixel half the render states, texture stages, samplers and textures.
bool ConvertVertexStates(const DeviceState& state, pipeline::VertexState& out, std::string* refused = nullptr);
bool ConvertPixelStates(const DeviceState& state, bool hasDepth, pipeline::PixelState& out,
                        std::string* refused = nullptr);
// What a converted pixel state takes from the bound textures themselves, brought up to date for a draw:
// their levels (a lock changes them) and the level of detail a managed texture sets.
void RefreshTextures(const DeviceState& state, pipeline::PixelState& out);

}  // namespace d3d9
