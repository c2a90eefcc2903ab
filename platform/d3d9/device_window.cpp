// The device's questions to the window manager.
#include "device_window.h"

namespace d3d9 {

bool WindowExists(HWND window) { return window && IsWindow(window); }

SIZE ClientSize(HWND window) {
    RECT client{};
    if (!WindowExists(window) || IsIconic(window) || !GetClientRect(window, &client)) return {0, 0};
    return {client.right - client.left, client.bottom - client.top};
}

POINT ClientOrigin(HWND window) {
    POINT origin{0, 0};
    if (WindowExists(window)) ClientToScreen(window, &origin);
    return origin;
}

void CoverScreen(HWND window, UINT width, UINT height) {
    if (!WindowExists(window)) return;
    // Moving, sizing and activating: the window's procedure sees the messages before this returns.
    SetWindowPos(window, HWND_TOP, 0, 0, static_cast<int>(width), static_cast<int>(height), SWP_SHOWWINDOW);
}

}  // namespace d3d9
