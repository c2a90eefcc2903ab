// The dialog template resource (DLGTEMPLATE and its DLGITEMTEMPLATE items) read into plain data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "windows.h"

namespace user::dialogs {

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

// Every size and offset is checked against the data: null when it is malformed or truncated, or
// uses the extended form.
std::optional<DialogTemplate> ReadDialogTemplate(const uint8_t* data, size_t size);

}  // namespace user::dialogs
