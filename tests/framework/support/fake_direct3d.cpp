#include "fake_direct3d.h"

#include <cstdio>
#include <cstring>

namespace test {

std::string FormatText(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_UNKNOWN: return "UNKNOWN";
    case D3DFMT_A8R8G8B8: return "A8R8G8B8";
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_X1R5G5B5: return "X1R5G5B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    case D3DFMT_A2R10G10B10: return "A2R10G10B10";
    case D3DFMT_D16: return "D16";
    case D3DFMT_D15S1: return "D15S1";
    case D3DFMT_D24X8: return "D24X8";
    case D3DFMT_D24S8: return "D24S8";
    case D3DFMT_D24X4S4: return "D24X4S4";
    case D3DFMT_D32: return "D32";
    default: return std::to_string(static_cast<int>(format));
    }
}

std::string DeviceTypeText(D3DDEVTYPE type) {
    switch (type) {
    case D3DDEVTYPE_HAL: return "HAL";
    case D3DDEVTYPE_SW: return "SW";
    case D3DDEVTYPE_REF: return "REF";
    default: return std::to_string(static_cast<int>(type));
    }
}

namespace {

std::string Args(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += ",";
        text += part;
    }
    return text;
}

std::string Num(unsigned long long value) { return std::to_string(value); }

} // namespace

FakeDirect3D::FakeDirect3D() = default;
FakeDirect3D::~FakeDirect3D() = default;

std::vector<std::string> FakeDirect3D::CallsNamed(const std::string& name) const {
    std::vector<std::string> calls;
    for (const std::string& line : log)
        if (line.compare(0, name.size() + 1, name + "(") == 0) calls.push_back(line);
    return calls;
}

HRESULT FakeDirect3D::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3D9) {
        *ppvObject = this;
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDirect3D::AddRef() {
    ++addRefCalls;
    return ++refCount;
}

ULONG FakeDirect3D::Release() {
    ++releaseCalls;
    if (refCount > 0) --refCount;
    return refCount;
}

const FakeDeviceType* FakeDirect3D::Device(UINT adapter, D3DDEVTYPE type) const {
    if (adapter >= adapters.size()) return nullptr;
    auto found = adapters[adapter].devices.find(type);
    if (found == adapters[adapter].devices.end() || found->second.capsFail) return nullptr;
    return &found->second;
}

UINT FakeDirect3D::GetAdapterCount() {
    Log("GetAdapterCount()");
    return static_cast<UINT>(adapters.size());
}

HRESULT FakeDirect3D::GetAdapterIdentifier(UINT Adapter, DWORD Flags, D3DADAPTER_IDENTIFIER9* pIdentifier) {
    Log("GetAdapterIdentifier(" + Args({Num(Adapter), Num(Flags)}) + ")");
    if (!pIdentifier) return D3DERR_INVALIDCALL;
    if (Adapter >= adapters.size() || adapters[Adapter].identifierFails) {
        // A failing platform call may leave anything behind: here, text without a terminator.
        std::memset(pIdentifier, 'x', sizeof(*pIdentifier));
        return D3DERR_INVALIDCALL;
    }
    std::memset(pIdentifier, 0, sizeof(*pIdentifier));
    std::snprintf(pIdentifier->Description, sizeof(pIdentifier->Description), "%s",
                  adapters[Adapter].description.c_str());
    std::snprintf(pIdentifier->Driver, sizeof(pIdentifier->Driver), "fake.drv");
    return S_OK;
}

UINT FakeDirect3D::GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) {
    Log("GetAdapterModeCount(" + Args({Num(Adapter), FormatText(Format)}) + ")");
    if (Adapter >= adapters.size()) return 0;
    auto found = adapters[Adapter].modes.find(Format);
    return found == adapters[Adapter].modes.end() ? 0 : static_cast<UINT>(found->second.size());
}

HRESULT FakeDirect3D::EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) {
    Log("EnumAdapterModes(" + Args({Num(Adapter), FormatText(Format), Num(Mode)}) + ")");
    if (!pMode) return D3DERR_INVALIDCALL;
    if (Adapter >= adapters.size()) return D3DERR_INVALIDCALL;
    const FakeAdapter& adapter = adapters[Adapter];
    auto found = adapter.modes.find(Format);
    if (found == adapter.modes.end() || Mode >= found->second.size() ||
        adapter.failingModes.count({Format, Mode})) {
        *pMode = staleMode;
        return D3DERR_INVALIDCALL;
    }
    *pMode = found->second[Mode];
    return S_OK;
}

HRESULT FakeDirect3D::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
    Log("GetAdapterDisplayMode(" + Num(Adapter) + ")");
    if (!pMode) return D3DERR_INVALIDCALL;
    if (Adapter >= adapters.size() || adapters[Adapter].desktopFails) {
        *pMode = staleMode;
        return D3DERR_INVALIDCALL;
    }
    *pMode = adapters[Adapter].desktop;
    return S_OK;
}

HRESULT FakeDirect3D::CheckDeviceType(UINT Adapter, D3DDEVTYPE DevType, D3DFORMAT AdapterFormat,
                                      D3DFORMAT BackBufferFormat, BOOL bWindowed) {
    Log("CheckDeviceType(" + Args({Num(Adapter), DeviceTypeText(DevType), FormatText(AdapterFormat),
                                   FormatText(BackBufferFormat), Num(bWindowed)}) +
        ")");
    if (!Device(Adapter, DevType)) return D3DERR_NOTAVAILABLE;
    if (deviceTypeRule && !deviceTypeRule(Adapter, DevType, AdapterFormat, BackBufferFormat, bWindowed))
        return D3DERR_NOTAVAILABLE;
    return S_OK;
}

HRESULT FakeDirect3D::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                        D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) {
    Log("CheckDeviceFormat(" + Args({Num(Adapter), DeviceTypeText(DeviceType), FormatText(AdapterFormat),
                                     Num(Usage), Num(RType), FormatText(CheckFormat)}) +
        ")");
    if (!Device(Adapter, DeviceType)) return D3DERR_NOTAVAILABLE;
    if (deviceFormatRule && !deviceFormatRule(Adapter, DeviceType, AdapterFormat, Usage, RType, CheckFormat))
        return D3DERR_NOTAVAILABLE;
    return S_OK;
}

HRESULT FakeDirect3D::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat,
                                                 BOOL Windowed, D3DMULTISAMPLE_TYPE MultiSampleType,
                                                 DWORD* pQualityLevels) {
    Log("CheckDeviceMultiSampleType(" +
        Args({Num(Adapter), DeviceTypeText(DeviceType), FormatText(SurfaceFormat), Num(Windowed),
              Num(MultiSampleType), pQualityLevels ? "levels" : "null"}) +
        ")");
    if (!Device(Adapter, DeviceType)) return D3DERR_NOTAVAILABLE;
    DWORD levels = 1;
    if (multisampleRule) {
        std::optional<DWORD> answer = multisampleRule(Adapter, DeviceType, SurfaceFormat, Windowed, MultiSampleType);
        if (!answer) return D3DERR_NOTAVAILABLE;
        levels = *answer;
    } else if (MultiSampleType != D3DMULTISAMPLE_NONE) {
        return D3DERR_NOTAVAILABLE;
    }
    if (pQualityLevels) *pQualityLevels = levels;
    return S_OK;
}

HRESULT FakeDirect3D::CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                             D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) {
    Log("CheckDepthStencilMatch(" + Args({Num(Adapter), DeviceTypeText(DeviceType), FormatText(AdapterFormat),
                                          FormatText(RenderTargetFormat), FormatText(DepthStencilFormat)}) +
        ")");
    if (!Device(Adapter, DeviceType)) return D3DERR_NOTAVAILABLE;
    if (depthMatchRule && !depthMatchRule(Adapter, DeviceType, AdapterFormat, RenderTargetFormat, DepthStencilFormat))
        return D3DERR_NOTAVAILABLE;
    return S_OK;
}

HRESULT FakeDirect3D::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
    Log("GetDeviceCaps(" + Args({Num(Adapter), DeviceTypeText(DeviceType)}) + ")");
    if (!pCaps) return D3DERR_INVALIDCALL;
    const FakeDeviceType* device = Device(Adapter, DeviceType);
    if (!device) return D3DERR_NOTAVAILABLE;
    *pCaps = device->caps;
    pCaps->DeviceType = DeviceType;
    pCaps->AdapterOrdinal = Adapter;
    return S_OK;
}

HRESULT FakeDirect3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND, DWORD BehaviorFlags,
                                   D3DPRESENT_PARAMETERS*, IDirect3DDevice9** ppReturnedDeviceInterface) {
    Log("CreateDevice(" + Args({Num(Adapter), DeviceTypeText(DeviceType), Num(BehaviorFlags)}) + ")");
    // This double makes no devices: a success result would hand back a null device, so it fails.
    if (ppReturnedDeviceInterface) *ppReturnedDeviceInterface = nullptr;
    return FAILED(createDeviceResult) ? createDeviceResult : D3DERR_NOTAVAILABLE;
}

std::vector<D3DDISPLAYMODE> ModesIn(D3DFORMAT format, const std::vector<ModeSize>& sizes) {
    std::vector<D3DDISPLAYMODE> modes;
    for (const ModeSize& size : sizes) modes.push_back({size.width, size.height, size.refresh, format});
    return modes;
}

FakeDeviceType HardwareDevice(DWORD presentIntervals) {
    FakeDeviceType device;
    device.caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE;
    device.caps.PresentationIntervals = presentIntervals;
    device.caps.MaxTextureWidth = 2048;
    device.caps.MaxTextureHeight = 2048;
    return device;
}

FakeDeviceType SoftwareDevice(DWORD presentIntervals) {
    FakeDeviceType device;
    device.caps.PresentationIntervals = presentIntervals;
    device.caps.MaxTextureWidth = 2048;
    device.caps.MaxTextureHeight = 2048;
    return device;
}

namespace {

const std::vector<ModeSize> kTypicalSizes = {{640, 480, 60},   {640, 480, 85},  {800, 600, 60},
                                             {800, 600, 85},   {1024, 768, 60}, {1024, 768, 85},
                                             {1280, 1024, 60}};

FakeAdapter TypicalAdapter(const std::string& description) {
    FakeAdapter adapter;
    adapter.description = description;
    adapter.desktop = {1024, 768, 85, D3DFMT_X8R8G8B8};
    adapter.modes[D3DFMT_X8R8G8B8] = ModesIn(D3DFMT_X8R8G8B8, kTypicalSizes);
    adapter.modes[D3DFMT_R5G6B5] = ModesIn(D3DFMT_R5G6B5, kTypicalSizes);
    return adapter;
}

// The typical rules: a back buffer in the display format, or A8R8G8B8 on X8R8G8B8; D16 and D24S8;
// NONE, 2 and 4 samples, 4 refused for D16.
void TypicalRules(FakeDirect3D& d3d) {
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT backBuffer, BOOL) {
        return backBuffer == adapterFormat ||
               (adapterFormat == D3DFMT_X8R8G8B8 && backBuffer == D3DFMT_A8R8G8B8);
    };
    d3d.deviceFormatRule = [](UINT, D3DDEVTYPE, D3DFORMAT, DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format) {
        return usage == D3DUSAGE_DEPTHSTENCIL && type == D3DRTYPE_SURFACE &&
               (format == D3DFMT_D16 || format == D3DFMT_D24S8);
    };
    d3d.depthMatchRule = nullptr;
    d3d.multisampleRule = [](UINT, D3DDEVTYPE, D3DFORMAT surface, BOOL,
                             D3DMULTISAMPLE_TYPE type) -> std::optional<DWORD> {
        if (type == D3DMULTISAMPLE_NONE) return 1;
        if (type == D3DMULTISAMPLE_2_SAMPLES) return 2;
        if (type == D3DMULTISAMPLE_4_SAMPLES && surface != D3DFMT_D16) return 3;
        return std::nullopt;
    };
}

} // namespace

void MakeOneHalTypical(FakeDirect3D& d3d) {
    d3d.adapters = {TypicalAdapter("Fake HAL adapter")};
    d3d.adapters[0].devices[D3DDEVTYPE_HAL] = HardwareDevice(D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE);
    TypicalRules(d3d);
}

void MakeRefOnly(FakeDirect3D& d3d) {
    d3d.adapters = {TypicalAdapter("Fake reference adapter")};
    d3d.adapters[0].devices[D3DDEVTYPE_REF] = SoftwareDevice(D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE);
    TypicalRules(d3d);
}

void MakeHalPlusRef(FakeDirect3D& d3d) {
    MakeOneHalTypical(d3d);
    d3d.adapters[0].devices[D3DDEVTYPE_REF] = SoftwareDevice(D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE);
    d3d.createDeviceResult = D3DERR_NOTAVAILABLE;
}

void MakeTwoAdaptersFirstUnusable(FakeDirect3D& d3d) {
    FakeAdapter small = TypicalAdapter("Fake small adapter");
    small.desktop = {640, 400, 60, D3DFMT_X8R8G8B8};
    small.modes.clear();
    small.modes[D3DFMT_X8R8G8B8] = ModesIn(D3DFMT_X8R8G8B8, {{320, 240, 60}, {639, 480, 60}, {640, 479, 60}});
    small.devices[D3DDEVTYPE_HAL] = HardwareDevice(D3DPRESENT_INTERVAL_ONE);
    FakeAdapter typical = TypicalAdapter("Fake HAL adapter");
    typical.devices[D3DDEVTYPE_HAL] = HardwareDevice(D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE);
    d3d.adapters = {small, typical};
    TypicalRules(d3d);
}

void MakeSwCapsFail(FakeDirect3D& d3d) {
    MakeOneHalTypical(d3d);
    FakeDeviceType sw = SoftwareDevice(D3DPRESENT_INTERVAL_ONE);
    sw.capsFail = true;
    d3d.adapters[0].devices[D3DDEVTYPE_SW] = sw;
    d3d.adapters[0].devices[D3DDEVTYPE_REF] = SoftwareDevice(D3DPRESENT_INTERVAL_ONE);
}

void MakeDesktopFormatWithoutWindowedCombos(FakeDirect3D& d3d) {
    MakeOneHalTypical(d3d);
    d3d.adapters[0].modes.erase(D3DFMT_X8R8G8B8);
}

void MakeNothingUsable(FakeDirect3D& d3d) {
    MakeHalPlusRef(d3d);
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, BOOL) { return false; };
}

void MakeNullReference(FakeDirect3D& d3d) {
    MakeRefOnly(d3d);
    d3d.adapters[0].devices[D3DDEVTYPE_REF].caps.PrimitiveMiscCaps |= D3DPMISCCAPS_NULLREFERENCE;
}

void MakeDesktopNotListed(FakeDirect3D& d3d) {
    MakeOneHalTypical(d3d);
    d3d.adapters[0].modes.clear();
    d3d.adapters[0].modes[D3DFMT_X8R8G8B8] =
        ModesIn(D3DFMT_X8R8G8B8, {{800, 600, 60}, {1024, 600, 60}, {1024, 768, 60}, {1280, 1024, 60}});
}

} // namespace test
