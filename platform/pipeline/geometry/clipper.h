#pragma once
// Homogeneous clipping of triangles and lines against the planes of a ClipSpace.
#include "geometry/varyings.h"

namespace pipeline {

constexpr int kMaxClipPolygon = 3 + kClipPlaneCount;

// Clips triangle (a, b, c) against the planes its vertices' clip codes name. Returns the number of
// polygon vertices written to out (0 when nothing remains or a vertex is not finite).
// Edges are always interpolated from their inside end, so triangles sharing an edge clip it alike.
int ClipTriangle(const ClipSpace& space, int varyingCount, const ClipVertex& a, const ClipVertex& b,
                 const ClipVertex& c, ClipVertex out[kMaxClipPolygon]);

// Clips segment (a, b); false when nothing remains.
bool ClipLine(const ClipSpace& space, int varyingCount, const ClipVertex& a, const ClipVertex& b, ClipVertex& outA,
              ClipVertex& outB);

}  // namespace pipeline
