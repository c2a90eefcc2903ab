// What the device asks of the window manager: whether a window exists, its client area, and making
// the device window cover the screen for full screen (the window gets its messages synchronously).
#pragma once

#include "windows.h"

namespace d3d9 {

bool WindowExists(HWND window);
// The client area's size; 0 x 0 for a missing or minimised window.
SIZE ClientSize(HWND window);
// Where the client area's top-left corner is on the screen.
POINT ClientOrigin(HWND window);
// Places the window over the whole screen of the given size and activates it.
void CoverScreen(HWND window, UINT width, UINT height);

}  // namespace d3d9
