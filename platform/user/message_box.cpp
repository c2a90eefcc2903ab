// MessageBoxA: a modal box. While it is up its loop dispatches the windows' posted messages and
// painting; the machine shows it and answers. Its owner, if any, is disabled meanwhile.
#include "machine/machine.h"
#include "user/queue.h"
#include "user/window_objects.h"

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const bool disableOwner = user::FindWindowObject(hWnd) && IsWindowEnabled(hWnd);
    if (disableOwner) EnableWindow(hWnd, FALSE);
    user::DispatchPendingWithoutInput();
    const int answer = machine::ShowMessageBox(lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
    user::DispatchPendingWithoutInput();
    if (disableOwner && user::FindWindowObject(hWnd)) EnableWindow(hWnd, TRUE);
    return answer;
}
