// Glyph outlines from GDI in the face's design units, flattened into closed contours and scaled so that
// the em square is 1.
#include "text_mesh_outline.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gdi/glyph_outlines.h"

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

    void Start(const gdi::OutlinePoint& to) {
        contours->emplace_back();
        Add(to.x, to.y);
    }

    void Quadratic(const gdi::OutlinePoint& control, const gdi::OutlinePoint& to) {
        const Point p0 = last, p1{control.x, control.y}, p2{to.x, to.y};
        const int n = Pieces(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y));
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1 - t;
            Add(u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y);
        }
    }

    void Cubic(const gdi::OutlinePoint& c1, const gdi::OutlinePoint& c2, const gdi::OutlinePoint& to) {
        const Point p0 = last, p1{c1.x, c1.y}, p2{c2.x, c2.y}, p3{to.x, to.y};
        const double bend = 1.5 * std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                           std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
        const int n = Pieces(bend);
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            Add(a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y);
        }
    }
};

// Drops the repeated closing point and contours that enclose nothing.
void Tidy(std::vector<Contour>& contours) {
    for (Contour& c : contours)
        if (c.size() > 1 && c.front().x == c.back().x && c.front().y == c.back().y) c.pop_back();
    std::erase_if(contours, [](const Contour& c) { return c.size() < 3; });
}

}  // namespace

bool LoadOutlines(const LOGFONTA& logFont, const std::string& text, double deviation,
                  std::vector<GlyphOutline>& glyphs) {
    gdi::TextOutlines outlines;
    if (!gdi::GlyphOutlines(logFont, text, outlines)) return false;
    const double unitsPerEm = outlines.unitsPerEm;

    glyphs.clear();
    double penX = 0;
    for (const gdi::GlyphShape& shape : outlines.glyphs) {
        GlyphOutline glyph;
        glyph.originX = penX;
        Flattener flattener{&glyph.contours, deviation > 0 ? deviation * unitsPerEm : 1.0, 1.0 / unitsPerEm, penX, {}};
        for (const gdi::OutlineContour& contour : shape.contours) {
            flattener.Start(contour.start);
            for (const gdi::OutlineCurve& curve : contour.curves) {
                switch (curve.kind) {
                case gdi::OutlineCurve::Kind::Line: flattener.Add(curve.to.x, curve.to.y); break;
                case gdi::OutlineCurve::Kind::Quadratic: flattener.Quadratic(curve.control[0], curve.to); break;
                case gdi::OutlineCurve::Kind::Cubic:
                    flattener.Cubic(curve.control[0], curve.control[1], curve.to);
                    break;
                }
            }
        }
        Tidy(glyph.contours);
        glyph.advance = shape.advance / unitsPerEm;
        penX += glyph.advance;
        glyphs.push_back(std::move(glyph));
    }
    return true;
}

}  // namespace d3dx9::text
