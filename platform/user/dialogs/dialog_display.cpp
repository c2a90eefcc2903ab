// A dialog on a real display: drawn by the painter into its own window of the desktop, and driven by
// the mouse (a click on a button clicks it; on a drop-down list, focuses it and opens its list) and
// the keyboard (Tab and Shift+Tab move the focus through the tab stops, the arrows choose in a list or
// move through radio buttons, F4 or Alt+Down open a list, Space clicks the focused button; Enter and
// Escape are the dialog's own). An open list takes the mouse and the keyboard until it closes: the
// arrows, Home, End and the wheel move its highlight, Enter or a click on an item chooses, Escape or a
// click elsewhere closes it without a choice.
#include "dialog_display.h"

#include <algorithm>

#include "machine/machine.h"
#include "user/desktop.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

bool Takes(HWND control) {
    auto w = FindWindowObject(control);
    return w && w->Visible() && !(w->style & WS_DISABLED);
}

void Focus(DialogState& state, HWND control) {
    if (HWND open = DroppedCombo(state.handle); open && open != control) CloseList(open, false);
    state.focus = control;
    SetFocus(control);
}

HWND ControlAt(HWND dialog, int x, int y) {
    for (HWND control : ControlsOf(dialog)) {
        auto w = FindWindowObject(control);
        if (!w || !w->Visible() || IsClass(control, kStaticClass) || ButtonType(control) == BS_GROUPBOX) continue;
        const RECT& r = w->windowRect;
        const int bottom = IsClass(control, kComboBoxClass) ? std::min<LONG>(r.bottom, r.top + 21) : r.bottom;
        if (x >= r.left && x < r.right && y >= r.top && y < bottom) return control;
    }
    return nullptr;
}

void MoveFocus(DialogState& state, bool backwards) {
    std::vector<HWND> stops;
    for (HWND control : ControlsOf(state.handle)) {
        auto w = FindWindowObject(control);
        if (w && (w->style & WS_TABSTOP) && Takes(control)) stops.push_back(control);
    }
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), state.focus);
    size_t index = at == stops.end() ? 0 : size_t(at - stops.begin());
    index = at == stops.end() ? (backwards ? stops.size() - 1 : 0)
                              : (index + (backwards ? stops.size() - 1 : 1)) % stops.size();
    Focus(state, stops[index]);
}

bool IsRadio(HWND control) {
    const DWORD type = ButtonType(control);
    return IsClass(control, kButtonClass) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// The arrows: the next or previous item of a list, or the next or previous radio button.
void Arrow(DialogState& state, bool forward) {
    HWND focus = state.focus;
    std::string reason;
    if (IsClass(focus, kComboBoxClass)) {
        const std::vector<ComboItem>* items = ComboItems(focus);
        if (!items || items->empty()) return;
        const int count = int(items->size());
        const int next = std::clamp(ComboSelection(focus) + (forward ? 1 : -1), 0, count - 1);
        UserSelectsItem(focus, (*items)[size_t(next)].text, reason);
        return;
    }
    if (!IsRadio(focus)) return;
    const std::vector<HWND> controls = ControlsOf(state.handle);
    auto at = std::find(controls.begin(), controls.end(), focus);
    if (at == controls.end()) return;
    for (size_t k = 1; k < controls.size(); ++k) {
        const size_t i = (size_t(at - controls.begin()) + (forward ? k : controls.size() - k)) % controls.size();
        if (IsRadio(controls[i]) && Takes(controls[i])) {
            Focus(state, controls[i]);
            UserClicks(controls[i], reason);
            return;
        }
    }
}

// The open list's share of the input; true when the message was used up.
bool TakeListInput(DialogState& state, HWND combo, const MSG& msg) {
    const int x = GET_X_LPARAM(msg.lParam), y = GET_Y_LPARAM(msg.lParam);
    switch (msg.message) {
        case WM_MOUSEMOVE:
            if (msg.hwnd == state.handle)
                if (const int item = ListItemAt(combo, x, y); item >= 0) HighlightItem(combo, item);
            return true;
        case WM_LBUTTONDOWN: {
            const int item = msg.hwnd == state.handle ? ListItemAt(combo, x, y) : -1;
            if (item >= 0) HighlightItem(combo, item);
            CloseList(combo, item >= 0);
            return true;
        }
        case WM_LBUTTONUP:
        case WM_MOUSEWHEEL:
            if (msg.message == WM_MOUSEWHEEL)
                HighlightItem(combo, HighlightedItem(combo) + (GET_WHEEL_DELTA_WPARAM(msg.wParam) < 0 ? 1 : -1));
            return true;
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_DOWN || msg.wParam == VK_UP) CloseList(combo, true);
            return msg.wParam == VK_DOWN || msg.wParam == VK_UP;
        case WM_KEYDOWN: break;
        case WM_CHAR:
        case WM_KEYUP: return true;
        default: return false;
    }
    const std::vector<ComboItem>* items = ComboItems(combo);
    const int last = items ? int(items->size()) - 1 : 0;
    switch (msg.wParam) {
        case VK_UP:
        case VK_LEFT: HighlightItem(combo, std::max(HighlightedItem(combo) - 1, 0)); break;
        case VK_DOWN:
        case VK_RIGHT: HighlightItem(combo, HighlightedItem(combo) + 1); break;
        case VK_PRIOR: HighlightItem(combo, std::max(HighlightedItem(combo) - 8, 0)); break;
        case VK_NEXT: HighlightItem(combo, HighlightedItem(combo) + 8); break;
        case VK_HOME: HighlightItem(combo, 0); break;
        case VK_END: HighlightItem(combo, last); break;
        case VK_RETURN:
        case VK_F4: CloseList(combo, true); break;
        case VK_ESCAPE: CloseList(combo, false); break;
        case VK_TAB:
            CloseList(combo, true);
            return false;  // and the focus moves on
        default: break;
    }
    return true;
}

}  // namespace

void ShowOnDisplay(HWND dialog) {
    if (!machine::HasRealDisplay() || !Painter() || !FindDialog(dialog)) return;
    machine::ShowHostContent(HostId(dialog), Painter()->Dialog(dialog));
}

bool TakeDisplayInput(DialogState& state, const MSG& msg) {
    if (!machine::HasRealDisplay()) return false;
    std::string reason;
    if (HWND open = DroppedCombo(state.handle)) {
        if (TakeListInput(state, open, msg)) return true;
    }
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == state.handle) {
        HWND control = ControlAt(state.handle, GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        if (!control || !Takes(control)) return true;
        Focus(state, control);
        if (IsClass(control, kButtonClass)) UserClicks(control, reason);
        if (IsClass(control, kComboBoxClass)) OpenList(control);
        return true;
    }
    const bool onList = IsClass(state.focus, kComboBoxClass) && Takes(state.focus);
    if (msg.message == WM_SYSKEYDOWN && onList && (msg.wParam == VK_DOWN || msg.wParam == VK_UP)) {
        OpenList(state.focus);
        return true;
    }
    if (msg.message == WM_KEYDOWN && onList && msg.wParam == VK_F4) {
        OpenList(state.focus);
        return true;
    }
    if (msg.message == WM_MOUSEWHEEL && IsClass(state.focus, kComboBoxClass)) {
        Arrow(state, GET_WHEEL_DELTA_WPARAM(msg.wParam) < 0);
        return true;
    }
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
        case VK_TAB: MoveFocus(state, machine::IsVirtualKeyDown(VK_SHIFT)); return true;
        case VK_UP:
        case VK_LEFT: Arrow(state, false); return true;
        case VK_DOWN:
        case VK_RIGHT: Arrow(state, true); return true;
        case VK_SPACE:
            if (IsClass(state.focus, kButtonClass) && Takes(state.focus)) UserClicks(state.focus, reason);
            return true;
        default: return false;
    }
}

}  // namespace user::dialogs
