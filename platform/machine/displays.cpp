// The virtual desktop and the display modes it offers.
#include <algorithm>

#include "machine/control.h"
#include "machine/machine.h"
#include "display_backend.h"
#include "machine_parts.h"

namespace machine {
namespace {

constexpr int32_t kX8R8G8B8 = 22;
constexpr int32_t kR5G6B5 = 23;

struct DisplayState {
    DisplayMode desktop{1280, 1024, 60, kX8R8G8B8};
    DisplayMode current = desktop;
    std::vector<DisplayMode> modes;
};

bool Same(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.refreshRate == b.refreshRate && a.format == b.format;
}

std::vector<DisplayMode> DefaultModes() {
    std::vector<DisplayMode> modes;
    const uint32_t sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
    for (int32_t format : {kX8R8G8B8, kR5G6B5})
        for (const auto& size : sizes)
            for (uint32_t rate : {60u, 75u}) modes.push_back({size[0], size[1], rate, format});
    return modes;
}

DisplayState& State() {
    static DisplayState state = [] {
        DisplayState s;
        s.modes = DefaultModes();
        return s;
    }();
    return state;
}

}  // namespace

DisplayMode DesktopMode() { return State().desktop; }
DisplayMode CurrentDisplayMode() { return State().current; }
std::vector<DisplayMode> DisplayModes() { return State().modes; }

bool SetDisplayMode(const DisplayMode& mode) {
    DisplayState& s = State();
    auto found = std::find_if(s.modes.begin(), s.modes.end(), [&](const DisplayMode& m) { return Same(m, mode); });
    if (found == s.modes.end()) return false;
    if (detail::Display() && !detail::Display()->EnterFullScreen(mode)) return false;
    s.current = mode;
    return true;
}

void RestoreDesktopMode() {
    State().current = State().desktop;
    if (detail::Display()) detail::Display()->LeaveFullScreen();
}

namespace detail {
void ResetDisplays() {
    State() = DisplayState{};
    State().modes = DefaultModes();
}
}  // namespace detail

namespace control {
void SetDesktop(const DisplayMode& desktop, const std::vector<DisplayMode>& modes) {
    DisplayState& s = State();
    s.desktop = desktop;
    s.current = desktop;
    s.modes = modes;
    // The desktop's own mode is always offered.
    if (std::none_of(s.modes.begin(), s.modes.end(), [&](const DisplayMode& m) { return Same(m, desktop); }))
        s.modes.push_back(desktop);
}
}  // namespace control
}  // namespace machine
