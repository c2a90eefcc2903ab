// The error-string library: symbolic names of result codes and the trace line.
#pragma once

#include "windef.h"
#include "winerror.h"

// The code's symbolic name ("E_FAIL", "D3DERR_DEVICELOST", ...); "Unknown" for a code it does not know.
const char* WINAPI DXGetErrorString9A(HRESULT hr);

// Writes one line to the debugger output,
//   <file>(<line>): <message> (hr=<name> (0x<8 hex digits>))
// and, when bShowMsgBox is set, shows it in a message box too. Answers hr unchanged.
HRESULT WINAPI DXTraceA(const char* strFile, DWORD dwLine, HRESULT hr, const char* strMsg, BOOL bShowMsgBox);

#define DXGetErrorString9 DXGetErrorString9A
#define DXTrace DXTraceA

// Traces are written in every build.
#define DXTRACE_MSG(str) DXTraceA(__FILE__, (DWORD)__LINE__, 0, str, FALSE)
#define DXTRACE_ERR(str, hr) DXTraceA(__FILE__, (DWORD)__LINE__, hr, str, FALSE)
#define DXTRACE_ERR_MSGBOX(str, hr) DXTraceA(__FILE__, (DWORD)__LINE__, hr, str, TRUE)
