// Font objects behind their handles, and fonts realised at a size: the face fontconfig matched for the
// logical font, its metrics in pixels and its glyphs' coverage.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdi/objects.h"

namespace gdi {

struct Font : GdiObject {
    LOGFONTA logFont{};
    std::vector<HDC> selectedInto;  // contexts it was selected into (some may have moved on since)
};

// One glyph as drawn: coverage 0..255 a pixel (0 or 255 only for two-level fonts), placed relative to
// the pen on the baseline.
struct GlyphBitmap {
    int advance = 0;        // pixels the pen moves on
    int left = 0, top = 0;  // the bitmap's top-left: pixels right of the pen, rows above the baseline
    int width = 0, height = 0;
    std::vector<uint8_t> coverage;  // width x height, rows top-down
};

// Metrics in pixels; the cell height is ascent + descent.
struct FaceMetrics {
    int ascent = 0, descent = 0;
    int internalLeading = 0, externalLeading = 0;
    int averageWidth = 0, maxWidth = 0;
    int underlineOffset = 0, underlineThickness = 1;  // top row of the underline below the baseline
    int strikeoutOffset = 0, strikeoutThickness = 1;  // top row of the strike-out line above the baseline
    int weight = FW_NORMAL;
    bool italic = false, underline = false, strikeOut = false;
    bool fixedPitch = false;
    std::string family;  // the face actually used
};

class RealisedFont {
public:
    virtual ~RealisedFont() = default;
    virtual const FaceMetrics& Metrics() const = 0;
    // The glyph of a character of the ANSI code page (1252).
    virtual const GlyphBitmap& Glyph(unsigned char character) = 0;
};

// The logical font at its size: the face fontconfig gives for the name (substituting a missing one),
// synthetic bold and italic when the face has no such style. Null only when no scalable face can be
// loaded at all. Realised fonts are cached.
std::shared_ptr<RealisedFont> Realise(const LOGFONTA& logFont);

// The installed face fontconfig gives for a logical font: the named family, or the closest substitute.
struct MatchedFace {
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false;    // the face itself is bold (no emboldening needed)
    bool italic = false;  // the face itself is italic or oblique (no shear needed)
};
bool MatchFace(const LOGFONTA& logFont, MatchedFace& face);

// The font a context starts with (a stock object: never deleted).
HGDIOBJ DefaultFont();
// The font selected into a context (its default font when none was selected or it has gone).
std::shared_ptr<Font> SelectedFont(const DeviceContext& dc);
// The selected font realised; null (with the last error set) when no face can be loaded.
std::shared_ptr<RealisedFont> RealisedFontOf(const DeviceContext& dc);
// SelectObject for a font: answers the previous font.
HGDIOBJ SelectFontInto(DeviceContext& dc, HDC hdc, HGDIOBJ handle, Font& font);
// Whether a live context still has the font selected (it cannot be deleted then).
bool FontInUse(HGDIOBJ handle, Font& font);

}  // namespace gdi
