// The dialog's keyboard: Enter is the default push button (IDOK when there is none), Escape is
// IDCANCEL. A disabled button refuses its key.
#include <cstdio>

#include "dialogs.h"

namespace user::dialogs {
namespace {

HWND DefaultButton(HWND dialog) {
    for (HWND control : ControlsOf(dialog))
        if (ButtonType(control) == BS_DEFPUSHBUTTON) return control;
    return nullptr;
}

bool SendCommand(HWND dialog, int id, HWND control, std::string& reason) {
    if (control != nullptr && !IsWindowEnabled(control)) {
        reason = "the button is disabled";
        return false;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return true;
}

}  // namespace

bool UserPressesKey(HWND dialog, UINT virtualKey, std::string& reason) {
    if (!FindDialog(dialog)) {
        reason = "there is no such dialog";
        return false;
    }
    if (virtualKey == VK_RETURN) {
        HWND button = DefaultButton(dialog);
        const int id = button ? GetDlgCtrlID(button) : IDOK;
        return SendCommand(dialog, id, button ? button : GetDlgItem(dialog, IDOK), reason);
    }
    if (virtualKey == VK_ESCAPE) return SendCommand(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL), reason);
    reason = "the key has no meaning for a dialog";
    return false;
}

void CancelDialog(HWND dialog, const char* why) {
    auto state = FindDialog(dialog);
    if (!state) return;
    std::fprintf(stderr, "[machine] dialog \"%s\": %s; cancelled\n", state->caption.c_str(), why);
    std::string reason;
    UserPressesKey(dialog, VK_ESCAPE, reason);
    if (!state->ended) {
        state->ended = true;
        state->result = IDCANCEL;
    }
}

}  // namespace user::dialogs
