// For tests: what the dialogs that run show, and a user's hand on them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "windows.h"

namespace user::control {

struct DialogComboItem {
    std::string text;
    LPARAM data = 0;
};

// One control as a user would see it. Items and selection are those of a combo box.
struct DialogControlView {
    HWND handle = nullptr;
    int id = 0;
    std::string className;  // "Button", "Static", "ComboBox"
    std::string text;
    DWORD style = 0;
    bool enabled = false;
    bool visible = false;
    bool checked = false;
    bool defaultButton = false;
    std::vector<DialogComboItem> items;
    int selection = -1;  // CB_ERR when nothing is selected

    // The text of the selected item, empty when nothing is selected.
    std::string SelectedText() const;
    std::vector<std::string> ItemTexts() const;
};

// The innermost dialog whose modal loop runs, or null.
HWND RunningDialog();
// The dialog's controls in tab order; empty for a window that is not a dialog.
std::vector<DialogControlView> DialogControls(HWND dialog);
std::optional<DialogControlView> DialogControl(HWND dialog, int id);

// Acting as a user: choose the item with this text (CBN_SELCHANGE follows), click a button (radio
// buttons check themselves, BN_CLICKED follows), press Enter or Escape, use the close box. Each
// answers false, writing why to standard error, when it is refused (a disabled control, no such
// control or item, a disabled default button).
bool SelectDialogItem(HWND dialog, int id, const std::string& itemText);
bool ClickDialogControl(HWND dialog, int id);
bool PressDialogKey(HWND dialog, UINT virtualKey);
void CloseDialogBox(HWND dialog);

// While set, DialogBoxParamA fails with -1 (a dialog that cannot be shown). Reset clears it.
void SetDialogCreationFails(bool fail);

}  // namespace user::control
