#pragma once
// What the pipeline draws at most: the sizes of its state arrays and the bounds its users check a draw
// against before handing it over. The device's caps report these numbers.

namespace pipeline {

constexpr int kMaxLights = 8;                 // lights enabled at once (VertexState::lights)
constexpr int kMaxStages = 8;                 // texture stages in the cascade (PixelState::stages)
constexpr int kMaxTexCoordSets = 8;           // texture-coordinate sets of a vertex (VertexLayout)
constexpr int kMaxTextureSize = 2048;         // width and height of a texture offered to programs
constexpr int kMaxSurfaceSize = 16384;        // width and height of a surface or a texture level sampled
constexpr int kMaxPrimitiveCount = 0xFFFFFF;  // primitives of one draw: their vertex counts fit an int

}  // namespace pipeline
