// The dialog's modal loop. The owner is disabled while it runs. Posted messages come out first in
// first out, then input: the keyboard belongs to the dialog (Enter and Escape are its buttons), and
// mouse input and window commands for a disabled window are dropped. When nothing is left to take,
// the test's idle hook runs, or the script's next event is brought forward; a dialog the script has
// no more events for is cancelled, so a run never waits for ever.
#include <cstdio>

#include "dialog_display.h"
#include "dialogs.h"
#include "machine/machine.h"
#include "user/queue.h"
#include "user/window_objects.h"
#include "user/window_table.h"

namespace user::dialogs {
namespace {

bool Within(HWND window, HWND dialog) {
    for (auto w = FindWindowObject(window); w; w = w->IsChild() ? FindWindowObject(w->parent) : nullptr)
        if (w->handle == dialog) return true;
    return false;
}

bool TopLevelDisabled(HWND window) {
    auto w = FindWindowObject(window);
    while (w && w->IsChild()) w = FindWindowObject(w->parent);
    return w && (w->style & WS_DISABLED);
}

bool IsKeyboard(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }
bool IsMouse(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

// Answers true when the message was used up here.
bool PreTranslate(DialogState& state, MSG& msg) {
    if (IsKeyboard(msg.message) && !Within(msg.hwnd, state.handle))
        msg.hwnd = FindWindowObject(state.focus) && IsWindowEnabled(state.focus) ? state.focus : state.handle;
    if (TakeDisplayInput(state, msg)) return true;
    if (IsKeyboard(msg.message)) {
        if (!Within(msg.hwnd, state.handle)) {
            // The owner cannot have the keyboard while the dialog runs.
            msg.hwnd = FindWindowObject(state.focus) && IsWindowEnabled(state.focus) ? state.focus : state.handle;
        }
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
            std::string reason;
            UserPressesKey(state.handle, static_cast<UINT>(msg.wParam), reason);
            return true;
        }
        return false;
    }
    if ((IsMouse(msg.message) || msg.message == WM_SYSCOMMAND) && TopLevelDisabled(msg.hwnd)) return true;
    return false;
}

// Nothing to take: the idle hook, the script's next event, or the end of the dialog.
void Idle(DialogState& state) {
    if (machine::RunIdleHook()) {
        MSG peek;
        if (state.ended || TakeMessage(peek, nullptr, 0, 0, false)) return;
        if (machine::BringNextInputForward()) return;
        if (machine::NoteIdleWithoutProgress()) CancelDialog(state.handle, "the watchdog fired");
        return;
    }
    if (DialogInputScheduled() && machine::BringNextInputForward()) return;
    if (machine::HasRealDisplay()) {
        // A real dialog waits for its user.
        machine::WaitForDisplayEvents(100);
        return;
    }
    CancelDialog(state.handle, "no dialog input left");
}

}  // namespace

INT_PTR RunModalLoop(const std::shared_ptr<DialogState>& state) {
    HWND dialog = state->handle;
    HWND owner = state->owner;
    const HWND previousFocus = GetFocus();
    const bool ownerWasActive = owner != nullptr && GetActiveWindow() == owner;
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);

    PushRunning(dialog);
    if (!state->ended) {
        ShowWindow(dialog, SW_SHOW);
        if (FindDialog(dialog) && GetActiveWindow() != dialog) SetFocus(state->focus ? state->focus : dialog);
        machine::NoteDialogShown();
        ShowOnDisplay(dialog);
    }
    bool quit = false;
    int quitCode = 0;
    while (!state->ended && FindDialog(dialog)) {
        if (owner != nullptr && !IsWindow(owner)) break;  // the owner took its dialog with it
        MSG msg;
        if (!TakeMessage(msg, nullptr, 0, 0, true)) {
            Idle(*state);
            continue;
        }
        machine::NoteProgress();
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!PreTranslate(*state, msg)) DispatchMessageA(&msg);
        ShowOnDisplay(dialog);
    }
    PopRunning(dialog);

    // Ended by EndDialog: its value; by WM_QUIT or the loss of the window: 0.
    const INT_PTR result = state->ended ? state->result : 0;
    if (disableOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
    if (FindDialog(dialog)) DestroyWindow(dialog);  // its queued notifications go with it
    if (ownerWasActive && IsWindow(owner)) ActivateWindow(owner);
    else if (IsWindow(previousFocus)) SetFocus(previousFocus);
    if (quit) PostQuitMessage(quitCode);  // the quit is for the loop outside
    return result;
}

}  // namespace user::dialogs
