// The message queue's internals: what modal loops and the machine input use.
#pragma once

#include "windows.h"

namespace user {

// Takes the next message for the filter, without waiting; false when there is none.
bool TakeMessage(MSG& msg, HWND window, UINT first, UINT last, bool remove);
// Waits for the next message under the machine's rules (idle hook, scheduled input brought forward,
// then the machine's own close of the main window, then WM_QUIT); never blocks for ever.
void WaitForMessage(MSG& msg, HWND window, UINT first, UINT last);
// A modal loop's pass while it is up: dispatches the posted messages and the painting that are due,
// but leaves keyboard and mouse input and WM_QUIT in the queue.
void DispatchPendingWithoutInput();
// Posted messages of a destroyed window are dropped.
void DropMessagesOf(HWND window);

}  // namespace user
