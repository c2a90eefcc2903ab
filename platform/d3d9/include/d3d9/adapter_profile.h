// The adapter profile: everything the Direct3D object answers about adapters, their modes, device types,
// capabilities and format checks. The machine supplies a default profile describing the software device;
// tests replace it (d3d9::control::SetAdapterProfile) with presets of their own.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "d3d9.h"

namespace d3d9 {

// A back buffer format usable on a display format. displayFormat D3DFMT_UNKNOWN stands for any display
// format (windowed use converts on presentation).
struct BackBufferRule {
    D3DFORMAT displayFormat = D3DFMT_UNKNOWN;
    D3DFORMAT backBufferFormat = D3DFMT_UNKNOWN;
    bool windowed = true;
    bool fullScreen = true;
};

// A depth/stencil format and the render-target formats it matches (empty: every back buffer format).
struct DepthRule {
    D3DFORMAT depthFormat = D3DFMT_UNKNOWN;
    std::vector<D3DFORMAT> renderTargets;
};

// A multisample type offered on some surface formats (empty: every back buffer and depth format).
// D3DMULTISAMPLE_NONE is always offered with one quality level and needs no rule.
struct MultisampleRule {
    D3DMULTISAMPLE_TYPE type = D3DMULTISAMPLE_NONE;
    DWORD qualityLevels = 1;
    std::vector<D3DFORMAT> formats;
    bool windowed = true;
    bool fullScreen = true;
};

struct DeviceTypeProfile {
    bool capsAvailable = true;  // false: GetDeviceCaps fails and the type cannot be created
    D3DCAPS9 caps{};            // DeviceType and AdapterOrdinal are filled in when answered
    std::vector<BackBufferRule> backBuffers;
    std::vector<DepthRule> depthFormats;
    std::vector<MultisampleRule> multisample;
    std::vector<D3DFORMAT> textureFormats;  // CheckDeviceFormat without depth or render-target usage
    HRESULT createResult = D3D_OK;          // a failure here refuses every CreateDevice of this type
};

struct AdapterProfile {
    std::string driver = "morvath_d3d9";
    std::string description;  // copied into a 512-character record; 512 or more leaves no terminator
    std::string deviceName = "\\\\.\\DISPLAY1";
    GUID deviceIdentifier{};
    bool identifierFails = false;  // GetAdapterIdentifier fails and leaves the record untouched
    // The desktop mode; unset: the machine's desktop (adapter 0 is the machine's display).
    std::optional<D3DDISPLAYMODE> desktop;
    bool desktopFails = false;
    // Modes answered per format asked, in the order reported; a mode's own Format may differ.
    std::map<D3DFORMAT, std::vector<D3DDISPLAYMODE>> modes;
    std::set<std::pair<D3DFORMAT, UINT>> failingModes;  // (format asked, index) EnumAdapterModes refuses
    std::map<D3DDEVTYPE, DeviceTypeProfile> devices;    // a type left out is not available
};

struct Profile {
    std::vector<AdapterProfile> adapters;
};

// What our device really does, with the machine's desktop and display modes.
Profile DefaultProfile();
// The capabilities of the software device as HAL (hardware transform and lighting, pure device) or REF.
D3DCAPS9 SoftwareDeviceCaps(D3DDEVTYPE type);
// The device type as the software device offers it: caps and every format rule.
DeviceTypeProfile SoftwareDeviceType(D3DDEVTYPE type);

}  // namespace d3d9
