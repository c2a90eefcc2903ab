// The machine's keyboard, mouse and window input turned into the platform's input messages.
#pragma once

#include "windows.h"

namespace user {

// The next input message for the filter. Input is converted one machine event at a time, when the
// last converted message has been taken, so the key state seen by a message's handler is the state
// of its own moment.
bool TakeInputMessage(MSG& msg, HWND window, UINT first, UINT last, bool remove);

// The lParam of a key message: repeat count 1, scan code, extended-key bit, Alt context bit,
// previous state and transition.
LPARAM KeyMessageParam(uint32_t scanCode, bool down, bool previouslyDown, bool altDown);

}  // namespace user
