// Filling flattened contours with triangles through the GLU tessellator.
#include <GL/glu.h>

#include <cstdint>
#include <utility>

#include "d3dx9/text_mesh_parts.h"

namespace d3dx9::text {
namespace {

struct Collector {
    std::vector<Point>* points;
    std::vector<uint32_t>* triangles;  // triangles, or the loops' indices one after another
    std::vector<size_t> loopStarts;    // boundary mode: where each loop begins in `triangles`
    bool failed = false;
};

// Vertex data is the point's index, carried in the pointer.
void* AsData(size_t index) { return reinterpret_cast<void*>(static_cast<uintptr_t>(index)); }
uint32_t AsIndex(void* data) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data)); }

void GLAPIENTRY OnBegin(GLenum, void* user) {
    Collector& c = *static_cast<Collector*>(user);
    c.loopStarts.push_back(c.triangles->size());
}
// Asking for edge flags makes the tessellator give plain triangles only.
void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}
void GLAPIENTRY OnVertex(void* vertex, void* user) {
    static_cast<Collector*>(user)->triangles->push_back(AsIndex(vertex));
}
void GLAPIENTRY OnEnd(void*) {}
void GLAPIENTRY OnCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* user) {
    Collector& c = *static_cast<Collector*>(user);
    c.points->push_back({coords[0], coords[1]});
    *out = AsData(c.points->size() - 1);
}
void GLAPIENTRY OnError(GLenum, void* user) { static_cast<Collector*>(user)->failed = true; }

using Callback = void(GLAPIENTRY*)();

// Runs the tessellator over the contours (nonzero winding): triangles, or the boundary's loops.
bool Tessellate(const std::vector<Contour>& contours, bool boundaryOnly, std::vector<Point>& points,
                std::vector<uint32_t>& triangles, std::vector<size_t>& loopStarts) {
    GLUtesselator* tess = gluNewTess();
    if (!tess) return false;
    points.clear();
    triangles.clear();
    for (const Contour& c : contours) points.insert(points.end(), c.begin(), c.end());
    std::vector<GLdouble> coords;
    coords.reserve(points.size() * 3);
    for (const Point& p : points) coords.insert(coords.end(), {p.x, p.y, 0.0});

    Collector collector{&points, &triangles};
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(OnBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(OnEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(OnVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(OnEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(OnCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(OnError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessProperty(tess, GLU_TESS_BOUNDARY_ONLY, boundaryOnly ? GL_TRUE : GL_FALSE);
    gluTessNormal(tess, 0, 0, 1);

    gluTessBeginPolygon(tess, &collector);
    size_t next = 0;
    for (const Contour& c : contours) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < c.size(); ++i, ++next) gluTessVertex(tess, &coords[next * 3], AsData(next));
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    loopStarts = std::move(collector.loopStarts);
    return !collector.failed;
}

}  // namespace

bool Boundaries(const std::vector<Contour>& contours, std::vector<Contour>& boundaries) {
    std::vector<Point> points;
    std::vector<uint32_t> loops;
    std::vector<size_t> starts;
    if (!Tessellate(contours, true, points, loops, starts)) return false;
    boundaries.clear();
    starts.push_back(loops.size());
    for (size_t l = 0; l + 1 < starts.size(); ++l) {
        Contour loop;
        for (size_t i = starts[l]; i < starts[l + 1]; ++i) {
            const Point& p = points[loops[i]];
            if (loop.empty() || loop.back().x != p.x || loop.back().y != p.y) loop.push_back(p);
        }
        if (loop.size() > 1 && loop.front().x == loop.back().x && loop.front().y == loop.back().y) loop.pop_back();
        if (loop.size() >= 3) boundaries.push_back(std::move(loop));
    }
    return true;
}

bool Triangulate(const std::vector<Contour>& contours, std::vector<Point>& points, std::vector<uint32_t>& triangles) {
    std::vector<size_t> starts;
    if (!Tessellate(contours, false, points, triangles, starts) || triangles.size() % 3 != 0) return false;

    // Clockwise with y up, whatever order the tessellator chose. It orients every triangle alike, so the
    // whole set is turned at once: slivers along straight edges (no area of their own) keep their turn.
    double area = 0;
    for (size_t t = 0; t < triangles.size(); t += 3) {
        const Point& a = points[triangles[t]];
        const Point& b = points[triangles[t + 1]];
        const Point& c = points[triangles[t + 2]];
        area += (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    }
    if (area > 0)
        for (size_t t = 0; t < triangles.size(); t += 3) std::swap(triangles[t + 1], triangles[t + 2]);
    return true;
}

}  // namespace d3dx9::text
