// GetWindowLongA / SetWindowLongA: the style words, the id and the user data. A new style changes the
// non-client area at once.
#include "user/nonclient.h"
#include "user/painting.h"
#include "user/positions.h"
#include "user/window_objects.h"

namespace {

bool SameFrame(const user::Window& window, DWORD style, DWORD exStyle) {
    const user::Insets a = user::NonClientInsets(window.style, window.exStyle, window.HasMenuBar());
    const user::Insets b = user::NonClientInsets(style, exStyle, window.HasMenuBar());
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

LONG ChangeStyle(HWND handle, int index, DWORD newValue) {
    auto window = user::FindWindowObject(handle);
    const DWORD old = index == GWL_STYLE ? window->style : window->exStyle;
    STYLESTRUCT change{old, newValue};
    user::CallWindowProcedure(handle, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    window = user::FindWindowObject(handle);
    if (!window) return static_cast<LONG>(old);
    const DWORD style = index == GWL_STYLE ? change.styleNew : window->style;
    const DWORD exStyle = index == GWL_EXSTYLE ? change.styleNew : window->exStyle;
    const bool frameChanges = !SameFrame(*window, style, exStyle);
    const bool shown = !window->Visible() && (style & WS_VISIBLE);
    window->style = style;
    window->exStyle = exStyle;
    user::CallWindowProcedure(handle, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    if (frameChanges) user::RecomputeFrame(handle);
    if (shown) user::InvalidateClient(handle, nullptr, true);
    return static_cast<LONG>(old);
}

}  // namespace

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (nIndex) {
        case GWL_STYLE: return static_cast<LONG>(window->style);
        case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
        case GWL_ID: return window->IsChild() ? static_cast<LONG>(reinterpret_cast<ULONG_PTR>(window->menu)) : 0;
        case GWL_USERDATA: return window->userData;
        default:
            // The pointer-sized entries (procedure, instance, parent) do not fit a 32-bit value.
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
    }
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (nIndex) {
        case GWL_STYLE:
        case GWL_EXSTYLE: return ChangeStyle(hWnd, nIndex, static_cast<DWORD>(dwNewLong));
        case GWL_ID: {
            if (!window->IsChild()) break;
            LONG old = static_cast<LONG>(reinterpret_cast<ULONG_PTR>(window->menu));
            window->menu = reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(static_cast<DWORD>(dwNewLong)));
            return old;
        }
        case GWL_USERDATA: {
            LONG old = window->userData;
            window->userData = dwNewLong;
            return old;
        }
        default: break;
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}
