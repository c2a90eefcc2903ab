// Moving, sizing and showing windows. Every change goes through ApplyWindowPos, which sends
// WM_WINDOWPOSCHANGING, WM_NCCALCSIZE (when the size or frame changed) and WM_WINDOWPOSCHANGED at
// once; the default handling of the last sends WM_SIZE and WM_MOVE.
#include <algorithm>

#include "user/coordinates.h"
#include "user/desktop.h"
#include "user/nonclient.h"
#include "user/painting.h"
#include "user/positions.h"
#include "user/window_table.h"
#include "user/window_objects.h"

namespace user {
namespace {

constexpr UINT kSwpStateChanged = 0x8000;  // minimized, maximized or restored: WM_SIZE in any case
constexpr int kMinimizedWidth = 160;
constexpr int kMinimizedHeight = 28;
constexpr int kMinimizedPosition = -32000;

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

bool IsOverlappedTopLevel(const Window& window) { return (window.style & (WS_POPUP | WS_CHILD)) == 0; }

}  // namespace

WPARAM SizeType(const Window& window) {
    switch (window.showState) {
        case ShowState::Minimized: return SIZE_MINIMIZED;
        case ShowState::Maximized: return SIZE_MAXIMIZED;
        default: return SIZE_RESTORED;
    }
}

bool ApplyWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    auto window = FindWindowObject(handle);
    if (!window) return false;
    WINDOWPOS pos{handle, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = window->windowRect.left;
        pos.y = window->windowRect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = Width(window->windowRect);
        pos.cy = Height(window->windowRect);
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        CallWindowProcedure(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if (!FindWindowObject(handle)) return false;
    }
    pos.x = ClampCoordinate(pos.x);
    pos.y = ClampCoordinate(pos.y);
    pos.cx = ClampExtent(pos.cx);
    pos.cy = ClampExtent(pos.cy);
    const RECT oldWindow = window->windowRect;
    const RECT oldClient = window->clientRect;
    const RECT newWindow{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    RECT newClient = oldClient;
    const bool resized = Width(newWindow) != Width(oldWindow) || Height(newWindow) != Height(oldWindow);
    if (resized || (flags & (SWP_FRAMECHANGED | kSwpStateChanged))) {
        NCCALCSIZE_PARAMS params{{newWindow, oldWindow, oldClient}, &pos};
        CallWindowProcedure(handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        if (!FindWindowObject(handle)) return false;
        newClient = ClampRect(params.rgrc[0]);
        newClient.right = std::max(newClient.right, newClient.left);
        newClient.bottom = std::max(newClient.bottom, newClient.top);
    } else {
        const LONG dx = newWindow.left - oldWindow.left, dy = newWindow.top - oldWindow.top;
        newClient = {oldClient.left + dx, oldClient.top + dy, oldClient.right + dx, oldClient.bottom + dy};
    }
    window->windowRect = newWindow;
    window->clientRect = newClient;
    if (window->showState == ShowState::Normal) window->normalRect = newWindow;

    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
        if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    }
    const bool sizeChanged = Width(newClient) != Width(oldClient) || Height(newClient) != Height(oldClient);
    if ((flags & SWP_SHOWWINDOW) && !window->Visible()) {
        window->style |= WS_VISIBLE;
        InvalidateClient(handle, nullptr, true);
    } else if (sizeChanged && window->Visible()) {
        InvalidateClient(handle, nullptr, true);
    }
    if ((flags & SWP_HIDEWINDOW) && window->Visible()) {
        window->style &= ~WS_VISIBLE;
        if (Windows().focus == handle) Windows().focus = nullptr;
    }
    if (!window->IsChild() && window->Visible() && !(flags & SWP_NOACTIVATE) &&
        ((flags & SWP_SHOWWINDOW) || !(flags & SWP_NOZORDER)))
        ActivateWindow(handle);
    if (!FindWindowObject(handle)) return false;

    pos.flags = flags & ~kSwpStateChanged;
    const bool forceSize = !window->sizeAndMoveSent || (flags & kSwpStateChanged);
    if (!sizeChanged && !forceSize) pos.flags |= kSwpNoClientSize;
    if (newClient.left == oldClient.left && newClient.top == oldClient.top && window->sizeAndMoveSent)
        pos.flags |= kSwpNoClientMove;
    CallWindowProcedure(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    SyncHostWindow(handle);
    return true;
}

void RecomputeFrame(HWND handle) {
    ApplyWindowPos(handle, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ChangeShowState(HWND handle, ShowState state) {
    auto window = FindWindowObject(handle);
    if (!window || window->showState == state) return;
    RECT target = window->normalRect;
    UINT flags = SWP_NOZORDER | SWP_FRAMECHANGED | kSwpStateChanged;
    window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (state == ShowState::Minimized) {
        window->style |= WS_MINIMIZE;
        target = {kMinimizedPosition, kMinimizedPosition, kMinimizedPosition + kMinimizedWidth,
                  kMinimizedPosition + kMinimizedHeight};
        flags |= SWP_NOACTIVATE;
    } else if (state == ShowState::Maximized) {
        window->style |= WS_MAXIMIZE;
        const MINMAXINFO info = QueryMinMaxInfo(handle);
        window = FindWindowObject(handle);
        if (!window) return;
        target = {info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
                  info.ptMaxPosition.y + info.ptMaxSize.y};
    }
    window->showState = state;
    ApplyWindowPos(handle, nullptr, target.left, target.top, Width(target), Height(target), flags);
}

void DragFrameToClientSize(HWND handle, int width, int height) {
    if (!FindWindowObject(handle)) return;
    CallWindowProcedure(handle, WM_ENTERSIZEMOVE, 0, 0);
    auto window = FindWindowObject(handle);
    if (window && window->showState == ShowState::Normal) {
        const Insets n = NonClientInsets(window->style, window->exStyle, window->HasMenuBar());
        const MINMAXINFO info = QueryMinMaxInfo(handle);
        const int cx = std::clamp(ClampExtent(int64_t(width) + n.left + n.right), int(info.ptMinTrackSize.x),
                                  int(std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x)));
        const int cy = std::clamp(ClampExtent(int64_t(height) + n.top + n.bottom), int(info.ptMinTrackSize.y),
                                  int(std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y)));
        ApplyWindowPos(handle, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (FindWindowObject(handle)) CallWindowProcedure(handle, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace user

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    if (!user::FindWindowObject(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    user::ApplyWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags & 0x7FFF & ~(user::kSwpNoClientSize | user::kSwpNoClientMove));
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    using namespace user;
    auto window = FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const BOOL wasVisible = window->Visible() ? TRUE : FALSE;
    if (nCmdShow == SW_HIDE) {
        if (wasVisible) {
            CallWindowProcedure(hWnd, WM_SHOWWINDOW, FALSE, 0);
            ApplyWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return wasVisible;
    }
    if (!wasVisible) {
        if (IsOverlappedTopLevel(*window)) Windows().mainCandidates.push_back(hWnd);
        CallWindowProcedure(hWnd, WM_SHOWWINDOW, TRUE, 0);
        const bool noActivate = nCmdShow == SW_SHOWNA || nCmdShow == SW_SHOWNOACTIVATE ||
                                nCmdShow == SW_SHOWMINNOACTIVE || nCmdShow == SW_MINIMIZE || window->IsChild();
        ApplyWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | (noActivate ? SWP_NOACTIVATE : 0));
    }
    switch (nCmdShow) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE: ChangeShowState(hWnd, ShowState::Minimized); break;
        case SW_MAXIMIZE: ChangeShowState(hWnd, ShowState::Maximized); break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT: ChangeShowState(hWnd, ShowState::Normal); break;
        default: break;
    }
    return wasVisible;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    auto window = user::FindWindowObject(hWnd);
    if (!window || lpRect == nullptr) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *lpRect = user::WindowRectOnScreen(*window);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    auto window = user::FindWindowObject(hWnd);
    if (!window || lpRect == nullptr) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *lpRect = {0, 0, window->clientRect.right - window->clientRect.left,
               window->clientRect.bottom - window->clientRect.top};
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    auto window = user::FindWindowObject(hWnd);
    if (!window || lpPoint == nullptr) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const POINT origin = user::ClientOriginOnScreen(*window);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    auto window = user::FindWindowObject(hWnd);
    if (!window || lpPoint == nullptr) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const POINT origin = user::ClientOriginOnScreen(*window);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}
