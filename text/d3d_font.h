// A bitmap font for Direct3D 9: the printable ASCII glyphs of one Windows font rendered into a texture
// and drawn as textured quads.
#pragma once

#include "d3d9.h"
#include "windows.h"

// Bits of the third constructor argument.
namespace FontCreateFlags {
constexpr DWORD Bold = 1;       // weight 700 instead of 400
constexpr DWORD Italic = 2;     // italic font
constexpr DWORD DepthTest = 4;  // draw with depth testing on
}  // namespace FontCreateFlags

class CD3DFont {
public:
    CD3DFont(const char* faceName, DWORD pointSize, DWORD createFlags);
    ~CD3DFont();

    char m_faceName[80];                      // at most 79 characters, always terminated
    DWORD m_pointSize;
    DWORD m_createFlags;
    IDirect3DDevice9* m_pDevice;              // borrowed
    IDirect3DTexture9* m_pGlyphTexture;
    IDirect3DVertexBuffer9* m_pVertexBuffer;
    DWORD m_glyphMargin;
    IDirect3DStateBlock9* m_pSavedState;
    IDirect3DStateBlock9* m_pDrawState;
};
