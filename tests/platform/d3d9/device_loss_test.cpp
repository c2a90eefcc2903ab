// The loss states and the rules of Reset.
#include <gtest/gtest.h>

#include "machine/control.h"
#include "machine/machine.h"
#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

TEST_F(DeviceTest, LostThenResettableThenResetToOperational) {
    D3DPRESENT_PARAMETERS params = test::WithDepth(test::Windowed());
    IDirect3DDevice9* device = MakeDevice(params);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    d3d9::control::LoseDevices();
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&params), D3DERR_DEVICELOST);  // not yet resettable
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    d3d9::control::RestoreDevices();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(d3d9::control::DeviceResets(), 1u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ALossCanEndAfterSomeTests) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    d3d9::control::LoseDevices(2);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ResetIsRefusedWhileDefaultPoolResourcesLive) {
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DDevice9* device = MakeDevice(params);
    IDirect3DVertexBuffer9* dynamic = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(9600, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &dynamic,
                                         nullptr),
              D3D_OK);
    IDirect3DVertexBuffer9* managed = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(16, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &managed, nullptr), D3D_OK);
    void* bytes = nullptr;
    ASSERT_EQ(managed->Lock(0, 0, &bytes, 0), D3D_OK);
    static_cast<uint8_t*>(bytes)[5] = 77;
    managed->Unlock();

    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    // A refused Reset leaves the device to be reset again.
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(dynamic->Release(), 0u);
    EXPECT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    // The managed buffer survived with its contents.
    ASSERT_EQ(managed->Lock(0, 0, &bytes, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(bytes)[5], 77);
    managed->Unlock();
    EXPECT_EQ(managed->Release(), 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, AHeldBackBufferRefusesReset) {
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DDevice9* device = MakeDevice(params);
    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    back->Release();
    EXPECT_EQ(device->Reset(&params), D3D_OK);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, ResetTakesTheNewSizeAndValidatesLikeCreation) {
    D3DPRESENT_PARAMETERS params = test::Windowed(320, 240);
    IDirect3DDevice9* device = MakeDevice(params);
    D3DPRESENT_PARAMETERS bad = test::Windowed(320, 240);
    bad.PresentationInterval = D3DPRESENT_INTERVAL_FOUR;
    EXPECT_EQ(device->Reset(&bad), D3DERR_INVALIDCALL);
    params = test::Windowed(1024, 700);
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 1024u);
    EXPECT_EQ(desc.Height, 700u);
    back->Release();
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 1024u);
    EXPECT_EQ(viewport.Height, 700u);
    EXPECT_EQ(d3d9::control::LastDevice().width, 1024u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, AScriptedResetFailureCanLoseTheDeviceAgain) {
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DDevice9* device = MakeDevice(params);
    d3d9::control::FailNextReset(D3DERR_DEVICELOST, true);
    EXPECT_EQ(device->Reset(&params), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    d3d9::control::RestoreDevices();
    d3d9::control::FailNextReset(D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device->Reset(&params), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device->Reset(&params), D3D_OK);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, TheInputScriptLosesAndRestoresTheDevice) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("0 device lose\n5 device restore\n", error)) << error;
    machine::InputEvent event;
    EXPECT_FALSE(machine::TakeDueInput(event));  // taken by the device, not handed to the window manager
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    // While lost no frame is presented: waiting on the device lets the next event come due.
    EXPECT_FALSE(machine::TakeDueInput(event));
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ReleaseDevice(device);
    EXPECT_FALSE(machine::control::LoadInputScript("0 device wobble\n", error));
}

TEST_F(DeviceTest, ALossFromTheScriptEndsWithTheScript) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("0 device lose\n9 key F2 press\n", error)) << error;
    machine::InputEvent event;
    EXPECT_FALSE(machine::TakeDueInput(event));
    // The key press comes due while the program waits; then nothing is left, and the device comes back.
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    while (machine::TakeDueInput(event)) {
    }
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);  // the key's release, one frame later
    while (machine::TakeDueInput(event)) {
    }
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ReleaseDevice(device);
}

}  // namespace
