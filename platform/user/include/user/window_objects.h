// The window manager's own view of classes and windows, shared by its parts (and GDI's painting).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "windows.h"

namespace user {

struct WindowClass {
    ATOM atom = 0;
    std::string name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    int classExtra = 0, windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;
};

enum class ShowState { Normal, Minimized, Maximized };

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<const WindowClass> windowClass;
    WNDPROC procedure = nullptr;
    std::string title;
    DWORD style = 0, exStyle = 0;
    HWND parent = nullptr;  // child windows only
    HMENU menu = nullptr;   // top-level windows: the menu bar; children: their id
    HINSTANCE instance = nullptr;
    LONG userData = 0;
    // Both rectangles in the parent's client coordinates (screen coordinates for a top-level window).
    RECT windowRect{};
    RECT clientRect{};
    RECT normalRect{};  // the window rectangle to restore to from minimized or maximized
    ShowState showState = ShowState::Normal;
    bool destroying = false;
    bool sizeAndMoveSent = false;  // WM_SIZE and WM_MOVE have been sent once since creation
    // The update region, as a bounding rectangle in client coordinates.
    bool invalid = false;
    bool erase = false;
    RECT updateRect{};
    // A drag of the frame the machine asked for (SC_SIZE): the new client size.
    std::optional<SIZE> pendingDragSize;

    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool HasMenuBar() const { return !IsChild() && menu != nullptr; }
};

// The live window of a handle, or null (unknown, destroyed, or a null handle).
std::shared_ptr<Window> FindWindowObject(HWND handle);
// Every live window in creation order.
std::vector<std::shared_ptr<Window>> LiveWindows();
std::shared_ptr<const WindowClass> FindWindowClass(LPCSTR nameOrAtom);

// The main window: the focus window when it is a live top-level window, otherwise the first visible
// overlapped top-level window created that still lives. Null when there is none.
HWND MainWindow();
// The window that gets keyboard input now (the focus window, else the main window).
HWND KeyboardWindow();

// The screen position of the window's client area's top-left corner.
POINT ClientOriginOnScreen(const Window& window);
// The window rectangle in screen coordinates.
RECT WindowRectOnScreen(const Window& window);

// Calls the window procedure, if the window still lives. 0 otherwise.
LRESULT CallWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

// Activation and focus of top-level windows (WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE).
void ActivateWindow(HWND handle);
// Another program takes the foreground: the active window is deactivated and loses the keyboard
// focus, and every top-level window hears that the application is no longer active.
void DeactivateApplication();
// How often the application has lost the foreground so far (input devices held for foreground use
// are given up at each loss).
uint64_t ForegroundLosses();
// True from a loss of the foreground until the application is activated again: the keyboard then
// belongs to another program.
bool ForegroundElsewhere();

}  // namespace user
