#include "d3d_font.h"

#include <cstring>

CD3DFont::CD3DFont(const char* faceName, DWORD pointSize, DWORD createFlags)
    : m_pointSize(pointSize),
      m_createFlags(createFlags),
      m_pDevice(nullptr),
      m_pGlyphTexture(nullptr),
      m_pVertexBuffer(nullptr),
      m_glyphMargin(0),
      m_pSavedState(nullptr),
      m_pDrawState(nullptr) {
    strncpy(m_faceName, faceName != nullptr ? faceName : "", sizeof(m_faceName));
    m_faceName[sizeof(m_faceName) - 1] = '\0';
}

CD3DFont::~CD3DFont() {}
