// Present parameters against the profile: sizes, formats, depth format, multisample type and quality,
// swap effect, refresh rate and interval. Anything not offered is refused, never accepted and ignored.
#include "presentation_params.h"

#include "device_window.h"
#include "format_checks.h"

namespace d3d9 {

namespace {

// The largest windowed back buffer the device makes.
constexpr UINT kMaxWindowedSize = 8192;

bool IntervalAllowed(UINT interval, bool windowed, DWORD capsIntervals) {
    switch (interval) {
    case D3DPRESENT_INTERVAL_DEFAULT: return true;
    case D3DPRESENT_INTERVAL_IMMEDIATE:
    case D3DPRESENT_INTERVAL_ONE: return (capsIntervals & interval) != 0;
    case D3DPRESENT_INTERVAL_TWO:
    case D3DPRESENT_INTERVAL_THREE:
    case D3DPRESENT_INTERVAL_FOUR: return !windowed && (capsIntervals & interval) != 0;
    default: return false;
    }
}

// The full-screen display mode for the size, back buffer and refresh rate (0: the default rate).
bool FindFullScreenMode(const Direct3D& d3d, UINT adapter, const DeviceTypeProfile& device,
                        const D3DPRESENT_PARAMETERS& p, D3DDISPLAYMODE& found) {
    const AdapterProfile& a = *d3d.Adapter(adapter);
    const D3DDISPLAYMODE desktop = d3d.DesktopMode(adapter);
    for (const auto& [displayFormat, modes] : a.modes) {
        if (FAILED(CheckBackBuffer(a, device, desktop.Format, displayFormat, p.BackBufferFormat, false))) continue;
        const D3DDISPLAYMODE* match = nullptr;
        for (const D3DDISPLAYMODE& m : modes) {
            if (m.Width != p.BackBufferWidth || m.Height != p.BackBufferHeight) continue;
            if (p.FullScreen_RefreshRateInHz != 0 && m.RefreshRate != p.FullScreen_RefreshRateInHz) continue;
            // The default rate is the desktop's when the size offers it, else the first listed.
            if (!match || (p.FullScreen_RefreshRateInHz == 0 && m.RefreshRate == desktop.RefreshRate)) match = &m;
        }
        if (match) {
            found = {match->Width, match->Height, match->RefreshRate, displayFormat};
            return true;
        }
    }
    return false;
}

}  // namespace

HRESULT ResolvePresentation(const Direct3D& d3d, UINT adapter, D3DDEVTYPE type, const D3DPRESENT_PARAMETERS& params,
                            HWND focusWindow, ResolvedPresentation& resolved) {
    const AdapterProfile* a = d3d.Adapter(adapter);
    const DeviceTypeProfile* device = d3d.DeviceType(adapter, type);
    if (!a || !device) return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS p = params;
    const bool windowed = p.Windowed != FALSE;
    const HWND window = p.hDeviceWindow ? p.hDeviceWindow : focusWindow;
    if (!WindowExists(window)) return D3DERR_INVALIDCALL;

    if (p.BackBufferCount == 0) p.BackBufferCount = 1;
    if (p.BackBufferCount > 1) return D3DERR_INVALIDCALL;  // the device keeps one back buffer
    if (p.SwapEffect != D3DSWAPEFFECT_DISCARD && p.SwapEffect != D3DSWAPEFFECT_FLIP &&
        p.SwapEffect != D3DSWAPEFFECT_COPY)
        return D3DERR_INVALIDCALL;
    if (!IntervalAllowed(p.PresentationInterval, windowed, device->caps.PresentationIntervals))
        return D3DERR_INVALIDCALL;

    const D3DDISPLAYMODE desktop = d3d.DesktopMode(adapter);
    D3DFORMAT adapterFormat = desktop.Format;
    if (windowed) {
        if (p.FullScreen_RefreshRateInHz != 0) return D3DERR_INVALIDCALL;
        const SIZE client = ClientSize(window);
        if (p.BackBufferWidth == 0) p.BackBufferWidth = client.cx > 0 ? UINT(client.cx) : 1;
        if (p.BackBufferHeight == 0) p.BackBufferHeight = client.cy > 0 ? UINT(client.cy) : 1;
        if (p.BackBufferWidth > kMaxWindowedSize || p.BackBufferHeight > kMaxWindowedSize) return D3DERR_INVALIDCALL;
        if (p.BackBufferFormat == D3DFMT_UNKNOWN) p.BackBufferFormat = desktop.Format;
        if (FAILED(CheckBackBuffer(*a, *device, desktop.Format, desktop.Format, p.BackBufferFormat, true)))
            return D3DERR_INVALIDCALL;
    } else {
        if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0 || p.BackBufferFormat == D3DFMT_UNKNOWN)
            return D3DERR_INVALIDCALL;
        if (!FindFullScreenMode(d3d, adapter, *device, p, resolved.fullScreenMode)) return D3DERR_INVALIDCALL;
        adapterFormat = resolved.fullScreenMode.Format;
    }

    DWORD levels = 0;
    if (FAILED(CheckMultisample(*device, p.BackBufferFormat, windowed, p.MultiSampleType, &levels)) ||
        p.MultiSampleQuality >= levels)
        return D3DERR_INVALIDCALL;
    if (p.MultiSampleType != D3DMULTISAMPLE_NONE &&
        (p.SwapEffect != D3DSWAPEFFECT_DISCARD || (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)))
        return D3DERR_INVALIDCALL;

    if (p.EnableAutoDepthStencil) {
        const D3DFORMAT depth = p.AutoDepthStencilFormat;
        if (!IsDepthFormat(depth) ||
            FAILED(CheckResourceFormat(*a, *device, desktop.Format, adapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                       D3DRTYPE_SURFACE, depth)) ||
            FAILED(CheckDepthMatch(*a, *device, desktop.Format, adapterFormat, p.BackBufferFormat, depth)))
            return D3DERR_INVALIDCALL;
        DWORD depthLevels = 0;
        if (FAILED(CheckMultisample(*device, depth, windowed, p.MultiSampleType, &depthLevels)) ||
            p.MultiSampleQuality >= depthLevels)
            return D3DERR_INVALIDCALL;
    }
    resolved.params = p;
    return D3D_OK;
}

}  // namespace d3d9
