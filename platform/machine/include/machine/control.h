// The machine's control API: how tests and the backends configure the machine, drive it and read what
// a run produced. The program never includes this header.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "machine/machine.h"

namespace machine::control {

// Puts the whole machine back to its start state (clock, debugger output, input, boxes, displays, ...).
// Tests call it between cases; every area below resets with it.
void Reset();

// ---- Clock -------------------------------------------------------------------------------------
enum class ClockMode { Fixed, Real };
void SetClockMode(ClockMode mode);
ClockMode GetClockMode();
// Fixed clock: the counter's start reading, the step added at each read and the step added at each
// presented frame (1/60 s by default).
void SetCounter(int64_t ticks);
void AdvanceCounter(int64_t ticks);
void SetCounterReadStep(int64_t ticks);
void SetFrameStep(int64_t ticks);
// Whether QueryPerformanceFrequency reports a counter (true by default).
void SetCounterAvailable(bool available);
bool CounterAvailable();
void SetMilliseconds(uint32_t ms);
std::vector<uint32_t> Sleeps();  // every Sleep the program made, in order

// ---- Debugger output ---------------------------------------------------------------------------
std::vector<std::string> DebugLines();  // every OutputDebugStringA text, in order
void ClearDebugLines();
void SetDebugEcho(bool toStandardError);

// ---- Message boxes -----------------------------------------------------------------------------
std::vector<MessageBoxRecord> MessageBoxes();
// Called while a box is "up", before it is answered; answers the button to return, or 0 for the default.
using MessageBoxHook = std::function<int(const MessageBoxRecord&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// ---- Input -------------------------------------------------------------------------------------
void ScheduleInput(const InputEvent& event);
// Parses an input script (one event a line: "<frame> <event> <arguments>"); on a bad line answers false
// with "line N: ..." in error and schedules nothing.
bool LoadInputScript(const std::string& text, std::string& error);

// ---- Displays ----------------------------------------------------------------------------------
void SetDesktop(const DisplayMode& desktop, const std::vector<DisplayMode>& modes);

// ---- The run -----------------------------------------------------------------------------------
// After this many presented frames the machine asks the main window to close (SC_CLOSE); 0 = never.
void SetFrameLimit(uint64_t frames);
void SetReportPath(const std::string& path);

}  // namespace machine::control
