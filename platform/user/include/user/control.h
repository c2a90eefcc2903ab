// For tests of the window manager: what it records that the program cannot ask for itself.
#pragma once

namespace user::control {
// How many times InitCommonControls was called.
int CommonControlsInitCount();
}  // namespace user::control
