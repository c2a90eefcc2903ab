#include "high_res_clock.h"

#include <cmath>

#include "mmsystem.h"
#include "windows.h"

namespace {

bool g_counterExists = false;
double g_counterFrequency = 0.0;
double g_ticksPerMicrosecond = 0.0;
double g_ticksPerMillisecond = 0.0;
LARGE_INTEGER g_lastCounterValue = {};

// Counter ticks as whole units of (ticks per unit), reduced modulo 2^32.
DWORD CounterIn(double ticksPerUnit) {
    QueryPerformanceCounter(&g_lastCounterValue);
    double units = std::fmod(static_cast<double>(g_lastCounterValue.QuadPart) / ticksPerUnit, 4294967296.0);
    if (units < 0.0) units += 4294967296.0;
    return static_cast<DWORD>(units);
}

}  // namespace

bool InitHighResTimer() {
    LARGE_INTEGER frequency = {};
    g_counterExists = QueryPerformanceFrequency(&frequency) != FALSE && frequency.QuadPart > 0;
    g_counterFrequency = static_cast<double>(frequency.QuadPart);
    g_ticksPerMicrosecond = g_counterFrequency / 1000000.0;
    g_ticksPerMillisecond = g_counterFrequency / 1000.0;
    return g_counterExists;
}

DWORD HighResMilliseconds() {
    if (!g_counterExists) return timeGetTime();
    return CounterIn(g_ticksPerMillisecond);
}

DWORD HighResMicroseconds() {
    // Without a counter the only time source is the millisecond system time, given here in microseconds.
    if (!g_counterExists) return timeGetTime() * 1000u;
    return CounterIn(g_ticksPerMicrosecond);
}
