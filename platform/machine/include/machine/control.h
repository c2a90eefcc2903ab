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
// Whether boxes are also written to standard error ("[message box] <caption>: <text>"); on by default.
void SetMessageBoxEcho(bool toStandardError);

// ---- Input -------------------------------------------------------------------------------------
void ScheduleInput(const InputEvent& event);
// Parses an input script (one event a line: "<frame> <event> <arguments>"); on a bad line answers false
// with "line N: ..." in error and schedules nothing.
bool LoadInputScript(const std::string& text, std::string& error);
// The same parse without scheduling: the events of the script in their lines' order.
bool ParseInputScript(const std::string& text, std::vector<InputEvent>& events, std::string& error);
// The events still scheduled, in delivery order.
std::vector<InputEvent> ScheduledInput();
// The key codes of a script key name (virtual-key or DirectInput name, with or without VK_ / DIK_,
// any letter case); false for an unknown name.
bool LookUpKeyName(const std::string& name, uint32_t& virtualKey, uint32_t& scanCode);

// ---- Displays ----------------------------------------------------------------------------------
void SetDesktop(const DisplayMode& desktop, const std::vector<DisplayMode>& modes);

// ---- Presented frames --------------------------------------------------------------------------
// Frames to write as PNG files into the folder ("frame_<n>.png"); an empty list writes the last
// frame shown as "last.png" when the report is written.
void SetCapture(const std::string& folder, const std::vector<uint64_t>& frames);
std::vector<std::string> CapturedFiles();  // the files written, in order

// ---- Waiting -----------------------------------------------------------------------------------
// Called whenever the program would block (GetMessageA, a modal loop's idle point). It may post or
// send messages or schedule input. While a hook is set the machine does not end the run by itself.
using IdleHook = std::function<void()>;
void SetIdleHook(IdleHook hook);
// The watchdog: after this many idle calls in a row without anything to take it fires (default
// 10,000). The handler is told the count; without one the process aborts. After a handler the waiting
// call gets WM_QUIT so the program can end.
using WatchdogHandler = std::function<void(uint64_t idleCalls)>;
void SetWatchdog(uint64_t limit, WatchdogHandler handler);

// ---- Handles the program holds -----------------------------------------------------------------
// How many objects of a kind are still held (created minus released).
int64_t LiveObjects(const std::string& kind);

// ---- The run -----------------------------------------------------------------------------------
// After this many presented frames the machine asks the main window to close (SC_CLOSE); 0 = never.
void SetFrameLimit(uint64_t frames);
void SetReportPath(const std::string& path);
// A machine without Direct3D 9: Direct3DCreate9 then answers null (true, available, by default).
void SetDirect3D9Available(bool available);
// The real time the report's "seconds" counts from (the machine's start, or this call).
void StartRunClock();

// ---- Reset -------------------------------------------------------------------------------------
// The areas above the machine (windows, GDI, ...) register here to be put back with Reset.
void AtReset(std::function<void()> hook);

}  // namespace machine::control
