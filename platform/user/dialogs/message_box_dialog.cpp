// A message box as the dialog manager's own modal dialog, for a real display whose system cannot show
// one: the caption, the icon of the type, the text (its lines, and long lines wrapped at words) and
// the type's buttons, the default one focused and framed. Enter answers the default button, Escape
// the Cancel button (or OK when it is the only one), a click the button clicked. Its size follows
// the text in the dialog font, and it is centred on the screen.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "dialogs.h"
#include "user/desktop.h"
#include "user/dialog_runner.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

// Dialog units of the dialog font, as the dialog manager lays controls out (user/dialog_runner.h).
constexpr int kBaseWidth = kDialogBaseWidth;
constexpr int kBaseHeight = kDialogBaseHeight;
int UnitsX(int pixels) { return (pixels * 4 + kBaseWidth - 1) / kBaseWidth; }
int UnitsY(int pixels) { return (pixels * 8 + kBaseHeight - 1) / kBaseHeight; }

constexpr int kMargin = 7;                        // units round the icon, the text and the buttons
constexpr int kIconWidth = 22, kIconHeight = 20;  // about 32 pixels square
constexpr int kButtonWidth = 50, kButtonHeight = 14, kButtonGap = 4;
constexpr int kWidestLine = 480;  // pixels: longer lines wrap

struct Button {
    int id;
    const char* text;
};

std::vector<Button> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}};
    default: return {{IDOK, "OK"}};
    }
}

// The icon's resource id (a Static with SS_ICON names it as its text), or 0 for none.
int IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return 32513;        // IDI_HAND
    case MB_ICONQUESTION: return 32514;     // IDI_QUESTION
    case MB_ICONWARNING: return 32515;      // IDI_EXCLAMATION
    case MB_ICONINFORMATION: return 32516;  // IDI_ASTERISK
    default: return 0;
    }
}

SIZE Measure(const std::string& text) {
    if (DesktopPainter* painter = Painter()) return painter->MeasureText(text);
    return SIZE{LONG(text.size()) * kBaseWidth, kBaseHeight};
}

// The text's lines as shown: split at '\n' (a '\r' before it dropped), and wrapped at the last space
// that keeps a line within the widest line.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        while (Measure(line).cx > kWidestLine) {
            size_t cut = line.rfind(' ');
            while (cut != std::string::npos && cut > 0 && Measure(line.substr(0, cut)).cx > kWidestLine)
                cut = line.rfind(' ', cut - 1);
            if (cut == std::string::npos || cut == 0) break;  // one long word: clipped at the box's edge
            lines.push_back(line.substr(0, cut));
            line = line.substr(cut + 1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The painter drops a single '&' (the mnemonic): the text's own ampersands are doubled.
std::string Literal(const std::string& line) {
    std::string out;
    for (char c : line) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

struct Box {
    std::vector<Button> buttons;
    int defaultId = IDOK;
    int escapeId = 0;  // 0: Escape and the close box do nothing
};

DialogTemplate TemplateOf(const std::string& text, const std::string& caption, UINT type, const Box& box) {
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    t.caption = caption;
    const std::vector<std::string> lines = LinesOf(text);
    const int lineHeight = std::max<int>(Measure("Ag").cy, 1);
    int textWidth = 0;
    for (const std::string& line : lines) textWidth = std::max<int>(textWidth, Measure(line).cx);
    const int lineUnits = UnitsY(lineHeight);
    const int textUnitsWidth = UnitsX(textWidth) + 2;
    const int textUnitsHeight = lineUnits * int(lines.size());

    const int icon = IconOf(type);
    const int textLeft = icon ? kMargin + kIconWidth + kMargin : kMargin;
    const int bodyHeight = std::max(textUnitsHeight, icon ? kIconHeight : 0);
    const int textTop = kMargin + (bodyHeight - textUnitsHeight) / 2;
    const int buttonsWidth = int(box.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    t.cx = short(std::max(textLeft + textUnitsWidth + kMargin, buttonsWidth + 2 * kMargin));
    t.cy = short(kMargin + bodyHeight + kMargin + kButtonHeight + kMargin);

    if (icon) {
        t.items.push_back(DialogItem{WS_VISIBLE | SS_ICON, 0, short(kMargin),
                                     short(kMargin + (bodyHeight - kIconHeight) / 2), short(kIconWidth),
                                     short(kIconHeight), 0xFFFF, kStaticClass, "#" + std::to_string(icon)});
    }
    for (size_t i = 0; i < lines.size(); ++i)
        t.items.push_back(DialogItem{WS_VISIBLE | SS_LEFT, 0, short(textLeft), short(textTop + int(i) * lineUnits),
                                     short(textUnitsWidth), short(lineUnits), 0xFFFF, kStaticClass, Literal(lines[i])});
    int x = (t.cx - buttonsWidth) / 2;
    const short y = short(t.cy - kMargin - kButtonHeight);
    for (size_t i = 0; i < box.buttons.size(); ++i) {
        const Button& b = box.buttons[i];
        const DWORD kind = b.id == box.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        t.items.push_back(DialogItem{WS_VISIBLE | WS_TABSTOP | kind | (i == 0 ? WS_GROUP : 0), 0, short(x), y,
                                     short(kButtonWidth), short(kButtonHeight), WORD(b.id), kButtonClass, b.text});
        x += kButtonWidth + kButtonGap;
    }
    return t;
}

// The boxes up, by dialog (a box may come up while another waits).
std::map<HWND, const Box*>& Showing() {
    static std::map<HWND, const Box*> boxes;
    return boxes;
}

INT_PTR CALLBACK MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const Box* box = reinterpret_cast<const Box*>(lParam);
        Showing()[dialog] = box;
        // The keyboard starts on the default button.
        if (auto state = FindDialog(dialog)) state->focus = GetDlgItem(dialog, box->defaultId);
        return FALSE;
    }
    case WM_NCDESTROY: Showing().erase(dialog); return FALSE;
    case WM_COMMAND: {
        const auto found = Showing().find(dialog);
        if (found == Showing().end() || HIWORD(wParam) != BN_CLICKED) return FALSE;
        const Box* box = found->second;
        int id = LOWORD(wParam);
        if (id == IDCANCEL && lParam == 0) id = box->escapeId;  // Escape or the close box
        const bool ours = std::any_of(box->buttons.begin(), box->buttons.end(),
                                      [&](const Button& b) { return b.id == id; });
        if (ours) EndDialog(dialog, id);
        return TRUE;
    }
    default: return FALSE;
    }
}

}  // namespace

int RunMessageBoxDialog(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    Box box;
    box.buttons = ButtonsOf(type);
    box.defaultId = machine::DefaultMessageBoxAnswer(type);
    auto has = [&](int id) {
        return std::any_of(box.buttons.begin(), box.buttons.end(), [&](const Button& b) { return b.id == id; });
    };
    box.escapeId = has(IDCANCEL) ? IDCANCEL : box.buttons.size() == 1 ? box.buttons[0].id : 0;
    const INT_PTR answer = RunDialogTemplate(TemplateOf(text, caption, type, box), nullptr, owner, &MessageBoxProc,
                                             reinterpret_cast<LPARAM>(&box));
    return has(int(answer)) ? int(answer) : 0;
}

}  // namespace user::dialogs
