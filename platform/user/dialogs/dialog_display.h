// A running dialog on a real display.
#pragma once

#include "dialogs.h"

namespace user::dialogs {
// Draws the dialog into its window of the desktop (nothing headless).
void ShowOnDisplay(HWND dialog);
// The mouse and the keys a user gives the dialog on a real display; true when the message was used.
bool TakeDisplayInput(DialogState& state, const MSG& msg);
}  // namespace user::dialogs
