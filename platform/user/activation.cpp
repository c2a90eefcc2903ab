// Activation and keyboard focus: the active top-level window and the window that gets the keys.
#include "user/window_table.h"
#include "user/window_objects.h"

namespace user {

void ActivateWindow(HWND handle) {
    WindowTable& table = Windows();
    auto window = FindWindowObject(handle);
    if (!window || window->IsChild() || table.active == handle) return;
    HWND previous = table.active;
    if (FindWindowObject(previous)) {
        CallWindowProcedure(previous, WM_NCACTIVATE, FALSE, 0);
        CallWindowProcedure(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
    }
    table.active = handle;
    if (!table.applicationActive) {
        table.applicationActive = true;
        for (const auto& other : LiveWindows())
            if (!other->IsChild()) CallWindowProcedure(other->handle, WM_ACTIVATEAPP, TRUE, 0);
    }
    if (!FindWindowObject(handle)) return;
    CallWindowProcedure(handle, WM_NCACTIVATE, TRUE, 0);
    const BOOL minimized = window->showState == ShowState::Minimized;
    CallWindowProcedure(handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimized), reinterpret_cast<LPARAM>(previous));
}

void DeactivateApplication() {
    WindowTable& table = Windows();
    if (!table.applicationActive) return;
    HWND previous = table.active;
    table.active = nullptr;
    table.applicationActive = false;
    ++table.deactivations;
    if (FindWindowObject(previous)) {
        CallWindowProcedure(previous, WM_NCACTIVATE, FALSE, 0);
        CallWindowProcedure(previous, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    for (const auto& other : LiveWindows())
        if (!other->IsChild()) CallWindowProcedure(other->handle, WM_ACTIVATEAPP, FALSE, 0);
    HWND focus = table.focus;
    table.focus = nullptr;
    if (FindWindowObject(focus)) CallWindowProcedure(focus, WM_KILLFOCUS, 0, 0);
}

uint64_t ForegroundLosses() { return Windows().deactivations; }

bool ForegroundElsewhere() { return !Windows().applicationActive && Windows().deactivations > 0; }

}  // namespace user

HWND WINAPI GetForegroundWindow(void) {
    const user::WindowTable& table = user::Windows();
    return table.applicationActive && user::FindWindowObject(table.active) ? table.active : nullptr;
}

HWND WINAPI GetFocus(void) {
    HWND focus = user::Windows().focus;
    return user::FindWindowObject(focus) ? focus : nullptr;
}

HWND WINAPI GetActiveWindow(void) {
    HWND active = user::Windows().active;
    return user::FindWindowObject(active) ? active : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd) {
    user::WindowTable& table = user::Windows();
    HWND previous = GetFocus();
    if (hWnd == nullptr) {
        table.focus = nullptr;
        if (previous) user::CallWindowProcedure(previous, WM_KILLFOCUS, 0, 0);
        return previous;
    }
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (previous == hWnd) return previous;
    if (previous) user::CallWindowProcedure(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (!user::FindWindowObject(hWnd)) return previous;
    table.focus = hWnd;
    user::CallWindowProcedure(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        user::CallWindowProcedure(hWnd, WM_ENABLE, TRUE, 0);
    } else if (!bEnable && !wasDisabled) {
        window->style |= WS_DISABLED;
        if (user::Windows().focus == hWnd) SetFocus(nullptr);
        user::CallWindowProcedure(hWnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}
