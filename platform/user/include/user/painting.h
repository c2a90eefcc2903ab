// Update regions, for WM_PAINT generation, BeginPaint and DefWindowProcA.
#pragma once

#include "windows.h"

namespace user {

// Adds a client rectangle (null: the whole client area) to the window's update region.
void InvalidateClient(HWND window, const RECT* rect, bool erase);
// Takes the update region for painting: answers its bounding rectangle and whether the background
// was to be erased, and validates the window. False for a window that is not live.
bool TakeUpdateRegion(HWND window, RECT& updateRect, bool& erase);
// The first live window, in creation order, that has an update region and may be painted.
HWND WindowNeedingPaint(HWND filter);

}  // namespace user
