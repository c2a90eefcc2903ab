// Full screen: the display's mode, the window covering it, and the desktop mode put back.
#include <gtest/gtest.h>

#include <algorithm>

#include "machine/machine.h"
#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

bool Received(UINT message) {
    const auto& m = DeviceTest::Messages();
    return std::find(m.begin(), m.end(), message) != m.end();
}

TEST_F(DeviceTest, AFullScreenDeviceSwitchesTheDisplayAndCoversIt) {
    SetWindowLongA(window_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    Messages().clear();
    IDirect3DDevice9* device = MakeDevice(test::FullScreen(800, 600));
    ASSERT_NE(device, nullptr);
    const machine::DisplayMode mode = machine::CurrentDisplayMode();
    EXPECT_EQ(mode.width, 800u);
    EXPECT_EQ(mode.height, 600u);
    EXPECT_EQ(mode.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d3d9::control::DisplayModeChanges(), 1u);
    // The window was sized before creation returned.
    EXPECT_TRUE(Received(WM_SIZE));
    RECT rect{};
    GetWindowRect(window_, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 800);
    EXPECT_EQ(rect.bottom, 600);
    D3DDISPLAYMODE current{};
    d3d_->GetAdapterDisplayMode(0, &current);
    EXPECT_EQ(current.Width, 800u);
    // Full screen, the frame is the display.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(1, 2, 3), 1.0f, 0);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(machine::LastFrame()->width, 800u);
    EXPECT_EQ(test::FramePixel(799, 599), 0x010203u);

    ReleaseDevice(device);
    EXPECT_EQ(machine::CurrentDisplayMode().width, machine::DesktopMode().width);
    EXPECT_EQ(d3d9::control::DisplayModeChanges(), 2u);
}

TEST_F(DeviceTest, ResetToWindowedRestoresTheDesktopMode) {
    D3DPRESENT_PARAMETERS params = test::FullScreen(640, 480, D3DFMT_R5G6B5);
    params.FullScreen_RefreshRateInHz = 75;
    IDirect3DDevice9* device = MakeDevice(params);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(machine::CurrentDisplayMode().format, D3DFMT_R5G6B5);
    EXPECT_EQ(machine::CurrentDisplayMode().refreshRate, 75u);
    D3DPRESENT_PARAMETERS windowed = test::Windowed(400, 300);
    ASSERT_EQ(device->Reset(&windowed), D3D_OK);
    EXPECT_EQ(machine::CurrentDisplayMode().width, machine::DesktopMode().width);
    EXPECT_EQ(machine::CurrentDisplayMode().format, machine::DesktopMode().format);
    EXPECT_EQ(d3d9::control::DisplayModeChanges(), 2u);
    // And back to full screen by Reset.
    params = test::FullScreen(1024, 768);
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(machine::CurrentDisplayMode().width, 1024u);
    EXPECT_EQ(params.FullScreen_RefreshRateInHz, 0u);
    EXPECT_FALSE(d3d9::control::LastDevice().windowed);
    ReleaseDevice(device);
    EXPECT_EQ(machine::CurrentDisplayMode().width, machine::DesktopMode().width);
}

TEST_F(DeviceTest, FullScreenIntervalsGoUpToFour) {
    D3DPRESENT_PARAMETERS params = test::FullScreen(800, 600);
    params.PresentationInterval = D3DPRESENT_INTERVAL_FOUR;
    IDirect3DDevice9* device = MakeDevice(params);
    EXPECT_EQ(d3d9::control::LastDevice().presentInterval, "FOUR");
    ReleaseDevice(device);
}

}  // namespace
