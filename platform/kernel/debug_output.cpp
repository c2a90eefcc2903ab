// OutputDebugStringA: the text goes to the machine's debugger output as it is (no line feed added).
#include "machine/machine.h"
#include "winbase.h"

VOID WINAPI OutputDebugStringA(LPCSTR lpOutputString) {
    if (lpOutputString != nullptr) machine::DebugOutput(lpOutputString);
}
