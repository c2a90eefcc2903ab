// The system commands a window's caption buttons, its frame and the keyboard give.
#include "machine/machine.h"
#include "user/menu_tracking.h"
#include "user/positions.h"
#include "user/reset.h"
#include "user/system_commands.h"
#include "user/window_objects.h"

namespace user {
namespace {

void ResetMenuKey();

bool& MenuKeyAlone() {
    static bool alone = false;
    static bool registered = (detail::RegisterUserReset(&ResetMenuKey), true);
    (void)registered;
    return alone;
}

void ResetMenuKey() { MenuKeyAlone() = false; }

void RunMenuLoop(HWND handle, WPARAM command, LPARAM lParam) {
    auto window = FindWindowObject(handle);
    if (!window || (!window->HasMenuBar() && !(window->style & WS_SYSMENU))) return;
    CallWindowProcedure(handle, WM_ENTERMENULOOP, FALSE, 0);
    if (!FindWindowObject(handle)) return;
    CallWindowProcedure(handle, WM_INITMENU, reinterpret_cast<WPARAM>(window->menu), 0);
    // Headless there is nobody to move through the menu: the loop ends at once with no choice.
    if (!FindWindowObject(handle)) return;
    const UINT chosen = machine::HasRealDisplay() ? TrackMenuBar(handle, command, lParam) : 0;
    if (!FindWindowObject(handle)) return;
    CallWindowProcedure(handle, WM_EXITMENULOOP, FALSE, 0);
    if (chosen != 0) PostMessageA(handle, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

}  // namespace

void RunSystemCommand(HWND handle, WPARAM command, LPARAM lParam) {
    auto window = FindWindowObject(handle);
    if (!window) return;
    switch (command & 0xFFF0) {
        case SC_CLOSE: SendMessageA(handle, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ChangeShowState(handle, ShowState::Minimized); break;
        case SC_MAXIMIZE: ChangeShowState(handle, ShowState::Maximized); break;
        case SC_RESTORE: ChangeShowState(handle, ShowState::Normal); break;
        case SC_SIZE: {
            if (window->pendingDragSize) {
                const SIZE size = *window->pendingDragSize;
                window->pendingDragSize.reset();
                DragFrameToClientSize(handle, size.cx, size.cy);
            } else {
                CallWindowProcedure(handle, WM_ENTERSIZEMOVE, 0, 0);
                if (FindWindowObject(handle)) CallWindowProcedure(handle, WM_EXITSIZEMOVE, 0, 0);
            }
            break;
        }
        case SC_MOVE:
            CallWindowProcedure(handle, WM_ENTERSIZEMOVE, 0, 0);
            if (FindWindowObject(handle)) CallWindowProcedure(handle, WM_EXITSIZEMOVE, 0, 0);
            break;
        case SC_KEYMENU:
        case SC_MOUSEMENU: RunMenuLoop(handle, command, lParam); break;
        default: break;  // SC_MONITORPOWER, SC_SCREENSAVE, ...: nothing to do headless
    }
}

void NoteMenuKeyDown() { MenuKeyAlone() = true; }
void NoteOtherKeyDown() { MenuKeyAlone() = false; }

bool TakeMenuKeyRelease() {
    const bool alone = MenuKeyAlone();
    MenuKeyAlone() = false;
    return alone;
}

}  // namespace user
