// A fresh machine with one window, and shortcuts to make a Direct3D object and a device on it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "d3d9.h"
#include "d3d9/control.h"
#include "window_device.h"
#include "windows.h"

namespace test {

// Present parameters: windowed (size 0: the client area's) and with a depth buffer, as every drawing
// fixture makes them, and full screen.
using test_support::Windowed;
using test_support::WithDepth;
D3DPRESENT_PARAMETERS FullScreen(UINT width, UINT height, D3DFORMAT format = D3DFMT_X8R8G8B8);

// The pixel of the machine's last frame at (x, y), without its unused top byte.
uint32_t FramePixel(int x, int y);

class DeviceTest : public ::testing::Test {
public:
    // The messages the window received, in order.
    static std::vector<UINT>& Messages();

protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the device (HAL, software vertex processing unless flags say otherwise); fails the test
    // when creation fails.
    IDirect3DDevice9* MakeDevice(D3DPRESENT_PARAMETERS params, D3DDEVTYPE type = D3DDEVTYPE_HAL,
                                 DWORD flags = D3DCREATE_SOFTWARE_VERTEXPROCESSING);
    HRESULT TryDevice(D3DPRESENT_PARAMETERS& params, IDirect3DDevice9** device, D3DDEVTYPE type = D3DDEVTYPE_HAL,
                      DWORD flags = D3DCREATE_SOFTWARE_VERTEXPROCESSING);
    // Releases the device and expects it to be gone.
    void ReleaseDevice(IDirect3DDevice9*& device);
    SIZE Client() const;

    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
};

}  // namespace test
