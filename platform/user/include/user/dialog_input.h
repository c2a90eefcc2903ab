// The input script's dialog events on their way to the dialog that waits for input.
#pragma once

#include <optional>

#include "machine/machine.h"
#include "windows.h"

namespace user {
// The message that carries a dialog event to the innermost running dialog; none, with a line on
// standard error, when no dialog is running.
std::optional<MSG> DialogInputMessage(const machine::InputEvent& event);
}  // namespace user
