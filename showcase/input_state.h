// This frame's keyboard and mouse state, filled once per frame from the input devices; the client
// mouse position is written on every mouse-move message instead.
#pragma once

#include "dinput.h"
#include "windows.h"

struct InputState {
    BYTE keys[256];      // by DirectInput key code: 0x80 while down
    DIMOUSESTATE2 mouse; // relative axes and wheel since the last read, then 8 button bytes
    DWORD keyUp;         // each flag is 1 while bit 7 of its key or button byte is set
    DWORD keyDown;
    DWORD keyLeft;
    DWORD keyRight;
    DWORD keyF5;
    DWORD keyF8;
    BYTE buttonLeft;
    BYTE buttonRight;
    BYTE buttonMiddle;
    LONG cursorX;        // client coordinates; cursorX and cursorY together serve as a POINT
    LONG cursorY;
};
