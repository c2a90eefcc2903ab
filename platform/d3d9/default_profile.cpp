// The default adapter profile: one adapter, the machine's display, drawn by the software device.
#include <algorithm>

#include "d3d9/adapter_profile.h"
#include "machine/machine.h"

namespace d3d9 {

namespace {

// {0x6d6f7276, 0x6174, 0x4833, ...}: the software device's identifier.
constexpr GUID kSoftwareDeviceId = {0x6d6f7276, 0x6174, 0x4833, {0x9d, 0x20, 0x53, 0x6f, 0x66, 0x74, 0x52, 0x61}};

bool Listed(const std::vector<D3DDISPLAYMODE>& modes, const D3DDISPLAYMODE& mode) {
    return std::any_of(modes.begin(), modes.end(), [&](const D3DDISPLAYMODE& m) {
        return m.Width == mode.Width && m.Height == mode.Height && m.RefreshRate == mode.RefreshRate &&
               m.Format == mode.Format;
    });
}

}  // namespace

Profile DefaultProfile() {
    AdapterProfile adapter;
    adapter.description = "Morvath Software Rasterizer";
    adapter.deviceIdentifier = kSoftwareDeviceId;

    const machine::DisplayMode desktop = machine::DesktopMode();
    // The display's modes (the machine offers 640 x 480 up in X8R8G8B8 and R5G6B5 at 60 and 75 Hz) in the
    // formats the device shows full screen, and the desktop mode itself: exactly what the display can switch to.
    for (const machine::DisplayMode& m : machine::DisplayModes()) {
        if (m.width < 640 || m.height < 480) continue;
        if (m.format != D3DFMT_X8R8G8B8 && m.format != D3DFMT_R5G6B5 && m.format != desktop.format) continue;
        D3DDISPLAYMODE mode{m.width, m.height, m.refreshRate, static_cast<D3DFORMAT>(m.format)};
        auto& list = adapter.modes[mode.Format];
        if (!Listed(list, mode)) list.push_back(mode);
    }
    if (desktop.width > 0) {
        D3DDISPLAYMODE mode{desktop.width, desktop.height, desktop.refreshRate,
                            static_cast<D3DFORMAT>(desktop.format)};
        auto& list = adapter.modes[mode.Format];
        if (!Listed(list, mode)) list.push_back(mode);
    }

    adapter.devices[D3DDEVTYPE_HAL] = SoftwareDeviceType(D3DDEVTYPE_HAL);
    adapter.devices[D3DDEVTYPE_REF] = SoftwareDeviceType(D3DDEVTYPE_REF);
    Profile profile;
    profile.adapters.push_back(adapter);
    return profile;
}

}  // namespace d3d9
