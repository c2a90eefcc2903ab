// The non-client area: caption, frame and menu bar, the same for every function that turns window
// rectangles into client rectangles and back.
#include "user/coordinates.h"
#include "user/nonclient.h"
#include "user/window_objects.h"

namespace user {
namespace {

bool IsOverlapped(DWORD style) { return (style & (WS_POPUP | WS_CHILD)) == 0; }

bool HasCaption(DWORD style) { return IsOverlapped(style) || (style & WS_CAPTION) == WS_CAPTION; }

int FrameWidth(DWORD style, DWORD exStyle) {
    if (style & WS_THICKFRAME) return kSizingFrame;
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME) || (style & DS_MODALFRAME)) return kFixedFrame;
    if (style & WS_BORDER) return kBorder;
    if (IsOverlapped(style)) return kBorder;  // an overlapped window always has a border
    return 0;
}

}  // namespace

Insets NonClientInsets(DWORD style, DWORD exStyle, bool menuBar) {
    Insets insets;
    const int frame = FrameWidth(style, exStyle);
    insets.left = insets.right = insets.top = insets.bottom = frame;
    if (HasCaption(style)) insets.top += kCaptionHeight;
    if (menuBar && !(style & WS_CHILD)) insets.top += kMenuBarHeight;
    if (exStyle & WS_EX_CLIENTEDGE) {
        insets.left += kClientEdge;
        insets.right += kClientEdge;
        insets.top += kClientEdge;
        insets.bottom += kClientEdge;
    }
    return insets;
}

RECT ClientRectFor(const RECT& windowRect, DWORD style, DWORD exStyle, bool menuBar) {
    const Insets n = NonClientInsets(style, exStyle, menuBar);
    RECT client{windowRect.left + n.left, windowRect.top + n.top, windowRect.right - n.right,
                windowRect.bottom - n.bottom};
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    return client;
}

LRESULT HitTest(HWND handle, POINT p) {
    auto window = FindWindowObject(handle);
    if (!window) return HTNOWHERE;
    const RECT w = WindowRectOnScreen(*window);
    if (p.x < w.left || p.x >= w.right || p.y < w.top || p.y >= w.bottom) return HTNOWHERE;
    const POINT origin = ClientOriginOnScreen(*window);
    const LONG clientWidth = window->clientRect.right - window->clientRect.left;
    const LONG clientHeight = window->clientRect.bottom - window->clientRect.top;
    if (p.x >= origin.x && p.x < origin.x + clientWidth && p.y >= origin.y && p.y < origin.y + clientHeight)
        return HTCLIENT;
    const int frame = FrameWidth(window->style, window->exStyle);
    const bool left = p.x < w.left + frame, right = p.x >= w.right - frame;
    const bool top = p.y < w.top + frame, bottom = p.y >= w.bottom - frame;
    if ((left || right || top || bottom) && frame > 0) {
        if (!(window->style & WS_THICKFRAME)) return HTBORDER;
        if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        return left ? HTLEFT : HTRIGHT;
    }
    const LONG captionBottom = w.top + frame + (HasCaption(window->style) ? kCaptionHeight : 0);
    if (p.y < captionBottom) return HTCAPTION;
    if (window->HasMenuBar() && p.y < captionBottom + kMenuBarHeight) return HTMENU;
    return HTBORDER;
}

}  // namespace user

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const user::Insets n = user::NonClientInsets(dwStyle, dwExStyle, bMenu != FALSE);
    lpRect->left = user::SaturateLong(int64_t(lpRect->left) - n.left);
    lpRect->top = user::SaturateLong(int64_t(lpRect->top) - n.top);
    lpRect->right = user::SaturateLong(int64_t(lpRect->right) + n.right);
    lpRect->bottom = user::SaturateLong(int64_t(lpRect->bottom) + n.bottom);
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) {
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}
