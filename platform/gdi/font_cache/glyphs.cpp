// Fonts realised with FreeType at 96 dots an inch: the size in the platform's sense (a negative height
// is the em size in pixels, a positive one the cell height, ascent plus descent), the metrics in
// pixels, and glyph coverage, grey-level or two-level by the font's quality.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

#include "freetype_library.h"
#include "gdi/fonts.h"

namespace gdi {
namespace {

// Code page 1252's characters 0x80..0x9F (0 where the code page has none).
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePoint(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : c; }

// The cell height a zero height asks for (the default font's).
constexpr int kDefaultCellHeight = 16;
// Realised fonts kept for reuse.
constexpr size_t kMaxCachedFonts = 64;
// Sizes beyond this are refused rather than rendered (a glyph would need gigabytes).
constexpr int kMaxPixelSize = 4096;

int Round(double v) { return static_cast<int>(std::lround(v)); }

class FreeTypeFont final : public RealisedFont {
public:
    FreeTypeFont(FT_Face face, bool antialiased, bool emboldenGlyphs, bool shearGlyphs, FaceMetrics metrics)
        : face_(face), antialiased_(antialiased), embolden_(emboldenGlyphs), shear_(shearGlyphs),
          metrics_(std::move(metrics)) {}
    ~FreeTypeFont() override { FT_Done_Face(face_); }
    FreeTypeFont(const FreeTypeFont&) = delete;
    FreeTypeFont& operator=(const FreeTypeFont&) = delete;

    const FaceMetrics& Metrics() const override { return metrics_; }

    const GlyphBitmap& Glyph(unsigned char character) override {
        std::optional<GlyphBitmap>& slot = glyphs_[character];
        if (!slot) slot = Render(character);
        return *slot;
    }

private:
    GlyphBitmap Render(unsigned char character) const {
        GlyphBitmap glyph;
        const FT_UInt index = FT_Get_Char_Index(face_, CodePoint(character));  // 0: the face's missing-glyph box
        const FT_Int32 load = antialiased_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
        if (FT_Load_Glyph(face_, index, load | FT_LOAD_NO_BITMAP) != 0) return glyph;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        if (shear_) FT_GlyphSlot_Oblique(slot);
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, antialiased_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
        for (int y = 0; y < glyph.height; ++y) {
            // A negative pitch means the rows run bottom-up from the end of the buffer.
            const unsigned char* row =
                bitmap.pitch >= 0 ? bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch
                                  : bitmap.buffer + static_cast<ptrdiff_t>(glyph.height - 1 - y) * -bitmap.pitch;
            uint8_t* out = &glyph.coverage[static_cast<size_t>(y) * glyph.width];
            for (int x = 0; x < glyph.width; ++x) {
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                    out[x] = bitmap.num_grays == 256
                                 ? row[x]
                                 : static_cast<uint8_t>(row[x] * 255 / std::max(1, bitmap.num_grays - 1));
            }
        }
        return glyph;
    }

    FT_Face face_;
    bool antialiased_, embolden_, shear_;
    FaceMetrics metrics_;
    std::array<std::optional<GlyphBitmap>, 256> glyphs_;
};

// The FreeType library and the realised fonts; the fonts go before the library.
struct FontCache {
    struct Library {
        FT_Library library = nullptr;
        Library() {
            if (FT_Init_FreeType(&library) != 0) library = nullptr;
        }
        ~Library() {
            if (library) FT_Done_FreeType(library);
        }
    } freetype;
    using Key = std::tuple<LONG, LONG, bool, bool, bool, bool, bool, std::string>;
    std::map<Key, std::shared_ptr<RealisedFont>> fonts;
};

FontCache& Cache() {
    static FontCache cache;
    return cache;
}

bool Antialiased(BYTE quality) {
    return quality == ANTIALIASED_QUALITY || quality == CLEARTYPE_QUALITY || quality == CLEARTYPE_NATURAL_QUALITY;
}

std::shared_ptr<RealisedFont> Load(FT_Library library, const LOGFONTA& logFont, const MatchedFace& match) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, match.file.c_str(), match.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    const double unitsPerEm = face->units_per_EM;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    // The platform's cell: the face's Windows ascent and descent.
    double ascentUnits = face->ascender, descentUnits = -face->descender;
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
    }
    if (ascentUnits + descentUnits <= 0) {
        ascentUnits = unitsPerEm * 0.8;
        descentUnits = unitsPerEm * 0.2;
    }
    const double cellUnits = ascentUnits + descentUnits;

    FaceMetrics metrics;
    double pixelsPerEm = 0;
    if (logFont.lfHeight < 0) {
        pixelsPerEm = -static_cast<double>(logFont.lfHeight);
        // The cell is rounded as a whole (so it is as close as can be to the face's proportions), and the
        // ascent is what remains above the rounded descent.
        const int cell = Round(cellUnits * pixelsPerEm / unitsPerEm);
        metrics.descent = std::min(cell, Round(descentUnits * pixelsPerEm / unitsPerEm));
        metrics.ascent = cell - metrics.descent;
    } else {
        const int cell = logFont.lfHeight > 0 ? logFont.lfHeight : kDefaultCellHeight;
        pixelsPerEm = cell * unitsPerEm / cellUnits;
        metrics.ascent = Round(ascentUnits * cell / cellUnits);
        metrics.descent = cell - metrics.ascent;
    }
    const double scale = pixelsPerEm / unitsPerEm;
    if (pixelsPerEm > kMaxPixelSize ||
        FT_Set_Char_Size(face, 0, std::max<FT_F26Dot6>(1, std::lround(pixelsPerEm * 64)), 72, 72) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    metrics.internalLeading = std::max(0, metrics.ascent + metrics.descent - Round(pixelsPerEm));
    if (hhea != nullptr) {
        const double gap = hhea->Line_Gap + hhea->Ascender - hhea->Descender - cellUnits;
        metrics.externalLeading = std::max(0, Round(gap * scale));
    }
    metrics.maxWidth = Round(face->max_advance_width * scale);
    metrics.averageWidth = os2 != nullptr && os2->xAvgCharWidth > 0 ? Round(os2->xAvgCharWidth * scale)
                                                                    : std::max(1, metrics.maxWidth / 2);
    metrics.underlineThickness = std::max(1, Round(face->underline_thickness * scale));
    metrics.underlineOffset = std::max(1, Round(-face->underline_position * scale - metrics.underlineThickness / 2.0));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        metrics.strikeoutThickness = std::max(1, Round(os2->yStrikeoutSize * scale));
        metrics.strikeoutOffset = Round(os2->yStrikeoutPosition * scale + metrics.strikeoutThickness / 2.0);
    } else {
        metrics.strikeoutThickness = metrics.underlineThickness;
        metrics.strikeoutOffset = Round(metrics.ascent / 3.0);
    }
    const bool wantBold = logFont.lfWeight >= FW_SEMIBOLD;
    metrics.weight = logFont.lfWeight > 0 ? logFont.lfWeight : FW_NORMAL;
    metrics.italic = logFont.lfItalic != 0;
    metrics.underline = logFont.lfUnderline != 0;
    metrics.strikeOut = logFont.lfStrikeOut != 0;
    metrics.fixedPitch = FT_IS_FIXED_WIDTH(face);
    metrics.family = match.family;
    return std::make_shared<FreeTypeFont>(face, Antialiased(logFont.lfQuality), wantBold && !match.bold,
                                          metrics.italic && !match.italic, std::move(metrics));
}

}  // namespace

FT_Library FreeTypeLibrary() { return Cache().freetype.library; }

std::shared_ptr<RealisedFont> Realise(const LOGFONTA& logFont) {
    FontCache& cache = Cache();
    if (cache.freetype.library == nullptr) return nullptr;
    std::string name(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));  // names match in any case
    const FontCache::Key key{logFont.lfHeight,        logFont.lfWeight,         logFont.lfItalic != 0,
                             logFont.lfUnderline != 0, logFont.lfStrikeOut != 0, Antialiased(logFont.lfQuality),
                             (logFont.lfPitchAndFamily & 0x03) == FIXED_PITCH, name + '/' +
                                 std::to_string(logFont.lfPitchAndFamily & 0xF0)};
    auto found = cache.fonts.find(key);
    if (found != cache.fonts.end()) return found->second;
    MatchedFace match;
    std::shared_ptr<RealisedFont> font;
    if (MatchFace(logFont, match)) font = Load(cache.freetype.library, logFont, match);
    if (font) {
        // A bounded cache: fonts in use stay alive through their callers' references.
        if (cache.fonts.size() >= kMaxCachedFonts) cache.fonts.clear();
        cache.fonts.emplace(key, font);
    }
    return font;
}

}  // namespace gdi
