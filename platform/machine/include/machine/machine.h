// The machine the layer runs on: its clock, debugger output, message boxes, keyboard and mouse, and the
// frames and reports of a run. The layer's areas (kernel, user, gdi, d3d9, ...) sit on top of it; the
// program never includes this header. Tests and the backends configure and drive it through control.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace machine {

// ---- Clock -------------------------------------------------------------------------------------
// The performance counter never reads 0 (it starts well above it), so a frozen instant is never lost.
int64_t CounterFrequency();     // ticks per second, > 0
int64_t ReadCounter();          // fixed clock: advances by a small step at each read
uint32_t ReadMilliseconds();    // the millisecond system timer
void SleepFor(uint32_t milliseconds);  // fixed clock: advances the clock instead of waiting
// A frame was presented: the fixed clock moves on by 1/60 s, the frame count grows, and scheduled input
// for that frame becomes due.
void FramePresented();
uint64_t FramesPresented();

// ---- Debugger output ---------------------------------------------------------------------------
void DebugOutput(const char* text);  // captured; also printed to standard error when asked

// ---- Message boxes -----------------------------------------------------------------------------
struct MessageBoxRecord {
    std::string text;
    std::string caption;
    uint32_t type = 0;  // MB_ flags as passed
    int answer = 0;     // the button the machine answered with (IDOK ...)
};
// Shows a box and answers it: headless, with its default button (written to standard error too);
// a test's answer hook may act while it is up and choose the answer.
int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type);

// ---- Input -------------------------------------------------------------------------------------
enum class InputKind { Key, MouseMove, MouseButton, MouseWheel, Window };
enum class KeyAction { Down, Up, Press };
enum class MouseButtonId { Left, Right, Middle };
enum class WindowAction { Minimize, Maximize, Restore, Resize, Close };

struct InputEvent {
    uint64_t frame = 0;          // delivered once this many frames have been presented
    InputKind kind = InputKind::Key;
    uint32_t virtualKey = 0;     // Key: the platform's virtual-key code (VK_...)
    uint32_t scanCode = 0;       // Key: the DirectInput key code (DIK_...)
    KeyAction keyAction = KeyAction::Down;
    int32_t x = 0, y = 0;        // MouseMove: client position; Window Resize: new client size
    MouseButtonId button = MouseButtonId::Left;
    bool buttonDown = false;
    int32_t wheelDelta = 0;      // MouseWheel: in the platform's units (120 a notch)
    WindowAction windowAction = WindowAction::Close;
};
// Takes the next event that is due now (its frame has been reached); false when none is due.
bool TakeDueInput(InputEvent& event);
// True while events remain scheduled for later frames.
bool InputPending();

// Keyboard state as the machine sees it (for DirectInput and GetKeyState-like queries).
bool IsVirtualKeyDown(uint32_t virtualKey);
bool IsScanCodeDown(uint32_t scanCode);

// The mouse position on the virtual desktop (screen coordinates).
void SetCursorScreenPosition(int32_t x, int32_t y);
void CursorScreenPosition(int32_t& x, int32_t& y);

// ---- Displays ----------------------------------------------------------------------------------
struct DisplayMode {
    uint32_t width = 0, height = 0, refreshRate = 0;
    int32_t format = 0;  // a D3DFORMAT value
};
DisplayMode DesktopMode();
std::vector<DisplayMode> DisplayModes();
bool SetDisplayMode(const DisplayMode& mode);  // full-screen switch; false when the mode is not offered
void RestoreDesktopMode();

// ---- Presented frames --------------------------------------------------------------------------
// A frame as it reached a window: 32-bit X8R8G8B8 pixels, top-down rows.
struct Frame {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
void ShowFrame(const Frame& frame);
const Frame* LastFrame();

// ---- The run -----------------------------------------------------------------------------------
// Set once the program has been told to end by the machine (MORVATH_FRAMES reached).
bool CloseRequested();
// Writes the report (MORVATH_REPORT) with the program's exit code; does nothing when none was asked.
void WriteReport(int exitCode);

}  // namespace machine
