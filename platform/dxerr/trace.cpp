// DXTraceA: one line to the debugger output,
//   <file>(<line>): <message> (hr=<name> (0x<code as 8 lower-case hex digits>))
#include <cstdio>
#include <string>

#include "dxerr9.h"
#include "machine/machine.h"
#include "winbase.h"

namespace {
constexpr uint32_t kErrorBoxType = 0x00000010;  // MB_OK | MB_ICONERROR
}

HRESULT WINAPI DXTraceA(const char* strFile, DWORD dwLine, HRESULT hr, const char* strMsg, BOOL bShowMsgBox) {
    char code[32];
    std::snprintf(code, sizeof(code), "0x%08x", static_cast<unsigned>(hr));
    std::string line = std::string(strFile == nullptr ? "" : strFile) + "(" + std::to_string(dwLine) + "): " +
                       (strMsg == nullptr ? "" : strMsg) + " (hr=" + DXGetErrorString9A(hr) + " (" + code + "))\n";
    OutputDebugStringA(line.c_str());
    if (bShowMsgBox) machine::ShowMessageBox(line.substr(0, line.size() - 1), "Unexpected error", kErrorBoxType);
    return hr;
}
