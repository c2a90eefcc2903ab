// Static text: it shows its text and takes no input.
#include "dialogs.h"

namespace user::dialogs {

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace user::dialogs
