// Menus as the window manager keeps them, and the template reader.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "windows.h"

namespace user {

struct MenuItem {
    UINT flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED, ...
    UINT id = 0;     // the command of a normal item
    std::string text;  // 8-bit text, as the program sees it
    HMENU popup = nullptr;
};

struct Menu {
    std::vector<MenuItem> items;
};

// The live menu of a handle, or null.
std::shared_ptr<Menu> FindMenu(HMENU handle);
// Reads a menu template ({WORD version 0, WORD offset 0} then the items) into new menus; null when the
// data is malformed (every size is checked against the data's length).
HMENU MenuFromTemplate(const uint8_t* data, size_t size);

}  // namespace user
