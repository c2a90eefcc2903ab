// Running a modal dialog from a template held as plain data, for the layer's own dialogs (the common
// dialogs): the same dialog manager, modal loop and script input as DialogBoxParamA.
#pragma once

#include <string>
#include <vector>

#include "windows.h"

namespace user::dialogs {

// The base units that templates' dialog units are laid out in: a unit is a quarter of the dialog font's
// average letter width across and an eighth of its cell height down. The painter realises the dialog
// font at the largest size whose own base units are no larger, so texts fit the controls they are given.
constexpr int kDialogBaseWidth = 6;
constexpr int kDialogBaseHeight = 13;

struct DialogItem {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    WORD id = 0;
    std::string className;  // the predefined classes' atoms become their names
    std::string text;       // an ordinal title (a resource id) is kept as "#<id>"
};

struct DialogTemplate {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;       // empty: none
    std::string className;  // empty: the dialog class
    std::string caption;
    WORD pointSize = 0;     // DS_SETFONT only
    std::string face;
    std::vector<DialogItem> items;
};

// Makes the dialog and its controls, sends WM_INITDIALOG and runs the modal loop: the answer of
// DialogBoxParamA for the same template.
INT_PTR RunDialogTemplate(const DialogTemplate& t, HINSTANCE instance, HWND parent, DLGPROC procedure,
                          LPARAM initParam);

// The message a script's "dialog font <face> <points>" sends to the innermost dialog: wParam the size
// in tenths of a point, lParam the face (const char*). A font dialog answers TRUE and takes the
// choice; any other dialog answers 0 and the event is refused.
inline constexpr UINT kScriptedFontChoice = 0x03A1;

}  // namespace user::dialogs
