// The last error, one per thread as on the platform.
#include "winbase.h"

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD WINAPI GetLastError(void) { return t_lastError; }

VOID WINAPI SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }
