// The dialog window's procedure: every message goes to the dialog procedure first (messages before
// WM_INITDIALOG included); what it leaves (answers FALSE) gets the dialog manager's default handling.
#include "dialogs.h"
#include "user/dialog_runner.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

// Messages whose default handling always runs: the window's own bookkeeping depends on it.
bool AlwaysDefault(UINT message) {
    return message == WM_NCCREATE || message == WM_NCCALCSIZE || message == WM_WINDOWPOSCHANGED ||
           message == WM_NCDESTROY;
}

LRESULT DefaultHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: {
            // The close box, Alt+F4 and WM_CLOSE act as the Cancel button; the window stays until
            // the dialog ends.
            std::string reason;
            UserPressesKey(window, VK_ESCAPE, reason);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                auto state = FindDialog(window);
                HWND focus = state ? state->focus : nullptr;
                SetFocus(FindWindowObject(focus) ? focus : window);
            }
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
            ForgetDialog(window);
            return result;
        }
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<DialogState> state = BindCreatedWindow(window);
    if (message == kScriptedInputMessage) {
        ApplyScriptedInput(window, lParam);
        return 0;
    }
    if (state && state->procedure) {
        const INT_PTR handled = state->procedure(window, message, wParam, lParam);
        if (!FindWindowObject(window)) return 0;
        if (handled && !AlwaysDefault(message))
            return message == WM_INITDIALOG || message == kScriptedFontChoice ? handled : 0;
    }
    return DefaultHandling(window, message, wParam, lParam);
}

}  // namespace user::dialogs
