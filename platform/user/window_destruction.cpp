// DestroyWindow: WM_DESTROY, the children, WM_NCDESTROY; the window's menu goes with it and its
// posted messages are dropped. A window that is unknown or already gone is refused harmlessly.
#include <algorithm>

#include "machine/machine.h"
#include "user/desktop.h"
#include "user/queue.h"
#include "user/window_table.h"
#include "user/window_objects.h"
#include "user/window_report.h"

namespace user {
namespace {

void Destroy(HWND handle) {
    WindowTable& table = Windows();
    auto window = FindWindowObject(handle);
    if (!window || window->destroying) return;
    NoteWindowDestroyed(*window);
    window->destroying = true;
    window->style &= ~WS_VISIBLE;
    if (table.focus == handle) table.focus = nullptr;
    if (table.active == handle) table.active = nullptr;
    DropMessagesOf(handle);
    CallWindowProcedure(handle, WM_DESTROY, 0, 0);
    for (const auto& other : LiveWindows())
        if (other->parent == handle) Destroy(other->handle);
    CallWindowProcedure(handle, WM_NCDESTROY, 0, 0);
    if (!window->IsChild() && window->menu != nullptr && IsMenu(window->menu)) DestroyMenu(window->menu);
    if (table.focus == handle) table.focus = nullptr;
    if (table.active == handle) table.active = nullptr;
    table.windows.erase(handle);
    DropMessagesOf(handle);
    ForgetHostWindow(handle);
    machine::NoteObjectReleased("window");
}

}  // namespace
}  // namespace user

BOOL WINAPI DestroyWindow(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    if (!window || window->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    user::Destroy(hWnd);
    return TRUE;
}
