// Values of the binary resource formats that the platform headers do not name.
#pragma once

#include <cstdint>

#include "windows.h"

// The flag that marks the last entry of an accelerator table resource.
constexpr uint16_t kLastAcceleratorEntry = 0x80;

// Predefined window-class atoms of dialog-template controls.
constexpr uint16_t kButtonClassAtom = 0x0080;
constexpr uint16_t kStaticClassAtom = 0x0082;
constexpr uint16_t kComboBoxClassAtom = 0x0085;
