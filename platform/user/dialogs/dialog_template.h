// The dialog template resource (DLGTEMPLATE and its DLGITEMTEMPLATE items) read into plain data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "user/dialog_runner.h"
#include "windows.h"

namespace user::dialogs {

// Every size and offset is checked against the data: null when it is malformed or truncated, or
// uses the extended form.
std::optional<DialogTemplate> ReadDialogTemplate(const uint8_t* data, size_t size);

}  // namespace user::dialogs
