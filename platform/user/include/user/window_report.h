// The main window's state as the run's report gives it ("main_window"): how it was when destroyed.
#pragma once

#include "user/window_objects.h"

namespace user {

// Called as a window is destroyed, before its messages go out; keeps the state of the main window.
void NoteWindowDestroyed(const Window& window);

}  // namespace user
