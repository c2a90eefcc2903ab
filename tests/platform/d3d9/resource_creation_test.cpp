// Textures and buffers: what creation accepts, their levels, locks and descriptions.
#include <gtest/gtest.h>

#include <functional>

#include "machine/failures.h"
#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

struct ResourceCase {
    const char* name;
    std::function<HRESULT(IDirect3DDevice9*, IUnknown**)> create;
    bool succeeds;
};

HRESULT Texture(IDirect3DDevice9* d, IUnknown** out, UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT format,
                D3DPOOL pool) {
    IDirect3DTexture9* t = nullptr;
    HRESULT hr = d->CreateTexture(w, h, levels, usage, format, pool, &t, nullptr);
    *out = t;
    return hr;
}

HRESULT Vertices(IDirect3DDevice9* d, IUnknown** out, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool) {
    IDirect3DVertexBuffer9* b = nullptr;
    HRESULT hr = d->CreateVertexBuffer(length, usage, fvf, pool, &b, nullptr);
    *out = b;
    return hr;
}

HRESULT Indices(IDirect3DDevice9* d, IUnknown** out, UINT length, D3DFORMAT format, D3DPOOL pool) {
    IDirect3DIndexBuffer9* b = nullptr;
    HRESULT hr = d->CreateIndexBuffer(length, D3DUSAGE_WRITEONLY, format, pool, &b, nullptr);
    *out = b;
    return hr;
}

class ResourceCreation : public DeviceTest, public ::testing::WithParamInterface<ResourceCase> {};

TEST_P(ResourceCreation, Answer) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IUnknown* object = nullptr;
    const HRESULT hr = GetParam().create(device, &object);
    if (GetParam().succeeds) {
        EXPECT_EQ(hr, D3D_OK);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->Release(), 0u);
    } else {
        EXPECT_EQ(hr, D3DERR_INVALIDCALL);
        EXPECT_EQ(object, nullptr);
    }
    ReleaseDevice(device);
}

INSTANTIATE_TEST_SUITE_P(
    , ResourceCreation,
    ::testing::Values(
        ResourceCase{"GlyphTexture",
                     [](auto d, auto o) { return Texture(d, o, 2048, 2048, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED); },
                     true},
        ResourceCase{"TextureAboveMaxWidth",
                     [](auto d, auto o) { return Texture(d, o, 4096, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED); },
                     false},
        ResourceCase{"MoreLevelsThanTheChain",
                     [](auto d, auto o) { return Texture(d, o, 4, 4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED); }, false},
        ResourceCase{"DynamicManagedTexture",
                     [](auto d, auto o) {
                         return Texture(d, o, 4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
                     },
                     false},
        ResourceCase{"RenderTargetTexture",
                     [](auto d, auto o) {
                         return Texture(d, o, 4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
                     },
                     false},
        ResourceCase{"UnknownTextureFormat",
                     [](auto d, auto o) { return Texture(d, o, 4, 4, 1, 0, D3DFMT_A2R10G10B10, D3DPOOL_MANAGED); },
                     false},
        ResourceCase{"CompressedTexture",
                     [](auto d, auto o) { return Texture(d, o, 8, 8, 0, 0, D3DFMT_DXT5, D3DPOOL_MANAGED); }, true},
        ResourceCase{"DynamicDefaultVertexBuffer",
                     [](auto d, auto o) {
                         return Vertices(d, o, 9600, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT);
                     },
                     true},
        ResourceCase{"VertexBufferSmallerThanOneVertex",
                     [](auto d, auto o) {
                         return Vertices(d, o, 20, 0, D3DFVF_XYZ | D3DFVF_NORMAL, D3DPOOL_MANAGED);
                     },
                     false},
        ResourceCase{"EmptyVertexBuffer", [](auto d, auto o) { return Vertices(d, o, 0, 0, 0, D3DPOOL_MANAGED); },
                     false},
        ResourceCase{"ScratchVertexBuffer", [](auto d, auto o) { return Vertices(d, o, 16, 0, 0, D3DPOOL_SCRATCH); },
                     false},
        ResourceCase{"Index32Buffer",
                     [](auto d, auto o) { return Indices(d, o, 64, D3DFMT_INDEX32, D3DPOOL_MANAGED); }, true},
        ResourceCase{"IndexBufferOfAColourFormat",
                     [](auto d, auto o) { return Indices(d, o, 64, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED); }, false}),
    [](const ::testing::TestParamInfo<ResourceCase>& info) { return std::string(info.param.name); });

TEST_F(DeviceTest, TextureLevelsHalveAndLockWithTheirPitch) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(16, 4, 0, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 5u);  // 16x4, 8x2, 4x1, 2x1, 1x1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(4, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(desc.Format, D3DFMT_DXT1);
    EXPECT_EQ(texture->GetLevelDesc(5, &desc), D3DERR_INVALIDCALL);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 32);  // four blocks of eight bytes
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    RECT unaligned{2, 0, 4, 4};
    EXPECT_EQ(texture->LockRect(0, &locked, &unaligned, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->Release(), 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, BufferLocksKeepTheirContentsAndStayInside) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(144, D3DUSAGE_WRITEONLY, 0x152, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    void* bytes = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &bytes, 0), D3D_OK);
    static_cast<uint8_t*>(bytes)[143] = 9;
    buffer->Unlock();
    ASSERT_EQ(buffer->Lock(140, 4, &bytes, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(bytes)[3], 9);
    buffer->Unlock();
    EXPECT_EQ(buffer->Lock(140, 8, &bytes, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_EQ(buffer->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Size, 144u);
    EXPECT_EQ(desc.FVF, 0x152u);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(buffer->Release(), 0u);
    ReleaseDevice(device);
}

}  // namespace

namespace {

// Failures armed through the machine fall on the named call's use and on nothing else.
TEST_F(DeviceTest, InjectedFailuresFallOnBufferCreationLocksAndDraws) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    machine::control::FailCall("IDirect3DDevice9::CreateVertexBuffer", 2, static_cast<uint32_t>(E_OUTOFMEMORY));
    machine::control::FailCall("IDirect3DDevice9::CreateIndexBuffer", 1, static_cast<uint32_t>(D3DERR_OUTOFVIDEOMEMORY));
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    IDirect3DVertexBuffer9* refused = vertices;
    EXPECT_EQ(device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &refused, nullptr), E_OUTOFMEMORY);
    EXPECT_EQ(refused, nullptr) << "the out pointer is cleared";
    EXPECT_EQ(device->CreateIndexBuffer(64, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(device->CreateIndexBuffer(64, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);

    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 1, static_cast<uint32_t>(D3DERR_INVALIDCALL));
    machine::control::FailCall("IDirect3DIndexBuffer9::Lock", 1, static_cast<uint32_t>(D3DERR_WASSTILLDRAWING));
    void* data = &data;
    EXPECT_EQ(vertices->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(vertices->Unlock(), D3DERR_INVALIDCALL) << "a refused lock holds nothing";
    EXPECT_EQ(indices->Lock(0, 0, &data, 0), D3DERR_WASSTILLDRAWING);
    EXPECT_EQ(vertices->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);

    machine::control::FailCall("IDirect3DDevice9::DrawPrimitive", 1, static_cast<uint32_t>(E_FAIL));
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), E_FAIL);
    device->EndScene();
    vertices->Release();
    indices->Release();
    ReleaseDevice(device);
}

}  // namespace
