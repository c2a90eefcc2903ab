#include "loader_fixture.h"

#include "d3d9/control.h"
#include "machine/control.h"

namespace test {

void LoaderTest::SetUp() {
    machine::control::Reset();
    d3d9::control::Reset();
    folder_.emplace(test_support::TempFolder::kEnter);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "LoaderTestWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, "LoaderTestWindow", "Loader test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
}

void LoaderTest::MakeDevice() {
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 64;
    p.BackBufferHeight = 64;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.Windowed = TRUE;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;  // a test may read what the device drew
    ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &p, &device_),
              D3D_OK);
}

void LoaderTest::TearDown() {
    if (device_) {
        EXPECT_EQ(device_->Release(), 0u) << "a texture still holds the device";
    }
    if (d3d_) d3d_->Release();
    if (window_) DestroyWindow(window_);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), 0u);
    d3d9::control::Reset();
    folder_.reset();
}

void LoaderTest::Write(const std::string& relative, const Bytes& bytes) const { folder_->AddFile(relative, bytes); }

HRESULT LoaderTest::Load(const std::string& name, IDirect3DTexture9** texture, D3DFORMAT format, UINT mipLevels,
                         DWORD filter) {
    return D3DXCreateTextureFromFileExA(device_, name.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, mipLevels, 0, format,
                                        D3DPOOL_MANAGED, filter, D3DX_DEFAULT, 0, nullptr, nullptr, texture);
}

D3DSURFACE_DESC LoaderTest::Desc(IDirect3DTexture9* texture, UINT level) {
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    return desc;
}

std::vector<uint32_t> LoaderTest::Texels(IDirect3DTexture9* texture, UINT level) {
    const D3DSURFACE_DESC desc = Desc(texture, level);
    const bool wide = desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_X8R8G8B8;
    std::vector<uint32_t> texels;
    D3DLOCKED_RECT locked{};
    if (texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) return texels;
    for (UINT y = 0; y < desc.Height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            uint32_t v = 0;
            if (wide)
                v = uint32_t(row[4 * x]) | uint32_t(row[4 * x + 1]) << 8 | uint32_t(row[4 * x + 2]) << 16 |
                    uint32_t(row[4 * x + 3]) << 24;
            else
                v = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
            texels.push_back(v);
        }
    }
    texture->UnlockRect(level);
    return texels;
}

Bytes LoaderTest::LevelBytes(IDirect3DTexture9* texture, UINT level, size_t rowBytes, UINT rows) {
    Bytes bytes;
    D3DLOCKED_RECT locked{};
    if (texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) return bytes;
    for (UINT y = 0; y < rows; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch;
        bytes.insert(bytes.end(), row, row + rowBytes);
    }
    texture->UnlockRect(level);
    return bytes;
}

}  // namespace test
