// The first stage of a text mesh: the glyph outlines of a logical font's face, as gdi gives them,
// flattened into contours (text_mesh_parts.h).
#pragma once

#include <string>
#include <vector>

#include "d3dx9/text_mesh_parts.h"
#include "windows.h"

namespace d3dx9::text {

// The outlines of each character (code page 1252) of the text in the logical font's face (gdi's glyph
// outlines), laid out along the baseline, with the curves flattened to within `deviation` em (0: one
// design unit) and the em square scaled to 1. False when the face cannot be loaded or has no outlines.
bool LoadOutlines(const LOGFONTA& logFont, const std::string& text, double deviation,
                  std::vector<GlyphOutline>& glyphs);

}  // namespace d3dx9::text
