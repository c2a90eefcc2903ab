// Drawing text from the glyph texture as textured quads (screen space, viewport-relative and flat in
// the scene) and measuring it. Each draw is framed by the font's two state blocks.
#include <cstring>

#include "d3d_font.h"

namespace {

constexpr float kTexelsPerModelUnit = 10.0f;

// Codes that have a glyph: 32 to 126. A line feed, other control codes, 127 and 128 to 255 have none.
bool HasGlyph(unsigned char c) { return c >= 32 && c <= 126; }

// Quads written into the locked vertex buffer and drawn every 50 glyphs (300 vertices).
class QuadBatch {
public:
    QuadBatch(IDirect3DDevice9* device, IDirect3DVertexBuffer9* buffer) : device_(device), buffer_(buffer) {}
    ~QuadBatch() { Close(); }

    bool Open() {
        void* data = nullptr;
        if (FAILED(buffer_->Lock(0, 0, &data, D3DLOCK_DISCARD)) || data == nullptr) return false;
        write_ = static_cast<BYTE*>(data);
        return true;
    }

    template <typename Vertex>
    bool Add(const Vertex (&quad)[6]) {
        std::memcpy(write_, quad, sizeof(quad));
        write_ += sizeof(quad);
        triangles_ += 2;
        if (triangles_ * 3 > CD3DFont::kVertexCapacity - 6) {
            Close();
            return Open();
        }
        return true;
    }

    // Unlocks and draws what is left.
    void Close() {
        if (write_ == nullptr) return;
        buffer_->Unlock();
        write_ = nullptr;
        if (triangles_ > 0) device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles_);
        triangles_ = 0;
    }

private:
    IDirect3DDevice9* device_;
    IDirect3DVertexBuffer9* buffer_;
    BYTE* write_ = nullptr;
    UINT triangles_ = 0;
};

// The six vertices of a glyph's cell: triangles (1, 2, 3) and (4, 5, 6), clockwise on the screen.
template <typename Vertex, typename MakeVertex>
void FillQuad(Vertex (&quad)[6], float xl, float xr, float yt, float yb, const float* cell, MakeVertex make) {
    const float uL = cell[0], vT = cell[1], uR = cell[2], vB = cell[3];
    quad[0] = make(xl, yb, uL, vB);
    quad[1] = make(xl, yt, uL, vT);
    quad[2] = make(xr, yb, uR, vB);
    quad[3] = make(xr, yt, uR, vT);
    quad[4] = make(xr, yb, uR, vB);
    quad[5] = make(xl, yt, uL, vT);
}

// Walks a text: line feeds first, then only codes with a glyph; onGlyph answers false to stop.
template <typename OnLineFeed, typename OnGlyph>
bool WalkText(const char* text, OnLineFeed onLineFeed, OnGlyph onGlyph) {
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n') onLineFeed();
        if (!HasGlyph(c)) continue;
        if (!onGlyph(c)) return false;
    }
    return true;
}

// Steps common to every draw: save the caller's states, set the font's, bind its vertices.
void BeginDraw(const CD3DFont& font, DWORD fvf, UINT stride, DWORD flags) {
    IDirect3DDevice9* const device = font.m_pDevice;
    font.m_pSavedState->Capture();
    font.m_pDrawState->Apply();
    device->SetFVF(fvf);
    device->SetPixelShader(nullptr);
    device->SetStreamSource(0, font.m_pVertexBuffer, 0, stride);
    if (flags & FontDrawFlags::LinearFilter) {
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }
}

HRESULT EndDraw(const CD3DFont& font, QuadBatch& batch, bool complete) {
    batch.Close();
    font.m_pSavedState->Apply();
    return complete ? S_OK : E_FAIL;
}

float CellWidth(const float* cell, DWORD textureWidth) { return (cell[2] - cell[0]) * static_cast<float>(textureWidth); }
float CellHeight(const float* cell, DWORD textureHeight) { return (cell[3] - cell[1]) * static_cast<float>(textureHeight); }

}  // namespace

FontScreenVertex BuildFontScreenVertex(const D3DXVECTOR4& position, D3DCOLOR colour, float u, float v) {
    FontScreenVertex vertex;
    vertex.position = position;
    vertex.colour = colour;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

FontModelVertex BuildFontModelVertex(const D3DXVECTOR3& position, const D3DXVECTOR3& normal, float u, float v) {
    FontModelVertex vertex;
    vertex.position = position;
    vertex.normal = normal;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

float CD3DFont::FirstLineWidth(const char* text, float cellScale, float marginScale) const {
    float width = 0.0f;
    for (const char* p = text; *p != '\0' && *p != '\n'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!HasGlyph(c)) continue;
        width += CellWidth(m_glyphCoords[c - 32], m_textureWidth) * cellScale -
                 2.0f * static_cast<float>(m_glyphMargin) * marginScale;
    }
    return width;
}

HRESULT CD3DFont::MeasureText(const char* text, SIZE* extent) {
    if (text == nullptr || extent == nullptr) return E_FAIL;
    const float lineHeight = LineHeight(), margins = 2.0f * static_cast<float>(m_glyphMargin);
    float rowWidth = 0.0f, width = 0.0f, height = lineHeight;
    WalkText(
        text,
        [&] {
            rowWidth = 0.0f;
            height += lineHeight;
        },
        [&](unsigned char c) {
            rowWidth += CellWidth(m_glyphCoords[c - 32], m_textureWidth) - margins;
            if (rowWidth > width) width = rowWidth;
            return true;
        });
    extent->cx = static_cast<LONG>(width);
    extent->cy = static_cast<LONG>(height);
    return S_OK;
}

HRESULT CD3DFont::DrawScreenText(float x, float y, D3DCOLOR colour, const char* text, DWORD flags) {
    if (!ReadyToDraw() || text == nullptr) return E_FAIL;
    BeginDraw(*this, kFontScreenFvf, sizeof(FontScreenVertex), flags);
    const float s = m_textScale, m = static_cast<float>(m_glyphMargin), lineHeight = LineHeight();
    if (flags & (FontDrawFlags::CenterX | FontDrawFlags::CenterY)) {
        D3DVIEWPORT9 viewport{};
        m_pDevice->GetViewport(&viewport);
        if (flags & FontDrawFlags::CenterX)
            x = (static_cast<float>(viewport.Width) - FirstLineWidth(text, 1.0f / s, 1.0f)) / 2.0f;
        if (flags & FontDrawFlags::CenterY) y = (static_cast<float>(viewport.Height) - lineHeight) / 2.0f;
    }
    x -= m;
    const float lineStart = x;
    QuadBatch batch(m_pDevice, m_pVertexBuffer);
    if (!batch.Open()) return EndDraw(*this, batch, false);
    const bool complete = WalkText(
        text,
        [&] {
            x = lineStart;
            y += lineHeight;
        },
        [&](unsigned char c) {
            const float* cell = m_glyphCoords[c - 32];
            const float w = CellWidth(cell, m_textureWidth) / s, h = CellHeight(cell, m_textureHeight) / s;
            bool open = true;
            if (c != ' ') {
                FontScreenVertex quad[6];
                FillQuad(quad, x - 0.5f, x + w - 0.5f, y - 0.5f, y + h - 0.5f, cell,
                         [&](float px, float py, float u, float v) {
                             return BuildFontScreenVertex(D3DXVECTOR4(px, py, 0.9f, 1.0f), colour, u, v);
                         });
                open = batch.Add(quad);
            }
            x += w - 2.0f * m;
            return open;
        });
    return EndDraw(*this, batch, complete);
}

HRESULT CD3DFont::DrawTextScaled(float x, float y, float z, float xScale, float yScale, D3DCOLOR colour,
                                 const char* text, DWORD flags) {
    if (!ReadyToDraw() || text == nullptr) return E_FAIL;
    BeginDraw(*this, kFontScreenFvf, sizeof(FontScreenVertex), flags);
    D3DVIEWPORT9 viewport{};
    m_pDevice->GetViewport(&viewport);
    const float vw = static_cast<float>(viewport.Width), vh = static_cast<float>(viewport.Height);
    const float m = static_cast<float>(m_glyphMargin), lineHeight = LineHeight();
    const float kx = vh * xScale / lineHeight, ky = vh * yScale / lineHeight;
    if (flags & FontDrawFlags::CenterX) x = -FirstLineWidth(text, kx, kx) / vw;
    if (flags & FontDrawFlags::CenterY) y = -lineHeight / vh;
    float px = (x + 1.0f) * vw / 2.0f, py = (y + 1.0f) * vh / 2.0f;
    px -= m * kx;
    const float lineStart = px;
    QuadBatch batch(m_pDevice, m_pVertexBuffer);
    if (!batch.Open()) return EndDraw(*this, batch, false);
    const bool complete = WalkText(
        text,
        [&] {
            px = lineStart;
            py += vh * yScale;
        },
        [&](unsigned char c) {
            const float* cell = m_glyphCoords[c - 32];
            const float w = CellWidth(cell, m_textureWidth) * kx, h = CellHeight(cell, m_textureHeight) * ky;
            bool open = true;
            if (c != ' ') {
                FontScreenVertex quad[6];
                FillQuad(quad, px - 0.5f, px + w - 0.5f, py - 0.5f, py + h - 0.5f, cell,
                         [&](float qx, float qy, float u, float v) {
                             return BuildFontScreenVertex(D3DXVECTOR4(qx, qy, z, 1.0f), colour, u, v);
                         });
                open = batch.Add(quad);
            }
            px += w - 2.0f * m * kx;
            return open;
        });
    return EndDraw(*this, batch, complete);
}

HRESULT CD3DFont::DrawTextIn3D(const char* text, DWORD flags) {
    if (!ReadyToDraw() || text == nullptr) return E_FAIL;
    BeginDraw(*this, kFontModelFvf, sizeof(FontModelVertex), flags);
    const float s = m_textScale, m = static_cast<float>(m_glyphMargin), lineHeight = LineHeight();
    float x = 0.0f, y = 0.0f;
    SIZE extent{};
    if (flags & FontDrawFlags::CenterX) {
        MeasureText(text, &extent);
        x = -(static_cast<float>(extent.cx) / kTexelsPerModelUnit) / 2.0f;
    }
    if (flags & FontDrawFlags::CenterY) {
        MeasureText(text, &extent);
        y = -(static_cast<float>(extent.cy) / kTexelsPerModelUnit) / 2.0f;
    }
    if (flags & FontDrawFlags::NoCulling) m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    x -= m / kTexelsPerModelUnit;
    const float lineStart = x;
    const D3DXVECTOR3 normal(0.0f, 0.0f, -1.0f);
    QuadBatch batch(m_pDevice, m_pVertexBuffer);
    if (!batch.Open()) return EndDraw(*this, batch, false);
    const bool complete = WalkText(
        text,
        [&] {
            x = lineStart;
            y -= lineHeight / kTexelsPerModelUnit;
        },
        [&](unsigned char c) {
            const float* cell = m_glyphCoords[c - 32];
            const float w = CellWidth(cell, m_textureWidth) / (kTexelsPerModelUnit * s);
            const float h = CellHeight(cell, m_textureHeight) / (kTexelsPerModelUnit * s);
            bool open = true;
            if (c != ' ') {
                FontModelVertex quad[6];
                FillQuad(quad, x, x + w, y + h, y, cell, [&](float qx, float qy, float u, float v) {
                    return BuildFontModelVertex(D3DXVECTOR3(qx, qy, 0.0f), normal, u, v);
                });
                open = batch.Add(quad);
            }
            x += w - 2.0f * m / kTexelsPerModelUnit;
            return open;
        });
    return EndDraw(*this, batch, complete);
}
