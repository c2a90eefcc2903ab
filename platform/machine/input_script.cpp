// The input script: one event a line, "<frame> <event> <arguments>", '#' starting a comment.
//   key <name> down|up|press
//   mouse move <x> <y> | mouse button left|right|middle down|up | mouse wheel <delta>
//   window minimize|maximize|restore|resize <w> <h>|close|focus lost|focus gained|command <id>
//   device lose|restore
//   dialog select <control id> <item text> | dialog click <control id> | dialog key enter|escape
//   dialog font <face> <points>   (the face may hold blanks; points may have one decimal, 10.5)
//   fail <call> <nth> <code>   (a call some area asks about; the code in decimal, or hexadecimal after
//                               0x; negative values wrap)
#include <charconv>
#include <cstdint>
#include <sstream>

#include "machine/control.h"
#include "machine/failures.h"
#include "winuser.h"

namespace machine::control {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// Positions, sizes and wheel deltas a user can cause: mouse messages carry 16-bit coordinates, and no
// window is larger than that.
constexpr int32_t kMinPosition = -32768, kMaxPosition = 32767, kMaxWindowSide = 32767;
constexpr int32_t kMinWheelDelta = -32768, kMaxWheelDelta = 32767;

// A 32-bit code: decimal (negative values wrap, -1 = 0xFFFFFFFF) or hexadecimal after 0x.
bool ReadCode(const std::string& text, uint32_t& code) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const char* end = text.data() + text.size();
        auto [ptr, ec] = std::from_chars(text.data() + 2, end, code, 16);
        return ec == std::errc() && ptr == end;
    }
    int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < INT32_MIN || value > UINT32_MAX) return false;
    code = static_cast<uint32_t>(value);
    return true;
}

template <class T>
bool ReadNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// A point size of 1 to 1638 points with at most one decimal ("12", "10.5"), in tenths.
bool ReadPointTenths(const std::string& text, int32_t& tenths) {
    const size_t dot = text.find('.');
    int32_t whole = 0, fraction = 0;
    if (!ReadNumber(text.substr(0, dot), whole)) return false;
    if (dot != std::string::npos) {
        const std::string digits = text.substr(dot + 1);
        if (digits.size() != 1 || !ReadNumber(digits, fraction)) return false;
    }
    if (whole < 0 || whole > 1638) return false;
    tenths = whole * 10 + fraction;
    return tenths >= 10;
}

// Nothing when the line has `count` words, else the form it should have.
std::string Expect(const std::vector<std::string>& w, size_t count, const char* form) {
    return w.size() == count ? std::string() : std::string("expected \"") + form + "\"";
}

// One parser a kind of event: each fills the event from the line's words (w[0] the frame, w[1] the
// kind) and answers an empty text or the reason it cannot.

// key <name> down|up|press
std::string ParseKey(const std::vector<std::string>& w, InputEvent& event) {
    if (auto e = Expect(w, 4, "key <name> down|up|press"); !e.empty()) return e;
    event.kind = InputKind::Key;
    if (!LookUpKeyName(w[2], event.virtualKey, event.scanCode)) return "unknown key \"" + w[2] + "\"";
    if (w[3] == "down")
        event.keyAction = KeyAction::Down;
    else if (w[3] == "up")
        event.keyAction = KeyAction::Up;
    else if (w[3] == "press")
        event.keyAction = KeyAction::Press;
    else
        return "unknown key action \"" + w[3] + "\" (down, up or press)";
    return {};
}

// mouse move <x> <y> | mouse button left|right|middle down|up | mouse wheel <delta>
std::string ParseMouse(const std::vector<std::string>& w, InputEvent& event) {
    if (w.size() < 3) return "expected \"mouse move|button|wheel ...\"";
    if (w[2] == "move") {
        if (auto e = Expect(w, 5, "mouse move <x> <y>"); !e.empty()) return e;
        event.kind = InputKind::MouseMove;
        if (!ReadNumber(w[3], event.x) || !ReadNumber(w[4], event.y)) return "bad mouse position";
        if (event.x < kMinPosition || event.x > kMaxPosition || event.y < kMinPosition || event.y > kMaxPosition)
            return "mouse position out of range (" + std::to_string(kMinPosition) + " to " +
                   std::to_string(kMaxPosition) + ")";
        return {};
    }
    if (w[2] == "button") {
        if (auto e = Expect(w, 5, "mouse button left|right|middle down|up"); !e.empty()) return e;
        event.kind = InputKind::MouseButton;
        if (w[3] == "left")
            event.button = MouseButtonId::Left;
        else if (w[3] == "right")
            event.button = MouseButtonId::Right;
        else if (w[3] == "middle")
            event.button = MouseButtonId::Middle;
        else
            return "unknown mouse button \"" + w[3] + "\"";
        if (w[4] == "down")
            event.buttonDown = true;
        else if (w[4] == "up")
            event.buttonDown = false;
        else
            return "unknown button action \"" + w[4] + "\" (down or up)";
        return {};
    }
    if (w[2] == "wheel") {
        if (auto e = Expect(w, 4, "mouse wheel <delta>"); !e.empty()) return e;
        event.kind = InputKind::MouseWheel;
        if (!ReadNumber(w[3], event.wheelDelta)) return "bad wheel delta \"" + w[3] + "\"";
        if (event.wheelDelta < kMinWheelDelta || event.wheelDelta > kMaxWheelDelta)
            return "wheel delta out of range (" + std::to_string(kMinWheelDelta) + " to " +
                   std::to_string(kMaxWheelDelta) + ")";
        return {};
    }
    return "unknown mouse event \"" + w[2] + "\"";
}

// window minimize|maximize|restore|resize <w> <h>|close|focus lost|focus gained|command <id>
std::string ParseWindow(const std::vector<std::string>& w, InputEvent& event) {
    if (w.size() < 3) return "expected \"window minimize|maximize|restore|resize <w> <h>|close\"";
    event.kind = InputKind::Window;
    const std::string& action = w[2];
    if (action == "resize") {
        if (auto e = Expect(w, 5, "window resize <w> <h>"); !e.empty()) return e;
        event.windowAction = WindowAction::Resize;
        if (!ReadNumber(w[3], event.x) || !ReadNumber(w[4], event.y) || event.x <= 0 || event.y <= 0)
            return "bad window size";
        if (event.x > kMaxWindowSide || event.y > kMaxWindowSide)
            return "window size out of range (1 to " + std::to_string(kMaxWindowSide) + ")";
        return {};
    }
    if (action == "command") {
        if (auto e = Expect(w, 4, "window command <id>"); !e.empty()) return e;
        event.windowAction = WindowAction::Command;
        if (!ReadNumber(w[3], event.controlId) || event.controlId < 0 || event.controlId > 0xFFFF)
            return "bad command id \"" + w[3] + "\"";
        return {};
    }
    if (action == "focus") {
        if (auto e = Expect(w, 4, "window focus lost|gained"); !e.empty()) return e;
        if (w[3] == "lost")
            event.windowAction = WindowAction::FocusLost;
        else if (w[3] == "gained")
            event.windowAction = WindowAction::FocusGained;
        else
            return "unknown focus change \"" + w[3] + "\" (lost or gained)";
        return {};
    }
    if (auto e = Expect(w, 3, "window minimize|maximize|restore|close"); !e.empty()) return e;
    if (action == "minimize")
        event.windowAction = WindowAction::Minimize;
    else if (action == "maximize")
        event.windowAction = WindowAction::Maximize;
    else if (action == "restore")
        event.windowAction = WindowAction::Restore;
    else if (action == "close")
        event.windowAction = WindowAction::Close;
    else
        return "unknown window action \"" + action + "\"";
    return {};
}

// device lose|restore
std::string ParseDevice(const std::vector<std::string>& w, InputEvent& event) {
    if (auto e = Expect(w, 3, "device lose|restore"); !e.empty()) return e;
    event.kind = InputKind::Device;
    if (w[2] == "lose")
        event.deviceAction = DeviceAction::Lose;
    else if (w[2] == "restore")
        event.deviceAction = DeviceAction::Restore;
    else
        return "unknown device action \"" + w[2] + "\" (lose or restore)";
    return {};
}

// dialog select <control id> <item text> | dialog click <control id> | dialog key enter|escape |
// dialog font <face> <points>
std::string ParseDialog(const std::vector<std::string>& w, InputEvent& event) {
    if (w.size() < 3) return "expected \"dialog select|click|key ...\"";
    event.kind = InputKind::Dialog;
    if (w[2] == "select") {
        if (w.size() < 5) return "expected \"dialog select <control id> <item text>\"";
        event.dialogAction = DialogAction::Select;
        if (!ReadNumber(w[3], event.controlId)) return "bad control id \"" + w[3] + "\"";
        // The item text is the rest of the line, its words joined by single spaces.
        for (size_t i = 4; i < w.size(); ++i) event.itemText += (i > 4 ? " " : "") + w[i];
        return {};
    }
    if (w[2] == "click") {
        if (auto e = Expect(w, 4, "dialog click <control id>"); !e.empty()) return e;
        event.dialogAction = DialogAction::Click;
        if (!ReadNumber(w[3], event.controlId)) return "bad control id \"" + w[3] + "\"";
        return {};
    }
    if (w[2] == "key") {
        if (auto e = Expect(w, 4, "dialog key enter|escape"); !e.empty()) return e;
        event.dialogAction = DialogAction::Key;
        if (w[3] == "enter")
            event.virtualKey = VK_RETURN;
        else if (w[3] == "escape")
            event.virtualKey = VK_ESCAPE;
        else
            return "unknown dialog key \"" + w[3] + "\" (enter or escape)";
        return {};
    }
    if (w[2] == "font") {
        if (w.size() < 5) return "expected \"dialog font <face> <points>\"";
        event.dialogAction = DialogAction::Font;
        for (size_t i = 3; i + 1 < w.size(); ++i) event.itemText += (i > 3 ? " " : "") + w[i];
        if (!ReadPointTenths(w.back(), event.pointTenths)) return "bad point size \"" + w.back() + "\"";
        return {};
    }
    return "unknown dialog event \"" + w[2] + "\" (select, click, key or font)";
}

// fail <call> <nth> <code>
std::string ParseFail(const std::vector<std::string>& w, InputEvent& event) {
    if (auto e = Expect(w, 5, "fail <call> <nth> <code>"); !e.empty()) return e;
    event.kind = InputKind::Fail;
    event.itemText = w[2];
    if (!ReadNumber(w[3], event.failNth) || event.failNth == 0) return "bad use number \"" + w[3] + "\" (1 or more)";
    if (!ReadCode(w[4], event.failCode)) return "bad failure code \"" + w[4] + "\"";
    if (!IsFailureCallName(w[2])) return "unknown call \"" + w[2] + "\" (no platform call of that name can fail)";
    return {};
}

struct EventKind {
    const char* name;
    std::string (*parse)(const std::vector<std::string>& w, InputEvent& event);
};
constexpr EventKind kEventKinds[] = {{"key", ParseKey},       {"mouse", ParseMouse},   {"window", ParseWindow},
                                     {"device", ParseDevice}, {"dialog", ParseDialog}, {"fail", ParseFail}};

// Fills the event from the words after the frame; answers an empty text or the reason it cannot.
std::string ParseEvent(const std::vector<std::string>& w, InputEvent& event) {
    for (const EventKind& kind : kEventKinds)
        if (w[1] == kind.name) return kind.parse(w, event);
    return "unknown event \"" + w[1] + "\" (key, mouse, window, device, dialog or fail)";
}

}  // namespace

bool ParseInputScript(const std::string& text, std::vector<InputEvent>& events, std::string& error) {
    events.clear();
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        InputEvent event;
        std::string reason;
        if (!ReadNumber(words[0], event.frame)) reason = "bad frame number \"" + words[0] + "\"";
        else if (words.size() < 2) reason = "missing event";
        else reason = ParseEvent(words, event);
        if (!reason.empty()) {
            error = "line " + std::to_string(number) + ": " + reason;
            events.clear();
            return false;
        }
        events.push_back(event);
    }
    return true;
}

bool LoadInputScript(const std::string& text, std::string& error) {
    std::vector<InputEvent> events;
    if (!ParseInputScript(text, events, error)) return false;
    for (const InputEvent& event : events) ScheduleInput(event);
    return true;
}

}  // namespace machine::control
