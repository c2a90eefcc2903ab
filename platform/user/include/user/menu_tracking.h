// The menu loop on a real display.
#pragma once

#include "windows.h"

namespace user {
// Runs the menu bar of the window for SC_MOUSEMENU (lParam: the screen point clicked) or SC_KEYMENU
// (lParam: a mnemonic character, or 0 for Alt alone); answers the command chosen, 0 when none was.
UINT TrackMenuBar(HWND window, WPARAM command, LPARAM lParam);
}  // namespace user
