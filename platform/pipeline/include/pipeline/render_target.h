#pragma once
// Where a draw lands: a colour surface, an optional depth surface, the viewport and the scissor.
#include <cstdint>

#include "pipeline/formats.h"

namespace pipeline {

class DrawQueue;

// A rectangle in pixels; right and bottom are exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ColorSurface {
    ColorFormat format = ColorFormat::X8R8G8B8;  // layout of one pixel
    int width = 0, height = 0;                   // size in pixels
    int pitch = 0;                               // bytes from one row to the next
    uint8_t* data = nullptr;                     // first byte of row 0; null: nothing is drawn
};

struct DepthSurface {
    DepthFormat format = DepthFormat::None;  // None or null data: no depth buffer
    int width = 0, height = 0;               // size in pixels
    int pitch = 0;                           // bytes from one row to the next
    uint8_t* data = nullptr;                 // first byte of row 0
};

struct Viewport {
    int x = 0, y = 0;           // top-left corner in pixels
    int width = 0, height = 0;  // size in pixels
    float minZ = 0, maxZ = 1;   // depth range the clip-space 0..1 maps to
};

struct RenderTarget {
    ColorSurface color;           // the pixels drawn
    DepthSurface depth;           // the depth (and stencil) buffer, optional
    Viewport viewport;            // mapping of clip space, and the area drawn and cleared
    bool scissorEnabled = false;  // also limit drawing and clearing to scissor
    Rect scissor;                 // the scissor rectangle
    DrawQueue* queue = nullptr;   // where draws and clears wait for the workers; null: done at the call
};

// The pixels a draw or clear may touch: viewport, scissor and both surfaces intersected.
Rect DrawableArea(const RenderTarget& target);

}  // namespace pipeline
