#pragma once
// Primitive set-up: screen mapping, culling, fixed-point edges, attribute planes, binning into bands.
#include <cstdint>
#include <vector>

#include "pipeline/render_target.h"
#include "pipeline/states.h"
#include "geometry/varyings.h"

namespace pipeline {

// Sub-pixel precision of the rasteriser: positions snap to 1/256 pixel.
constexpr int kSubPixelBits = 8;
constexpr int64_t kSubPixel = 1 << kSubPixelBits;

// A vertex on the screen with its interpolants: depth, q = 1/w and the varyings times q.
struct ScreenVertex {
    float x = 0, y = 0;
    int64_t fx = 0, fy = 0;  // snapped position in 1/256 pixel
    float values[kMaxInterpolants];
};

// Maps a clipped vertex to the screen; false when the result is not usable (not finite, w <= 0).
bool ToScreen(const ClipSpace& space, const ClipVertex& in, int varyingCount, ScreenVertex& out);

// Twice the signed area in fixed-point units: positive is clockwise on the screen (y down).
int64_t SignedArea(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);

// A triangle ready to rasterise. Pixel (X, Y) is inside when a[i] X + b[i] Y + c[i] >= 0 for the three
// edges (the top-left rule is folded into c). Planes: interpolants at (refX, refY), then their x and y steps.
struct TriangleRecord {
    int minX, maxX, minY, maxY;
    int64_t a[3], b[3], c[3];
    float refX, refY;
    uint32_t planes;  // offset into PrimitiveList::data: 3 x interpolant count floats
};

struct LineRecord {
    float x0, y0, x1, y1;
    uint32_t values;  // offset into data: interpolants at both ends
};

struct PointRecord {
    int x, y;
    uint32_t values;  // offset into data: interpolants
};

// The primitives one set-up task produced, in submission order, with per-band index lists.
struct alignas(64) PrimitiveList {  // aligned: set-up tasks fill neighbouring lists at once
    std::vector<TriangleRecord> triangles;
    std::vector<LineRecord> lines;
    std::vector<PointRecord> points;
    std::vector<float> data;
    std::vector<std::vector<uint32_t>> bins;  // per band: indices of the records touching it
    int firstBand = 0, lastBand = -1;         // the bins holding any index (none when last < first)
    int64_t coveredArea = 0;                  // sum of bounding-box areas, to size the raster work
    void Reset(int bandCount);
};

struct SetupContext {
    Rect area;             // pixels that may be drawn
    int interpolants = 0;  // depth, q and the varyings
    CullMode cull = CullMode::None;
    bool lastPixel = true;
    int bandTop = 0;       // first row of band 0
    int bandHeight = 1;    // rows per band
};

// Culls by winding, rejects degenerate triangles, and appends the record; false when nothing was added.
bool SetupTriangle(const SetupContext& ctx, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                   PrimitiveList& out);
void SetupLine(const SetupContext& ctx, const ScreenVertex& a, const ScreenVertex& b, PrimitiveList& out);
void SetupPoint(const SetupContext& ctx, const ScreenVertex& a, PrimitiveList& out);

}  // namespace pipeline
