// Reference counts: children hold the device, bindings do not, Release answers what is left.
#include <gtest/gtest.h>

#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

TEST_F(DeviceTest, ReleaseAnswersTheReferencesLeft) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    d3d9::control::AddDeviceReferences(device, 3);
    EXPECT_EQ(device->Release(), 3u);
    EXPECT_EQ(device->Release(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, TheBackBufferHoldsTheDeviceWhileReferenced) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    IDirect3DSurface9* again = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &again), D3D_OK);
    EXPECT_EQ(again, back);
    EXPECT_EQ(again->Release(), 1u);
    // The device is still referenced by the back buffer: a leak shows in its own count.
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(back->Release(), 0u);  // ... and this was the last reference: the device is gone
    EXPECT_EQ(d3d9::control::LiveDevices().size(), 0u);
}

TEST_F(DeviceTest, ResourcesHoldTheDevice) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(16, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 5u);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
    D3DSURFACE_DESC desc{};
    level->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 8u);
    // A level's references are its texture's.
    EXPECT_EQ(level->Release(), 1u);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface, nullptr), D3D_OK);
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_TEX1, D3DPOOL_MANAGED, &buffer,
                                         nullptr),
              D3D_OK);
    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(buffer->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device);
    owner->Release();
    EXPECT_EQ(device->AddRef(), 5u);  // the test's, the texture's, the surface's, the buffer's, this one
    device->Release();
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(surface->Release(), 0u);
    EXPECT_EQ(buffer->Release(), 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, BindingsHoldNoReference) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(64, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, 16), D3D_OK);
    ASSERT_EQ(device->SetIndices(indices), D3D_OK);
    // Released while bound: the device's count drops at once.
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(indices->Release(), 0u);
    EXPECT_EQ(device->AddRef(), 2u);
    device->Release();
    // The binding still answers, and a getter hands out a reference again.
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, texture);
    EXPECT_EQ(bound->Release(), 0u);
    ASSERT_EQ(device->SetTexture(0, nullptr), D3D_OK);
    ReleaseDevice(device);  // unbinds and frees the buffers still bound
}

TEST_F(DeviceTest, ForeignObjectsCannotBeBound) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DDevice9* other = MakeDevice(test::Windowed());
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(other->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    EXPECT_EQ(device->SetTexture(0, texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTexture(8, nullptr), D3D_OK);
    EXPECT_EQ(device->SetTexture(99, nullptr), D3DERR_INVALIDCALL);
    texture->Release();
    ReleaseDevice(other);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, TheDeviceHoldsItsDirect3DObject) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    EXPECT_EQ(d3d_->Release(), 1u);
    d3d_ = nullptr;
    ReleaseDevice(device);  // the object goes with it: the fixture finds nothing left
}

}  // namespace
