// A Direct3D 9 device double for the host tests: scripted TestCooperativeLevel, Present and Reset
// results, reference counting with a settable number of references still held elsewhere, a back
// buffer whose description follows the present parameters, and a call log. Every other method
// answers D3DERR_INVALIDCALL or a plain default. Also a Direct3D object that hands such devices out.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "d3d9.h"

#include "fake_direct3d.h"

namespace test {

class FakeSurface;

class FakeDevice : public IDirect3DDevice9 {
public:
    explicit FakeDevice(const D3DPRESENT_PARAMETERS& params);
    ~FakeDevice() override;

    // Scripted results, taken one per call; D3D_OK once a script runs out.
    std::deque<HRESULT> cooperativeLevelResults;
    std::deque<HRESULT> presentResults;
    std::deque<HRESULT> resetResults;

    // References that something else still holds: Release answers them on top of its own count.
    ULONG extraReferences = 0;
    ULONG refCount = 1;

    D3DPRESENT_PARAMETERS presentParams;  // from creation, then from every successful Reset
    D3DCAPS9 caps{};
    bool backBufferFails = false;

    // One entry per call, e.g. "Present", "Reset", "ShowCursor(1)", "SetCursorPosition(10,20)".
    std::vector<std::string> log;
    int Count(const std::string& entry) const;

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT TestCooperativeLevel() override;
    HRESULT GetDirect3D(IDirect3D9** ppD3D9) override;
    HRESULT GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override;
    HRESULT SetCursorProperties(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface9* pCursorBitmap) override;
    void SetCursorPosition(int X, int Y, DWORD Flags) override;
    BOOL ShowCursor(BOOL bShow) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const void* pDirtyRegion) override;
    HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                          IDirect3DSurface9** ppBackBuffer) override;
    HRESULT CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DTexture9**, HANDLE*) override;
    HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**, HANDLE*) override;
    HRESULT CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**, HANDLE*) override;
    HRESULT CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL, IDirect3DSurface9**, HANDLE*) override;
    HRESULT GetRenderTarget(DWORD, IDirect3DSurface9**) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9**) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override;
    HRESULT SetViewport(const D3DVIEWPORT9*) override;
    HRESULT GetViewport(D3DVIEWPORT9*) override;
    HRESULT SetMaterial(const D3DMATERIAL9*) override;
    HRESULT GetMaterial(D3DMATERIAL9*) override;
    HRESULT SetLight(DWORD, const D3DLIGHT9*) override;
    HRESULT GetLight(DWORD, D3DLIGHT9*) override;
    HRESULT LightEnable(DWORD, BOOL) override;
    HRESULT GetLightEnable(DWORD, BOOL*) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override;
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE, IDirect3DStateBlock9**) override;
    HRESULT BeginStateBlock() override;
    HRESULT EndStateBlock(IDirect3DStateBlock9**) override;
    HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override;
    HRESULT SetTexture(DWORD, IDirect3DBaseTexture9*) override;
    HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) override;
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override;
    HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override;
    HRESULT SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void*, UINT) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, UINT, UINT, UINT, const void*, D3DFORMAT, const void*,
                                   UINT) override;
    HRESULT SetFVF(DWORD) override;
    HRESULT GetFVF(DWORD*) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9*) override;
    HRESULT GetVertexShader(IDirect3DVertexShader9**) override;
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) override;
    HRESULT GetStreamSource(UINT, IDirect3DVertexBuffer9**, UINT*, UINT*) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9*) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9**) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9*) override;
    HRESULT GetPixelShader(IDirect3DPixelShader9**) override;

    // Live references handed out on the back buffer (0 when the framework released all it took).
    ULONG BackBufferReferences() const;

private:
    static HRESULT Next(std::deque<HRESULT>& script);
    std::unique_ptr<FakeSurface> m_backBuffer;
};

// A Direct3D object with the catalog double's adapters that also creates devices: each successful
// CreateDevice hands out a new FakeDevice built from the present parameters.
class FakeDeviceDirect3D : public FakeDirect3D {
public:
    // Taken one per CreateDevice call; D3D_OK once the script runs out.
    std::deque<HRESULT> createResults;

    struct Creation {
        UINT adapter;
        D3DDEVTYPE type;
        HWND focusWindow;
        DWORD behaviorFlags;
        D3DPRESENT_PARAMETERS params;
        HRESULT result;
    };
    std::vector<Creation> creations;
    std::vector<std::unique_ptr<FakeDevice>> devices;  // every device made, in order
    // Set on each new device before it is handed out.
    ULONG extraReferencesOnNewDevices = 0;

    FakeDevice* LastDevice() const { return devices.empty() ? nullptr : devices.back().get(); }

    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                         D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice9** ppReturnedDeviceInterface) override;
};

}  // namespace test
