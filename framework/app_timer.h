// The framework's one clock: a single function driven by a command, answering seconds as a float.
// It reads the high-resolution performance counter when the system has one, else the millisecond
// system timer; the choice is made on the first call. It starts out stopped.
#pragma once

#include <cstdint>

enum class TimerOp : int32_t {
    Restart = 0,       // base and last-delta time = now; not stopped
    Resume = 1,        // the stopped span is added to the base time; not stopped
    Freeze = 2,        // unless stopped: stop time = now, stopped
    StepTenth = 3,     // the stop time moves on by a tenth of a second
    ClockSeconds = 4,  // answers the clock reading, always taken fresh
    RunSeconds = 5,    // answers now - base time
    DeltaSeconds = 6,  // answers now - last-delta time, then last-delta time = now
};

// Answers 0 for the commands without an answer and -1 for an unknown command.
float AppTimer(TimerOp command);
