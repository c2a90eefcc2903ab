// The dialog functions that address a control by its id.
#include "dialogs.h"
#include "user/window_objects.h"

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND control : user::dialogs::ControlsOf(hDlg))
        if (GetDlgCtrlID(control) == nIDDlgItem) return control;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    if (!window || !window->IsChild()) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(reinterpret_cast<ULONG_PTR>(window->menu));
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control ? SendMessageA(control, Msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    for (HWND control : user::dialogs::ControlsOf(hDlg)) {
        const int id = GetDlgCtrlID(control);
        if (id >= nIDFirstButton && id <= nIDLastButton)
            SendMessageA(control, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND control = GetDlgItem(hDlg, nIDButton);
    if (control == nullptr) return FALSE;
    SendMessageA(control, BM_SETCHECK, uCheck, 0);
    return TRUE;
}
