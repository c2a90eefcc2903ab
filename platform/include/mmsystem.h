// Multimedia: the millisecond system timer. The RIFF file functions follow in their own section.
#pragma once

#include "windef.h"
#include "winerror.h"

typedef UINT MMRESULT;

#define MMSYSERR_NOERROR 0
#define TIMERR_NOERROR 0
#define TIMERR_BASE 96
#define TIMERR_NOCANDO (TIMERR_BASE + 1)

// Milliseconds since the machine started, wrapping at 2^32.
DWORD WINAPI timeGetTime(void);

// ---- RIFF file I/O (mmioOpen, mmioDescend, mmioRead, ...) ---------------------------------------
// Added with the sound module's file reading.
