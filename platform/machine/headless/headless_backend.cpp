// The headless backend: no display. Message boxes go to standard error; the SDL backend is not
// available yet, so asking for it falls back to this one with a notice.
#include <cstdio>

#include "../machine_parts.h"

namespace machine::detail {

void ShowBoxOnHeadlessDisplay(const MessageBoxRecord& box) {
    std::fprintf(stderr, "[message box] %s: %s\n", box.caption.c_str(), box.text.c_str());
    std::fflush(stderr);
}

bool ChooseBackend(const std::string& name, std::string& error) {
    if (name.empty() || name == "headless") return true;
    if (name == "sdl") {
        std::fprintf(stderr, "MORVATH_MACHINE=sdl: the SDL backend is not available yet; running headless\n");
        return true;
    }
    error = "MORVATH_MACHINE: unknown machine \"" + name + "\" (use headless or sdl)";
    return false;
}

}  // namespace machine::detail
