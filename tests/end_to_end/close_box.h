// What a window manager's close box does to an X window: WM_DELETE_WINDOW in WM_PROTOCOLS.
#pragma once

#include <string>

bool PressCloseBox(const std::string& display, unsigned long window);
