// The stages of a text mesh, as plain data: glyph outlines flattened into closed contours (in em
// units), and the triangles that fill them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace d3dx9::text {

struct Point {
    double x = 0, y = 0;
};
// A closed polygon: the last point joins the first (and is not repeated); no two neighbours equal.
using Contour = std::vector<Point>;

struct GlyphOutline {
    std::vector<Contour> contours;  // placed at the glyph's origin on the pen
    double originX = 0;             // where the pen stood
    double advance = 0;             // how far the pen moves on
};

// The outline of the region the contours fill by the nonzero winding rule, as loops that neither cross
// nor overlap (overlapping contours merged, crossings cut): outer loops counter-clockwise with y up,
// holes clockwise. False when the tessellator fails.
bool Boundaries(const std::vector<Contour>& contours, std::vector<Contour>& boundaries);

// Fills the contours by the nonzero winding rule: triangles (three indices into `points`, which
// receives the contours' points first, in order, then any point the filling had to add), clockwise
// when seen with x to the right and y up. False when the tessellator fails.
bool Triangulate(const std::vector<Contour>& contours, std::vector<Point>& points, std::vector<uint32_t>& triangles);

}  // namespace d3dx9::text
