// The showcase's per-device and per-reset resources and render state.
#include <cstring>

#include "Morvath.h"
#include "d3d_font.h"
#include "d3d_records.h"

namespace {

DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

HRESULT CSceneApp::CreateDeviceResources() {
    if (m_pHudFont != nullptr) m_pHudFont->CreateDeviceResources(m_pDevice);
    if (m_pD3DXFont != nullptr) {
        m_pD3DXFont->Release();
        m_pD3DXFont = nullptr;
    }
    const HRESULT hr = CreateD3DXFont(&m_pD3DXFont, m_fontFace, m_fontPointSize);
    if (FAILED(hr)) return hr;

    // None of these results stops the scene: each object copes without its media.
    m_cursor.CreateDeviceResources(m_pDevice);
    m_cube1.Load(m_pDevice, "media/cube.x");
    m_cube2.Load(m_pDevice, "media/cube.x");
    m_cube3.Load(m_pDevice, "media/cube.x");
    m_sphere1.Load(m_pDevice, "media/sphere.x");
    m_sphere2.Load(m_pDevice, "media/sphere.x");
    m_sphere3.Load(m_pDevice, "media/sphere.x");
    D3DXCreateMatrixStack(0, &m_pMatrixStack);
    m_terrain.CreateDeviceResources(m_pDevice);
    m_terrain.Flatten();
    m_terrain.UpdateVertices(m_pDevice);

    FillLight(m_pointLight, D3DLIGHT_POINT, -1.0f, 10.0f, 2.0f);
    m_pDevice->SetLight(0, &m_pointLight);
    m_pDevice->LightEnable(0, TRUE);
    FillLight(m_directionalLight, D3DLIGHT_DIRECTIONAL, -1.0f, -1.0f, 2.0f);
    m_directionalLight.Diffuse.r = 1.0f;
    m_directionalLight.Diffuse.g = 0.0f;
    m_directionalLight.Diffuse.b = 0.0f;
    m_pDevice->SetLight(1, &m_directionalLight);
    m_pDevice->LightEnable(1, TRUE);
    m_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);

    m_camera.SetEyeLookAtUp(0.0f, 2.0f, 10.0f, 0.0f, 2.0f, 0.0f, 0.0f, 1.0f, 0.0f);

    // Every new device draws fresh places from the runtime's one sequence.
    for (int i = 0; i < kBlurQuadCount; ++i) {
        m_blurQuads[i].CreateVertexBuffer(m_pDevice);
        PlaceBlurQuadAtRandom(m_blurQuads[i], i);
    }

    D3DXCreateTextureFromFileExA(m_pDevice, "media/tile.bmp", D3DX_DEFAULT, D3DX_DEFAULT, 5, 0, D3DFMT_UNKNOWN,
                                 D3DPOOL_MANAGED, D3DX_FILTER_POINT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                 &m_pTileTexture);

    m_currentScene = &CSceneApp::DrawBlurScene;
    m_textPosition = {0.0f, 0.0f, 0.0f};
    m_textRotation = {0.0f, 0.0f, 0.0f};
    return S_OK;
}

HRESULT CSceneApp::CreateD3DXFont(ID3DXFont** font, const char* face, INT points) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    // The GDI font only proves that the face can be made at this size.
    HFONT gdiFont = CreateFontA(height, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    if (gdiFont == nullptr) return E_FAIL;
    ID3DXFont* made = nullptr;
    const HRESULT hr = D3DXCreateFontA(m_pDevice, 10, 10, 1, 2, FALSE, DEFAULT_CHARSET, 0, 0, 0, face, &made);
    DeleteObject(gdiFont);
    if (SUCCEEDED(hr)) *font = made;
    return hr;
}

HRESULT CSceneApp::CreateTextMesh(ID3DXMesh** mesh, const char* face, INT height) {
    HDC context = CreateCompatibleDC(nullptr);
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = height;
    description.lfStrikeOut = 1;
    lstrcpynA(description.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ previous = SelectObject(context, font);
    ID3DXMesh* made = nullptr;
    const HRESULT hr = D3DXCreateTextA(m_pDevice, context, "Terrain", 0.001f, 0.4f, &made, nullptr, nullptr);
    SelectObject(context, previous);
    DeleteObject(font);
    DeleteDC(context);
    if (SUCCEEDED(hr)) *mesh = made;
    return hr;
}

HRESULT CSceneApp::CreateVolatileResources() {
    D3DMATERIAL9 material;
    FillMaterial(material, 1.0f, 0.0f, 0.0f, 1.0f);
    m_pDevice->SetMaterial(&material);

    m_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    m_pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_pDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    m_pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    m_pDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    m_pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    m_pDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    m_pDevice->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_pDevice->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    m_pDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);

    m_pDevice->SetRenderState(D3DRS_DITHERENABLE, FALSE);
    m_pDevice->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    m_pDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    m_pDevice->SetRenderState(D3DRS_AMBIENT, 0x000F0F0F);
    m_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    m_pDevice->SetRenderState(D3DRS_FOGENABLE, FALSE);
    m_pDevice->SetRenderState(D3DRS_RANGEFOGENABLE, FALSE);
    m_pDevice->SetRenderState(D3DRS_FOGCOLOR, 0xFF000000);
    m_pDevice->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    m_pDevice->SetRenderState(D3DRS_FOGSTART, FloatBits(2.0f));
    m_pDevice->SetRenderState(D3DRS_FOGEND, FloatBits(200.0f));

    D3DXMATRIX matrix;
    D3DXMatrixIdentity(&matrix);
    m_pDevice->SetTransform(D3DTS_WORLD, &matrix);
    const D3DXVECTOR3 eye(0.0f, 0.0f, -10.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&matrix, &eye, &at, &up);
    m_pDevice->SetTransform(D3DTS_VIEW, &matrix);
    const float aspect = static_cast<float>(m_backBufferDesc.Width) / static_cast<float>(m_backBufferDesc.Height);
    D3DXMatrixPerspectiveFovLH(&matrix, D3DX_PI / 4.0f, aspect, 1.0f, 1000.0f);
    m_pDevice->SetTransform(D3DTS_PROJECTION, &matrix);

    if (m_pHudFont != nullptr) m_pHudFont->CreateVolatileResources();
    if (m_pTextMesh != nullptr) {
        m_pTextMesh->Release();
        m_pTextMesh = nullptr;
    }
    // The point size serves as the mesh font's logical height.
    if (FAILED(CreateTextMesh(&m_pTextMesh, m_fontFace, m_fontPointSize))) return E_FAIL;

    m_pDevice->SetLight(0, &m_pointLight);
    m_pDevice->LightEnable(0, TRUE);
    m_pDevice->SetLight(1, &m_directionalLight);
    m_pDevice->LightEnable(1, TRUE);
    m_cursor.SetTexCoords();
    return S_OK;
}

HRESULT CSceneApp::ReleaseVolatileResources() {
    if (m_pHudFont != nullptr) m_pHudFont->ReleaseVolatileResources();
    if (m_pD3DXFont != nullptr) m_pD3DXFont->OnLostDevice();
    if (m_pTextMesh != nullptr) {
        m_pTextMesh->Release();
        m_pTextMesh = nullptr;
    }
    return S_OK;
}

HRESULT CSceneApp::ReleaseDeviceResources() {
    if (m_pHudFont != nullptr) m_pHudFont->ReleaseDeviceResources();
    if (m_pD3DXFont != nullptr) {
        m_pD3DXFont->Release();
        m_pD3DXFont = nullptr;
    }
    for (CBlurQuad& quad : m_blurQuads) quad.ReleaseVertexBuffer();
    m_terrain.ReleaseDeviceResources();
    m_sphere1.ReleaseDeviceResources();
    m_sphere2.ReleaseDeviceResources();
    m_sphere3.ReleaseDeviceResources();
    m_cube1.ReleaseDeviceResources();
    m_cube2.ReleaseDeviceResources();
    m_cube3.ReleaseDeviceResources();
    m_cursor.ReleaseDeviceResources();
    if (m_pTileTexture != nullptr) {
        m_pTileTexture->Release();
        m_pTileTexture = nullptr;
    }
    if (m_pMatrixStack != nullptr) {
        m_pMatrixStack->Release();
        m_pMatrixStack = nullptr;
    }
    return S_OK;
}
