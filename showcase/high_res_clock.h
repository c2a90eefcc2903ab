// A clock on the performance counter, separate from the framework's timer. Before InitHighResTimer,
// or without a counter, the queries fall back to the millisecond system time.
#pragma once

#include "windows.h"

// True when the platform has a performance counter.
bool InitHighResTimer();
// The counter's time in milliseconds / microseconds, wrapped at 2^32.
DWORD HighResMilliseconds();
DWORD HighResMicroseconds();
