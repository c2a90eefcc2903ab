// The area's controls: the active adapter profile and the reset to the start state.
#include <optional>

#include "d3d9/control.h"
#include "device_stats.h"
#include "draw_stats.h"
#include "full_screen.h"
#include "machine/control.h"
#include "reset_script.h"

namespace d3d9 {

namespace {
std::optional<Profile>& Override() {
    static std::optional<Profile> profile;
    return profile;
}
}  // namespace

void control::SetAdapterProfile(const Profile& profile) {
    Override() = profile;
    // Adapter 0 is the machine's display: its desktop and modes become the machine's.
    if (!profile.adapters.empty() && profile.adapters[0].desktop) {
        const D3DDISPLAYMODE& d = *profile.adapters[0].desktop;
        std::vector<machine::DisplayMode> modes;
        for (const auto& [format, list] : profile.adapters[0].modes)
            for (const D3DDISPLAYMODE& m : list)
                modes.push_back({m.Width, m.Height, m.RefreshRate, static_cast<int32_t>(m.Format)});
        machine::control::SetDesktop({d.Width, d.Height, d.RefreshRate, static_cast<int32_t>(d.Format)}, modes);
    }
}

void control::UseDefaultProfile() { Override().reset(); }

const Profile& control::ActiveProfile() {
    if (Override()) return *Override();
    static Profile current;
    current = DefaultProfile();  // the machine's display as it is now
    return current;
}

void control::Reset() {
    SetCreateHook({});
    UseDefaultProfile();
    EnableCallLog(false);
    ClearCallLog();
    ResetDeviceStats();
    ResetDrawStats();
    ForgetFullScreenModes();
    ForgetResetScript();
}

}  // namespace d3d9
