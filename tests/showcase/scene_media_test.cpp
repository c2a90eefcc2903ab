// The media generator's textures load through the utility library as the scenes load them.
#include <gtest/gtest.h>

#include "d3dx9.h"
#include "device_fixture.h"
#include "scene_media.h"
#include "temp_folder.h"

namespace {

using test_support::TempFolder;

using SceneMedia = showcase_test::DeviceTest;

uint32_t Texel(IDirect3DTexture9* texture, UINT level, UINT x, UINT y) {
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY))) return 0xDEADBEEF;
    uint32_t texel = 0;
    std::memcpy(&texel, static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch + x * 4, 4);
    texture->UnlockRect(level);
    return texel;
}

TEST_F(SceneMedia, PicturesLoadUnderTheProgramsNames) {
    TempFolder folder{TempFolder::kEnter};
    IDirect3DDevice9* device = MakeDevice();
    for (const char* file : {"media/tile.bmp", "media/grass.bmp", "media/shadow.bmp"}) WriteSceneMedia(file);
    for (const char* name : {"media/tile.bmp", "Media/grass.bmp", "Media/shadow.bmp"}) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileExA(device, name, D3DX_DEFAULT, D3DX_DEFAULT, 5, 0, D3DFMT_UNKNOWN,
                                               D3DPOOL_MANAGED, D3DX_FILTER_POINT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                               &texture),
                  D3D_OK)
            << name;
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(0, &desc);
        EXPECT_EQ(desc.Width, 64u) << name;
        EXPECT_EQ(texture->GetLevelCount(), 5u) << name;
        texture->Release();
    }
    // Flat ground samples the bottom of the grass ramp: green.
    IDirect3DTexture9* grass = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, "Media/grass.bmp", &grass), D3D_OK);
    const uint32_t flat = Texel(grass, 0, 32, 63);
    EXPECT_GT((flat >> 8) & 0xFF, ((flat >> 16) & 0xFF) + 40);
    grass->Release();
}

TEST_F(SceneMedia, CursorArrowKeysOutItsBlackAndKeepsItsLevels) {
    TempFolder folder{TempFolder::kEnter};
    IDirect3DDevice9* device = MakeDevice();
    WriteSceneMedia("media/cursor.dds");
    IDirect3DTexture9* cursor = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, "Media\\cursor.dds", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, 0xFF000000,
                                           nullptr, nullptr, &cursor),
              D3D_OK);
    EXPECT_EQ(cursor->GetLevelCount(), 6u);
    EXPECT_EQ(Texel(cursor, 0, 0, 0) >> 24, 0xFFu) << "the tip, the hot spot, is opaque";
    EXPECT_EQ(Texel(cursor, 0, 4, 10), 0xFFFFFFFFu) << "white inside";
    EXPECT_EQ(Texel(cursor, 0, 28, 4), 0x00000000u) << "the black around it is keyed out";
    EXPECT_EQ(Texel(cursor, 0, 31, 31), 0x00000000u);
    cursor->Release();
}

}  // namespace
