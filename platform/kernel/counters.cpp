// The performance counter and Sleep, from the machine's clock.
#include "machine/machine.h"
#include "winbase.h"

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
    if (lpFrequency == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    lpFrequency->QuadPart = machine::CounterFrequency();
    return lpFrequency->QuadPart > 0 ? TRUE : FALSE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
    if (lpPerformanceCount == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    lpPerformanceCount->QuadPart = machine::ReadCounter();
    return TRUE;
}

VOID WINAPI Sleep(DWORD dwMilliseconds) { machine::SleepFor(dwMilliseconds); }
