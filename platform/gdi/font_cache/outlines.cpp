// GlyphOutlines: the glyphs of the matched face loaded unscaled and unhinted, the synthetic styles
// applied to their outlines, and the pieces of each contour handed out as FreeType walks them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <utility>

#include "freetype_library.h"
#include "gdi/fonts.h"
#include "gdi/glyph_outlines.h"

namespace gdi {
namespace {

OutlinePoint PointOf(const FT_Vector* v) { return {static_cast<double>(v->x), static_cast<double>(v->y)}; }

// Adds a piece to the contour being walked; an error (stopping the walk) before any contour started.
int AddCurve(void* user, const OutlineCurve& curve) {
    std::vector<OutlineContour>& contours = static_cast<GlyphShape*>(user)->contours;
    if (contours.empty()) return 1;
    contours.back().curves.push_back(curve);
    return 0;
}

int MoveTo(const FT_Vector* to, void* user) {
    static_cast<GlyphShape*>(user)->contours.push_back({PointOf(to), {}});
    return 0;
}

int LineTo(const FT_Vector* to, void* user) { return AddCurve(user, {OutlineCurve::Kind::Line, {}, PointOf(to)}); }

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    return AddCurve(user, {OutlineCurve::Kind::Quadratic, {PointOf(control), {}}, PointOf(to)});
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    return AddCurve(user, {OutlineCurve::Kind::Cubic, {PointOf(c1), PointOf(c2)}, PointOf(to)});
}

struct Face {
    FT_Face face = nullptr;
    Face() = default;
    ~Face() {
        if (face) FT_Done_Face(face);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
};

}  // namespace

bool GlyphOutlines(const LOGFONTA& logFont, const std::string& text, TextOutlines& outlines) {
    MatchedFace match;
    if (!MatchFace(logFont, match)) return false;
    const bool embolden = logFont.lfWeight >= FW_SEMIBOLD && !match.bold;
    const bool shear = logFont.lfItalic != 0 && !match.italic;
    FT_Library library = FreeTypeLibrary();
    if (!library) return false;
    Face face;
    if (FT_New_Face(library, match.file.c_str(), match.index, &face.face) != 0) return false;
    if (!FT_IS_SCALABLE(face.face) || face.face->units_per_EM == 0) return false;
    const double unitsPerEm = face.face->units_per_EM;

    std::vector<WCHAR> converted(text.size() + 1, 0);
    const int count = text.empty() ? 0
                                   : MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                         converted.data(), static_cast<int>(converted.size()));

    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;

    outlines.unitsPerEm = unitsPerEm;
    outlines.glyphs.clear();
    for (int i = 0; i < count; ++i) {
        GlyphShape glyph;
        const FT_UInt index = FT_Get_Char_Index(face.face, static_cast<FT_ULong>(converted[static_cast<size_t>(i)]));
        if (FT_Load_Glyph(face.face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0)
            return false;
        FT_GlyphSlot slot = face.face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
        FT_Outline& outline = slot->outline;
        glyph.advance = static_cast<double>(slot->metrics.horiAdvance);
        if (embolden) {
            const FT_Pos strength = static_cast<FT_Pos>(std::lround(unitsPerEm / 24));
            FT_Outline_Embolden(&outline, strength);
            glyph.advance += static_cast<double>(strength);
        }
        if (shear) {
            FT_Matrix matrix{0x10000, 0x0366A, 0, 0x10000};  // x += y * 0.21
            FT_Outline_Transform(&outline, &matrix);
        }
        if (FT_Outline_Decompose(&outline, &funcs, &glyph) != 0) return false;
        outlines.glyphs.push_back(std::move(glyph));
    }
    return true;
}

}  // namespace gdi
