#include "window_device.h"

#include <gtest/gtest.h>

#include <cstring>

#include "d3d9/control.h"

namespace test_support {

HWND OpenWindow(const char* className, const char* title, WNDPROC proc, int x, int y, int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

D3DPRESENT_PARAMETERS Windowed(UINT width, UINT height, D3DFORMAT format) {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = format;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.Windowed = TRUE;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return p;
}

D3DPRESENT_PARAMETERS WithDepth(D3DPRESENT_PARAMETERS params, D3DFORMAT depth) {
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = depth;
    params.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    return params;
}

IDirect3DDevice9* MakeLockableDevice(HWND window, UINT width, UINT height, IDirect3D9*& d3d) {
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    EXPECT_NE(d3d, nullptr);
    if (!d3d) return nullptr;
    // The back buffer is read back through LockRect; the depth buffer is kept between frames.
    D3DPRESENT_PARAMETERS params = WithDepth(Windowed(width, height));
    params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                &params, &device),
              D3D_OK);
    return device;
}

std::vector<uint32_t> BackBufferPixels(IDirect3DDevice9* device, UINT width, UINT height, uint32_t alpha) {
    std::vector<uint32_t> pixels(size_t(width) * height, 0);
    IDirect3DSurface9* back = nullptr;
    EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    if (!back) return pixels;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(back->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    if (locked.pBits) {
        for (UINT y = 0; y < height; ++y)
            for (UINT x = 0; x < width; ++x) {
                uint32_t v;
                std::memcpy(&v, static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch + x * 4, 4);
                pixels[size_t(y) * width + x] = (v & 0x00FFFFFF) | alpha;
            }
        back->UnlockRect();
    }
    back->Release();
    return pixels;
}

void ReleaseDeviceAndWindow(IDirect3DDevice9* device, IDirect3D9* d3d, HWND window, const char* keeper) {
    if (device) {
        EXPECT_EQ(device->Release(), 0u) << keeper;
    }
    if (d3d) d3d->Release();
    if (window) DestroyWindow(window);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), 0u);
}

}  // namespace test_support
