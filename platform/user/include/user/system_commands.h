// WM_SYSCOMMAND's default handling, and the keyboard's way into the menu.
#pragma once

#include "windows.h"

namespace user {

// SC_CLOSE sends WM_CLOSE; SC_MINIMIZE / SC_MAXIMIZE / SC_RESTORE change the window's state (WM_SIZE
// with its type); SC_SIZE drags the frame to the size the machine asked for; SC_MOVE moves nothing
// headless; SC_KEYMENU and SC_MOUSEMENU run the menu loop, which ends at once headless.
void RunSystemCommand(HWND window, WPARAM command, LPARAM lParam);
// Alt or F10 went down (the input layer's note) and then came up with no other key in between:
// the release opens the menu. Answers whether it does, and forgets it.
void NoteMenuKeyDown();
void NoteOtherKeyDown();
bool TakeMenuKeyRelease();

}  // namespace user
