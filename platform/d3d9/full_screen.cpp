#include "full_screen.h"

#include <map>

#include "device_stats.h"
#include "device_window.h"
#include "machine/machine.h"

namespace d3d9 {

namespace {
// Adapter 0 is the machine's display; the others are displays of a test's profile only.
std::map<UINT, D3DDISPLAYMODE>& Modes() {
    static std::map<UINT, D3DDISPLAYMODE> modes;
    return modes;
}

bool SameMode(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return a.Width == b.Width && a.Height == b.Height && a.RefreshRate == b.RefreshRate && a.Format == b.Format;
}
}  // namespace

std::optional<D3DDISPLAYMODE> FullScreenMode(UINT adapter) {
    auto it = Modes().find(adapter);
    if (it == Modes().end()) return std::nullopt;
    return it->second;
}

bool EnterFullScreen(UINT adapter, const D3DDISPLAYMODE& mode, HWND window) {
    auto current = FullScreenMode(adapter);
    if (!current || !SameMode(*current, mode)) {
        if (adapter == 0 &&
            !machine::SetDisplayMode({mode.Width, mode.Height, mode.RefreshRate, static_cast<int32_t>(mode.Format)}))
            return false;
        Modes()[adapter] = mode;
        CountDisplayModeChange();
    }
    // The window manager sends the window its size and activation messages while this runs.
    CoverScreen(window, mode.Width, mode.Height);
    return true;
}

void LeaveFullScreen(UINT adapter) {
    if (Modes().erase(adapter) == 0) return;
    if (adapter == 0) machine::RestoreDesktopMode();
    CountDisplayModeChange();
}

void ForgetFullScreenModes() { Modes().clear(); }

}  // namespace d3d9
