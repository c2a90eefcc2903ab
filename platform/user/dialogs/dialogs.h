// The dialog manager's internals: running dialogs, the control classes and what a user does to them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "windows.h"

namespace user::dialogs {

// The class names the dialog manager registers; templates name the controls by atom.
inline constexpr const char* kDialogClass = "#32770";
inline constexpr const char* kButtonClass = "Button";
inline constexpr const char* kStaticClass = "Static";
inline constexpr const char* kComboBoxClass = "ComboBox";
// Registers them unless they are already (the window manager's reset forgets classes).
void EnsureDialogClasses();

// A private message: a scripted dialog event has reached the dialog; lParam names it.
inline constexpr UINT kScriptedInputMessage = 0x03A0;

struct DialogState {
    HWND handle = nullptr;
    HWND owner = nullptr;
    DLGPROC procedure = nullptr;
    std::string caption;
    bool ended = false;
    INT_PTR result = 0;
    HWND focus = nullptr;  // the control that gets the keys while the dialog is active
};

// The dialog of a live dialog window, or null.
std::shared_ptr<DialogState> FindDialog(HWND dialog);
// The dialog being created: its window procedure binds to it at the first message.
void BeginCreation(std::shared_ptr<DialogState> state);
std::shared_ptr<DialogState> BindCreatedWindow(HWND window);
void ForgetDialog(HWND dialog);
// Running modal loops, innermost last.
void PushRunning(HWND dialog);
void PopRunning(HWND dialog);
HWND InnermostDialog();
// The running dialog a window belongs to (the dialog itself or one of its controls), or null.
HWND DialogOf(HWND window);
// DialogBoxParamA answers -1 while this is set (the control API's failure switch).
bool& CreationFails();

LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog's controls, in creation (tab) order.
std::vector<HWND> ControlsOf(HWND dialog);
bool IsClass(HWND window, const char* className);

// Combo boxes as they are.
struct ComboItem {
    std::string text;
    LPARAM data = 0;
};
const std::vector<ComboItem>* ComboItems(HWND combo);
int ComboSelection(HWND combo);
// The list of a drop-down list on a real display: opened below the field (above it when there is no
// room), its highlight moved by the keyboard or the mouse, closed by a choice (which selects the item,
// with CBN_SELCHANGE when it is another) or without one. The parent hears CBN_DROPDOWN and CBN_CLOSEUP,
// and CBN_SELENDOK or CBN_SELENDCANCEL.
bool DropDownOpen(HWND combo);
void OpenList(HWND combo);
void CloseList(HWND combo, bool choose);
void HighlightItem(HWND combo, int index);
int HighlightedItem(HWND combo);
// The item of the open list at a point of the dialog's client area, -1 when none (outside the list).
int ListItemAt(HWND combo, int x, int y);
// The open drop-down list of a dialog, or null.
HWND DroppedCombo(HWND dialog);
// Buttons: the BS_ type of the style, and the check state.
DWORD ButtonType(HWND button);
bool ButtonChecked(HWND button);

// What a user does. Each answers false, with the reason, when it is refused (a disabled control
// ignores the user).
bool UserSelectsItem(HWND combo, const std::string& itemText, std::string& reason);
bool UserClicks(HWND control, std::string& reason);
bool UserPressesKey(HWND dialog, UINT virtualKey, std::string& reason);
// Escape without the refusal: the dialog procedure sees IDCANCEL; a dialog that does not end on it
// is ended with IDCANCEL all the same.
void CancelDialog(HWND dialog, const char* why);

// A message box as a modal dialog of the dialog manager: the button the user chose, or 0 when the
// dialog could not be shown (or ended without a button: a quit message, its owner gone).
int RunMessageBoxDialog(HWND owner, const std::string& text, const std::string& caption, UINT type);

// Does the script's dialog event that the message carries.
void ApplyScriptedInput(HWND dialog, LPARAM key);
// Whether the script still holds dialog events.
bool DialogInputScheduled();

}  // namespace user::dialogs
