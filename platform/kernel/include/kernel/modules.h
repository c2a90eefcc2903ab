// The program's own module: the instance GetModuleHandleA(NULL) answers and the owner of the
// program's resources.
#pragma once

#include "windef.h"

namespace kernel {
HMODULE ProgramModule();
// True for the module handles that mean the program: null and ProgramModule().
inline bool IsProgramModule(HMODULE module) { return module == nullptr || module == ProgramModule(); }
}  // namespace kernel
