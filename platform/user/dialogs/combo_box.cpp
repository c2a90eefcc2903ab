// The drop-down list combo box: items in the order added (no sorting), a pointer-sized value per
// item, and one selection. Only a user's choice notifies the parent (CBN_SELCHANGE); CB_SETCURSEL
// from the program notifies nothing. Its list opens on a real display (CB_SHOWDROPDOWN too).
#include <algorithm>
#include <cstring>
#include <map>

#include "dialogs.h"
#include "kernel/text_case.h"
#include "user/desktop.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

struct Combo {
    std::vector<ComboItem> items;
    int selection = CB_ERR;
    bool dropped = false;
    int highlighted = -1;
    int first = 0;  // the first item the open list shows
};

constexpr int kRowHeight = 15;  // a row of the open list, in pixels

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

void Notify(HWND combo, WORD code) {
    if (HWND parent = GetParent(combo))
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(combo)), code),
                     reinterpret_cast<LPARAM>(combo));
}

Combo* Find(HWND combo) {
    auto found = Combos().find(combo);
    return found == Combos().end() || !FindWindowObject(combo) ? nullptr : &found->second;
}

// Where the open list goes: below the field as deep as the control's window reaches, above it when
// the dialog has no room below; as many rows as fit.
struct ListPlace {
    RECT list{};
    int rows = 0;
};
ListPlace Place(HWND combo, const Combo& state) {
    ListPlace place;
    auto window = FindWindowObject(combo);
    auto dialog = window ? FindWindowObject(window->parent) : nullptr;
    if (!window || !dialog) return place;
    const RECT& r = window->windowRect;
    const int field = std::min<int>(r.bottom - r.top, 21);
    const int dialogHeight = dialog->clientRect.bottom - dialog->clientRect.top;
    const int wanted = std::clamp(int(state.items.size()), 1, std::max(1, (r.bottom - r.top - field) / kRowHeight));
    const int below = (dialogHeight - (r.top + field) - 2) / kRowHeight;
    const int above = (r.top - 2) / kRowHeight;
    place.rows = wanted <= below || below >= above ? std::min(wanted, std::max(below, 1)) : std::min(wanted, above);
    const int height = place.rows * kRowHeight + 2;
    const int top = wanted <= below || below >= above ? r.top + field : r.top - height;
    place.list = {r.left, top, r.right, top + height};
    return place;
}

void KeepShown(HWND combo, Combo& state) {
    const int rows = std::max(Place(combo, state).rows, 1);
    if (state.highlighted < state.first) state.first = std::max(state.highlighted, 0);
    if (state.highlighted >= state.first + rows) state.first = state.highlighted - rows + 1;
    state.first = std::clamp(state.first, 0, std::max(0, int(state.items.size()) - rows));
}

}  // namespace

bool DropDownOpen(HWND combo) {
    const Combo* state = Find(combo);
    return state && state->dropped;
}

void OpenList(HWND combo) {
    Combo* state = Find(combo);
    if (!state || state->dropped) return;
    Notify(combo, CBN_DROPDOWN);
    state = Find(combo);
    if (!state) return;
    state->dropped = true;
    state->highlighted = state->selection;
    state->first = 0;
    KeepShown(combo, *state);
}

void CloseList(HWND combo, bool choose) {
    Combo* state = Find(combo);
    if (!state || !state->dropped) return;
    state->dropped = false;
    const int chosen = state->highlighted;
    const bool changed = choose && chosen >= 0 && chosen < int(state->items.size()) && chosen != state->selection;
    if (changed) {
        state->selection = chosen;
        Notify(combo, CBN_SELCHANGE);
    }
    Notify(combo, choose ? CBN_SELENDOK : CBN_SELENDCANCEL);
    Notify(combo, CBN_CLOSEUP);
}

void HighlightItem(HWND combo, int index) {
    Combo* state = Find(combo);
    if (!state || !state->dropped || state->items.empty()) return;
    state->highlighted = std::clamp(index, 0, int(state->items.size()) - 1);
    KeepShown(combo, *state);
}

int HighlightedItem(HWND combo) {
    const Combo* state = Find(combo);
    return state && state->dropped ? state->highlighted : -1;
}

int ListItemAt(HWND combo, int x, int y) {
    const Combo* state = Find(combo);
    if (!state || !state->dropped) return -1;
    const ListPlace place = Place(combo, *state);
    const RECT& l = place.list;
    if (x < l.left || x >= l.right || y < l.top + 1 || y >= l.bottom - 1) return -1;
    const int index = state->first + (y - l.top - 1) / kRowHeight;
    return index < int(state->items.size()) ? index : -1;
}

HWND DroppedCombo(HWND dialog) {
    for (auto& [combo, state] : Combos())
        if (state.dropped && FindWindowObject(combo) && GetParent(combo) == dialog) return combo;
    return nullptr;
}

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
        case CB_SHOWDROPDOWN:
            if (wParam) OpenList(window);
            else CloseList(window, false);
            return TRUE;
        case CB_GETDROPPEDSTATE: return combo.dropped ? TRUE : FALSE;
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
    if (DropDownOpen(combo)) CloseList(combo, false);
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

namespace user {

std::optional<DropDownView> OpenDropDown(HWND dialog) {
    HWND combo = dialogs::DroppedCombo(dialog);
    const auto found = dialogs::Combos().find(combo);
    if (!combo || found == dialogs::Combos().end()) return std::nullopt;
    DropDownView view;
    view.combo = combo;
    view.list = dialogs::Place(combo, found->second).list;
    view.rowHeight = dialogs::kRowHeight;
    view.first = found->second.first;
    view.highlighted = found->second.highlighted;
    return view;
}

}  // namespace user
