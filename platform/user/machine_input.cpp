// Machine input as window messages: keys become WM_KEYDOWN/WM_KEYUP (WM_SYSKEYDOWN/WM_SYSKEYUP with
// Alt or for Alt and F10), mouse events become mouse messages in client coordinates (the wheel in
// screen coordinates, as the platform gives it), and window actions become the system commands a
// user's click on the caption gives; the foreground going to another program and back deactivates
// and activates the application.
#include <deque>
#include <optional>

#include "machine/machine.h"
#include "user/coordinates.h"
#include "user/desktop.h"
#include "user/dialog_input.h"
#include "user/nonclient.h"
#include "user/positions.h"
#include "user/machine_input.h"
#include "user/painting.h"
#include "user/reset.h"
#include "user/system_commands.h"
#include "user/window_objects.h"

namespace user {
namespace {

struct InputState {
    std::optional<MSG> converted;  // the current event's message, until it is taken
};

void ResetInput();

InputState& State() {
    static InputState state;
    static bool registered = (detail::RegisterUserReset(&ResetInput), true);
    (void)registered;
    return state;
}

void ResetInput() { State() = InputState{}; }

WPARAM MouseKeyFlags() {
    WPARAM flags = 0;
    if (machine::IsMouseButtonDown(machine::MouseButtonId::Left)) flags |= MK_LBUTTON;
    if (machine::IsMouseButtonDown(machine::MouseButtonId::Right)) flags |= MK_RBUTTON;
    if (machine::IsMouseButtonDown(machine::MouseButtonId::Middle)) flags |= MK_MBUTTON;
    if (machine::IsVirtualKeyDown(VK_SHIFT)) flags |= MK_SHIFT;
    if (machine::IsVirtualKeyDown(VK_CONTROL)) flags |= MK_CONTROL;
    return flags;
}

MSG Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{window, message, wParam, lParam, machine::ReadMilliseconds(), {0, 0}};
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    msg.pt = {x, y};
    return msg;
}

std::optional<MSG> KeyMessage(const machine::InputEvent& e) {
    const bool down = e.keyAction == machine::KeyAction::Down;
    const uint32_t vk = e.virtualKey;
    if (down) {
        if (vk == VK_MENU || vk == VK_F10) NoteMenuKeyDown();
        else NoteOtherKeyDown();
    }
    HWND target = KeyboardWindow();
    if (target == nullptr || ForegroundElsewhere()) return std::nullopt;
    const bool alt = machine::IsVirtualKeyDown(VK_MENU);
    const bool ctrl = machine::IsVirtualKeyDown(VK_CONTROL);
    const bool system = vk == VK_MENU || vk == VK_F10 || (alt && !ctrl);
    const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    return Message(target, message, vk, KeyMessageParam(e.scanCode, down, e.previouslyDown, alt && !ctrl));
}

// The system sends WM_NCHITTEST and WM_SETCURSOR as the mouse acts over a window.
void AnnounceMouse(HWND window, UINT mouseMessage) {
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    const LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    if (FindWindowObject(window))
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, mouseMessage));
}

LPARAM ClientPosition(HWND window) {
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    auto w = FindWindowObject(window);
    POINT origin = w ? ClientOriginOnScreen(*w) : POINT{0, 0};
    return MAKELPARAM(x - origin.x, y - origin.y);
}

// The window a real display's event happened in (a live top-level window), else the main window.
HWND EventWindow(const machine::InputEvent& e) {
    HWND host = reinterpret_cast<HWND>(static_cast<uintptr_t>(e.hostWindow));
    auto window = e.hostWindow != 0 ? FindWindowObject(host) : nullptr;
    return window && !window->IsChild() ? host : MainWindow();
}

// A real display's button over the non-client area: the menu bar opens its menu, the rest is the
// window manager's.
std::optional<MSG> NonClientMouseMessage(HWND target, const machine::InputEvent& e, LRESULT hit) {
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    if (e.kind == machine::InputKind::MouseButton && e.buttonDown && e.button == machine::MouseButtonId::Left &&
        hit == HTMENU)
        return Message(target, WM_SYSCOMMAND, SC_MOUSEMENU, MAKELPARAM(x, y));
    if (e.kind == machine::InputKind::MouseMove) return Message(target, WM_NCMOUSEMOVE, hit, MAKELPARAM(x, y));
    return std::nullopt;
}

std::optional<MSG> MouseMessage(const machine::InputEvent& e) {
    HWND target = EventWindow(e);
    auto window = FindWindowObject(target);
    if (e.kind == machine::InputKind::MouseMove) {
        const POINT origin = window ? ClientOriginOnScreen(*window) : POINT{0, 0};
        machine::MoveMouseTo(SaturateLong(int64_t(origin.x) + e.x), SaturateLong(int64_t(origin.y) + e.y));
    }
    if (!window) return std::nullopt;
    UINT message = WM_MOUSEMOVE;
    if (e.kind == machine::InputKind::MouseButton) {
        static const UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static const UINT kUp[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        message = (e.buttonDown ? kDown : kUp)[static_cast<int>(e.button)];
    }
    if (e.kind == machine::InputKind::MouseWheel) {
        HWND focus = KeyboardWindow();
        int32_t x, y;
        machine::CursorScreenPosition(x, y);
        return Message(focus, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeyFlags(), static_cast<WORD>(e.wheelDelta)),
                       MAKELPARAM(x, y));
    }
    if (e.hostWindow != 0) {
        int32_t x, y;
        machine::CursorScreenPosition(x, y);
        const LRESULT hit = HitTest(target, {x, y});
        if (hit != HTCLIENT) return NonClientMouseMessage(target, e, hit);
    }
    AnnounceMouse(target, message);
    if (!FindWindowObject(target)) return std::nullopt;
    return Message(target, message, MouseKeyFlags(), ClientPosition(target));
}

// The window manager moved the desktop's window: its menu bar's corner is now at (x, y).
void MoveTo(HWND target, const Window& window, int32_t x, int32_t y) {
    const Insets n = NonClientInsets(window.style, window.exStyle, window.HasMenuBar());
    const int menuBar = window.HasMenuBar() ? kMenuBarHeight : 0;
    CallWindowProcedure(target, WM_ENTERSIZEMOVE, 0, 0);
    ApplyWindowPos(target, nullptr, x - n.left, y - (n.top - menuBar), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (FindWindowObject(target)) CallWindowProcedure(target, WM_EXITSIZEMOVE, 0, 0);
}

std::optional<MSG> WindowMessage(const machine::InputEvent& e) {
    HWND target = EventWindow(e);
    auto window = FindWindowObject(target);
    if (!window) return std::nullopt;
    switch (e.windowAction) {
        case machine::WindowAction::Move: MoveTo(target, *window, e.x, e.y); return std::nullopt;
        case machine::WindowAction::Activate:
            if (!(window->style & WS_DISABLED)) {
                ActivateWindow(target);
                if (GetFocus() == nullptr) SetFocus(target);
            }
            return std::nullopt;
        case machine::WindowAction::Deactivate: DeactivateApplication(); return std::nullopt;
        case machine::WindowAction::Expose: InvalidateClient(target, nullptr, false); return std::nullopt;
        default: break;
    }
    if (e.hostWindow != 0 && e.windowAction == machine::WindowAction::Resize && window->showState != ShowState::Normal) {
        // Maximized by the window manager: the client area takes the size it gave.
        const Insets n = NonClientInsets(window->style, window->exStyle, window->HasMenuBar());
        ApplyWindowPos(target, nullptr, 0, 0, e.x + n.left + n.right, e.y + n.top + n.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return std::nullopt;
    }
    switch (e.windowAction) {
        case machine::WindowAction::Minimize: return Message(target, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        case machine::WindowAction::Maximize: return Message(target, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        case machine::WindowAction::Restore: return Message(target, WM_SYSCOMMAND, SC_RESTORE, 0);
        case machine::WindowAction::Close: return Message(target, WM_SYSCOMMAND, SC_CLOSE, 0);
        case machine::WindowAction::Resize:
            window->pendingDragSize = SIZE{e.x, e.y};
            return Message(target, WM_SYSCOMMAND, SC_SIZE, 0);
        case machine::WindowAction::Command:
            // Posted by another program: it arrives like a menu command (no notification code).
            return Message(target, WM_COMMAND, MAKEWPARAM(e.controlId, 0), 0);
        case machine::WindowAction::FocusLost: DeactivateApplication(); return std::nullopt;
        case machine::WindowAction::FocusGained:
            // The user clicks the window's caption: it comes to the front with the keyboard focus.
            ActivateWindow(target);
            if (FindWindowObject(target) && GetFocus() == nullptr) SetFocus(target);
            return std::nullopt;
        default: break;
    }
    return std::nullopt;
}

// Converts due machine events until one gives a message (some give none: no window to take them).
void ConvertNextEvent() {
    InputState& s = State();
    machine::InputEvent e;
    while (!s.converted && machine::TakeDueInput(e)) {
        switch (e.kind) {
            case machine::InputKind::Key: s.converted = KeyMessage(e); break;
            case machine::InputKind::MouseMove:
            case machine::InputKind::MouseButton:
            case machine::InputKind::MouseWheel: s.converted = MouseMessage(e); break;
            case machine::InputKind::Window: s.converted = WindowMessage(e); break;
            case machine::InputKind::Dialog: s.converted = DialogInputMessage(e); break;
            default: break;  // device events go to the Direct3D area, not to windows
        }
    }
}

bool InRange(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (first <= message && message <= last);
}

}  // namespace

LPARAM KeyMessageParam(uint32_t scanCode, bool down, bool previouslyDown, bool altDown) {
    uint32_t value = 1;
    value |= (scanCode & 0x7F) << 16;
    if (scanCode & 0x80) value |= 1u << 24;  // an extended key (arrows, right Alt, ...)
    if (altDown) value |= 1u << 29;
    if (previouslyDown || !down) value |= 1u << 30;
    if (!down) value |= 1u << 31;
    return static_cast<LPARAM>(value);
}

bool TakeInputMessage(MSG& msg, HWND window, UINT first, UINT last, bool remove) {
    InputState& s = State();
    ConvertNextEvent();
    if (!s.converted) return false;
    if (s.converted->hwnd != nullptr && !FindWindowObject(s.converted->hwnd)) {
        s.converted.reset();  // its window went away before it was taken
        return TakeInputMessage(msg, window, first, last, remove);
    }
    if (window != nullptr && s.converted->hwnd != window) {
        auto w = FindWindowObject(s.converted->hwnd);
        bool child = false;
        for (; w; w = FindWindowObject(w->parent))
            if (w->handle == window) child = true;
        if (!child) return false;
    }
    if (!InRange(s.converted->message, first, last)) return false;
    msg = *s.converted;
    if (remove) s.converted.reset();
    return true;
}

}  // namespace user
