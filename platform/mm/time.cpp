// timeGetTime: the machine's millisecond timer.
#include "machine/machine.h"
#include "mmsystem.h"

DWORD WINAPI timeGetTime(void) { return machine::ReadMilliseconds(); }
