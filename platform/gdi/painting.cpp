// BeginPaint / EndPaint: the update region is taken (the window becomes valid), the background is
// erased through WM_ERASEBKGND when it was asked for, and a device context for the window is lent.
#include "gdi/objects.h"
#include "user/painting.h"
#include "user/window_objects.h"

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (lpPaint == nullptr || !user::FindWindowObject(hWnd)) {
        SetLastError(lpPaint ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT update;
    bool erase = false;
    user::TakeUpdateRegion(hWnd, update, erase);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = gdi::CreateWindowDc(hWnd, gdi::DcKind::Paint);
    lpPaint->rcPaint = update;
    // fErase tells the procedure whether it still has to erase: not when WM_ERASEBKGND did.
    lpPaint->fErase = erase ? (SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(lpPaint->hdc), 0) == 0)
                            : FALSE;
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint == nullptr) return FALSE;
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(lpPaint->hdc);
    if (!dc || dc->kind != gdi::DcKind::Paint) return FALSE;
    gdi::RemoveObject(lpPaint->hdc);
    return TRUE;
}
