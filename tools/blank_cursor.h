// "blank.cur": a 32 x 32 cursor file whose every pixel is transparent, so the system arrow does not
// show over the window and only the software cursor does.
#pragma once

#include <cstdint>
#include <vector>

std::vector<uint8_t> BlankCursorFile();
