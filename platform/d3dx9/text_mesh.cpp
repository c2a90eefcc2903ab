// D3DXCreateTextA: the outlines of the context's font filled at the front (z = 0) and back
// (z = extrusion), joined by side walls along every contour, as one mesh of positions and normals.
#include <cmath>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "d3d9.h"
#include "d3dx9.h"
#include "d3dx9/text_mesh_parts.h"
#include "gdi/fonts.h"
#include "mesh_layout.h"
#include "text_mesh_outline.h"

namespace {

using d3dx9::text::Contour;
using d3dx9::text::GlyphOutline;
using d3dx9::text::Point;

struct Vertex {
    float x, y, z;
    float nx, ny, nz;
};

struct Solid {
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;

    uint32_t Add(double x, double y, float z, float nx, float ny, float nz) {
        vertices.push_back({static_cast<float>(x), static_cast<float>(y), z, nx, ny, nz});
        return static_cast<uint32_t>(vertices.size() - 1);
    }
    // A triangle facing along (nx, ny, nz): seen from there, clockwise.
    void Face(uint32_t a, uint32_t b, uint32_t c) {
        const Vertex &p = vertices[a], &q = vertices[b], &r = vertices[c];
        const float ux = q.x - p.x, uy = q.y - p.y, uz = q.z - p.z;
        const float vx = r.x - p.x, vy = r.y - p.y, vz = r.z - p.z;
        const float cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
        if (cx * p.nx + cy * p.ny + cz * p.nz < 0) std::swap(b, c);
        indices.insert(indices.end(), {a, b, c});
    }
    // A triangle in the order given (slivers have no facing of their own to go by).
    void Ordered(uint32_t a, uint32_t b, uint32_t c) { indices.insert(indices.end(), {a, b, c}); }
};

double SignedArea(const Contour& c) {
    double area = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        const Point& a = c[i];
        const Point& b = c[(i + 1) % c.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

bool AddGlyph(const GlyphOutline& glyph, float depth, Solid& solid) {
    if (glyph.contours.empty()) return true;
    // Overlapping contours are merged first, so that caps and walls meet along the same edges.
    std::vector<Contour> contours;
    if (!d3dx9::text::Boundaries(glyph.contours, contours)) return false;
    if (contours.empty()) return true;
    std::vector<Point> points;
    std::vector<uint32_t> triangles;
    if (!d3dx9::text::Triangulate(contours, points, triangles)) return false;

    // Front and back caps.
    const uint32_t front = static_cast<uint32_t>(solid.vertices.size());
    for (const Point& p : points) solid.Add(p.x, p.y, 0.0f, 0, 0, -1);
    const uint32_t back = static_cast<uint32_t>(solid.vertices.size());
    for (const Point& p : points) solid.Add(p.x, p.y, depth, 0, 0, 1);
    for (size_t t = 0; t < triangles.size(); t += 3) {
        // Clockwise with y up faces -z; the back, seen from +z, runs the other way.
        solid.Ordered(front + triangles[t], front + triangles[t + 1], front + triangles[t + 2]);
        solid.Ordered(back + triangles[t], back + triangles[t + 2], back + triangles[t + 1]);
    }

    // The filled side of every contour is the inside of the outermost one: holes run the other way.
    const Contour* outer = &contours.front();
    for (const Contour& c : contours)
        if (std::abs(SignedArea(c)) > std::abs(SignedArea(*outer))) outer = &c;
    const bool fillOnLeft = SignedArea(*outer) > 0;

    // Walls, flat-shaded: four vertices an edge, the normal pointing away from the fill.
    for (const Contour& c : contours) {
        for (size_t i = 0; i < c.size(); ++i) {
            const Point& a = c[i];
            const Point& b = c[(i + 1) % c.size()];
            double nx = b.y - a.y, ny = a.x - b.x;  // right of the direction a -> b
            if (!fillOnLeft) nx = -nx, ny = -ny;
            const double length = std::hypot(nx, ny);
            if (length == 0) continue;
            const float fx = static_cast<float>(nx / length), fy = static_cast<float>(ny / length);
            const uint32_t a0 = solid.Add(a.x, a.y, 0.0f, fx, fy, 0), b0 = solid.Add(b.x, b.y, 0.0f, fx, fy, 0);
            const uint32_t a1 = solid.Add(a.x, a.y, depth, fx, fy, 0), b1 = solid.Add(b.x, b.y, depth, fx, fy, 0);
            solid.Face(a0, b0, b1);
            solid.Face(a0, b1, a1);
        }
    }
    return true;
}

GLYPHMETRICSFLOAT MetricsOf(const GlyphOutline& glyph) {
    GLYPHMETRICSFLOAT m{};
    m.gmfCellIncX = static_cast<FLOAT>(glyph.advance);
    if (glyph.contours.empty()) return m;
    double minX = glyph.contours.front().front().x, maxX = minX;
    double minY = glyph.contours.front().front().y, maxY = minY;
    for (const Contour& c : glyph.contours)
        for (const Point& p : c) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    m.gmfBlackBoxX = static_cast<FLOAT>(maxX - minX);
    m.gmfBlackBoxY = static_cast<FLOAT>(maxY - minY);
    m.gmfptGlyphOrigin = {static_cast<FLOAT>(minX - glyph.originX), static_cast<FLOAT>(maxY)};
    return m;
}

// Faces that share an edge's two positions are neighbours, whichever vertices carry them.
std::vector<DWORD> AdjacencyByPosition(const Solid& solid) {
    std::map<std::pair<std::pair<float, float>, float>, uint32_t> first;
    std::vector<uint32_t> welded(solid.vertices.size());
    for (size_t i = 0; i < solid.vertices.size(); ++i) {
        const Vertex& v = solid.vertices[i];
        welded[i] = first.try_emplace({{v.x, v.y}, v.z}, static_cast<uint32_t>(i)).first->second;
    }
    std::vector<uint32_t> indices(solid.indices.size());
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = welded[solid.indices[i]];
    return d3dx9::ComputeAdjacency(indices);
}

HRESULT BuildMesh(const Solid& solid, IDirect3DDevice9* device, LPD3DXMESH* ppMesh) {
    const DWORD faces = static_cast<DWORD>(solid.indices.size() / 3);
    const DWORD vertices = static_cast<DWORD>(solid.vertices.size());
    const bool wide = vertices > 0xFFFF;
    ID3DXMesh* mesh = nullptr;
    HRESULT hr = D3DXCreateMeshFVF(faces, vertices, D3DXMESH_MANAGED | (wide ? D3DXMESH_32BIT : 0),
                                   D3DFVF_XYZ | D3DFVF_NORMAL, device, &mesh);
    if (FAILED(hr)) return hr;
    void* data = nullptr;
    hr = mesh->LockVertexBuffer(0, &data);
    if (SUCCEEDED(hr)) {
        std::memcpy(data, solid.vertices.data(), solid.vertices.size() * sizeof(Vertex));
        hr = mesh->UnlockVertexBuffer();
    }
    if (SUCCEEDED(hr)) hr = d3dx9::WriteIndices(mesh, solid.indices);
    if (FAILED(hr)) {
        mesh->Release();
        return hr;
    }
    *ppMesh = mesh;
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXCreateTextA(IDirect3DDevice9* pDevice, HDC hDC, LPCSTR pText, FLOAT Deviation, FLOAT Extrusion,
                               LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency, LPGLYPHMETRICSFLOAT pGlyphMetrics) {
    if (!pDevice || !hDC || !pText || !ppMesh) return D3DERR_INVALIDCALL;
    if (!(Deviation >= 0) || !(Extrusion >= 0) || !std::isfinite(Deviation) || !std::isfinite(Extrusion))
        return D3DERR_INVALIDCALL;
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hDC);
    if (!dc) return D3DERR_INVALIDCALL;
    const std::shared_ptr<gdi::Font> font = gdi::SelectedFont(*dc);
    if (!font) return D3DERR_INVALIDCALL;

    std::vector<GlyphOutline> glyphs;
    if (!d3dx9::text::LoadOutlines(font->logFont, pText, Deviation, glyphs)) return E_FAIL;
    Solid solid;
    for (const GlyphOutline& glyph : glyphs)
        if (!AddGlyph(glyph, Extrusion, solid)) return E_FAIL;
    if (solid.indices.empty()) return D3DERR_INVALIDCALL;

    LPD3DXBUFFER adjacency = nullptr;
    if (ppAdjacency) {
        const std::vector<DWORD> table = AdjacencyByPosition(solid);
        HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(table.size() * sizeof(DWORD)), &adjacency);
        if (FAILED(hr)) return hr;
        std::memcpy(adjacency->GetBufferPointer(), table.data(), table.size() * sizeof(DWORD));
    }
    HRESULT hr = BuildMesh(solid, pDevice, ppMesh);
    if (FAILED(hr)) {
        if (adjacency) adjacency->Release();
        return hr;
    }
    if (ppAdjacency) *ppAdjacency = adjacency;
    if (pGlyphMetrics)
        for (size_t i = 0; i < glyphs.size(); ++i) pGlyphMetrics[i] = MetricsOf(glyphs[i]);
    return D3D_OK;
}
