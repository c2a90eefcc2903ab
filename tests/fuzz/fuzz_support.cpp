#include "fuzz_support.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "restable.h"

namespace fuzz {

std::string WriteScratchFile(const uint8_t* data, size_t size, const char* extension) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("morvath-fuzz-" + std::to_string(getpid()) + extension))
                                 .string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

void RegisterResource(LPCSTR type, LPCSTR name, const uint8_t* data, size_t size) {
    static RESOURCE_TABLE_ENTRY entry;
    entry = {type, name, 1033, data, DWORD(size)};
    RegisterProgramResources(&entry, 1);
}

void ClearResources() {
    static const char kNothing[] = "";
    static const RESOURCE_TABLE_ENTRY kNone[] = {{RT_RCDATA, MAKEINTRESOURCEA(1), 0, kNothing, 0}};
    RegisterProgramResources(kNone, 1);
}

HWND FuzzWindow() {
    static HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FuzzWindow";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "FuzzWindow", "Fuzz", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }();
    return window;
}

IDirect3DDevice9* FuzzDevice() {
    static IDirect3DDevice9* device = [] {
        IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
        if (d3d == nullptr) std::abort();
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferWidth = 64;
        p.BackBufferHeight = 64;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1;
        p.SwapEffect = D3DSWAPEFFECT_DISCARD;
        p.Windowed = TRUE;
        p.EnableAutoDepthStencil = TRUE;
        p.AutoDepthStencilFormat = D3DFMT_D16;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        IDirect3DDevice9* created = nullptr;
        if (d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, FuzzWindow(), D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                              &p, &created) != D3D_OK)
            std::abort();
        d3d->Release();
        return created;
    }();
    return device;
}

}  // namespace fuzz
