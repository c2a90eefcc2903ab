// Moving, sizing, showing and re-framing windows, with the messages the platform sends for each.
#pragma once

#include "user/window_objects.h"

namespace user {

// Internal WINDOWPOS flags: the client area kept its size / its position, so no WM_SIZE / WM_MOVE.
constexpr UINT kSwpNoClientSize = 0x0800;
constexpr UINT kSwpNoClientMove = 0x1000;

// SetWindowPos's work: WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, the new rectangles, WM_WINDOWPOSCHANGED
// (whose default handling sends WM_SIZE and WM_MOVE). False for a window that is not live.
bool ApplyWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// The style or the menu bar changed: the window rectangle stays, the client area is recomputed.
void RecomputeFrame(HWND handle);
// Minimize, maximize or restore.
void ChangeShowState(HWND handle, ShowState state);
// The user drags the frame until the client area has this size (WM_ENTERSIZEMOVE ... WM_EXITSIZEMOVE).
void DragFrameToClientSize(HWND handle, int width, int height);

// The WM_SIZE type for the window's state.
WPARAM SizeType(const Window& window);

}  // namespace user
