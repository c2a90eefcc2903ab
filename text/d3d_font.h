// A bitmap font for Direct3D 9: the printable ASCII glyphs of one Windows font rendered into a texture
// and drawn as textured quads, in screen space, relative to the viewport or flat in the 3D scene.
#pragma once

#include "d3d9.h"
#include "d3dx9math.h"
#include "windows.h"

// Bits of the third constructor argument.
namespace FontCreateFlags {
constexpr DWORD Bold = 1;       // weight 700 instead of 400
constexpr DWORD Italic = 2;     // italic font
constexpr DWORD DepthTest = 4;  // draw with depth testing on
}  // namespace FontCreateFlags

// Bits of the last argument of the draws.
namespace FontDrawFlags {
constexpr DWORD CenterX = 1;       // centre the text horizontally
constexpr DWORD CenterY = 2;       // centre the text vertically
constexpr DWORD NoCulling = 4;     // 3D text only: seen from both sides
constexpr DWORD LinearFilter = 8;  // linear instead of point filtering of the glyphs
}  // namespace FontDrawFlags

// Screen-space vertex (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1).
struct FontScreenVertex {
    D3DXVECTOR4 position;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(FontScreenVertex) == 28, "screen vertices are 28 bytes");
constexpr DWORD kFontScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Model-space vertex (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1).
struct FontModelVertex {
    D3DXVECTOR3 position;
    D3DXVECTOR3 normal;
    float u, v;
};
static_assert(sizeof(FontModelVertex) == 32, "model vertices are 32 bytes");
constexpr DWORD kFontModelFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

FontScreenVertex BuildFontScreenVertex(const D3DXVECTOR4& position, D3DCOLOR colour, float u, float v);
FontModelVertex BuildFontModelVertex(const D3DXVECTOR3& position, const D3DXVECTOR3& normal, float u, float v);

// The 16-bit A4R4G4B4 texel for a canvas pixel: white with the top four bits of the coverage (the
// pixel's lowest byte) as alpha, or transparent black when those bits are 0.
WORD GlyphTexelFromCoverage(DWORD canvasPixel);

class CD3DFont {
public:
    static constexpr UINT kVertexCapacity = 300;  // vertices the dynamic buffer holds

    CD3DFont(const char* faceName, DWORD pointSize, DWORD createFlags);
    ~CD3DFont();
    CD3DFont(const CD3DFont&) = delete;
    CD3DFont& operator=(const CD3DFont&) = delete;

    // Once per device: the glyph texture and the glyph table.
    HRESULT CreateDeviceResources(IDirect3DDevice9* device);
    // After creation and every reset: the vertex buffer and the two state blocks.
    HRESULT CreateVolatileResources();
    HRESULT ReleaseVolatileResources();
    HRESULT ReleaseDeviceResources();

    // Width and height of the text in texels of the glyph texture.
    HRESULT MeasureText(const char* text, SIZE* extent);
    // The first line's top-left at pixel (x, y) of the render target.
    HRESULT DrawScreenText(float x, float y, D3DCOLOR colour, const char* text, DWORD flags);
    // x, y from -1 (left, top) to +1 (right, bottom) of the viewport; z the depth of every vertex; glyph
    // height yScale x viewport height.
    HRESULT DrawTextScaled(float x, float y, float z, float xScale, float yScale, D3DCOLOR colour, const char* text,
                           DWORD flags);
    // Flat at z = 0 of model space, one texel 0.1 units, under the caller's transforms.
    HRESULT DrawTextIn3D(const char* text, DWORD flags);

    char m_faceName[80];                      // at most 79 characters, always terminated
    DWORD m_pointSize;
    DWORD m_createFlags;
    IDirect3DDevice9* m_pDevice;              // borrowed
    IDirect3DTexture9* m_pGlyphTexture;
    IDirect3DVertexBuffer9* m_pVertexBuffer;
    DWORD m_textureWidth;
    DWORD m_textureHeight;
    float m_textScale;                        // 1, or how much smaller than asked the glyphs were rendered
    float m_glyphCoords[96][4];               // per code 32..127: left u, top v, right u, bottom v
    DWORD m_glyphMargin;
    IDirect3DStateBlock9* m_pSavedState;
    IDirect3DStateBlock9* m_pDrawState;

private:
    // The glyphs of codes 32 to 126 laid out and rendered on the GDI canvas (font_texture.cpp).
    HRESULT BuildGlyphTexture();
    // Records one state block with the font's drawing states (font_state_blocks.cpp).
    HRESULT RecordDrawingStates(IDirect3DStateBlock9** block);
    // Whether the volatile objects exist, so a draw can run.
    bool ReadyToDraw() const;
    // Line height in texels: the space's cell height.
    float LineHeight() const;
    // The advance of the first line of a text in output units: each glyph counts gw * cellScale minus
    // two margins * marginScale.
    float FirstLineWidth(const char* text, float cellScale, float marginScale) const;
};
