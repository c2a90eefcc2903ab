// Buttons: push buttons (one may be the default), check boxes, radio buttons that check themselves
// and uncheck the rest of their group, and group boxes. A click notifies the parent with BN_CLICKED;
// setting the check from the program notifies nothing.
#include <map>

#include "dialogs.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

constexpr DWORD kTypeMask = 0x0F;

void ResetButtons();

std::map<HWND, UINT>& CheckStates() {
    static std::map<HWND, UINT> states;
    static bool registered = (detail::RegisterUserReset(&ResetButtons), true);
    (void)registered;
    return states;
}

void ResetButtons() { CheckStates().clear(); }

bool Checkable(DWORD type) {
    switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_AUTORADIOBUTTON: return true;
        default: return false;
    }
}

DWORD StyleOf(HWND window) {
    auto w = FindWindowObject(window);
    return w ? w->style : 0;
}

// The controls of the button's group: from the nearest control at or before it that starts a group
// (WS_GROUP) up to the next one that does.
std::vector<HWND> GroupOf(HWND button) {
    const std::vector<HWND> siblings = ControlsOf(GetParent(button));
    size_t at = 0;
    while (at < siblings.size() && siblings[at] != button) ++at;
    if (at == siblings.size()) return {button};
    size_t first = at;
    while (first > 0 && !(StyleOf(siblings[first]) & WS_GROUP)) --first;
    size_t last = at + 1;
    while (last < siblings.size() && !(StyleOf(siblings[last]) & WS_GROUP)) ++last;
    return {siblings.begin() + static_cast<std::ptrdiff_t>(first), siblings.begin() + static_cast<std::ptrdiff_t>(last)};
}

void Notify(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (parent == nullptr) return;
    const WORD id = static_cast<WORD>(GetDlgCtrlID(control));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

}  // namespace

DWORD ButtonType(HWND button) { return IsClass(button, kButtonClass) ? StyleOf(button) & kTypeMask : 0; }

bool ButtonChecked(HWND button) {
    auto found = CheckStates().find(button);
    return found != CheckStates().end() && found->second == BST_CHECKED;
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case BM_GETCHECK: {
            auto found = CheckStates().find(window);
            return found == CheckStates().end() ? BST_UNCHECKED : found->second;
        }
        case BM_SETCHECK:
            if (Checkable(ButtonType(window))) CheckStates()[window] = static_cast<UINT>(wParam) & 3;
            return 0;
        case BM_CLICK: {
            std::string reason;
            UserClicks(window, reason);
            return 0;
        }
        case WM_NCDESTROY: CheckStates().erase(window); break;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool UserClicks(HWND control, std::string& reason) {
    if (!FindWindowObject(control)) {
        reason = "there is no such control";
        return false;
    }
    if (!IsWindowEnabled(control)) {
        reason = "the control is disabled";
        return false;
    }
    if (!IsWindowVisible(control)) {
        reason = "the control is hidden";
        return false;
    }
    const DWORD type = ButtonType(control);
    if (!IsClass(control, kButtonClass) || type == BS_GROUPBOX) {
        reason = "the control is not a button";
        return false;
    }
    if (type == BS_AUTORADIOBUTTON) {
        for (HWND member : GroupOf(control))
            if (ButtonType(member) == BS_AUTORADIOBUTTON) CheckStates()[member] = member == control ? BST_CHECKED : BST_UNCHECKED;
    } else if (type == BS_AUTOCHECKBOX) {
        CheckStates()[control] = ButtonChecked(control) ? BST_UNCHECKED : BST_CHECKED;
    } else if (type == BS_AUTO3STATE) {
        CheckStates()[control] = (SendMessageA(control, BM_GETCHECK, 0, 0) + 1) % 3;
    }
    // The click takes the keyboard focus with it.
    SetFocus(control);
    if (auto dialog = FindDialog(GetParent(control))) dialog->focus = control;
    Notify(control, BN_CLICKED);
    return true;
}

}  // namespace user::dialogs
