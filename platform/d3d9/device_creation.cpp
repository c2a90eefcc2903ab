// CreateDevice: the adapter, device type, behaviour flags, windows and present parameters are checked
// against the profile before the device and its swap chain are made.
#include "call_log.h"
#include "device.h"
#include "device_stats.h"
#include "device_window.h"

namespace d3d9 {

namespace {

HRESULT CheckBehavior(DWORD flags, const D3DCAPS9& caps) {
    const DWORD processing = flags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                      D3DCREATE_MIXED_VERTEXPROCESSING);
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
        processing != D3DCREATE_MIXED_VERTEXPROCESSING)
        return D3DERR_INVALIDCALL;
    const bool hardwareTnl = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && !hardwareTnl) return D3DERR_INVALIDCALL;
    if ((flags & D3DCREATE_PUREDEVICE) &&
        (processing != D3DCREATE_HARDWARE_VERTEXPROCESSING || !(caps.DevCaps & D3DDEVCAPS_PUREDEVICE)))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

}  // namespace

HRESULT Direct3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                               D3DPRESENT_PARAMETERS* pPresentationParameters,
                               IDirect3DDevice9** ppReturnedDeviceInterface) {
    return Device::Create(this, Adapter, DeviceType, hFocusWindow, BehaviorFlags, pPresentationParameters,
                          ppReturnedDeviceInterface);
}

HRESULT Device::Create(Direct3D* d3d, UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
    LogCall("CreateDevice", adapter, type, static_cast<const void*>(focusWindow), behaviorFlags);
    if (!device || !params) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (!d3d->Adapter(adapter)) return D3DERR_INVALIDCALL;
    const DeviceTypeProfile* profile = d3d->DeviceType(adapter, type);
    if (!profile) return D3DERR_NOTAVAILABLE;
    if (FAILED(profile->createResult)) return profile->createResult;
    if (FAILED(CheckBehavior(behaviorFlags, profile->caps))) return D3DERR_INVALIDCALL;
    // A full-screen device needs the focus window; a given focus window must exist.
    if ((focusWindow && !WindowExists(focusWindow)) || (!params->Windowed && !focusWindow))
        return D3DERR_INVALIDCALL;

    ResolvedPresentation resolved;
    HRESULT hr = ResolvePresentation(*d3d, adapter, type, *params, focusWindow, resolved);
    if (FAILED(hr)) return hr;

    Device* created = new Device(d3d, adapter, type, focusWindow, behaviorFlags);
    hr = created->ApplyPresentation(resolved);
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *params = resolved.params;
    CountDeviceCreation();
    created->Describe();
    *device = created;
    return D3D_OK;
}

}  // namespace d3d9
