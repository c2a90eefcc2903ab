// The pixels GDI draws into a window (GetDC, BeginPaint). The headless machine gives a window no
// pixels of its own until a device presents into it, so GDI keeps one surface a window: made at the
// first draw in the size of the client area, starting in the colour of the class's background brush
// (black without one), resized with the client area. The machine's presented frames are separate.
#pragma once

#include "gdi/objects.h"
#include "machine/machine.h"

namespace gdi {

// The window's surface, in its client area's current size; null for a window that does not live.
Bitmap* WindowSurface(HWND window);
// A copy of what GDI drew into the window; false when nothing has been drawn into it.
bool ReadWindowSurface(HWND window, machine::Frame& frame);

}  // namespace gdi
