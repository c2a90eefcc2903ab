// Which display the machine has: none (headless: message boxes go to standard error) or SDL's, chosen
// with MORVATH_MACHINE=sdl or by default when a display is there and SDL's video starts on it. Asked
// for by name, a window that cannot be had (no display: SDL would only draw off the screen) stops the
// run with the reason; chosen by default, the run is headless instead.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../display_backend.h"
#include "../machine_parts.h"
#include "machine/control.h"

namespace machine::detail {
namespace {

std::unique_ptr<DisplayBackend>& Backend() {
    static std::unique_ptr<DisplayBackend> backend;
    return backend;
}

bool DisplayPresent() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

bool StartSdl(bool asked, std::string& error) {
    std::string reason;
    Backend() = StartSdlDisplay(reason);
    if (!Backend()) {
        // Asked for by name, a window that cannot be had stops the run; chosen by default, the run
        // goes on headless.
        if (asked) error = "MORVATH_MACHINE=sdl: no window can be opened (" + reason + ")";
        return false;
    }
    // A person plays in a real window: the clock follows real time unless the run asks otherwise.
    if (const char* clock = std::getenv("MORVATH_CLOCK"); !clock || !*clock) control::SetClockMode(control::ClockMode::Real);
    return true;
}

}  // namespace

DisplayBackend* Display() { return Backend().get(); }

void ShowBoxOnHeadlessDisplay(const MessageBoxRecord& box) {
    std::fprintf(stderr, "[message box] %s: %s\n", box.caption.c_str(), box.text.c_str());
    std::fflush(stderr);
}

bool ChooseBackend(const std::string& name, std::string& error) {
    if (name == "headless") return true;
    if (name == "sdl") return StartSdl(true, error);
    if (name.empty()) {
        if (DisplayPresent()) StartSdl(false, error);
        return true;
    }
    error = "MORVATH_MACHINE: unknown machine \"" + name + "\" (use headless or sdl)";
    return false;
}

}  // namespace machine::detail
