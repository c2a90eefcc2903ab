// The display while a full-screen device runs: the machine's display switches to the device's mode and
// the device window covers it; leaving full screen restores the desktop mode.
#pragma once

#include <optional>

#include "windows.h"
#include "d3d9.h"

namespace d3d9 {

// The mode a full-screen device set on the adapter, if one did.
std::optional<D3DDISPLAYMODE> FullScreenMode(UINT adapter);
// Switches the adapter's display to the mode and makes the window cover it; false when the display
// refuses the mode.
bool EnterFullScreen(UINT adapter, const D3DDISPLAYMODE& mode, HWND window);
// Puts the desktop mode back, when a full-screen mode is set.
void LeaveFullScreen(UINT adapter);
// Forgets every full-screen mode (the area's reset between tests).
void ForgetFullScreenModes();

}  // namespace d3d9
