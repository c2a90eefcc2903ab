// Lookup in the program's resource table (RegisterProgramResources), for the loaders of the other
// areas (menus, accelerators, icons, dialogs, sounds).
#pragma once

#include "restable.h"
#include "windef.h"

namespace kernel {

// The entry of this type and name for a module that has resources: a null module or the program's
// own. Types and names are MAKEINTRESOURCE ids or texts compared ignoring case ("#123" is the id 123).
// Language: the exact one first, then neutral (0), then any. Null when there is none; the last error
// then tells why (ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND, ...).
const RESOURCE_TABLE_ENTRY* FindProgramResource(HMODULE module, LPCSTR type, LPCSTR name, WORD language = 0);

}  // namespace kernel
