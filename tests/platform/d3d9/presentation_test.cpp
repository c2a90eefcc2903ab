// Clear and Present: what reaches the window on the machine.
#include <gtest/gtest.h>

#include "machine/machine.h"
#include "support/device_fixture.h"

namespace {

using test::DeviceTest;
using test::FramePixel;

TEST_F(DeviceTest, ClearedColourReachesTheWindow) {
    const SIZE client = Client();
    IDirect3DDevice9* device = MakeDevice(test::Windowed(0, 0));
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(10, 200, 30), 1.0f, 0), D3D_OK);
    const uint64_t before = machine::FramesPresented();
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(machine::FramesPresented(), before + 1);
    const machine::Frame* frame = machine::LastFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width, UINT(client.cx));
    EXPECT_EQ(frame->height, UINT(client.cy));
    EXPECT_EQ(FramePixel(0, 0), 0x0AC81Eu);
    EXPECT_EQ(FramePixel(client.cx - 1, client.cy - 1), 0x0AC81Eu);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ASmallerBackBufferIsStretchedOverTheClientArea) {
    const SIZE client = Client();
    IDirect3DDevice9* device = MakeDevice(test::Windowed(2, 2, D3DFMT_R5G6B5));
    // Left column red, right column blue.
    D3DRECT left{0, 0, 1, 2}, right{1, 0, 2, 2};
    ASSERT_EQ(device->Clear(1, &left, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 0), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Clear(1, &right, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(FramePixel(0, 0), 0xFF0000u);
    EXPECT_EQ(FramePixel(client.cx / 2 - 1, client.cy - 1), 0xFF0000u);
    EXPECT_EQ(FramePixel(client.cx / 2 + 1, 0), 0x0000FFu);
    EXPECT_EQ(FramePixel(client.cx - 1, client.cy / 2), 0x0000FFu);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ClearKeepsToItsRectanglesAndTheViewport) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed(0, 0));
    const SIZE client = Client();
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
    D3DVIEWPORT9 viewport{10, 10, 20, 20, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    D3DRECT rect{0, 0, 15, 15};  // only 10..15 lies inside the viewport
    ASSERT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_EQ(machine::LastFrame()->width, UINT(client.cx));
    EXPECT_EQ(FramePixel(9, 9), 0u);
    EXPECT_EQ(FramePixel(10, 10), 0xFFFFFFu);
    EXPECT_EQ(FramePixel(14, 14), 0xFFFFFFu);
    EXPECT_EQ(FramePixel(15, 15), 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ClearRefusesWhatTheDeviceDoesNotHave) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(2, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    ReleaseDevice(device);
    device = MakeDevice(test::WithDepth(test::Windowed(), D3DFMT_D16));
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 0.5f, 0), D3D_OK);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ClearWritesTheDepthBuffer) {
    // A profile offering a lockable depth format lets the test read the depth values back.
    d3d_->Release();
    d3d9::Profile profile = d3d9::DefaultProfile();
    profile.adapters[0].devices[D3DDEVTYPE_HAL].depthFormats.push_back({D3DFMT_D16_LOCKABLE, {}});
    d3d9::control::SetAdapterProfile(profile);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* device = MakeDevice(test::WithDepth(test::Windowed(8, 8), D3DFMT_D16_LOCKABLE));
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    D3DRECT corner{0, 0, 2, 2};
    ASSERT_EQ(device->Clear(1, &corner, D3DCLEAR_ZBUFFER, 0, 0.5f, 0), D3D_OK);
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(depth->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* row0 = static_cast<const uint16_t*>(locked.pBits);
    EXPECT_EQ(row0[0], 32768u);
    EXPECT_EQ(row0[2], 65535u);
    depth->UnlockRect();
    depth->Release();
    ReleaseDevice(device);
}

TEST_F(DeviceTest, CopySwapEffectPresentsIntoPartOfTheWindow) {
    D3DPRESENT_PARAMETERS params = test::Windowed(4, 4);
    params.SwapEffect = D3DSWAPEFFECT_COPY;
    IDirect3DDevice9* device = MakeDevice(params);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 255, 0), 1.0f, 0), D3D_OK);
    RECT source{0, 0, 2, 2}, destination{10, 20, 30, 40};
    ASSERT_EQ(device->Present(&source, &destination, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(FramePixel(10, 20), 0x00FF00u);
    EXPECT_EQ(FramePixel(29, 39), 0x00FF00u);
    EXPECT_EQ(FramePixel(9, 20), 0u);
    EXPECT_EQ(FramePixel(30, 39), 0u);
    RECT outside{0, 0, 5, 5};
    EXPECT_EQ(device->Present(&outside, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    ReleaseDevice(device);
    // Rectangles belong to the copy swap effect only.
    device = MakeDevice(test::Windowed(4, 4));
    EXPECT_EQ(device->Present(&source, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, OffscreenPlainSurfacesLockForReadingAndWriting) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(3, 2, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &surface, nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_GE(locked.Pitch, 12);
    static_cast<uint32_t*>(locked.pBits)[2] = 0x12345678;
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    EXPECT_EQ(surface->UnlockRect(), D3D_OK);
    EXPECT_EQ(surface->UnlockRect(), D3DERR_INVALIDCALL);
    RECT part{2, 0, 3, 1};
    ASSERT_EQ(surface->LockRect(&locked, &part, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<uint32_t*>(locked.pBits), 0x12345678u);
    surface->UnlockRect();
    RECT outside{0, 0, 4, 1};
    EXPECT_EQ(surface->LockRect(&locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(surface->Release(), 0u);
    EXPECT_EQ(device->CreateOffscreenPlainSurface(0, 2, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &surface, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateOffscreenPlainSurface(2, 2, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &surface, nullptr),
              D3DERR_INVALIDCALL);
    ReleaseDevice(device);
}

}  // namespace
