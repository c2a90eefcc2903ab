// The terrain's vertex and index buffers, textures, vertex rewrite, drawing and raw height files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <fstream>
#include <memory>
#include <vector>

#include "d3d9/control.h"
#include "d3dx9.h"
#include "machine/control.h"
#include "machine/failures.h"
#include "device_fixture.h"
#include "scene_media.h"
#include "temp_folder.h"
#include "terrain.h"

namespace {

using test_support::TempFolder;

struct Vertex {
    float x, y, z, nx, ny, nz;
    uint32_t diffuse;
    float u0, v0, u1, v1;
};

class TerrainDevice : public showcase_test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        device = MakeDevice(64, 64);
    }
    void TearDown() override {
        terrain->ReleaseDeviceResources();
        DeviceTest::TearDown();
    }
    // The owner's sequence on a new device.
    HRESULT Create() {
        const HRESULT hr = terrain->CreateDeviceResources(device);
        terrain->Flatten();
        terrain->UpdateVertices(device);
        return hr;
    }
    std::vector<Vertex> Vertices() { return BufferContents<Vertex>(terrain->m_pVertexBuffer, 16641); }

    TempFolder folder{TempFolder::kEnter};
    IDirect3DDevice9* device = nullptr;
    std::unique_ptr<CTerrain> terrain = std::make_unique<CTerrain>();
};

TEST_F(TerrainDevice, FirstRewriteLaysTheFlatGridOutZMajor) {
    WriteSceneMedia("media/grass.bmp");
    WriteSceneMedia("media/shadow.bmp");
    EXPECT_EQ(Create(), D3D_OK);
    ASSERT_NE(terrain->m_pGrassTexture, nullptr);
    ASSERT_NE(terrain->m_pShadowTexture, nullptr);
    EXPECT_EQ(terrain->m_pGrassTexture->GetLevelCount(), 5u);
    const std::vector<Vertex> v = Vertices();
    ASSERT_EQ(v.size(), 16641u);
    struct Expected {
        int index;
        float x, z, u1, v1;
    };
    for (const Expected& e : {Expected{0, -64, -64, 0, 0}, Expected{128, 64, -64, 1, 0}, Expected{129, -64, -63, 0, 0.0078125f},
                              Expected{64, 0, -64, 0.5f, 0}, Expected{16640, 64, 64, 1, 1}}) {
        EXPECT_EQ(v[e.index].x, e.x) << e.index;
        EXPECT_EQ(v[e.index].y, 0.0f) << e.index;
        EXPECT_EQ(v[e.index].z, e.z) << e.index;
        EXPECT_EQ(v[e.index].u1, e.u1) << e.index;
        EXPECT_EQ(v[e.index].v1, e.v1) << e.index;
    }
    // Upright normals read the grass picture at (0.5, 1); the normalised heights start at 0: green.
    for (int i : {0, 8000, 16640}) {
        EXPECT_EQ(v[i].ny, 1.0f);
        EXPECT_EQ(v[i].u0, 0.5f);
        EXPECT_EQ(v[i].v0, 1.0f);
        EXPECT_EQ(v[i].diffuse, 0xFF00FF00u);
    }
}

TEST_F(TerrainDevice, IndicesMakeTwoTrianglesPerCell) {
    Create();
    const std::vector<uint16_t> index = BufferContents<uint16_t>(terrain->m_pIndexBuffer, 98304);
    ASSERT_EQ(index.size(), 98304u);
    EXPECT_EQ(std::vector<uint16_t>(index.begin(), index.begin() + 6), (std::vector<uint16_t>{0, 1, 130, 0, 130, 129}));
    const uint16_t v = 127 * 129 + 127;
    EXPECT_EQ(std::vector<uint16_t>(index.end() - 6, index.end()),
              (std::vector<uint16_t>{v, uint16_t(v + 1), uint16_t(v + 130), v, uint16_t(v + 130), uint16_t(v + 129)}));
}

TEST_F(TerrainDevice, VertexColourFollowsTheNormalisedHeight) {
    Create();
    terrain->m_normalised[1][0] = 0.5f;
    terrain->m_normalised[2][0] = 1.0f;
    terrain->m_normalised[3][0] = NAN;
    terrain->m_height[4][0] = 2.5f;
    terrain->UpdateVertices(device);
    const std::vector<Vertex> v = Vertices();
    EXPECT_EQ(v[1].diffuse, 0xFF7FFF7Fu);
    EXPECT_EQ(v[2].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(v[3].diffuse, 0xFF00FF00u) << "a value that is not a number reads as 0";
    EXPECT_EQ(v[4].y, 2.5f);
}

TEST_F(TerrainDevice, RefreshRewritesOnlyWhileDirty) {
    Create();
    terrain->m_height[5][0] = 1.0f;
    terrain->RefreshIfDirty(device);
    EXPECT_EQ(Vertices()[5].y, 0.0f);
    terrain->m_bDirty = true;
    terrain->RefreshIfDirty(device);
    EXPECT_EQ(Vertices()[5].y, 1.0f);
}

TEST_F(TerrainDevice, DrawBindsBothTexturesAndTheWholeGridThenUnbinds) {
    WriteSceneMedia("media/grass.bmp");
    WriteSceneMedia("media/shadow.bmp");
    Create();
    StartCallLog();
    terrain->Draw(device);
    EXPECT_EQ(d3d9::control::CallLog(),
              (std::vector<std::string>{"SetTexture(0,ptr)", "SetTexture(1,ptr)", "SetFVF(594)", "SetStreamSource(0,ptr,0,44)",
                                        "SetIndices(ptr)", "DrawIndexedPrimitive(4,0,0,16641,0,32768)",
                                        "SetTexture(0,null)", "SetTexture(1,null)"}));
}

TEST_F(TerrainDevice, MissingPicturesLeaveTheirStagesEmpty) {
    const HRESULT hr = Create();
    EXPECT_TRUE(FAILED(hr)) << "the shadow picture's result is answered";
    EXPECT_EQ(terrain->m_pGrassTexture, nullptr);
    EXPECT_EQ(terrain->m_pShadowTexture, nullptr);
    ASSERT_NE(terrain->m_pVertexBuffer, nullptr);
    StartCallLog();
    terrain->Draw(device);
    EXPECT_EQ(Calls("SetTexture(0").front(), "SetTexture(0,null)");
    EXPECT_EQ(Calls("DrawIndexedPrimitive").size(), 1u);
}

TEST_F(TerrainDevice, UpperSideShowsWithClockwiseCulling) {
    Create();
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(0, 50, 0), at(0, 0, 0), up(0, 0, 1);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 1.0f, 1.0f, 1000.0f);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    for (DWORD cull : {DWORD(D3DCULL_CW), DWORD(D3DCULL_CCW)}) {
        device->SetRenderState(D3DRS_CULLMODE, cull);
        Frame([&] { terrain->Draw(device); });
        EXPECT_EQ(Pixel(32, 32), cull == D3DCULL_CW ? 0x00FF00u : 0u) << "cull mode " << cull;
    }
}

TEST_F(TerrainDevice, ReleasingTwiceReleasesEachObjectOnce) {
    WriteSceneMedia("media/grass.bmp");
    WriteSceneMedia("media/shadow.bmp");
    Create();
    const unsigned live = d3d9::control::LiveObjectCount();
    EXPECT_EQ(terrain->ReleaseDeviceResources(), S_OK);
    const unsigned released = d3d9::control::LiveObjectCount();
    EXPECT_LT(released, live);
    EXPECT_EQ(terrain->ReleaseDeviceResources(), S_OK);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), released);
    EXPECT_EQ(terrain->m_pVertexBuffer, nullptr);
    EXPECT_EQ(terrain->m_pShadowTexture, nullptr);
    terrain->UpdateVertices(device);
    terrain->Draw(device);
}

TEST_F(TerrainDevice, ASecondCreationStartsFlatWithoutLeaking) {
    Create();
    terrain->AddHill(64, 64, 10, 5);
    terrain->Morph(0.05f);
    const unsigned live = d3d9::control::LiveObjectCount();
    Create();
    EXPECT_EQ(d3d9::control::LiveObjectCount(), live);
    EXPECT_EQ(terrain->m_height[64][64], 0.0f);
    EXPECT_EQ(terrain->m_target[64][64], 0.0f);
}

void WriteBytes(const char* name, const std::vector<unsigned char>& bytes) {
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST_F(TerrainDevice, RawHeightFileSetsEveryTarget) {
    std::vector<unsigned char> bytes(16641, 255);
    bytes[130] = 51;
    WriteBytes("heights.raw", bytes);
    terrain->LoadRaw("heights.raw", 10.0f);
    EXPECT_TRUE(terrain->m_bDirty);
    EXPECT_FLOAT_EQ(terrain->m_target[1][1], 2.0f) << "byte 130 is point [1][1]";
    EXPECT_FLOAT_EQ(terrain->m_target[128][128], 10.0f);
    EXPECT_FLOAT_EQ(terrain->m_target[0][128], 10.0f);
}

TEST_F(TerrainDevice, RawHeightFileMissingOrShort) {
    terrain->LoadRaw("none.raw", 10.0f);
    EXPECT_FALSE(terrain->m_bDirty);
    WriteBytes("short.raw", std::vector<unsigned char>(130, 255));
    terrain->LoadRaw("short.raw", 10.0f);
    EXPECT_TRUE(terrain->m_bDirty);
    EXPECT_FLOAT_EQ(terrain->m_target[0][1], 10.0f);
    EXPECT_EQ(terrain->m_target[1][1], 0.0f) << "bytes past the end of the file change nothing";
}

}  // namespace

namespace {

constexpr uint32_t kRefused = static_cast<uint32_t>(E_OUTOFMEMORY);

TEST_F(TerrainDevice, RefusedBuffersAreNeitherWrittenNorDrawn) {
    const struct {
        const char* call;
        bool vertexBuffer, indexBuffer;
    } cases[] = {{"IDirect3DDevice9::CreateVertexBuffer", false, true},
                 {"IDirect3DDevice9::CreateIndexBuffer", true, false}};
    for (const auto& c : cases) {
        machine::control::FailCall(c.call, 1, kRefused);
        Create();
        EXPECT_EQ(terrain->m_pVertexBuffer != nullptr, c.vertexBuffer) << c.call;
        EXPECT_EQ(terrain->m_pIndexBuffer != nullptr, c.indexBuffer) << c.call;
        terrain->AddHill(64, 64, 10, 5);
        terrain->Morph(0.05f);
        terrain->RefreshIfDirty(device);
        StartCallLog();
        Frame([&] { terrain->Draw(device); });
        EXPECT_TRUE(Calls("DrawIndexedPrimitive").empty()) << c.call;
        EXPECT_EQ(Calls("SetTexture(0").back(), "SetTexture(0,null)") << "stage 0 is still unbound afterwards";
        terrain->ReleaseDeviceResources();
    }
}

TEST_F(TerrainDevice, RefusedLocksLeaveTheBuffersAsTheyWere) {
    // The first lock of each buffer, at creation, is refused: nothing is written and nothing crashes.
    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 1, kRefused);
    machine::control::FailCall("IDirect3DIndexBuffer9::Lock", 1, kRefused);
    terrain->CreateDeviceResources(device);
    ASSERT_NE(terrain->m_pVertexBuffer, nullptr);
    EXPECT_EQ(Vertices()[0].ny, 0.0f) << "the refused first write left the new buffer empty";
    EXPECT_EQ(BufferContents<uint16_t>(terrain->m_pIndexBuffer, 6)[2], 0u);
    terrain->Flatten();
    terrain->m_height[3][0] = 7.0f;
    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 1, kRefused);
    terrain->UpdateVertices(device);
    EXPECT_EQ(Vertices()[3].y, 0.0f) << "a refused rewrite writes nothing";
    terrain->UpdateVertices(device);
    EXPECT_EQ(Vertices()[3].y, 7.0f);
}

}  // namespace
