// The window and the Direct3D 9 device the drawing fixtures make on the headless machine, the back
// buffer read back as pixels, and the release of both at the end of a test.
#pragma once

#include <cstdint>
#include <vector>

#include "d3d9.h"
#include "windows.h"

namespace test_support {

// Registers a window class of the name with the procedure and opens a visible overlapped window of it.
HWND OpenWindow(const char* className, const char* title, WNDPROC proc, int x, int y, int width, int height);

// Present parameters for a windowed back buffer of the given size (0: the client area's).
D3DPRESENT_PARAMETERS Windowed(UINT width = 320, UINT height = 240, D3DFORMAT format = D3DFMT_X8R8G8B8);
D3DPRESENT_PARAMETERS WithDepth(D3DPRESENT_PARAMETERS params, D3DFORMAT depth = D3DFMT_D24S8);

// Makes the Direct3D object and on it a windowed HAL device (software vertex processing) with a lockable
// X8R8G8B8 back buffer of the size and a D24S8 depth buffer; fails the test when either cannot be made.
IDirect3DDevice9* MakeLockableDevice(HWND window, UINT width, UINT height, IDirect3D9*& d3d);

// The back buffer of the size, rows top-down, each pixel 0x00RRGGBB with `alpha` as its top byte.
std::vector<uint32_t> BackBufferPixels(IDirect3DDevice9* device, UINT width, UINT height, uint32_t alpha = 0);

// Releases the device, expecting that to be its last reference (`keeper` says what else would hold it),
// then the Direct3D object and the window, and expects no object of the Direct3D area to be left.
void ReleaseDeviceAndWindow(IDirect3DDevice9* device, IDirect3D9* d3d, HWND window, const char* keeper);

}  // namespace test_support
