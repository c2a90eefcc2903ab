// The FreeType library gdi loads every face with (kept with the realised fonts, glyphs.cpp).
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gdi {

// Null when FreeType could not be started.
FT_Library FreeTypeLibrary();

}  // namespace gdi
