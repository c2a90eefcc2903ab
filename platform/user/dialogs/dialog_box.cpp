// DialogBoxParamA: the dialog window and its controls from the template, WM_INITDIALOG, then the
// modal loop; EndDialog ends it.
#include "dialog_template.h"
#include "dialogs.h"
#include "kernel/resources.h"
#include "machine/machine.h"
#include "user/window_objects.h"

namespace user::dialogs {

INT_PTR RunModalLoop(const std::shared_ptr<DialogState>& state);

namespace {

int PixelsX(int units) { return units * kDialogBaseWidth / 4; }
int PixelsY(int units) { return units * kDialogBaseHeight / 8; }

HWND TopLevelOf(HWND window) {
    auto w = FindWindowObject(window);
    while (w && w->IsChild()) w = FindWindowObject(w->parent);
    return w ? w->handle : nullptr;
}

HWND CreateDialogWindow(const DialogTemplate& t, HWND owner, HINSTANCE instance,
                        const std::shared_ptr<DialogState>& state) {
    const DWORD style = (t.style & ~(WS_VISIBLE | WS_CHILD)) | ((t.style & WS_CHILD) ? WS_POPUP : 0);
    const DWORD exStyle = t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    RECT frame{0, 0, PixelsX(t.cx), PixelsY(t.cy)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int x, y;
    if (t.style & DS_CENTER) {
        const machine::DisplayMode screen = machine::CurrentDisplayMode();
        x = (static_cast<int>(screen.width) - width) / 2;
        y = (static_cast<int>(screen.height) - height) / 2;
    } else {
        POINT origin{PixelsX(t.x), PixelsY(t.y)};
        if (owner) ClientToScreen(owner, &origin);
        x = origin.x + frame.left;
        y = origin.y + frame.top;
    }
    BeginCreation(state);
    HWND dialog = CreateWindowExA(exStyle, kDialogClass, t.caption.c_str(), style, x, y, width, height, owner,
                                  nullptr, instance, nullptr);
    BeginCreation(nullptr);
    return FindDialog(dialog) ? dialog : nullptr;
}

bool CreateControls(const DialogTemplate& t, HWND dialog, HINSTANCE instance) {
    for (const DialogItem& item : t.items) {
        HWND control = CreateWindowExA(item.exStyle, item.className.c_str(), item.text.c_str(), item.style | WS_CHILD,
                                       PixelsX(item.x), PixelsY(item.y), PixelsX(item.cx), PixelsY(item.cy), dialog,
                                       reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(item.id)), instance, nullptr);
        if (control == nullptr || !FindDialog(dialog)) return false;
    }
    return true;
}

// WM_INITDIALOG's wParam: the first control that takes the keyboard (WS_TABSTOP, enabled, visible).
HWND FirstTabStop(HWND dialog) {
    for (HWND control : ControlsOf(dialog))
        if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(control) && IsWindowVisible(control))
            return control;
    return nullptr;
}

}  // namespace

INT_PTR RunDialogTemplate(const DialogTemplate& t, HINSTANCE hInstance, HWND hWndParent, DLGPROC lpDialogFunc,
                          LPARAM dwInitParam) {
    EnsureDialogClasses();
    auto state = std::make_shared<DialogState>();
    state->owner = TopLevelOf(hWndParent);
    state->procedure = lpDialogFunc;
    state->caption = t.caption;
    HWND dialog = CreateDialogWindow(t, state->owner, hInstance, state);
    if (dialog == nullptr) return -1;
    if (!CreateControls(t, dialog, hInstance)) {
        if (FindDialog(dialog)) DestroyWindow(dialog);
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return -1;
    }

    HWND firstTabStop = FirstTabStop(dialog);
    const INT_PTR setFocus =
        lpDialogFunc ? lpDialogFunc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), dwInitParam) : TRUE;
    if (!FindDialog(dialog)) return -1;  // the procedure destroyed its own window
    if (setFocus) state->focus = firstTabStop;
    return RunModalLoop(state);
}
}  // namespace user::dialogs

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
    using namespace user::dialogs;
    if (CreationFails()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    if (hWndParent != nullptr && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    const RESOURCE_TABLE_ENTRY* entry = kernel::FindProgramResource(hInstance, RT_DIALOG, lpTemplateName);
    if (entry == nullptr) return -1;  // the kernel has set the reason
    const auto t = ReadDialogTemplate(static_cast<const uint8_t*>(entry->data), entry->size);
    if (!t || !t->menu.empty() || !t->className.empty()) {
        SetLastError(ERROR_INVALID_DATA);  // malformed, or a menu or class this dialog manager does not offer
        return -1;
    }

    return RunDialogTemplate(*t, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    auto state = user::dialogs::FindDialog(hDlg);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->ended = true;
    state->result = nResult;
    return TRUE;
}
