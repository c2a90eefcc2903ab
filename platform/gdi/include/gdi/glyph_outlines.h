// Glyph outlines, in the role of the platform's glyph-outline call with native outlines: the curves of
// the glyphs of a logical font's face as the face defines them, unhinted and in its design units, for
// callers that build geometry from text (D3DX's text meshes).
#pragma once

#include <string>
#include <vector>

#include "windows.h"

namespace gdi {

struct OutlinePoint {
    double x = 0, y = 0;  // design units, y up
};

// One piece of a contour, from where the piece before it ended: a line, or a quadratic or cubic
// Bézier curve through its control points.
struct OutlineCurve {
    enum class Kind { Line, Quadratic, Cubic };
    Kind kind = Kind::Line;
    OutlinePoint control[2];  // Quadratic: control[0]; Cubic: both
    OutlinePoint to;
};

// A closed contour: its last piece ends where it starts.
struct OutlineContour {
    OutlinePoint start;
    std::vector<OutlineCurve> curves;
};

struct GlyphShape {
    std::vector<OutlineContour> contours;  // relative to the glyph's origin on the pen
    double advance = 0;                    // design units the pen moves on
};

struct TextOutlines {
    double unitsPerEm = 0;           // design units to the em square
    std::vector<GlyphShape> glyphs;  // one a character
};

// The outlines of each character (ANSI code page) of `text` in the face matched for the logical font,
// with synthetic bold and italic when the face has no such style (emboldened by 1/24 em, sheared by
// 0.21). The font's size plays no part. False when no face matches, it cannot be loaded or is not
// scalable, or a glyph has no outline.
bool GlyphOutlines(const LOGFONTA& logFont, const std::string& text, TextOutlines& outlines);

}  // namespace gdi
