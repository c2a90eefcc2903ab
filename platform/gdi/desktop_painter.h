// GDI draws what the layer shows on a real display: menu bars, open menus and dialogs.
#pragma once

namespace gdi {
// Hands the window manager its painter (once).
void InstallDesktopPainter();
}  // namespace gdi
