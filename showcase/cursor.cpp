#include "cursor.h"

#include "d3dx9.h"
#include "error_log.h"

namespace {

constexpr const char* kSourceFile = "cursor";
constexpr DWORD kCursorFvf = D3DFVF_XYZRHW | D3DFVF_TEX1;  // 0x104
constexpr float kSize = 32.0f;

struct CursorVertex {
    float x, y, z, rhw;
    float u, v;
};
static_assert(sizeof(CursorVertex) == 24);

// The corners in strip order, as offsets from the mouse point in units of the square's size; the
// texture coordinates are the same numbers.
constexpr float kCorners[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};

// Logs a failed call at its line and answers whether it failed.
bool Failed(HRESULT hr, int line) {
    if (SUCCEEDED(hr)) return false;
    g_errorLog.LogError(hr, kSourceFile, line);
    return true;
}

}  // namespace

CCursor::CCursor() : m_pTexture(nullptr), m_pVertexBuffer(nullptr) {}

CCursor::~CCursor() {}

HRESULT CCursor::CreateDeviceResources(IDirect3DDevice9*& device) {
    // Objects of an earlier device are let go first, so nothing leaks.
    ReleaseDeviceResources();
    if (!device) return D3DERR_INVALIDCALL;
    HRESULT hr = device->SetRenderState(D3DRS_LIGHTING, FALSE);
    if (Failed(hr, __LINE__)) return hr;
    hr = D3DXCreateTextureFromFileExA(device, "Media\\cursor.dds", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                      D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, 0xFF000000,
                                      nullptr, nullptr, &m_pTexture);
    if (Failed(hr, __LINE__)) {
        m_pTexture = nullptr;
        return hr;
    }
    hr = device->CreateVertexBuffer(4 * sizeof(CursorVertex), D3DUSAGE_WRITEONLY, kCursorFvf, D3DPOOL_MANAGED,
                                    &m_pVertexBuffer, nullptr);
    if (Failed(hr, __LINE__)) {
        m_pVertexBuffer = nullptr;
        return hr;
    }
    return S_OK;
}

HRESULT CCursor::Lock(void** data, int line) {
    *data = nullptr;
    HRESULT hr = m_pVertexBuffer->Lock(0, 0, data, 0);
    if (SUCCEEDED(hr) && !*data) hr = E_FAIL;
    Failed(hr, line);
    return hr;
}

HRESULT CCursor::SetTexCoords() {
    if (!m_pVertexBuffer) return S_FALSE;
    void* data = nullptr;
    const HRESULT hr = Lock(&data, __LINE__);
    if (FAILED(hr)) return hr;
    auto* vertices = static_cast<CursorVertex*>(data);
    for (int i = 0; i < 4; ++i) {
        vertices[i].u = kCorners[i][0];
        vertices[i].v = kCorners[i][1];
    }
    m_pVertexBuffer->Unlock();
    return S_OK;
}

HRESULT CCursor::UpdatePosition(const InputState* input) {
    if (!m_pVertexBuffer || !input) return S_FALSE;
    const float x = static_cast<float>(input->cursorX);
    const float y = static_cast<float>(input->cursorY);
    void* data = nullptr;
    const HRESULT hr = Lock(&data, __LINE__);
    if (FAILED(hr)) return hr;
    auto* vertices = static_cast<CursorVertex*>(data);
    for (int i = 0; i < 4; ++i) {
        vertices[i].x = x + kCorners[i][0] * kSize;
        vertices[i].y = y + kCorners[i][1] * kSize;
        vertices[i].z = 0.0f;
        vertices[i].rhw = 1.0f;
    }
    m_pVertexBuffer->Unlock();
    return S_OK;
}

HRESULT CCursor::Draw(IDirect3DDevice9*& device) {
    if (!device) return S_OK;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    // Without a buffer there is nothing to draw, and nothing to log on every frame.
    if (m_pVertexBuffer) {
        Failed(device->SetTexture(0, m_pTexture), __LINE__);
        Failed(device->SetFVF(kCursorFvf), __LINE__);
        Failed(device->SetStreamSource(0, m_pVertexBuffer, 0, sizeof(CursorVertex)), __LINE__);
        Failed(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), __LINE__);
    }
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    return S_OK;
}

HRESULT CCursor::ReleaseDeviceResources() {
    if (m_pVertexBuffer) {
        m_pVertexBuffer->Release();
        m_pVertexBuffer = nullptr;
    }
    if (m_pTexture) {
        m_pTexture->Release();
        m_pTexture = nullptr;
    }
    return S_OK;
}
