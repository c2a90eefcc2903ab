// Registry values of three kinds under a key the caller opened: text (REG_SZ), a 32-bit number
// (REG_DWORD) and a 16-byte block (REG_BINARY). A reader that cannot read a value of its kind puts
// the default in its place and answers S_FALSE; S_OK means the stored value was read. A null value
// name means the key's unnamed value.
#pragma once

#include "unknwn.h"
#include "windef.h"
#include "winerror.h"

// Text terminated at the value's end and at the capacity; a null default reads as "".
HRESULT RegistryGetText(HKEY key, const char* valueName, char* buffer, DWORD capacity, const char* defaultText);
HRESULT RegistryGetTextBytes(HKEY key, const char* valueName, char* buffer, DWORD capacityBytes,
                             const char* defaultText);
// Stores the text with its terminator.
HRESULT RegistrySetText(HKEY key, const char* valueName, const char* value);

HRESULT RegistryGetDword(HKEY key, const char* valueName, DWORD* pValue, DWORD defaultValue);
HRESULT RegistrySetDword(HKEY key, const char* valueName, DWORD value);
HRESULT RegistryGetDwordTwin(HKEY key, const char* valueName, DWORD* pValue, DWORD defaultValue);
HRESULT RegistrySetDwordTwin(HKEY key, const char* valueName, DWORD value);

// A null default reads as 16 zero bytes.
HRESULT RegistryGetBinary16(HKEY key, const char* valueName, GUID* pValue, const GUID* pDefault);
HRESULT RegistrySetBinary16(HKEY key, const char* valueName, GUID value);
