// Ready-made adapter profiles for tests: the machines the framework's edge cases need.
#pragma once

#include "d3d9/adapter_profile.h"

namespace d3d9::presets {

// One adapter, X8R8G8B8 desktop 1024 x 768 at 85 Hz, modes from 640 x 480 up; HAL with hardware transform
// and lighting and a pure device, intervals IMMEDIATE | ONE, D16 and D24S8, multisample NONE, 2 (3 levels)
// and 4 (2 levels, refused for D16).
Profile OneHalTypical();
// The typical adapter with REF only.
Profile RefOnly();
// The typical adapter with HAL and REF, where creating the HAL device fails with D3DERR_NOTAVAILABLE.
Profile HalPlusRefHalFails();
// Two adapters; the first has no mode of at least 640 x 480.
Profile TwoAdaptersFirstUnusable();
// HAL, SW and REF, where the SW device type's capabilities cannot be read.
Profile SwCapsFail();
// No back buffer is usable windowed on the desktop format: the program must start full screen.
Profile DesktopFormatWithoutWindowed();
// No device type accepts any back buffer.
Profile NothingUsable();
// A REF device whose capabilities carry D3DPMISCCAPS_NULLREFERENCE.
Profile NullReference();
// Desktop 1024 x 768 at 85 Hz that is not in the mode list; 1024 x 600 and 1024 x 768 at 60 Hz are.
Profile DesktopNotListed();

}  // namespace d3d9::presets
