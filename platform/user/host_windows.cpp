// Top-level windows on a real display: each visible one is a window of the desktop that holds its
// menu bar and its client area; the window manager draws its caption and frame.
#include "user/desktop.h"
#include "user/nonclient.h"
#include "user/window_objects.h"
#include "user/window_table.h"

namespace user {
namespace {

DesktopPainter*& PainterSlot() {
    static DesktopPainter* painter = nullptr;
    return painter;
}

}  // namespace

void SetDesktopPainter(DesktopPainter* painter) { PainterSlot() = painter; }
DesktopPainter* Painter() { return PainterSlot(); }

uint64_t HostId(HWND window) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)); }

void ShowMenuBar(HWND handle, int highlighted, const std::vector<machine::HostOverlay>& overlays) {
    auto window = FindWindowObject(handle);
    if (!window || !machine::HasRealDisplay()) return;
    machine::Frame bar;
    auto menu = window->HasMenuBar() ? FindMenu(window->menu) : nullptr;
    if (menu && Painter()) {
        std::vector<RECT> items;
        bar = Painter()->MenuBar(*menu, window->clientRect.right - window->clientRect.left, highlighted, items);
    }
    machine::ShowHostDecoration(HostId(handle), bar, overlays);
}

void SyncHostWindow(HWND handle) {
    if (!machine::HasRealDisplay()) return;
    auto window = FindWindowObject(handle);
    if (!window || window->IsChild()) return;
    const POINT origin = ClientOriginOnScreen(*window);
    const int menuBar = window->HasMenuBar() ? kMenuBarHeight : 0;
    machine::HostWindowState state;
    state.title = window->title;
    state.area = {origin.x, origin.y - menuBar, origin.x + (window->clientRect.right - window->clientRect.left),
                  origin.y + (window->clientRect.bottom - window->clientRect.top)};
    state.menuBarHeight = menuBar;
    state.main = handle == MainWindow() && window->windowClass && window->windowClass->name != "#32770";
    state.visible = window->Visible();
    state.minimized = window->showState == ShowState::Minimized;
    state.maximized = window->showState == ShowState::Maximized;
    state.resizable = (window->style & WS_THICKFRAME) != 0;
    machine::PlaceHostWindow(HostId(handle), state);
    if (menuBar > 0 && state.visible) ShowMenuBar(handle, -1, {});
}

void ForgetHostWindow(HWND handle) { machine::RemoveHostWindow(HostId(handle)); }

}  // namespace user
