// The "main_window" report field: the program's main window (the first overlapped top-level window
// shown) as it was when it was destroyed: its rectangle on the screen, its client size, its style and
// whether it had a menu bar. A run whose main window was never destroyed reports null.
#include <optional>
#include <string>

#include "machine/machine.h"
#include "user/reset.h"
#include "user/window_report.h"
#include "user/window_table.h"

namespace user {
namespace {

struct MainWindowState {
    RECT rect{};
    LONG clientWidth = 0, clientHeight = 0;
    DWORD style = 0;
    bool menuBar = false;
};

void ResetReport();

std::optional<MainWindowState>& LastState() {
    static std::optional<MainWindowState> state;
    static bool registered = (detail::RegisterUserReset(&ResetReport), true);
    (void)registered;
    return state;
}

void ResetReport() { LastState().reset(); }

std::string StateJson() {
    const std::optional<MainWindowState>& s = LastState();
    if (!s) return "null";
    const RECT& r = s->rect;
    return "{\"rect\": [" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + "], \"client_width\": " + std::to_string(s->clientWidth) +
           ", \"client_height\": " + std::to_string(s->clientHeight) + ", \"style\": " + std::to_string(s->style) +
           ", \"menu_bar\": " + (s->menuBar ? "true" : "false") + "}";
}

}  // namespace

void NoteWindowDestroyed(const Window& window) {
    static bool added = (machine::AddReportField("main_window", StateJson), true);
    (void)added;
    const WindowTable& table = Windows();
    if (table.mainCandidates.empty() || table.mainCandidates.front() != window.handle) return;
    MainWindowState state;
    state.rect = WindowRectOnScreen(window);
    state.clientWidth = window.clientRect.right - window.clientRect.left;
    state.clientHeight = window.clientRect.bottom - window.clientRect.top;
    state.style = window.style;
    // The menu handle the window holds; a program may destroy the menu itself just before the window.
    state.menuBar = window.HasMenuBar();
    LastState() = state;
}

}  // namespace user
