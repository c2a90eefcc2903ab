// Accelerator tables as the program carries them: LoadAcceleratorsA reads the RT_ACCELERATOR resource,
// and key messages of every modifier go through TranslateAcceleratorA on a window, as the message loop does.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::RegisterResource(RT_ACCELERATOR, MAKEINTRESOURCEA(113), data, size);
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(113));
    if (accelerators != nullptr) {
        HWND window = fuzz::FuzzWindow();
        for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR})
            for (WPARAM key : {WPARAM(VK_F2), WPARAM(VK_ESCAPE), WPARAM(VK_RETURN), WPARAM('A'), WPARAM(0xFF)}) {
                MSG msg{window, message, key, 0, 0, {0, 0}};
                TranslateAcceleratorA(window, accelerators, &msg);
            }
        if (!DestroyAcceleratorTable(accelerators)) std::abort();
    }
    fuzz::ClearResources();
    return 0;
}
