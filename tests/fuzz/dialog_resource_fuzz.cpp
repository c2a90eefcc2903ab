// Dialog templates as the program carries them: DialogBoxParamA reads the RT_DIALOG resource, makes the
// dialog and its controls and runs its modal loop over the main window; the headless machine cancels a
// dialog nobody answers, and the procedure ends it as the program's does.
#include "fuzz_support.h"

namespace {

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::RegisterResource(RT_DIALOG, MAKEINTRESOURCEA(144), data, size);
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(144), fuzz::FuzzWindow(), Procedure, 0);
    fuzz::ClearResources();
    return 0;
}
