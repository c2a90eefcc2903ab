// The window table itself, for the window manager's parts that change it.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "user/window_objects.h"

namespace user {

struct WindowTable {
    std::map<HWND, std::shared_ptr<Window>> windows;  // live windows only
    std::vector<HWND> order;                          // creation order, destroyed ones included
    std::vector<HWND> mainCandidates;                 // visible overlapped top-level windows
    uintptr_t nextHandle = 0x7A0000010000;
    int cascadeIndex = 0;
    HWND focus = nullptr;
    HWND active = nullptr;
    bool applicationActive = false;
    uint64_t deactivations = 0;  // how often the application lost the foreground
};

WindowTable& Windows();

// The tracking sizes and maximized placement, as the window's procedure leaves them
// (WM_GETMINMAXINFO).
MINMAXINFO QueryMinMaxInfo(HWND handle);

}  // namespace user
