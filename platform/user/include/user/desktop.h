// The window manager on a real display: the desktop's window of each top-level window, and the
// painter (GDI, above this area) that draws what the layer itself shows there: menu bars, open menus
// and dialogs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "user/menus.h"
#include "windows.h"

namespace user {

class DesktopPainter {
public:
    virtual ~DesktopPainter() = default;
    // A menu bar of this width with its items' rectangles (menu bar coordinates); `highlighted` is the
    // item shown pressed, or -1.
    virtual machine::Frame MenuBar(const Menu& menu, int width, int highlighted, std::vector<RECT>& items) = 0;
    // An open popup menu with its items' rectangles (popup coordinates).
    virtual machine::Frame Popup(const Menu& menu, int highlighted, std::vector<RECT>& items) = 0;
    // A dialog's client area and its controls, as they stand.
    virtual machine::Frame Dialog(HWND dialog) = 0;
    // The size of a line of text (taken as it is, no mnemonic) in the dialog font: the layer's message
    // boxes are sized by it.
    virtual SIZE MeasureText(const std::string& text) = 0;
};
void SetDesktopPainter(DesktopPainter* painter);
DesktopPainter* Painter();

// The desktop's window follows the layer's window (place, size, title, state); a window that goes
// away takes it with it. Both do nothing headless.
void SyncHostWindow(HWND window);
void ForgetHostWindow(HWND window);
uint64_t HostId(HWND window);
// The open list of a dialog's drop-down list, as the painter draws it and the mouse finds its items:
// its rectangle in the dialog's client coordinates, the first item shown and the highlighted one.
struct DropDownView {
    HWND combo = nullptr;
    RECT list{};
    int rowHeight = 0;
    int first = 0, highlighted = -1;
};
std::optional<DropDownView> OpenDropDown(HWND dialog);

// Draws the window's menu bar again (with an item highlighted, and open popups over the client area).
void ShowMenuBar(HWND window, int highlighted, const std::vector<machine::HostOverlay>& overlays);

}  // namespace user
