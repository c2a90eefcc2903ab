// Glyph outlines from FreeType in the face's design units, flattened into closed contours and scaled
// so that the em square is 1.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

#include "d3dx9/text_mesh_parts.h"
#include "winbase.h"

namespace d3dx9::text {
namespace {

// Pieces a curve is cut into at most, whatever the deviation asked.
constexpr int kMaxPieces = 256;

struct Flattener {
    std::vector<Contour>* contours;
    double tolerance;  // design units
    double scale;      // design units -> em
    double penX;       // em
    Point last;        // design units

    void Add(double x, double y) {
        Contour& c = contours->back();
        const Point p{penX + x * scale, y * scale};
        if (c.empty() || c.back().x != p.x || c.back().y != p.y) c.push_back(p);
        last = {x, y};
    }
    // Pieces so that the chord of each stays within the tolerance of a curve whose second differences
    // are at most `bend`.
    int Pieces(double bend) const {
        const double n = std::ceil(std::sqrt(bend / (4.0 * tolerance)));
        return std::clamp(static_cast<int>(n), 1, kMaxPieces);
    }
};

Flattener& Of(void* user) { return *static_cast<Flattener*>(user); }

int MoveTo(const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    f.contours->emplace_back();
    f.Add(static_cast<double>(to->x), static_cast<double>(to->y));
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    Of(user).Add(static_cast<double>(to->x), static_cast<double>(to->y));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    const Point p0 = f.last, p1{double(control->x), double(control->y)}, p2{double(to->x), double(to->y)};
    const int n = f.Pieces(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y));
    for (int i = 1; i <= n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        f.Add(u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y);
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    const Point p0 = f.last, p1{double(c1->x), double(c1->y)}, p2{double(c2->x), double(c2->y)},
                p3{double(to->x), double(to->y)};
    const double bend = 1.5 * std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                       std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    const int n = f.Pieces(bend);
    for (int i = 1; i <= n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f.Add(a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y);
    }
    return 0;
}

// Drops the repeated closing point and contours that enclose nothing.
void Tidy(std::vector<Contour>& contours) {
    for (Contour& c : contours)
        if (c.size() > 1 && c.front().x == c.back().x && c.front().y == c.back().y) c.pop_back();
    std::erase_if(contours, [](const Contour& c) { return c.size() < 3; });
}

struct Library {
    FT_Library library = nullptr;
    Library() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    ~Library() {
        if (library) FT_Done_FreeType(library);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

struct Face {
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
    }
};

}  // namespace

bool LoadOutlines(const FaceSource& source, const std::string& text, double deviation,
                  std::vector<GlyphOutline>& glyphs) {
    Library library;
    if (!library.library) return false;
    Face face;
    if (FT_New_Face(library.library, source.file.c_str(), source.index, &face.face) != 0) return false;
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

    glyphs.clear();
    double penX = 0;
    for (int i = 0; i < count; ++i) {
        GlyphOutline glyph;
        glyph.originX = penX;
        const FT_UInt index = FT_Get_Char_Index(face.face, static_cast<FT_ULong>(converted[static_cast<size_t>(i)]));
        if (FT_Load_Glyph(face.face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0)
            return false;
        FT_GlyphSlot slot = face.face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
        FT_Outline& outline = slot->outline;
        double advanceUnits = static_cast<double>(slot->metrics.horiAdvance);
        if (source.embolden) {
            const FT_Pos strength = static_cast<FT_Pos>(std::lround(unitsPerEm / 24));
            FT_Outline_Embolden(&outline, strength);
            advanceUnits += static_cast<double>(strength);
        }
        if (source.shear) {
            FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // x += y * 0.21
            FT_Outline_Transform(&outline, &shear);
        }
        Flattener flattener{&glyph.contours, deviation > 0 ? deviation * unitsPerEm : 1.0, 1.0 / unitsPerEm, penX, {}};
        if (FT_Outline_Decompose(&outline, &funcs, &flattener) != 0) return false;
        Tidy(glyph.contours);
        glyph.advance = advanceUnits / unitsPerEm;
        penX += glyph.advance;
        glyphs.push_back(std::move(glyph));
    }
    return true;
}

}  // namespace d3dx9::text
