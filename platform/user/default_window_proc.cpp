// DefWindowProcA: the platform's handling of what a window procedure leaves to it. Every branch
// copes with a window that was destroyed while the procedure ran (it then does nothing).
#include "machine/machine.h"
#include "user/desktop.h"
#include "user/nonclient.h"
#include "user/painting.h"
#include "user/positions.h"
#include "user/system_commands.h"
#include "user/window_objects.h"

namespace {

LRESULT ComputeClientArea(HWND hWnd, WPARAM wParam, LPARAM lParam) {
    auto window = user::FindWindowObject(hWnd);
    RECT* rect = reinterpret_cast<RECT*>(lParam);  // the first rectangle of either form
    if (!window || rect == nullptr) return 0;
    if (window->style & WS_MINIMIZE) {
        *rect = {rect->left, rect->top, rect->left, rect->top};
        return 0;
    }
    *rect = user::ClientRectFor(*rect, window->style, window->exStyle, window->HasMenuBar());
    return 0;
}

LRESULT PositionChanged(HWND hWnd, LPARAM lParam) {
    auto window = user::FindWindowObject(hWnd);
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (!window || pos == nullptr) return 0;
    window->sizeAndMoveSent = true;
    const RECT client = window->clientRect;
    if (!(pos->flags & user::kSwpNoClientSize))
        user::CallWindowProcedure(hWnd, WM_SIZE, user::SizeType(*window),
                                  MAKELPARAM(client.right - client.left, client.bottom - client.top));
    if (!(pos->flags & user::kSwpNoClientMove) && user::FindWindowObject(hWnd))
        user::CallWindowProcedure(hWnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
    return 0;
}

LRESULT SetClassCursor(HWND hWnd, LPARAM lParam) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) return FALSE;
    const WORD hit = LOWORD(lParam);
    if (hit == HTCLIENT) {
        if (window->windowClass->cursor == nullptr) return FALSE;
        SetCursor(window->windowClass->cursor);
        return TRUE;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return FALSE;
}

bool AltHeld(LPARAM lParam) { return (lParam & (1 << 29)) != 0; }

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) return 0;
    switch (Msg) {
        case WM_NCCREATE: return TRUE;
        case WM_NCCALCSIZE: return ComputeClientArea(hWnd, wParam, lParam);
        case WM_NCACTIVATE: return TRUE;
        case WM_WINDOWPOSCHANGED: return PositionChanged(hWnd, lParam);
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hWnd);
            return 0;
        case WM_CLOSE: DestroyWindow(hWnd); return 0;
        case WM_PAINT: {
            RECT update;
            bool erase;
            user::TakeUpdateRegion(hWnd, update, erase);
            return 0;
        }
        case WM_ERASEBKGND: return window->windowClass->background != nullptr ? 1 : 0;
        case WM_NCHITTEST: return user::HitTest(hWnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_SETCURSOR: return SetClassCursor(hWnd, lParam);
        case WM_SYSCOMMAND: user::RunSystemCommand(hWnd, wParam, lParam); return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && AltHeld(lParam)) SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_SYSKEYUP:
        case WM_KEYUP:
            if ((wParam == VK_MENU || wParam == VK_F10) && user::TakeMenuKeyRelease())
                SendMessageA(hWnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
            return 0;
        case WM_SYSCHAR:
            // Alt with a character: the menu's mnemonics (a space opens the window menu).
            if (AltHeld(lParam) && wParam != VK_RETURN && wParam != VK_ESCAPE)
                SendMessageA(hWnd, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
            return 0;
        case WM_GETMINMAXINFO: return 0;  // the defaults are already in the record
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->title.size());
        case WM_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            if (buffer == nullptr || wParam == 0) return 0;
            const size_t n = std::min<size_t>(window->title.size(), wParam - 1);
            window->title.copy(buffer, n);
            buffer[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_SETTEXT:
            window->title = lParam ? reinterpret_cast<const char*>(lParam) : "";
            user::SyncHostWindow(hWnd);
            return TRUE;
        default: return 0;
    }
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}
