// Menu templates as the program carries them: LoadMenuA reads the RT_MENU resource; the menu is put on
// a window as the program does (the frame makes room for its bar), taken off again and destroyed.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::RegisterResource(RT_MENU, MAKEINTRESOURCEA(141), data, size);
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(141));
    if (menu != nullptr) {
        HWND window = fuzz::FuzzWindow();
        if (!SetMenu(window, menu) || GetMenu(window) != menu) std::abort();
        SetMenu(window, nullptr);
        if (!DestroyMenu(menu)) std::abort();
    }
    fuzz::ClearResources();
    return 0;
}
