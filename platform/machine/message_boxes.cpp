// Message boxes as the machine shows them: recorded, shown by the backend, answered by a test's hook
// or with the box's default button. A display that cannot show its own box leaves the answer to the
// caller (the window manager's dialog), which records it on the box.
#include "machine/control.h"
#include "machine/machine.h"
#include "display_backend.h"
#include "machine_parts.h"
#include "winuser.h"

namespace machine {
namespace {

struct BoxState {
    std::vector<MessageBoxRecord> boxes;
    control::MessageBoxHook hook;
    bool echo = true;
};

BoxState& State() {
    static BoxState state;
    return state;
}

}  // namespace

int DefaultMessageBoxAnswer(uint32_t type) {
    static const std::vector<int> kButtons[] = {
        {IDOK},                        // MB_OK
        {IDOK, IDCANCEL},              // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},  // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},       // MB_YESNOCANCEL
        {IDYES, IDNO},                 // MB_YESNO
        {IDRETRY, IDCANCEL},           // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},  // MB_CANCELTRYCONTINUE
    };
    const uint32_t kind = type & MB_TYPEMASK;
    if (kind >= sizeof(kButtons) / sizeof(kButtons[0])) return IDOK;
    const std::vector<int>& buttons = kButtons[kind];
    const size_t index = (type & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons[0];
}

const char* MessageBoxIconName(uint32_t type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR: return "error";
        case MB_ICONWARNING: return "warning";
        case MB_ICONINFORMATION: return "information";
        case MB_ICONQUESTION: return "question";
        default: return "none";
    }
}

int OfferMessageBox(const std::string& text, const std::string& caption, uint32_t type, size_t& record) {
    BoxState& s = State();
    MessageBoxRecord box{text, caption, type, 0};
    if (s.echo) detail::ShowBoxOnHeadlessDisplay(box);
    // Recorded in the order shown: a box the hook causes comes after this one.
    record = s.boxes.size();
    s.boxes.push_back(box);
    if (s.hook) {
        control::MessageBoxHook hook = s.hook;  // the hook may replace itself while it runs
        const int answer = hook(box);
        AnswerMessageBox(record, answer);
        return answer != 0 ? answer : DefaultMessageBoxAnswer(type);
    }
    if (detail::Display()) {
        const int answer = detail::Display()->AskMessageBox(box);
        if (answer == 0) return 0;  // the caller asks the user
        AnswerMessageBox(record, answer);
        return answer;
    }
    AnswerMessageBox(record, 0);
    return DefaultMessageBoxAnswer(type);
}

void AnswerMessageBox(size_t record, int answer) {
    BoxState& s = State();
    if (record >= s.boxes.size()) return;  // the machine was reset meanwhile
    s.boxes[record].answer = answer != 0 ? answer : DefaultMessageBoxAnswer(s.boxes[record].type);
}

int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type) {
    size_t record = 0;
    const int answer = OfferMessageBox(text, caption, type, record);
    if (answer != 0) return answer;
    AnswerMessageBox(record, 0);
    return DefaultMessageBoxAnswer(type);
}

namespace detail {
void ResetMessageBoxes() { State() = BoxState{}; }
const std::vector<MessageBoxRecord>& MessageBoxList() { return State().boxes; }
}  // namespace detail

namespace control {
std::vector<MessageBoxRecord> MessageBoxes() { return State().boxes; }
void SetMessageBoxHook(MessageBoxHook hook) { State().hook = std::move(hook); }
void SetMessageBoxEcho(bool toStandardError) { State().echo = toStandardError; }
}  // namespace control
}  // namespace machine
