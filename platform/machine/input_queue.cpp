// Scheduled input and the state of the keyboard and mouse it leaves behind.
#include <algorithm>
#include <array>
#include <deque>

#include "machine/control.h"
#include "machine/failures.h"
#include "machine/machine.h"
#include "display_backend.h"
#include "machine_parts.h"
#include "winuser.h"

namespace machine {
namespace {

struct InputState {
    std::deque<InputEvent> scheduled;  // in delivery order: by frame, then as scheduled
    std::array<bool, 256> virtualKeys{};
    std::array<bool, 256> scanCodes{};
    std::array<bool, 3> buttons{};
    int32_t cursorX = 0, cursorY = 0;
    MouseMotion motion;
    bool clipped = false;
    ScreenRect clip;
};

InputState& State() {
    static InputState state;
    return state;
}

ScreenRect DesktopRect() {
    DisplayMode mode = CurrentDisplayMode();
    return {0, 0, static_cast<int32_t>(mode.width), static_cast<int32_t>(mode.height)};
}

void Insert(const InputEvent& event) {
    auto& queue = State().scheduled;
    auto at = std::upper_bound(queue.begin(), queue.end(), event.frame,
                               [](uint64_t frame, const InputEvent& e) { return frame < e.frame; });
    queue.insert(at, event);
}

// The sided virtual key of a modifier's scan code, or 0.
uint32_t SidedKey(uint32_t scanCode) {
    switch (scanCode) {
        case 0x2A: return VK_LSHIFT;
        case 0x36: return VK_RSHIFT;
        case 0x1D: return VK_LCONTROL;
        case 0x9D: return VK_RCONTROL;
        case 0x38: return VK_LMENU;
        case 0xB8: return VK_RMENU;
        default: return 0;
    }
}

void ApplyKey(InputEvent& event) {
    InputState& s = State();
    const bool down = event.keyAction == KeyAction::Down;
    const uint32_t vk = event.virtualKey & 0xFF;
    const uint32_t scan = event.scanCode & 0xFF;
    event.previouslyDown = scan != 0 ? s.scanCodes[scan] : s.virtualKeys[vk];
    if (scan != 0) s.scanCodes[scan] = down;
    uint32_t sided = SidedKey(scan);
    if (sided == 0 && scan == 0) {
        if (vk == VK_SHIFT) sided = VK_LSHIFT;
        if (vk == VK_CONTROL) sided = VK_LCONTROL;
        if (vk == VK_MENU) sided = VK_LMENU;
    }
    if (sided != 0) s.virtualKeys[sided] = down;
    s.virtualKeys[VK_SHIFT] = s.virtualKeys[VK_LSHIFT] || s.virtualKeys[VK_RSHIFT];
    s.virtualKeys[VK_CONTROL] = s.virtualKeys[VK_LCONTROL] || s.virtualKeys[VK_RCONTROL];
    s.virtualKeys[VK_MENU] = s.virtualKeys[VK_LMENU] || s.virtualKeys[VK_RMENU];
    if (vk != VK_SHIFT && vk != VK_CONTROL && vk != VK_MENU) s.virtualKeys[vk] = down;
}

}  // namespace

std::function<void(DeviceAction)>& DeviceEventListener() {
    static std::function<void(DeviceAction)> listener;
    return listener;
}

void SetDeviceEventListener(std::function<void(DeviceAction)> listener) {
    DeviceEventListener() = std::move(listener);
}

bool TakeDueInput(InputEvent& event) {
    if (detail::Display()) detail::Display()->Pump(0);  // the display's events join the queue first
    auto& queue = State().scheduled;
    // Due device events go to the Direct3D area, not to the window manager.
    while (!queue.empty() && queue.front().frame <= FramesPresented() && queue.front().kind == InputKind::Device) {
        const DeviceAction action = queue.front().deviceAction;
        queue.pop_front();
        if (DeviceEventListener()) DeviceEventListener()(action);
    }
    if (queue.empty() || queue.front().frame > FramesPresented()) return false;
    event = queue.front();
    queue.pop_front();
    if (event.kind == InputKind::Key) ApplyKey(event);
    if (event.kind == InputKind::MouseButton) State().buttons[static_cast<int>(event.button)] = event.buttonDown;
    if (event.kind == InputKind::MouseWheel) State().motion.wheel += event.wheelDelta;
    return true;
}

bool InputPending() {
    const auto& queue = State().scheduled;
    return !queue.empty() && queue.back().frame > FramesPresented();
}

bool BringNextInputForward() {
    auto& queue = State().scheduled;
    if (queue.empty()) return false;
    const uint64_t now = FramesPresented();
    if (queue.front().frame > now) queue.front().frame = now;
    return true;
}

bool IsVirtualKeyDown(uint32_t virtualKey) { return virtualKey < 256 && State().virtualKeys[virtualKey]; }
bool IsScanCodeDown(uint32_t scanCode) { return scanCode < 256 && State().scanCodes[scanCode]; }
bool IsMouseButtonDown(MouseButtonId button) { return State().buttons[static_cast<int>(button)]; }

void SetCursorScreenPosition(int32_t x, int32_t y) {
    const ScreenRect r = CursorClip();
    InputState& s = State();
    s.cursorX = std::clamp(x, r.left, std::max(r.left, r.right - 1));
    s.cursorY = std::clamp(y, r.top, std::max(r.top, r.bottom - 1));
}

void MoveMouseTo(int32_t x, int32_t y) {
    InputState& s = State();
    s.motion.x += int64_t(x) - s.cursorX;
    s.motion.y += int64_t(y) - s.cursorY;
    SetCursorScreenPosition(x, y);
}

MouseMotion MouseMotionTotals() { return State().motion; }

void CursorScreenPosition(int32_t& x, int32_t& y) {
    x = State().cursorX;
    y = State().cursorY;
}

void SetCursorClip(const ScreenRect* rect) {
    InputState& s = State();
    s.clipped = rect != nullptr;
    if (rect) {
        // The confinement never reaches outside the desktop.
        const ScreenRect d = DesktopRect();
        s.clip = {std::max(rect->left, d.left), std::max(rect->top, d.top), std::min(rect->right, d.right),
                  std::min(rect->bottom, d.bottom)};
        if (s.clip.right < s.clip.left) s.clip.right = s.clip.left;
        if (s.clip.bottom < s.clip.top) s.clip.bottom = s.clip.top;
    }
    SetCursorScreenPosition(s.cursorX, s.cursorY);
    if (detail::Display()) detail::Display()->Confine(rect ? &s.clip : nullptr);
}

ScreenRect CursorClip() { return State().clipped ? State().clip : DesktopRect(); }

namespace detail {
void ResetInput() {
    State() = InputState{};
    const ScreenRect d = DesktopRect();
    State().cursorX = d.right / 2;
    State().cursorY = d.bottom / 2;
}
}  // namespace detail

namespace control {

void ScheduleInput(const InputEvent& event) {
    if (event.kind == InputKind::Fail) {
        ScheduleFailure(event.frame, event.itemText, event.failNth, event.failCode);
        return;
    }
    if (event.kind == InputKind::Key && event.keyAction == KeyAction::Press) {
        InputEvent down = event, up = event;
        down.keyAction = KeyAction::Down;
        up.keyAction = KeyAction::Up;
        up.frame = event.frame + 1;  // the key is held for one frame
        Insert(down);
        Insert(up);
        return;
    }
    Insert(event);
}

std::vector<InputEvent> ScheduledInput() { return {State().scheduled.begin(), State().scheduled.end()}; }

}  // namespace control
}  // namespace machine
