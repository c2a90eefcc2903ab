// MessageBoxA: a modal box. While it is up its loop dispatches the windows' posted messages and
// painting; the machine shows it and answers. Its owner, if any, is disabled meanwhile. On a real
// display whose system cannot show the box, it is the dialog manager's own modal dialog, answered by
// the user (standard error has the box's line all the same).
#include "dialogs/dialogs.h"
#include "machine/machine.h"
#include "user/queue.h"
#include "user/window_objects.h"

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const std::string text = lpText ? lpText : "", caption = lpCaption ? lpCaption : "Error";
    const bool disableOwner = user::FindWindowObject(hWnd) && IsWindowEnabled(hWnd);
    if (disableOwner) EnableWindow(hWnd, FALSE);
    user::DispatchPendingWithoutInput();
    size_t record = 0;
    int answer = machine::OfferMessageBox(text, caption, uType, record);
    if (answer == 0) {
        answer = user::dialogs::RunMessageBoxDialog(user::FindWindowObject(hWnd) ? hWnd : nullptr, text, caption,
                                                    uType);
        if (answer == 0) answer = machine::DefaultMessageBoxAnswer(uType);  // the dialog could not be shown
        machine::AnswerMessageBox(record, answer);
    }
    user::DispatchPendingWithoutInput();
    if (disableOwner && user::FindWindowObject(hWnd)) EnableWindow(hWnd, TRUE);
    return answer;
}
