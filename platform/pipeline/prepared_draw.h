#pragma once
// A draw after its set-up, as the rasteriser reads it, and the shading and vertex state it was prepared
// with. Every draw goes through one: an immediate draw rasterises it at once, a queued one waits in the
// queue (queue/draw_queue.h) until the queue runs.
#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/setup.h"
#include "geometry/vertex_stage.h"
#include "pipeline/draw_call.h"
#include "pipeline/render_target.h"
#include "pipeline/states.h"
#include "pipeline/texture.h"
#include "raster/pixel_pipeline.h"

namespace pipeline {

// The pixel state of a draw, prepared once: consecutive queued draws with the same state and the same
// texels share one record, so many small draws do not each copy and prepare it.
struct PixelRecord {
    PixelState state;  // a copy: pixels.state points here
    PixelPipeline pixels;
    std::vector<std::shared_ptr<const DecodedLevel>> textures;  // the decoded levels sampled

    // Copies `source` and prepares it for `target`; with `keep`, the decoded levels are kept here.
    void Prepare(const PixelState& source, const VaryingLayout& varyings, RenderTarget& target, bool keep);
    // Would a draw with `source` into this record's target shade exactly as this record does: the same
    // state, and every texture it samples still the texels prepared?
    bool Matches(const PixelState& source) const;
};

// The vertex state of queued draws that are set up when the queue runs, prepared once and shared
// by consecutive draws the same way.
struct VertexRecord {
    VertexState state;
    VertexSetup setup;  // reads `state`; each draw gives its own layout and vertices
    Viewport viewport;
    VaryingLayout varyings;
    bool pretransformed = false;

    void Prepare(const DrawCall& call, const VertexState& source, const VaryingLayout& varyings,
                 const Viewport& viewport);
    bool Matches(const DrawCall& call, const VertexState& source, const VaryingLayout& varyings,
                 const Viewport& viewport) const;
};

// A draw after set-up, owning everything its rasterisation reads except its pixel record and the
// target's surfaces.
struct PreparedDraw {
    const PixelRecord* record = nullptr;
    SetupContext setup;
    std::vector<PrimitiveList> lists;  // [0, listCount) in use
    int listCount = 0;
    int firstRow = 0, lastRow = -1;  // rows of the bands the primitives were binned into

    // A small queued draw is set up by the workers when the queue runs, from copies of what set-up reads.
    bool setUpLater = false;
    const VertexRecord* vertexRecord = nullptr;
    DrawCall call;  // its vertices and indices point into the copies below
    std::vector<uint8_t> vertexBytes, indexBytes;
    int bandCount = 0;

    // Rasterises the primitives binned into `band`, within rows [top, bottom). The queue skips the
    // bands outside rows firstRow to lastRow without calling it.
    void RasterizeRows(int band, int top, int bottom) const;
};

// Sets up part `part` of a draw queued with setUpLater (each of its lists is one part). A draw of
// one part also finds its rows; one of several keeps the rows of its area. It shares Draw()'s set-up
// (draw.cpp).
void SetUpQueuedDraw(PreparedDraw& draw, int part);

}  // namespace pipeline
