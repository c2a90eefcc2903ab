// The shell: opening a document with its program.
#pragma once

#include "windef.h"
#include "winuser.h"  // the SW_ show commands


// ShellExecuteA results of 32 or less are errors.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

// The "open" verb (also a null verb) on an existing file succeeds with a value above 32.
// It is also reached as LoadLibraryA("shell32.dll") + GetProcAddress(module, "ShellExecuteA").
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT nShowCmd);
