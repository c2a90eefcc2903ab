// Update regions: what is invalid in a window's client area, kept as a bounding rectangle. WM_PAINT
// comes for it only when the queue has nothing else; painting (BeginPaint, DefWindowProcA) validates.
#include <algorithm>

#include "user/painting.h"
#include "user/window_objects.h"

namespace user {
namespace {

RECT ClientArea(const Window& window) {
    return {0, 0, window.clientRect.right - window.clientRect.left, window.clientRect.bottom - window.clientRect.top};
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool Contains(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}  // namespace

void InvalidateClient(HWND handle, const RECT* rect, bool erase) {
    auto window = FindWindowObject(handle);
    if (!window) return;
    RECT area = rect ? Intersect(*rect, ClientArea(*window)) : ClientArea(*window);
    if (Empty(area)) return;
    if (window->invalid) {
        const RECT& u = window->updateRect;
        area = {std::min(u.left, area.left), std::min(u.top, area.top), std::max(u.right, area.right),
                std::max(u.bottom, area.bottom)};
    }
    window->invalid = true;
    window->updateRect = area;
    window->erase = window->erase || erase;
}

bool TakeUpdateRegion(HWND handle, RECT& updateRect, bool& erase) {
    auto window = FindWindowObject(handle);
    if (!window) return false;
    updateRect = window->invalid ? window->updateRect : RECT{0, 0, 0, 0};
    erase = window->invalid && window->erase;
    window->invalid = false;
    window->erase = false;
    return true;
}

HWND WindowNeedingPaint(HWND filter) {
    for (const auto& window : LiveWindows()) {
        if (!window->invalid || !window->Visible()) continue;
        if (filter != nullptr && window->handle != filter && window->parent != filter) continue;
        return window->handle;
    }
    return nullptr;
}

}  // namespace user

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    if (hWnd == nullptr) {
        for (const auto& window : user::LiveWindows()) user::InvalidateClient(window->handle, nullptr, bErase != FALSE);
        return TRUE;
    }
    if (!user::FindWindowObject(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    user::InvalidateClient(hWnd, lpRect, bErase != FALSE);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!window->invalid) return TRUE;
    RECT& u = window->updateRect;
    if (lpRect == nullptr || user::Contains(*lpRect, u)) {
        window->invalid = false;
        window->erase = false;
        return TRUE;
    }
    // A rectangle covering a whole side band of the region leaves the rest.
    const RECT& v = *lpRect;
    if (v.left <= u.left && v.right >= u.right) {
        if (v.top <= u.top && v.bottom > u.top) u.top = v.bottom;
        else if (v.bottom >= u.bottom && v.top < u.bottom) u.bottom = v.top;
    } else if (v.top <= u.top && v.bottom >= u.bottom) {
        if (v.left <= u.left && v.right > u.left) u.left = v.right;
        else if (v.right >= u.right && v.left < u.right) u.right = v.left;
    }
    if (user::Empty(u)) window->invalid = false;
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (lpRect) *lpRect = window->invalid ? window->updateRect : RECT{0, 0, 0, 0};
    return window->invalid ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->invalid && window->Visible()) SendMessageA(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}
