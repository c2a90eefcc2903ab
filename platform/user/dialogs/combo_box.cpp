// The drop-down list combo box: items in the order added (no sorting), a pointer-sized value per
// item, and one selection. Only a user's choice notifies the parent (CBN_SELCHANGE); CB_SETCURSEL
// from the program notifies nothing.
#include <cstring>
#include <map>

#include "dialogs.h"
#include "kernel/text_case.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

struct Combo {
    std::vector<ComboItem> items;
    int selection = CB_ERR;
};

void ResetCombos();

std::map<HWND, Combo>& Combos() {
    static std::map<HWND, Combo> combos;
    static bool registered = (detail::RegisterUserReset(&ResetCombos), true);
    (void)registered;
    return combos;
}

void ResetCombos() { Combos().clear(); }

bool Valid(const Combo& combo, WPARAM index) { return index < combo.items.size(); }

LRESULT FindExact(const Combo& combo, WPARAM start, const char* text) {
    if (text == nullptr || combo.items.empty()) return CB_ERR;
    // The search starts after `start` (-1: from the top) and wraps round; case is ignored.
    const size_t count = combo.items.size();
    const size_t first = static_cast<int>(start) < 0 || start >= count ? 0 : (start + 1) % count;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = (first + i) % count;
        if (kernel::EqualsIgnoreCase(combo.items[at].text, text)) return static_cast<LRESULT>(at);
    }
    return CB_ERR;
}

}  // namespace

const std::vector<ComboItem>* ComboItems(HWND combo) {
    auto found = Combos().find(combo);
    return found == Combos().end() || !FindWindowObject(combo) ? nullptr : &found->second.items;
}

int ComboSelection(HWND combo) {
    auto found = Combos().find(combo);
    return found == Combos().end() ? CB_ERR : found->second.selection;
}

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        Combos().erase(window);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message < CB_GETEDITSEL || message > CB_FINDSTRINGEXACT) return DefWindowProcA(window, message, wParam, lParam);
    Combo& combo = Combos()[window];
    switch (message) {
        case CB_ADDSTRING:
            combo.items.push_back({lParam ? reinterpret_cast<const char*>(lParam) : "", 0});
            return static_cast<LRESULT>(combo.items.size() - 1);
        case CB_GETCOUNT: return static_cast<LRESULT>(combo.items.size());
        case CB_RESETCONTENT:
            combo = Combo{};
            return CB_OKAY;
        case CB_SETITEMDATA:
            if (!Valid(combo, wParam)) return CB_ERR;
            combo.items[wParam].data = lParam;
            return TRUE;
        case CB_GETITEMDATA: return Valid(combo, wParam) ? combo.items[wParam].data : CB_ERR;
        case CB_SETCURSEL:
            // -1 or an index past the end clears the selection.
            combo.selection = Valid(combo, wParam) ? static_cast<int>(wParam) : CB_ERR;
            return combo.selection;
        case CB_GETCURSEL: return combo.selection;
        case CB_GETLBTEXTLEN: return Valid(combo, wParam) ? static_cast<LRESULT>(combo.items[wParam].text.size()) : CB_ERR;
        case CB_GETLBTEXT: {
            // The caller's buffer holds the length CB_GETLBTEXTLEN gave, and the terminator.
            if (!Valid(combo, wParam) || lParam == 0) return CB_ERR;
            const std::string& text = combo.items[wParam].text;
            std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
            return static_cast<LRESULT>(text.size());
        }
        case CB_FINDSTRINGEXACT: return FindExact(combo, wParam, reinterpret_cast<const char*>(lParam));
        default: return CB_ERR;  // edit fields, drop-down state and the rest are not offered
    }
}

bool UserSelectsItem(HWND combo, const std::string& itemText, std::string& reason) {
    if (!IsClass(combo, kComboBoxClass)) {
        reason = "the control is not a drop-down list";
        return false;
    }
    if (!IsWindowEnabled(combo)) {
        reason = "the control is disabled";
        return false;
    }
    if (!IsWindowVisible(combo)) {
        reason = "the control is hidden";
        return false;
    }
    Combo& state = Combos()[combo];
    int index = CB_ERR;
    for (size_t i = 0; i < state.items.size() && index == CB_ERR; ++i)
        if (state.items[i].text == itemText) index = static_cast<int>(i);
    if (index == CB_ERR) {
        reason = "the list has no item \"" + itemText + "\"";
        return false;
    }
    state.selection = index;
    SetFocus(combo);
    if (auto dialog = FindDialog(GetParent(combo))) dialog->focus = combo;
    if (HWND parent = GetParent(combo)) {
        const WORD id = static_cast<WORD>(GetDlgCtrlID(combo));
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    return true;
}

}  // namespace user::dialogs
