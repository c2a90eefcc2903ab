// The program's resource table: what the platform's resource compiler would have put into the program
// file. The program's resources/ folder fills one table and registers it at start-up; the kernel's
// resource functions (FindResourceA and the loaders built on it) look entries up by type and name.
#pragma once

#include "windef.h"

typedef struct _RESOURCE_TABLE_ENTRY {
    LPCSTR type;    // MAKEINTRESOURCE(RT_...) or a type name such as "WAVE"
    LPCSTR name;    // MAKEINTRESOURCE(id) or a name such as "BOUNCE"
    WORD language;  // 0 = neutral, 1033 = English (United States)
    const void* data;
    DWORD size;
} RESOURCE_TABLE_ENTRY;

// Registers the program's resources for the program's own module (GetModuleHandleA(NULL)). Entries are
// not copied: the table must live as long as the program. A second call replaces the first table.
void WINAPI RegisterProgramResources(const RESOURCE_TABLE_ENTRY* entries, UINT count);
