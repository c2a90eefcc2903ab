// The classes of the dialog manager: the dialog window and the controls its templates use.
#include "dialogs.h"
#include "user/window_objects.h"

namespace user::dialogs {

void EnsureDialogClasses() {
    struct Entry {
        const char* name;
        WNDPROC procedure;
    };
    static const Entry kClasses[] = {
        {kDialogClass, &DialogWindowProc},
        {kButtonClass, &ButtonProc},
        {kStaticClass, &StaticProc},
        {kComboBoxClass, &ComboBoxProc},
    };
    for (const Entry& entry : kClasses) {
        if (FindWindowClass(entry.name)) continue;
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = entry.procedure;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = entry.name;
        RegisterClassA(&wc);
    }
}

}  // namespace user::dialogs
