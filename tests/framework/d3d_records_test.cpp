// Material and light records, cube-face views and textures loaded through the media search.
#include "d3d_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "d3d9/control.h"
#include "machine/control.h"
#include "support/sdk_registry.h"
#include "temp_folder.h"
#include "windows.h"

namespace {

using test_support::TempFolder;

TEST(FillMaterial, SetsDiffuseAndAmbientAndClearsTheRest) {
    D3DMATERIAL9 material;
    std::memset(&material, 0x5A, sizeof(material));
    FillMaterial(material, 1, 0, 0, 1);
    D3DMATERIAL9 expected{};
    expected.Diffuse = expected.Ambient = D3DCOLORVALUE{1, 0, 0, 1};
    EXPECT_EQ(std::memcmp(&material, &expected, sizeof(material)), 0);
}

TEST(FillLight, UsesTheOneTripleAsDirectionAndPosition) {
    D3DLIGHT9 light;
    std::memset(&light, 0x5A, sizeof(light));
    FillLight(light, D3DLIGHT_DIRECTIONAL, -1, -1, 2);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_NEAR(light.Direction.x, -0.408248f, 1e-5f);
    EXPECT_NEAR(light.Direction.y, -0.408248f, 1e-5f);
    EXPECT_NEAR(light.Direction.z, 0.816497f, 1e-5f);
    D3DLIGHT9 rest = light;
    rest.Direction = D3DVECTOR{};
    D3DLIGHT9 expected{};
    expected.Type = D3DLIGHT_DIRECTIONAL;
    expected.Diffuse = D3DCOLORVALUE{1, 1, 1, 0};
    expected.Position = D3DVECTOR{-1, -1, 2};
    expected.Range = 1000.0f;
    EXPECT_EQ(std::memcmp(&rest, &expected, sizeof(rest)), 0);

    FillLight(light, D3DLIGHT_POINT, 0, 0, 0);
    EXPECT_EQ(light.Direction.x, 0.0f);
    EXPECT_EQ(light.Direction.y, 0.0f);
    EXPECT_EQ(light.Direction.z, 0.0f);
}

D3DXVECTOR3 Turned(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
    D3DXVECTOR3 out;
    D3DXVec3TransformNormal(&out, &v, &m);
    return out;
}

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6f);
    EXPECT_NEAR(a.y, b.y, 1e-6f);
    EXPECT_NEAR(a.z, b.z, 1e-6f);
}

TEST(CubeFaceViewMatrix, LooksAlongEachFaceWithItsUpVector) {
    const struct {
        D3DXVECTOR3 lookAt, up;
    } faces[6] = {
        {{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, -1}},
        {{0, -1, 0}, {0, 0, 1}}, {{0, 0, 1}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}},
    };
    for (unsigned face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        const D3DXMATRIX view = CubeFaceViewMatrix(face);
        ExpectNear(Turned(faces[face].lookAt, view), D3DXVECTOR3(0, 0, 1));
        ExpectNear(Turned(faces[face].up, view), D3DXVECTOR3(0, 1, 0));
        EXPECT_EQ(view._41, 0.0f);  // the eye is at the origin
    }
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_TRUE(CubeFaceViewMatrix(6) == identity);
}

// A working directory with a Direct3D device on a fresh machine.
class MediaTexture : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        d3d9::control::Reset();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "MediaTextureWindow";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferWidth = p.BackBufferHeight = 32;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1;
        p.SwapEffect = D3DSWAPEFFECT_DISCARD;
        p.Windowed = TRUE;
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device),
                  D3D_OK);
    }
    void TearDown() override {
        if (device) {
            EXPECT_EQ(device->Release(), 0u);
        }
        if (d3d) d3d->Release();
        DestroyWindow(window);
        d3d9::control::Reset();
    }

    // A 4 x 2 24-bit BMP, every texel the same colour.
    void WriteBmp(const std::string& name) const {
        std::vector<uint8_t> b = {'B', 'M'};
        auto put32 = [&](uint32_t v) {
            for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
        };
        put32(54 + 24), put32(0), put32(54), put32(40), put32(4), put32(2);
        b.insert(b.end(), {1, 0, 24, 0});
        for (int i = 0; i < 6; ++i) put32(0);
        for (int i = 0; i < 8; ++i) b.insert(b.end(), {0x30, 0x20, 0x10});
        std::ofstream(folder.Path() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    }

    ScopedRegistry registry;
    TempFolder folder{TempFolder::kEnter};
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};

TEST_F(MediaTexture, LoadsTheFoundFileManagedWithAFullChainInTheGivenFormat) {
    WriteBmp("tile.bmp");
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(LoadMediaTexture(device, "media/tile.bmp", &texture, D3DFMT_A8R8G8B8), D3D_OK);
    ASSERT_NE(texture, nullptr);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    texture->Release();
}

TEST_F(MediaTexture, AFailedSearchIsReturnedWithoutLoading) {
    ScopedRegistry::SetSdkPath(folder.ProgramPath() + "\\sdk");
    d3d9::control::EnableCallLog(true);
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1234);
    EXPECT_EQ(LoadMediaTexture(device, "nowhere.bmp", &texture, D3DFMT_UNKNOWN), HRESULT(0x80070002));
    EXPECT_EQ(texture, reinterpret_cast<IDirect3DTexture9*>(0x1234));
    EXPECT_TRUE(d3d9::control::CallsNamed("CreateTexture").empty());

    // Found, but not an image: the loader's own failure comes back.
    std::ofstream(folder.Path() / "notes.bmp") << "not a bitmap";
    EXPECT_EQ(LoadMediaTexture(device, "notes.bmp", &texture, D3DFMT_UNKNOWN), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, reinterpret_cast<IDirect3DTexture9*>(0x1234));
}

}  // namespace
