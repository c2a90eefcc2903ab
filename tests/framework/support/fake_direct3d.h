// A configurable Direct3D 9 object for the catalog and settings tests: adapters with their
// identifiers, desktop modes and mode lists, device types with capabilities, rule predicates for
// the format checks, failure injection, a call log and reference counting.
#pragma once

#include "d3d9.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace test {

struct FakeDeviceType {
    bool capsFail = false;
    D3DCAPS9 caps{};
};

struct FakeAdapter {
    std::string description = "Fake adapter";
    bool identifierFails = false;
    D3DDISPLAYMODE desktop{1024, 768, 85, D3DFMT_X8R8G8B8};
    bool desktopFails = false;
    // Modes answered per format asked, in the order reported; a mode's own Format may differ.
    std::map<D3DFORMAT, std::vector<D3DDISPLAYMODE>> modes;
    // (format asked, index) pairs whose EnumAdapterModes fails.
    std::set<std::pair<D3DFORMAT, UINT>> failingModes;
    // A type left out answers GetDeviceCaps with a failure.
    std::map<D3DDEVTYPE, FakeDeviceType> devices;
};

class FakeDirect3D : public IDirect3D9 {
public:
    FakeDirect3D();
    ~FakeDirect3D() override;

    std::vector<FakeAdapter> adapters;

    // Rules; an empty one accepts. The multisample rule answers the quality count, or nothing to
    // refuse. Every check is refused for an adapter or device type the machine does not have.
    std::function<bool(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBuffer,
                       BOOL windowed)>
        deviceTypeRule;
    std::function<bool(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                       D3DRESOURCETYPE resourceType, D3DFORMAT format)>
        deviceFormatRule;
    std::function<bool(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT renderTarget,
                       D3DFORMAT depthStencil)>
        depthMatchRule;
    std::function<std::optional<DWORD>(UINT adapter, D3DDEVTYPE type, D3DFORMAT surface, BOOL windowed,
                                       D3DMULTISAMPLE_TYPE multisample)>
        multisampleRule;
    HRESULT createDeviceResult = D3DERR_NOTAVAILABLE;

    // What a failing query leaves in the caller's record: a plausible stale mode, and garbage text.
    D3DDISPLAYMODE staleMode{1024, 768, 85, D3DFMT_X8R8G8B8};

    // One line per call, e.g. "CheckDepthStencilMatch(0,HAL,X8R8G8B8,A8R8G8B8,D16)".
    std::vector<std::string> log;
    std::vector<std::string> CallsNamed(const std::string& name) const;
    void Log(const std::string& line) { log.push_back(line); }

    ULONG refCount = 1;
    unsigned addRefCalls = 0;
    unsigned releaseCalls = 0;

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override;
    ULONG Release() override;

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

private:
    const FakeDeviceType* Device(UINT adapter, D3DDEVTYPE type) const;
};

// Short names used in the call log.
std::string FormatText(D3DFORMAT format);
std::string DeviceTypeText(D3DDEVTYPE type);

// Modes of one format: {width, height, refresh}.
struct ModeSize {
    UINT width, height, refresh;
};
std::vector<D3DDISPLAYMODE> ModesIn(D3DFORMAT format, const std::vector<ModeSize>& sizes);

// Capabilities: a hardware device with transform and lighting and a pure device, or a device
// without either; both with the given PresentationIntervals bits.
FakeDeviceType HardwareDevice(DWORD presentIntervals);
FakeDeviceType SoftwareDevice(DWORD presentIntervals);

// Presets.
// One adapter, X8R8G8B8 desktop 1024 x 768 at 85 Hz, modes from 640 x 480 up in X8R8G8B8 and R5G6B5.
// HAL only (hardware T&L, pure), intervals IMMEDIATE | ONE; back buffers equal to the display format
// plus A8R8G8B8 on X8R8G8B8; depth D16 and D24S8; multisample NONE (1 level), 2 (2 levels) and
// 4 samples (3 levels), 4 samples refused for D16.
void MakeOneHalTypical(FakeDirect3D& d3d);
// The same adapter with a REF device only (no hardware T&L).
void MakeRefOnly(FakeDirect3D& d3d);
// The typical HAL plus a REF device; CreateDevice fails.
void MakeHalPlusRef(FakeDirect3D& d3d);
// Adapter 0 reports only modes below 640 x 480; adapter 1 is the typical HAL.
void MakeTwoAdaptersFirstUnusable(FakeDirect3D& d3d);
// HAL, SW and REF, where SW's capabilities cannot be read.
void MakeSwCapsFail(FakeDirect3D& d3d);
// X8R8G8B8 desktop, but modes (and so combinations) in R5G6B5 only.
void MakeDesktopFormatWithoutWindowedCombos(FakeDirect3D& d3d);
// Modes and devices, but CheckDeviceType refuses every pair.
void MakeNothingUsable(FakeDirect3D& d3d);
// A REF device whose capabilities carry D3DPMISCCAPS_NULLREFERENCE.
void MakeNullReference(FakeDirect3D& d3d);
// Desktop 1024 x 768 at 85 Hz, not listed; 1024 x 600 and 1024 x 768 at 60 Hz listed.
void MakeDesktopNotListed(FakeDirect3D& d3d);

} // namespace test
