// Opens the application's readme.txt with the shell, or says that it could not be found.
#pragma once

#include "windef.h"

// With a sample name, the SDK's "<samples path>\C++\<sample>\readme.txt" is tried first; then
// readme.txt beside and above the program's folder.
void OpenReadme(HWND window, const char* sampleName);
