// The Direct3D object's answers: adapters, identifiers, modes, capabilities and the format checks.
#include "direct3d.h"

#include <algorithm>
#include <cstring>

#include "call_log.h"
#include "format_checks.h"
#include "full_screen.h"
#include "live_objects.h"
#include "machine/machine.h"

namespace d3d9 {

Direct3D::Direct3D(Profile profile) : profile_(std::move(profile)) { CountObjectCreated(); }

Direct3D::~Direct3D() { CountObjectDestroyed(); }

void Direct3D::Released(ULONG) { LogCall("Release"); }

const AdapterProfile* Direct3D::Adapter(UINT adapter) const {
    return adapter < profile_.adapters.size() ? &profile_.adapters[adapter] : nullptr;
}

const DeviceTypeProfile* Direct3D::DeviceType(UINT adapter, D3DDEVTYPE type) const {
    const AdapterProfile* a = Adapter(adapter);
    if (!a) return nullptr;
    auto it = a->devices.find(type);
    if (it == a->devices.end() || !it->second.capsAvailable) return nullptr;
    return &it->second;
}

D3DDISPLAYMODE Direct3D::DesktopMode(UINT adapter) const {
    const AdapterProfile* a = Adapter(adapter);
    if (a && a->desktop) return *a->desktop;
    machine::DisplayMode m = machine::DesktopMode();
    return {m.width, m.height, m.refreshRate, static_cast<D3DFORMAT>(m.format)};
}

D3DDISPLAYMODE Direct3D::CurrentMode(UINT adapter) const {
    if (auto mode = FullScreenMode(adapter)) return *mode;
    return DesktopMode(adapter);
}

D3DCAPS9 Direct3D::Caps(UINT adapter, D3DDEVTYPE type) const {
    D3DCAPS9 caps = DeviceType(adapter, type)->caps;
    caps.DeviceType = type;
    caps.AdapterOrdinal = adapter;
    caps.MasterAdapterOrdinal = adapter;
    caps.AdapterOrdinalInGroup = 0;
    caps.NumberOfAdaptersInGroup = 1;
    return caps;
}

UINT Direct3D::GetAdapterCount() {
    LogCall("GetAdapterCount");
    return static_cast<UINT>(profile_.adapters.size());
}

HRESULT Direct3D::GetAdapterIdentifier(UINT Adapter, DWORD Flags, D3DADAPTER_IDENTIFIER9* pIdentifier) {
    LogCall("GetAdapterIdentifier", Adapter, Flags);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a || !pIdentifier || (Flags & ~DWORD(D3DENUM_WHQL_LEVEL))) return D3DERR_INVALIDCALL;
    if (a->identifierFails) return D3DERR_NOTAVAILABLE;
    std::memset(pIdentifier, 0, sizeof(*pIdentifier));
    // Texts of the record's full size or longer fill it without a terminator, as the record allows.
    auto copy = [](char* to, size_t capacity, const std::string& text) {
        std::memcpy(to, text.data(), std::min(capacity, text.size()));
    };
    copy(pIdentifier->Driver, sizeof(pIdentifier->Driver), a->driver);
    copy(pIdentifier->Description, sizeof(pIdentifier->Description), a->description);
    copy(pIdentifier->DeviceName, sizeof(pIdentifier->DeviceName), a->deviceName);
    pIdentifier->DriverVersion.QuadPart = (int64_t(9) << 48) | 1;
    pIdentifier->DeviceIdentifier = a->deviceIdentifier;
    return D3D_OK;
}

UINT Direct3D::GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) {
    LogCall("GetAdapterModeCount", Adapter, Format);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a) return 0;
    auto it = a->modes.find(Format);
    return it == a->modes.end() ? 0 : static_cast<UINT>(it->second.size());
}

HRESULT Direct3D::EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) {
    LogCall("EnumAdapterModes", Adapter, Format, Mode);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a || !pMode) return D3DERR_INVALIDCALL;
    auto it = a->modes.find(Format);
    if (it == a->modes.end() || Mode >= it->second.size()) return D3DERR_INVALIDCALL;
    if (a->failingModes.count({Format, Mode})) return D3DERR_NOTAVAILABLE;
    *pMode = it->second[Mode];
    return D3D_OK;
}

HRESULT Direct3D::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
    LogCall("GetAdapterDisplayMode", Adapter);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a || !pMode) return D3DERR_INVALIDCALL;
    if (a->desktopFails) return D3DERR_NOTAVAILABLE;
    *pMode = CurrentMode(Adapter);
    return D3D_OK;
}

HRESULT Direct3D::CheckDeviceType(UINT Adapter, D3DDEVTYPE DevType, D3DFORMAT AdapterFormat,
                                  D3DFORMAT BackBufferFormat, BOOL bWindowed) {
    LogCall("CheckDeviceType", Adapter, DevType, AdapterFormat, BackBufferFormat, bWindowed);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a) return D3DERR_INVALIDCALL;
    const DeviceTypeProfile* device = DeviceType(Adapter, DevType);
    if (!device) return D3DERR_NOTAVAILABLE;
    return CheckBackBuffer(*a, *device, DesktopMode(Adapter).Format, AdapterFormat, BackBufferFormat,
                           bWindowed != FALSE);
}

HRESULT Direct3D::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                    D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) {
    LogCall("CheckDeviceFormat", Adapter, DeviceType, AdapterFormat, Usage, RType, CheckFormat);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a) return D3DERR_INVALIDCALL;
    const DeviceTypeProfile* device = this->DeviceType(Adapter, DeviceType);
    if (!device) return D3DERR_NOTAVAILABLE;
    return CheckResourceFormat(*a, *device, DesktopMode(Adapter).Format, AdapterFormat, Usage, RType, CheckFormat);
}

HRESULT Direct3D::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat,
                                             BOOL Windowed, D3DMULTISAMPLE_TYPE MultiSampleType,
                                             DWORD* pQualityLevels) {
    LogCall("CheckDeviceMultiSampleType", Adapter, DeviceType, SurfaceFormat, Windowed, MultiSampleType,
            static_cast<const void*>(pQualityLevels));
    if (!this->Adapter(Adapter)) return D3DERR_INVALIDCALL;
    const DeviceTypeProfile* device = this->DeviceType(Adapter, DeviceType);
    if (!device) return D3DERR_NOTAVAILABLE;
    return CheckMultisample(*device, SurfaceFormat, Windowed != FALSE, MultiSampleType, pQualityLevels);
}

HRESULT Direct3D::CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                         D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) {
    LogCall("CheckDepthStencilMatch", Adapter, DeviceType, AdapterFormat, RenderTargetFormat, DepthStencilFormat);
    const AdapterProfile* a = this->Adapter(Adapter);
    if (!a) return D3DERR_INVALIDCALL;
    const DeviceTypeProfile* device = this->DeviceType(Adapter, DeviceType);
    if (!device) return D3DERR_NOTAVAILABLE;
    return CheckDepthMatch(*a, *device, DesktopMode(Adapter).Format, AdapterFormat, RenderTargetFormat,
                           DepthStencilFormat);
}

HRESULT Direct3D::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
    LogCall("GetDeviceCaps", Adapter, DeviceType);
    if (!this->Adapter(Adapter) || !pCaps) return D3DERR_INVALIDCALL;
    if (!this->DeviceType(Adapter, DeviceType)) return D3DERR_NOTAVAILABLE;
    *pCaps = Caps(Adapter, DeviceType);
    return D3D_OK;
}

}  // namespace d3d9
