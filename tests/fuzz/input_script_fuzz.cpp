// Input scripts as the runtime reads them (MORVATH_INPUT): the script is loaded, and when it is good a
// small windowed program runs under it for up to 32 frames: a main window with a device that it
// presents each frame, resets after a loss or a resize, and a message loop that dispatches everything,
// so that the window manager and the device see every event the script can cause.
#include <string>

#include "fuzz_support.h"
#include "machine/control.h"

namespace {

constexpr int kFrames = 32;
bool g_resized = false;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) g_resized = true;
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

D3DPRESENT_PARAMETERS Parameters(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = UINT(std::max<LONG>(1, std::min<LONG>(client.right - client.left, 128)));
    p.BackBufferHeight = UINT(std::max<LONG>(1, std::min<LONG>(client.bottom - client.top, 128)));
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.Windowed = TRUE;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return p;
}

void Run() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ScriptedWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "ScriptedWindow", "Scripted", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 160, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) std::abort();
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS p = Parameters(window);
    if (d3d == nullptr || d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                            D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device) != D3D_OK)
        std::abort();
    g_resized = false;
    bool quit = false;
    for (int frame = 0; frame < kFrames && !quit; ++frame) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) quit = true;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (quit || !IsWindow(window)) break;
        if (g_resized || device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET) {
            p = Parameters(window);
            device->Reset(&p);
            g_resized = false;
        }
        if (device->TestCooperativeLevel() != D3D_OK) {
            machine::BringNextInputForward();  // lost: wait as the program would, letting time pass
            continue;
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060, 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    if (device->Release() != 0) std::abort();
    d3d->Release();
    if (IsWindow(window)) DestroyWindow(window);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    machine::control::Reset();
    machine::control::SetMessageBoxEcho(false);
    std::string error;
    if (machine::control::LoadInputScript(std::string(reinterpret_cast<const char*>(data), size), error)) {
        Run();
    } else if (error.rfind("line ", 0) != 0) {
        std::abort();  // a bad script names its line
    }
    machine::control::Reset();
    return 0;
}
