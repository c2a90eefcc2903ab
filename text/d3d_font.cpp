// Construction, destruction and the two stages of device objects.
#include "d3d_font.h"

#include <cstring>

namespace {

template <typename T>
void ReleaseAndClear(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace

CD3DFont::CD3DFont(const char* faceName, DWORD pointSize, DWORD createFlags)
    : m_pointSize(pointSize),
      m_createFlags(createFlags),
      m_pDevice(nullptr),
      m_pGlyphTexture(nullptr),
      m_pVertexBuffer(nullptr),
      m_textureWidth(0),
      m_textureHeight(0),
      m_textScale(1.0f),
      m_glyphCoords{},
      m_glyphMargin(0),
      m_pSavedState(nullptr),
      m_pDrawState(nullptr) {
    strncpy(m_faceName, faceName != nullptr ? faceName : "", sizeof(m_faceName));
    m_faceName[sizeof(m_faceName) - 1] = '\0';
}

CD3DFont::~CD3DFont() {
    ReleaseVolatileResources();
    ReleaseDeviceResources();
}

HRESULT CD3DFont::CreateDeviceResources(IDirect3DDevice9* device) {
    if (device == nullptr) return E_FAIL;
    m_pDevice = device;
    return BuildGlyphTexture();
}

HRESULT CD3DFont::CreateVolatileResources() {
    // The drawing state binds the glyph texture, and the draws need a complete glyph table.
    if (m_pDevice == nullptr || m_pGlyphTexture == nullptr || LineHeight() <= 0.0f) return E_FAIL;
    ReleaseVolatileResources();
    HRESULT hr = m_pDevice->CreateVertexBuffer(kVertexCapacity * sizeof(FontModelVertex),
                                               D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                               &m_pVertexBuffer, nullptr);
    if (FAILED(hr)) {
        m_pVertexBuffer = nullptr;
        return hr;
    }
    // The same states twice: once to save the caller's values around a draw, once to set the font's.
    hr = RecordDrawingStates(&m_pSavedState);
    if (SUCCEEDED(hr)) hr = RecordDrawingStates(&m_pDrawState);
    if (FAILED(hr)) {
        // A font without both blocks cannot draw; leave it plainly without volatile objects.
        ReleaseVolatileResources();
        return hr;
    }
    return S_OK;
}

HRESULT CD3DFont::ReleaseVolatileResources() {
    ReleaseAndClear(m_pVertexBuffer);
    ReleaseAndClear(m_pSavedState);
    ReleaseAndClear(m_pDrawState);
    return S_OK;
}

HRESULT CD3DFont::ReleaseDeviceResources() {
    ReleaseAndClear(m_pGlyphTexture);
    m_pDevice = nullptr;
    return S_OK;
}

bool CD3DFont::ReadyToDraw() const {
    return m_pDevice != nullptr && m_pVertexBuffer != nullptr && m_pSavedState != nullptr && m_pDrawState != nullptr;
}

float CD3DFont::LineHeight() const {
    return (m_glyphCoords[0][3] - m_glyphCoords[0][1]) * static_cast<float>(m_textureHeight);
}
