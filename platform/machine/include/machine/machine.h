// The machine the layer runs on: its clock, debugger output, message boxes, keyboard and mouse, and the
// frames and reports of a run. The layer's areas (kernel, user, gdi, d3d9, ...) sit on top of it; the
// program never includes this header. Tests and the backends configure and drive it through control.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace machine {

// ---- Clock -------------------------------------------------------------------------------------
// The performance counter never reads 0 (it starts well above it), so a frozen instant is never lost.
int64_t CounterFrequency();     // ticks per second, > 0; 0 when the machine has no counter
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
// The same, but answers 0 when a real display could not show the box itself (its system's boxes are
// not there): the caller then shows the box to the user and records the answer on the box's record.
int OfferMessageBox(const std::string& text, const std::string& caption, uint32_t type, size_t& record);
void AnswerMessageBox(size_t record, int answer);
// The default button of a box of this type (MB_OK -> IDOK, MB_YESNO -> IDYES, MB_DEFBUTTON2 -> the
// second button, ...).
int DefaultMessageBoxAnswer(uint32_t type);
// "error", "warning", "information", "question" or "none", from the MB_ICON bits.
const char* MessageBoxIconName(uint32_t type);

// ---- Input -------------------------------------------------------------------------------------
// Fail events are not input: scheduling one arms a failure (machine/failures.h) at its frame.
enum class InputKind { Key, MouseMove, MouseButton, MouseWheel, Window, Device, Dialog, Fail };
// LoseUntilRestored: the display took the device away (a full-screen window lost the foreground); it
// stays lost until Restore, whatever the script holds.
enum class DeviceAction { Lose, Restore, LoseUntilRestored };
enum class KeyAction { Down, Up, Press };
enum class MouseButtonId { Left, Right, Middle };
// FocusLost / FocusGained: another program takes the foreground, and the user comes back. Command:
// another program posts WM_COMMAND with an identifier (controlId) to the main window. Move, Activate,
// Deactivate and Expose come from a real display only (the window manager moved the window, gave or
// took the foreground, or uncovered it).
enum class WindowAction {
    Minimize, Maximize, Restore, Resize, Close, FocusLost, FocusGained, Command, Move, Activate, Deactivate, Expose
};
// Dialog: what the user does in the dialog that waits for input (the key is in virtualKey); Font
// chooses a face (itemText) and a size (pointTenths) in a font dialog.
enum class DialogAction { Select, Click, Key, Font };

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
    bool previouslyDown = false;  // Key: filled in by TakeDueInput (the key's state before the event)
    DeviceAction deviceAction = DeviceAction::Lose;  // Device: "device lose|restore"
    DialogAction dialogAction = DialogAction::Click;  // Dialog: "dialog select|click|key ..."
    int32_t controlId = 0;       // Dialog select and click: the control's id; Window command: the command
    std::string itemText;        // Dialog select: the item's text; Dialog font: the face; Fail: the call's name
    int32_t pointTenths = 0;     // Dialog font: the size in tenths of a point
    uint64_t failNth = 0;        // Fail: the use of the call that fails (1 = the first)
    uint32_t failCode = 0;       // Fail: the code it answers
    uint64_t hostWindow = 0;     // a real display's event: the window it happened in (0: the main window)
};
// Takes the next event that is due now (its frame has been reached); false when none is due. Key and
// button events change the keyboard and mouse state as they are taken. A "press" was scheduled as a
// down at its frame and an up one frame later.
bool TakeDueInput(InputEvent& event);
// Device events are not taken as input: when they come due, TakeDueInput hands them to the listener the
// Direct3D area sets (the device becomes lost, or may be reset again).
void SetDeviceEventListener(std::function<void(DeviceAction)> listener);
// True while events remain scheduled for later frames.
bool InputPending();
// The program waits with nothing to do: the next scheduled event becomes due at once (time passes
// while the program waits). False when nothing remains scheduled.
bool BringNextInputForward();

// Keyboard state as the machine sees it (for DirectInput and GetKeyState-like queries). The generic
// VK_SHIFT / VK_CONTROL / VK_MENU are down while either side is; the sided codes follow their key.
bool IsVirtualKeyDown(uint32_t virtualKey);
bool IsScanCodeDown(uint32_t scanCode);
bool IsMouseButtonDown(MouseButtonId button);

// The mouse position on the virtual desktop (screen coordinates), kept inside the clip rectangle.
struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
void SetCursorScreenPosition(int32_t x, int32_t y);
// The mouse itself moved the cursor to this screen position: besides placing the cursor, the way
// there counts as the mouse's relative motion (whatever the clip rectangle leaves of the position).
void MoveMouseTo(int32_t x, int32_t y);
// The mouse's relative motion and wheel movement since the machine started, as running totals:
// a reader keeps the totals of its last read and takes the difference.
struct MouseMotion {
    int64_t x = 0, y = 0, wheel = 0;
};
MouseMotion MouseMotionTotals();
void CursorScreenPosition(int32_t& x, int32_t& y);
// Confines the mouse (ClipCursor); null releases it (the whole desktop). CursorClip answers the
// rectangle in force.
void SetCursorClip(const ScreenRect* rect);
ScreenRect CursorClip();

// ---- Displays ----------------------------------------------------------------------------------
struct DisplayMode {
    uint32_t width = 0, height = 0, refreshRate = 0;
    int32_t format = 0;  // a D3DFORMAT value
};
// The desktop's own mode (1280 x 1024, X8R8G8B8, 60 Hz by default).
DisplayMode DesktopMode();
// The mode the display is in now: the desktop's, or the full-screen mode set last.
DisplayMode CurrentDisplayMode();
// The modes the display offers, the desktop's included.
std::vector<DisplayMode> DisplayModes();
bool SetDisplayMode(const DisplayMode& mode);  // full-screen switch; false when the mode is not offered
void RestoreDesktopMode();

// ---- Presented frames --------------------------------------------------------------------------
// A frame as it reached a window: 32-bit X8R8G8B8 pixels, top-down rows.
struct Frame {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    bool waitForRefresh = false;  // a real display shows it at its next refresh (present interval ONE)
};
// Present shows its frame, then reports it presented: the frame shown before the n-th FramePresented
// is frame n (counting from 1). Frames asked for by the capture settings are written as PNG files.
void ShowFrame(const Frame& frame);
// Shows `frame` as ShowFrame does but takes its pixels instead of copying them: `frame` comes back
// holding the storage of the frame shown before (any size and contents, or empty), for the caller
// to fill the next time.
void ShowFrameSwapped(Frame& frame);
const Frame* LastFrame();
// Writes a frame as an 8-bit RGB PNG file; false (with a reason in error) when it cannot.
bool WritePng(const Frame& frame, const std::string& path, std::string& error);

// ---- The real display ----------------------------------------------------------------------------
// With a real display (MORVATH_MACHINE=sdl) the top-level windows the layer shows are windows of the
// desktop: the layer tells the machine where each one is and what it draws into its non-client rows,
// and the display's events come back as input. Headless, all of this does nothing.
bool HasRealDisplay();
struct HostWindowState {
    std::string title;
    // What the desktop's window holds, in screen coordinates: the rows the layer draws above the
    // client area (the menu bar) and the client area itself. The caption and frame are the window
    // manager's own.
    ScreenRect area;
    int32_t menuBarHeight = 0;
    bool main = false;       // presented frames go to the main window
    bool visible = false;
    bool minimized = false, maximized = false;
    bool resizable = false;
};
void PlaceHostWindow(uint64_t id, const HostWindowState& state);
void RemoveHostWindow(uint64_t id);
// Pixels the layer draws: a window's menu bar rows and what lies over its client area (an open menu);
// for a window without presented frames (a dialog) `content` is its whole client area.
struct HostOverlay {
    Frame image;
    int32_t x = 0, y = 0;  // in client coordinates
};
void ShowHostDecoration(uint64_t id, const Frame& menuBar, const std::vector<HostOverlay>& overlays);
void ShowHostContent(uint64_t id, const Frame& content);
// Takes the display's pending events as input, waiting up to this long for one; false headless or when
// none came.
bool WaitForDisplayEvents(uint32_t milliseconds);
// The pointer on a real display: hidden, or the image (X8R8G8B8 with alpha; null: the system arrow).
void SetPointerImage(bool visible, const Frame* image, int32_t hotSpotX, int32_t hotSpotY);
// SetCursorPos: the real pointer moves there too.
void WarpPointer(int32_t x, int32_t y);

// ---- Waiting -----------------------------------------------------------------------------------
// The program would block (GetMessageA, a modal loop) with nothing to take: runs the test's idle
// hook. False when no hook is set.
bool RunIdleHook();
// The watchdog. A wait that found nothing after the idle hook ran counts against a limit; reaching it
// fails loudly (standard error, then the watchdog handler, or abort when there is none). Answers true
// when the watchdog fired (the waiter must then stop waiting).
bool NoteIdleWithoutProgress();
void NoteProgress();

// ---- Dialogs -----------------------------------------------------------------------------------
// A modal dialog was shown (the report's "dialogs_shown").
void NoteDialogShown();
uint64_t DialogsShown();

// ---- Handles the program holds -----------------------------------------------------------------
// The areas count what they hand out and get back ("window", "menu", "accelerator table", "bitmap",
// "memory dc", "screen dc", ...), so a test can show that everything obtained was returned.
void NoteObjectCreated(const char* kind);
void NoteObjectReleased(const char* kind);

// ---- The run -----------------------------------------------------------------------------------
// Reads the run settings from the environment (MORVATH_MACHINE, MORVATH_FRAMES, MORVATH_INPUT,
// MORVATH_REPORT, MORVATH_CAPTURE, MORVATH_CAPTURE_FRAMES, MORVATH_AUDIO, MORVATH_AUDIO_OUT). False with a reason on a bad setting or a
// bad input script line ("line N: ..."), or an output that cannot be written (the report and sound
// files are opened and the capture folder tried now), having created no file. Warnings about
// accepted settings go to standard error.
bool ConfigureFromEnvironment(std::string& error);
// Set once the machine has asked the main window to close because MORVATH_FRAMES was reached.
bool CloseRequested();
// Whether the machine has Direct3D 9 at all (MORVATH_DIRECT3D=none models one without it).
bool HasDirect3D9();
// The run's end: writes the outputs asked for (last.png, the sound file) and the report (MORVATH_REPORT)
// with the program's exit code. False when one of them, or a frame captured during the run, could
// not be written (each is named on standard error).
bool WriteReport(int exitCode);
// The report as JSON text.
std::string ReportJson(int exitCode);
// Later areas add fields to the report: the producer answers a JSON value.
void AddReportField(const std::string& name, std::function<std::string()> jsonValue);
// Text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace machine
