// Message boxes as SDL's message boxes: the caption, the text, the type's buttons with its default
// button on Enter and its cancelling button on Escape. Where SDL cannot show one (no dialog program,
// no X fonts) the box is left to the layer, which shows it as a dialog of its own.
#include <algorithm>
#include <vector>

#include "sdl_display.h"
#include "winuser.h"

namespace machine::sdl {
namespace {

struct Button {
    int id;
    const char* text;
};

std::vector<Button> ButtonsOf(uint32_t type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
        case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
        case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
        case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "Try Again"}, {IDCONTINUE, "Continue"}};
        default: return {{IDOK, "OK"}};
    }
}

}  // namespace

int SdlDisplay::AskMessageBox(const MessageBoxRecord& box) {
    const int defaultAnswer = DefaultMessageBoxAnswer(box.type);
    const std::vector<Button> buttons = ButtonsOf(box.type);
    auto has = [&](int id) { return std::any_of(buttons.begin(), buttons.end(), [&](const Button& b) { return b.id == id; }); };
    const int escapeAnswer = has(IDCANCEL) ? IDCANCEL : has(IDNO) ? IDNO : buttons.size() == 1 ? buttons[0].id : 0;
    std::vector<SDL_MessageBoxButtonData> data;
    for (const Button& b : buttons) {
        Uint32 flags = 0;
        if (b.id == defaultAnswer) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (b.id == escapeAnswer) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back({flags, b.id, b.text});
    }
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    switch (box.type & MB_ICONMASK) {
        case MB_ICONERROR: flags = SDL_MESSAGEBOX_ERROR; break;
        case MB_ICONWARNING: flags = SDL_MESSAGEBOX_WARNING; break;
        default: break;
    }
    HostWindow* main = Main();
    const SDL_MessageBoxData message{flags, main ? main->window : nullptr, box.caption.c_str(), box.text.c_str(),
                                     int(data.size()), data.data(), nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&message, &answer) != 0) return 0;  // no box here: the layer shows its own
    return answer > 0 ? answer : defaultAnswer;
}

}  // namespace machine::sdl
