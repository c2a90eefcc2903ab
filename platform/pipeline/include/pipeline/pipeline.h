#pragma once
// The fixed-function pipeline: plain structures in, pixels out. Knows nothing of any graphics API.
#include <cstdint>

#include "pipeline/draw_call.h"
#include "pipeline/draw_queue.h"
#include "pipeline/formats.h"
#include "pipeline/limits.h"
#include "pipeline/render_target.h"
#include "pipeline/states.h"
#include "pipeline/texture.h"
#include "pipeline/types.h"
#include "pipeline/vertex_layout.h"

namespace pipeline {

// Draws the primitives of `call` into `target`. Invalid input (null or short buffers, indices out of
// range, NaN or infinite positions) drops the primitives concerned; nothing outside the target's
// drawable area (viewport, scissor, surfaces) is ever written, nothing outside the given buffers read.
// With more than one thread and a queue in the target, draws and clears wait in that queue: the
// vertices, the states and the textures' contents are taken at the call, but the target's pixels are
// only written when the queue runs (see DrawQueue); the caller flushes it before it reads or writes
// the target's memory itself or frees it. A texture drawn into through one queue is sampled through
// the same queue (or flushed first).
void Draw(const DrawCall& call, const VertexState& vertexState, const PixelState& pixelState, RenderTarget& target);

enum ClearFlags : uint32_t { kClearColor = 1, kClearDepth = 2, kClearStencil = 4 };

// Clears the rectangles (all of the viewport when rectCount is 0), within the viewport and scissor.
// argb is 0xAARRGGBB; z 0..1; the stencil only exists in D24S8. Queued like draws (see Draw).
void Clear(RenderTarget& target, const Rect* rects, int rectCount, uint32_t flags, uint32_t argb, float z,
           uint32_t stencil);

// Runs the queued draws and clears of `target`, if its queue holds work for it (call before reading or
// writing its memory).
void Flush(const RenderTarget& target);

// Threads used by draws that do not ask for a number: 0 means all hardware threads, 1 the
// single-threaded reference path. Both give bit-identical pixels.
void SetThreadCount(int threads);
int ThreadCount();

}  // namespace pipeline
