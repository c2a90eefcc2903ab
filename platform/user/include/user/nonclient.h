// The non-client metrics every window-geometry function agrees on.
#pragma once

#include "windows.h"

namespace user {

constexpr int kCaptionHeight = 19;
constexpr int kSizingFrame = 4;   // WS_THICKFRAME
constexpr int kFixedFrame = 3;    // WS_DLGFRAME / a modal dialog frame without a sizing frame
constexpr int kBorder = 1;        // WS_BORDER alone
constexpr int kClientEdge = 2;    // WS_EX_CLIENTEDGE
constexpr int kMenuBarHeight = 19;  // one line of menu

// What the non-client area takes from each side of the window rectangle.
struct Insets {
    int left = 0, top = 0, right = 0, bottom = 0;
};
Insets NonClientInsets(DWORD style, DWORD exStyle, bool menuBar);

// The client rectangle inside a window rectangle (same coordinates); never inverted.
RECT ClientRectFor(const RECT& windowRect, DWORD style, DWORD exStyle, bool menuBar);

// The hit-test answer for a screen point of a window (HTCLIENT, HTCAPTION, HTMENU, HTLEFT, ...).
LRESULT HitTest(HWND window, POINT screenPoint);

}  // namespace user
