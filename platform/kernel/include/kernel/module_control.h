// For tests: what the module functions answer about the program and the shell library.
#pragma once

#include <string>

namespace kernel::module_control {
// The program path GetModuleFileNameA answers, in the platform's form; empty = the real executable.
void SetProgramFilePath(const std::string& path);
// Whether LoadLibraryA finds "shell32.dll", and whether GetProcAddress finds its "ShellExecuteA".
void SetShellAvailable(bool libraryAvailable, bool exportAvailable);
// Back to the real program path and an available shell.
void Reset();
}  // namespace kernel::module_control
