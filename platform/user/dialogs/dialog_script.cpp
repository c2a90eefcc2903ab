// The input script's dialog events: each reaches the innermost running dialog as a message, in its
// place among the other input, and is then done as a user would do it; a refusal is written to
// standard error.
#include <cstdio>
#include <map>

#include "dialogs.h"
#include "machine/control.h"
#include "user/dialog_input.h"
#include "user/dialog_runner.h"
#include "user/reset.h"

namespace user::dialogs {
namespace {

struct ScriptState {
    std::map<LPARAM, machine::InputEvent> pending;
    LPARAM nextKey = 1;
};

void ResetScript();

ScriptState& State() {
    static ScriptState state;
    static bool registered = (detail::RegisterUserReset(&ResetScript), true);
    (void)registered;
    return state;
}

void ResetScript() { State() = ScriptState{}; }

std::string Describe(const machine::InputEvent& e) {
    switch (e.dialogAction) {
        case machine::DialogAction::Select:
            return "select " + std::to_string(e.controlId) + " \"" + e.itemText + "\"";
        case machine::DialogAction::Click: return "click " + std::to_string(e.controlId);
        case machine::DialogAction::Key: return e.virtualKey == VK_RETURN ? "key enter" : "key escape";
        case machine::DialogAction::Font:
            return "font \"" + e.itemText + "\" " + std::to_string(e.pointTenths / 10) + "." +
                   std::to_string(e.pointTenths % 10);
    }
    return "event";
}

bool Apply(HWND dialog, const machine::InputEvent& e, std::string& reason) {
    if (e.dialogAction == machine::DialogAction::Key) return UserPressesKey(dialog, e.virtualKey, reason);
    if (e.dialogAction == machine::DialogAction::Font) {
        if (SendMessageA(dialog, kScriptedFontChoice, static_cast<WPARAM>(e.pointTenths),
                         reinterpret_cast<LPARAM>(e.itemText.c_str())) == TRUE)
            return true;
        reason = "the dialog is not a font dialog";
        return false;
    }
    HWND control = GetDlgItem(dialog, e.controlId);
    if (control == nullptr) {
        reason = "the dialog has no control " + std::to_string(e.controlId);
        return false;
    }
    if (e.dialogAction == machine::DialogAction::Select) return UserSelectsItem(control, e.itemText, reason);
    return UserClicks(control, reason);
}

}  // namespace

void ApplyScriptedInput(HWND dialog, LPARAM key) {
    auto found = State().pending.find(key);
    if (found == State().pending.end()) return;
    const machine::InputEvent event = found->second;
    State().pending.erase(found);
    std::string reason;
    if (!Apply(dialog, event, reason))
        std::fprintf(stderr, "[machine] dialog %s: refused, %s\n", Describe(event).c_str(), reason.c_str());
}

bool DialogInputScheduled() {
    for (const machine::InputEvent& e : machine::control::ScheduledInput())
        if (e.kind == machine::InputKind::Dialog) return true;
    return false;
}

}  // namespace user::dialogs

namespace user {

std::optional<MSG> DialogInputMessage(const machine::InputEvent& event) {
    HWND dialog = dialogs::InnermostDialog();
    if (dialog == nullptr) {
        std::fprintf(stderr, "[machine] dialog %s ignored: no dialog is open\n", dialogs::Describe(event).c_str());
        return std::nullopt;
    }
    dialogs::ScriptState& s = dialogs::State();
    const LPARAM key = s.nextKey++;
    s.pending[key] = event;
    MSG msg{dialog, dialogs::kScriptedInputMessage, 0, key, machine::ReadMilliseconds(), {0, 0}};
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    msg.pt = {x, y};
    return msg;
}

}  // namespace user
