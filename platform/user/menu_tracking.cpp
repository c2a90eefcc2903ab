// The menu bar on a real display: the user moves through it with the mouse or the keyboard (Alt or
// F10, arrows, Enter, Escape, the items' mnemonics) until an item is chosen or the menu is left.
#include <cctype>

#include "machine/control.h"
#include "user/desktop.h"
#include "user/menu_tracking.h"
#include "user/nonclient.h"
#include "user/window_objects.h"

namespace user {
namespace {

struct Tracking {
    HWND handle = nullptr;
    std::shared_ptr<Menu> bar;
    int top = -1;      // the highlighted bar item
    bool open = false;  // its popup is shown
    int item = -1;     // the highlighted popup item
    std::vector<RECT> barItems, popupItems;
    POINT popupAt{0, 0};  // client coordinates
};

bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int ItemAt(const std::vector<RECT>& items, int x, int y) {
    for (size_t i = 0; i < items.size(); ++i)
        if (Contains(items[i], x, y)) return static_cast<int>(i);
    return -1;
}

std::shared_ptr<Menu> OpenPopup(const Tracking& t) {
    if (!t.open || t.top < 0 || t.top >= static_cast<int>(t.bar->items.size())) return nullptr;
    return FindMenu(t.bar->items[static_cast<size_t>(t.top)].popup);
}

bool Choosable(const MenuItem& item) { return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP)); }

// The next choosable popup item from `from` in the direction, or -1.
int Step(const Menu& popup, int from, int direction) {
    const int n = static_cast<int>(popup.items.size());
    for (int k = 1; k <= n; ++k) {
        const int i = ((from + direction * k) % n + n) % n;
        if (from < 0 && direction < 0 && k == 1) continue;
        if (Choosable(popup.items[static_cast<size_t>(i)])) return i;
    }
    return -1;
}

int Mnemonic(const Menu& menu, uint32_t key) {
    for (size_t i = 0; i < menu.items.size(); ++i) {
        const std::string& text = menu.items[i].text;
        const size_t amp = text.find('&');
        if (amp != std::string::npos && amp + 1 < text.size() &&
            std::toupper(static_cast<unsigned char>(text[amp + 1])) == static_cast<int>(key))
            return static_cast<int>(i);
    }
    return -1;
}

void Draw(Tracking& t) {
    auto window = FindWindowObject(t.handle);
    if (!window || !Painter()) return;
    const int width = window->clientRect.right - window->clientRect.left;
    Painter()->MenuBar(*t.bar, width, t.top, t.barItems);
    std::vector<machine::HostOverlay> overlays;
    t.popupItems.clear();
    if (auto popup = OpenPopup(t)) {
        machine::HostOverlay overlay;
        overlay.image = Painter()->Popup(*popup, t.item, t.popupItems);
        t.popupAt = {t.top < static_cast<int>(t.barItems.size()) ? t.barItems[static_cast<size_t>(t.top)].left : 0, 0};
        overlay.x = t.popupAt.x;
        overlay.y = t.popupAt.y;
        overlays.push_back(std::move(overlay));
    }
    ShowMenuBar(t.handle, t.top, overlays);
}

void Open(Tracking& t, int top) {
    t.top = top;
    t.open = true;
    t.item = -1;
    if (auto popup = OpenPopup(t)) {
        CallWindowProcedure(t.handle, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(t.bar->items[size_t(top)].popup),
                            MAKELPARAM(top, FALSE));
        t.item = Step(*popup, -1, 1);
    }
}

constexpr UINT kLeave = 0xFFFFFFFF;

// A key: the command chosen, kLeave, or 0 to go on.
UINT OnKey(Tracking& t, uint32_t key) {
    const int n = static_cast<int>(t.bar->items.size());
    auto popup = OpenPopup(t);
    switch (key) {
        case VK_ESCAPE:
            if (!t.open) return kLeave;
            t.open = false;
            t.item = -1;
            return 0;
        case VK_MENU:
        case VK_F10: return kLeave;
        case VK_LEFT:
        case VK_RIGHT: {
            const int next = ((t.top < 0 ? 0 : t.top) + (key == VK_LEFT ? n - 1 : 1)) % n;
            if (t.open) Open(t, next);
            else t.top = next;
            return 0;
        }
        case VK_DOWN:
            if (!t.open) Open(t, t.top < 0 ? 0 : t.top);
            else if (popup) t.item = Step(*popup, t.item, 1);
            return 0;
        case VK_UP:
            if (popup) t.item = Step(*popup, t.item, -1);
            return 0;
        case VK_RETURN:
            if (!t.open) {
                Open(t, t.top < 0 ? 0 : t.top);
                return 0;
            }
            if (popup && t.item >= 0) return popup->items[size_t(t.item)].id;
            return kLeave;
        default: break;
    }
    if (popup) {
        const int i = Mnemonic(*popup, key);
        if (i >= 0 && Choosable(popup->items[size_t(i)])) return popup->items[size_t(i)].id;
    }
    if (const int i = Mnemonic(*t.bar, key); i >= 0) Open(t, i);
    return 0;
}

// A mouse event in client coordinates: the command chosen, kLeave, or 0 to go on.
UINT OnMouse(Tracking& t, const machine::InputEvent& e, int menuBarHeight) {
    const int barX = e.x, barY = e.y + menuBarHeight;
    const int onBar = barY >= 0 && barY < menuBarHeight ? ItemAt(t.barItems, barX, barY) : -1;
    const int onPopup = ItemAt(t.popupItems, e.x - t.popupAt.x, e.y - t.popupAt.y);
    auto popup = OpenPopup(t);
    if (e.kind == machine::InputKind::MouseMove) {
        if (onBar >= 0 && onBar != t.top) {
            if (t.open) Open(t, onBar);
            else t.top = onBar;
        }
        if (onPopup >= 0) t.item = onPopup;
        return 0;
    }
    if (e.kind != machine::InputKind::MouseButton || e.button != machine::MouseButtonId::Left) return 0;
    if (e.buttonDown) {
        if (onBar >= 0) {
            if (t.open && onBar == t.top) return kLeave;
            Open(t, onBar);
            return 0;
        }
        return onPopup >= 0 ? 0 : kLeave;
    }
    if (popup && onPopup >= 0 && Choosable(popup->items[size_t(onPopup)])) return popup->items[size_t(onPopup)].id;
    return 0;
}

}  // namespace

UINT TrackMenuBar(HWND handle, WPARAM command, LPARAM lParam) {
    auto window = FindWindowObject(handle);
    if (!window || !window->HasMenuBar() || !Painter()) return 0;
    Tracking t;
    t.handle = handle;
    t.bar = FindMenu(window->menu);
    if (!t.bar || t.bar->items.empty()) return 0;
    const POINT origin = ClientOriginOnScreen(*window);
    Draw(t);  // lays the bar's items out
    if ((command & 0xFFF0) == SC_MOUSEMENU) {
        const int i = ItemAt(t.barItems, GET_X_LPARAM(lParam) - origin.x, GET_Y_LPARAM(lParam) - origin.y + kMenuBarHeight);
        if (i < 0) return 0;
        Open(t, i);
    } else if (lParam != 0) {
        const int i = Mnemonic(*t.bar, static_cast<uint32_t>(std::toupper(static_cast<int>(lParam))));
        if (i < 0) return 0;
        Open(t, i);
    } else {
        t.top = 0;
    }
    UINT chosen = 0;
    while (chosen == 0) {
        Draw(t);
        machine::InputEvent e;
        if (!machine::TakeDueInput(e)) {
            machine::WaitForDisplayEvents(100);
            if (!FindWindowObject(handle)) return 0;
            continue;
        }
        if (e.kind == machine::InputKind::Key) {
            if (e.keyAction == machine::KeyAction::Down) chosen = OnKey(t, e.virtualKey);
        } else if (e.kind == machine::InputKind::MouseMove || e.kind == machine::InputKind::MouseButton) {
            int32_t sx = 0, sy = 0;
            if (e.kind == machine::InputKind::MouseMove) machine::SetCursorScreenPosition(origin.x + e.x, origin.y + e.y);
            machine::CursorScreenPosition(sx, sy);
            machine::InputEvent at = e;
            at.x = sx - origin.x;
            at.y = sy - origin.y;
            chosen = OnMouse(t, at, kMenuBarHeight);
        } else if (e.kind == machine::InputKind::Window) {
            // Closing, moving or leaving the window ends the menu; the window then gets the event.
            machine::control::ScheduleInput(e);
            chosen = kLeave;
        }
    }
    ShowMenuBar(handle, -1, {});
    return chosen == kLeave ? 0 : chosen;
}

}  // namespace user
