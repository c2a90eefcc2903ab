#include "fake_device.h"

#include <algorithm>

namespace test {

// The back buffer: a counted surface whose description the device fills from its present parameters.
class FakeSurface : public IDirect3DSurface9 {
public:
    D3DSURFACE_DESC desc{};
    ULONG refCount = 0;

    HRESULT QueryInterface(REFIID, void** ppvObject) override {
        if (ppvObject) *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refCount; }
    ULONG Release() override {
        if (refCount > 0) --refCount;
        return refCount;
    }
    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override {
        if (ppDevice) *ppDevice = nullptr;
        return D3DERR_INVALIDCALL;
    }
    DWORD SetPriority(DWORD) override { return 0; }
    DWORD GetPriority() override { return 0; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override {
        if (!pDesc) return D3DERR_INVALIDCALL;
        *pDesc = desc;
        return D3D_OK;
    }
    HRESULT LockRect(D3DLOCKED_RECT*, const RECT*, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT UnlockRect() override { return D3DERR_INVALIDCALL; }
};

FakeDevice::FakeDevice(const D3DPRESENT_PARAMETERS& params)
    : presentParams(params), m_backBuffer(std::make_unique<FakeSurface>()) {}

FakeDevice::~FakeDevice() = default;

int FakeDevice::Count(const std::string& entry) const {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

ULONG FakeDevice::BackBufferReferences() const { return m_backBuffer->refCount; }

HRESULT FakeDevice::Next(std::deque<HRESULT>& script) {
    if (script.empty()) return D3D_OK;
    const HRESULT hr = script.front();
    script.pop_front();
    return hr;
}

HRESULT FakeDevice::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3DDevice9) {
        *ppvObject = this;
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDevice::AddRef() { return ++refCount; }

ULONG FakeDevice::Release() {
    log.push_back("Release");
    if (refCount > 0) --refCount;
    return refCount + extraReferences;
}

HRESULT FakeDevice::TestCooperativeLevel() {
    log.push_back("TestCooperativeLevel");
    return Next(cooperativeLevelResults);
}

HRESULT FakeDevice::GetDirect3D(IDirect3D9** ppD3D9) {
    if (ppD3D9) *ppD3D9 = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::GetDeviceCaps(D3DCAPS9* pCaps) {
    log.push_back("GetDeviceCaps");
    if (!pCaps) return D3DERR_INVALIDCALL;
    *pCaps = caps;
    return D3D_OK;
}

HRESULT FakeDevice::GetDisplayMode(UINT, D3DDISPLAYMODE*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetCursorProperties(UINT, UINT, IDirect3DSurface9*) { return D3DERR_INVALIDCALL; }

void FakeDevice::SetCursorPosition(int X, int Y, DWORD Flags) {
    log.push_back("SetCursorPosition(" + std::to_string(X) + "," + std::to_string(Y) + "," +
                  std::to_string(Flags) + ")");
}

BOOL FakeDevice::ShowCursor(BOOL bShow) {
    log.push_back("ShowCursor(" + std::to_string(bShow) + ")");
    return FALSE;
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) {
    log.push_back("Reset");
    const HRESULT hr = Next(resetResults);
    if (SUCCEEDED(hr) && pPresentationParameters) presentParams = *pPresentationParameters;
    return hr;
}

HRESULT FakeDevice::Present(const RECT*, const RECT*, HWND, const void*) {
    log.push_back("Present");
    return Next(presentResults);
}

HRESULT FakeDevice::GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9** ppBackBuffer) {
    log.push_back("GetBackBuffer");
    if (!ppBackBuffer) return D3DERR_INVALIDCALL;
    if (backBufferFails) {
        *ppBackBuffer = nullptr;
        return D3DERR_INVALIDCALL;
    }
    m_backBuffer->desc.Format = presentParams.BackBufferFormat;
    m_backBuffer->desc.Type = D3DRTYPE_SURFACE;
    m_backBuffer->desc.Width = presentParams.BackBufferWidth;
    m_backBuffer->desc.Height = presentParams.BackBufferHeight;
    m_backBuffer->desc.MultiSampleType = presentParams.MultiSampleType;
    m_backBuffer->desc.MultiSampleQuality = presentParams.MultiSampleQuality;
    m_backBuffer->AddRef();
    *ppBackBuffer = m_backBuffer.get();
    return D3D_OK;
}

HRESULT FakeDevice::CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DTexture9** pp, HANDLE*) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9** pp, HANDLE*) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9** pp, HANDLE*) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL, IDirect3DSurface9** pp, HANDLE*) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetRenderTarget(DWORD, IDirect3DSurface9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetDepthStencilSurface(IDirect3DSurface9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::BeginScene() { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::EndScene() { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetViewport(const D3DVIEWPORT9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetViewport(D3DVIEWPORT9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetMaterial(const D3DMATERIAL9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetMaterial(D3DMATERIAL9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetLight(DWORD, const D3DLIGHT9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetLight(DWORD, D3DLIGHT9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::LightEnable(DWORD, BOOL) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetLightEnable(DWORD, BOOL*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetRenderState(D3DRENDERSTATETYPE, DWORD) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetRenderState(D3DRENDERSTATETYPE, DWORD*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::CreateStateBlock(D3DSTATEBLOCKTYPE, IDirect3DStateBlock9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::BeginStateBlock() { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::EndStateBlock(IDirect3DStateBlock9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetTexture(DWORD, IDirect3DBaseTexture9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetTexture(DWORD, IDirect3DBaseTexture9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void*, UINT) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, UINT, UINT, UINT, const void*, D3DFORMAT, const void*,
                                           UINT) {
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetFVF(DWORD) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetFVF(DWORD*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::SetVertexShader(IDirect3DVertexShader9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetVertexShader(IDirect3DVertexShader9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetStreamSource(UINT, IDirect3DVertexBuffer9** pp, UINT*, UINT*) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetIndices(IDirect3DIndexBuffer9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetIndices(IDirect3DIndexBuffer9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetPixelShader(IDirect3DPixelShader9*) { return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::GetPixelShader(IDirect3DPixelShader9** pp) {
    if (pp) *pp = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDeviceDirect3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pPresentationParameters,
                                         IDirect3DDevice9** ppReturnedDeviceInterface) {
    Log("CreateDevice(" + std::to_string(Adapter) + "," + DeviceTypeText(DeviceType) + "," +
        std::to_string(BehaviorFlags) + ")");
    HRESULT hr = D3D_OK;
    if (!createResults.empty()) {
        hr = createResults.front();
        createResults.pop_front();
    }
    if (!pPresentationParameters || !ppReturnedDeviceInterface) hr = D3DERR_INVALIDCALL;
    const D3DPRESENT_PARAMETERS params = pPresentationParameters ? *pPresentationParameters : D3DPRESENT_PARAMETERS{};
    creations.push_back({Adapter, DeviceType, hFocusWindow, BehaviorFlags, params, hr});
    if (FAILED(hr)) {
        if (ppReturnedDeviceInterface) *ppReturnedDeviceInterface = nullptr;
        return hr;
    }
    devices.push_back(std::make_unique<FakeDevice>(params));
    devices.back()->extraReferences = extraReferencesOnNewDevices;
    *ppReturnedDeviceInterface = devices.back().get();
    return D3D_OK;
}

}  // namespace test
