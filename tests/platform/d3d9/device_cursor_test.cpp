// The device cursor: the image is copied, and drawn over each presented frame while shown.
#include <gtest/gtest.h>

#include "support/device_fixture.h"

namespace {

using test::DeviceTest;
using test::FramePixel;

// A 4 x 4 A8R8G8B8 scratch surface: opaque white with a transparent left column.
IDirect3DSurface9* MakeCursorImage(IDirect3DDevice9* device) {
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &surface, nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                x == 0 ? 0x00FF0000u : 0xFFFFFFFFu;
    surface->UnlockRect();
    return surface;
}

TEST_F(DeviceTest, TheCursorImageIsCopiedAndNoReferenceKept) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DSurface9* image = MakeCursorImage(device);
    ASSERT_EQ(device->SetCursorProperties(1, 2, image), D3D_OK);
    EXPECT_EQ(image->Release(), 0u);
    EXPECT_EQ(device->AddRef(), 2u);  // the cursor holds nothing
    device->Release();
    const d3d9::control::CursorRecord cursor = d3d9::control::DeviceCursor(device);
    EXPECT_TRUE(cursor.set);
    EXPECT_EQ(cursor.hotSpotX, 1u);
    EXPECT_EQ(cursor.hotSpotY, 2u);
    ASSERT_EQ(cursor.pixels.size(), 16u);
    EXPECT_EQ(cursor.pixels[0], 0x00FF0000u);
    EXPECT_EQ(cursor.pixels[5], 0xFFFFFFFFu);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, TheCursorMustBeAnA8R8G8B8ImageWithItsHotSpotOnIt) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DSurface9* image = MakeCursorImage(device);
    EXPECT_EQ(device->SetCursorProperties(4, 0, image), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetCursorProperties(0, 0, nullptr), D3DERR_INVALIDCALL);
    image->Release();
    IDirect3DSurface9* wrong = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_SCRATCH, &wrong, nullptr), D3D_OK);
    EXPECT_EQ(device->SetCursorProperties(0, 0, wrong), D3DERR_INVALIDCALL);
    wrong->Release();
    ReleaseDevice(device);
}

TEST_F(DeviceTest, TheShownCursorIsDrawnOverThePresentedFrame) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed(0, 0));
    IDirect3DSurface9* image = MakeCursorImage(device);
    ASSERT_EQ(device->SetCursorProperties(1, 1, image), D3D_OK);
    image->Release();
    // Windowed, the position is on the screen: put the hot spot on client pixel (20, 10).
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    device->SetCursorPosition(origin.x + 20, origin.y + 10, 0);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0), D3D_OK);

    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(FramePixel(20, 10), 0x000040u);  // not shown yet

    EXPECT_EQ(device->ShowCursor(TRUE), FALSE);
    EXPECT_EQ(device->ShowCursor(TRUE), TRUE);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(FramePixel(20, 10), 0xFFFFFFu);  // the hot spot
    EXPECT_EQ(FramePixel(21, 11), 0xFFFFFFu);
    EXPECT_EQ(FramePixel(19, 10), 0x000040u);  // the transparent column
    EXPECT_EQ(FramePixel(23, 10), 0x000040u);  // beyond the image

    EXPECT_EQ(device->ShowCursor(FALSE), TRUE);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(FramePixel(20, 10), 0x000040u);
    ReleaseDevice(device);
}

}  // namespace
