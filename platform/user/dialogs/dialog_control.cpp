// The tests' view of running dialogs and their hand on them.
#include <cstdio>

#include "dialogs.h"
#include "user/dialog_control.h"
#include "user/window_objects.h"

namespace user::control {
namespace {

bool Refused(const char* action, int id, const std::string& reason) {
    std::fprintf(stderr, "[machine] dialog %s %d: refused, %s\n", action, id, reason.c_str());
    return false;
}

}  // namespace

std::string DialogControlView::SelectedText() const {
    return selection >= 0 && static_cast<size_t>(selection) < items.size() ? items[selection].text : std::string();
}

std::vector<std::string> DialogControlView::ItemTexts() const {
    std::vector<std::string> texts;
    for (const DialogComboItem& item : items) texts.push_back(item.text);
    return texts;
}

HWND RunningDialog() { return dialogs::InnermostDialog(); }

std::vector<DialogControlView> DialogControls(HWND dialog) {
    std::vector<DialogControlView> views;
    if (!dialogs::FindDialog(dialog)) return views;
    for (HWND control : dialogs::ControlsOf(dialog)) {
        auto window = FindWindowObject(control);
        DialogControlView view;
        view.handle = control;
        view.id = GetDlgCtrlID(control);
        view.className = window->windowClass->name;
        view.text = window->title;
        view.style = window->style;
        view.enabled = IsWindowEnabled(control) != FALSE;
        view.visible = IsWindowVisible(control) != FALSE;
        view.checked = dialogs::ButtonChecked(control);
        view.defaultButton = dialogs::ButtonType(control) == BS_DEFPUSHBUTTON;
        if (const auto* items = dialogs::ComboItems(control)) {
            for (const dialogs::ComboItem& item : *items) view.items.push_back({item.text, item.data});
            view.selection = dialogs::ComboSelection(control);
        }
        views.push_back(view);
    }
    return views;
}

std::optional<DialogControlView> DialogControl(HWND dialog, int id) {
    for (const DialogControlView& view : DialogControls(dialog))
        if (view.id == id) return view;
    return std::nullopt;
}

bool SelectDialogItem(HWND dialog, int id, const std::string& itemText) {
    std::string reason;
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return Refused("select", id, "there is no such control");
    return dialogs::UserSelectsItem(control, itemText, reason) || Refused("select", id, reason);
}

bool ClickDialogControl(HWND dialog, int id) {
    std::string reason;
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return Refused("click", id, "there is no such control");
    return dialogs::UserClicks(control, reason) || Refused("click", id, reason);
}

bool PressDialogKey(HWND dialog, UINT virtualKey) {
    std::string reason;
    return dialogs::UserPressesKey(dialog, virtualKey, reason) ||
           Refused("key", static_cast<int>(virtualKey), reason);
}

void CloseDialogBox(HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

void SetDialogCreationFails(bool fail) { dialogs::CreationFails() = fail; }

}  // namespace user::control
