// The system's message texts, by message number (Win32 errors and HRESULTs).
#pragma once

#include "windef.h"

namespace kernel {
// The text for a message number, ending in "\r\n"; null when the system has none. A Win32 error
// wrapped in an HRESULT (0x8007xxxx) has the text of the error.
const char* SystemMessageText(DWORD messageId);
}  // namespace kernel
