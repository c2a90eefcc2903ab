// The Direct3D object: adapters, modes, capabilities and format checks answered from an adapter profile,
// and device creation.
#pragma once

#include "com/com_object.h"
#include "d3d9/adapter_profile.h"

namespace d3d9 {

class Direct3D final : public com::ComObject<IDirect3D9, IID_IDirect3D9> {
public:
    explicit Direct3D(Profile profile);

    UINT GetAdapterCount() override;
    HRESULT GetAdapterIdentifier(UINT Adapter, DWORD Flags, D3DADAPTER_IDENTIFIER9* pIdentifier) override;
    UINT GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) override;
    HRESULT EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) override;
    HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override;
    HRESULT CheckDeviceType(UINT Adapter, D3DDEVTYPE DevType, D3DFORMAT AdapterFormat, D3DFORMAT BackBufferFormat,
                            BOOL bWindowed) override;
    HRESULT CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                              D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) override;
    HRESULT CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat, BOOL Windowed,
                                       D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels) override;
    HRESULT CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                   D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) override;
    HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) override;
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                         D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice9** ppReturnedDeviceInterface) override;

    const AdapterProfile* Adapter(UINT adapter) const;
    // The device type when the adapter offers it (its capabilities can be read), else null.
    const DeviceTypeProfile* DeviceType(UINT adapter, D3DDEVTYPE type) const;
    // The adapter's desktop mode (the machine's display for adapter 0 unless the profile says otherwise).
    D3DDISPLAYMODE DesktopMode(UINT adapter) const;
    // What the display shows now: a full-screen device's mode, or the desktop.
    D3DDISPLAYMODE CurrentMode(UINT adapter) const;
    D3DCAPS9 Caps(UINT adapter, D3DDEVTYPE type) const;

private:
    ~Direct3D() override;
    void Released(ULONG left) override;  // logs the call

    Profile profile_;
};

}  // namespace d3d9
