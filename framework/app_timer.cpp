#include "app_timer.h"

#include "windows.h"
#include "mmsystem.h"

#include "process_state.h"

namespace {

// A stop time of zero means that no instant is frozen: the clock is read whenever it is zero.
struct AppTimerState {
    bool initialised = false;
    bool usesCounter = false;
    int64_t ticksPerSecond = 0;
    int64_t baseTicks = 0, stopTicks = 0, lastDeltaTicks = 0;
    double baseSeconds = 0.0, stopSeconds = 0.0, lastDeltaSeconds = 0.0;
    int32_t stopped = 1;
};

AppTimerState s_timer;

bool ReadsFrozenInstant(TimerOp command) {
    return command != TimerOp::Resume && command != TimerOp::ClockSeconds;
}

float CounterCommand(TimerOp command) {
    AppTimerState& t = s_timer;
    int64_t now;
    if (t.stopTicks != 0 && ReadsFrozenInstant(command)) {
        now = t.stopTicks;
    } else {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        now = counter.QuadPart;
    }
    const double perSecond = static_cast<double>(t.ticksPerSecond);

    switch (command) {
    case TimerOp::Restart:
        t.baseTicks = now;
        t.lastDeltaTicks = now;
        t.stopTicks = 0;
        t.stopped = 0;
        return 0.0f;
    case TimerOp::Resume:
        if (t.stopped) t.baseTicks += now - t.stopTicks;
        t.stopTicks = 0;
        t.lastDeltaTicks = now;
        t.stopped = 0;
        return 0.0f;
    case TimerOp::Freeze:
        if (!t.stopped) {
            t.stopTicks = now;
            t.lastDeltaTicks = now;
            t.stopped = 1;
        }
        return 0.0f;
    case TimerOp::StepTenth:
        t.stopTicks += t.ticksPerSecond / 10;
        return 0.0f;
    case TimerOp::ClockSeconds:
        return static_cast<float>(static_cast<double>(now) / perSecond);
    case TimerOp::RunSeconds:
        return static_cast<float>(static_cast<double>(now - t.baseTicks) / perSecond);
    case TimerOp::DeltaSeconds: {
        const double delta = static_cast<double>(now - t.lastDeltaTicks) / perSecond;
        t.lastDeltaTicks = now;
        return static_cast<float>(delta);
    }
    }
    return -1.0f;
}

float MillisecondCommand(TimerOp command) {
    AppTimerState& t = s_timer;
    double now;
    if (t.stopSeconds != 0.0 && ReadsFrozenInstant(command)) {
        now = t.stopSeconds;
    } else {
        now = static_cast<double>(timeGetTime()) * 0.001;
    }

    switch (command) {
    case TimerOp::Restart:
        t.baseSeconds = now;
        t.lastDeltaSeconds = now;
        t.stopSeconds = 0.0;
        t.stopped = 0;
        return 0.0f;
    case TimerOp::Resume:
        if (t.stopped) t.baseSeconds += now - t.stopSeconds;
        t.stopSeconds = 0.0;
        t.lastDeltaSeconds = now;
        t.stopped = 0;
        return 0.0f;
    case TimerOp::Freeze:
        if (!t.stopped) {
            t.stopSeconds = now;
            t.lastDeltaSeconds = now;
            t.stopped = 1;
        }
        return 0.0f;
    case TimerOp::StepTenth:
        t.stopSeconds += 0.1;
        return 0.0f;
    case TimerOp::ClockSeconds:
        return static_cast<float>(now);
    case TimerOp::RunSeconds:
        return static_cast<float>(now - t.baseSeconds);
    case TimerOp::DeltaSeconds: {
        const double delta = now - t.lastDeltaSeconds;
        t.lastDeltaSeconds = now;
        return static_cast<float>(delta);
    }
    }
    return -1.0f;
}

}  // namespace

float AppTimer(TimerOp command) {
    if (!s_timer.initialised) {
        s_timer.initialised = true;
        LARGE_INTEGER frequency;
        // A counter that reports no ticks per second could not divide anything: use the milliseconds.
        s_timer.usesCounter = QueryPerformanceFrequency(&frequency) != 0 && frequency.QuadPart > 0;
        if (s_timer.usesCounter) s_timer.ticksPerSecond = frequency.QuadPart;
    }
    return s_timer.usesCounter ? CounterCommand(command) : MillisecondCommand(command);
}

void framework_detail::ResetTimerState() { s_timer = AppTimerState{}; }
