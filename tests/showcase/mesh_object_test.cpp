// The mesh objects: loading an X file with its materials, textures and normals, drawing through the
// matrix stack, and giving every device object back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "d3d9/control.h"
#include "device_fixture.h"
#include "machine/failures.h"
#include "mesh_object.h"
#include "scene_media.h"
#include "temp_folder.h"

namespace {

using test_support::TempFolder;

// One square face, given as two triangles, with the named texture (empty: none).
XMesh Square(const std::string& texture, bool withMaterial = true) {
    XMesh m;
    m.name = "Square";
    m.positions = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    if (withMaterial) {
        XMaterial material;
        material.diffuse = {0.25f, 0.5f, 0.75f, 1.0f};
        material.texture = texture;
        m.materials = {material};
        m.faceMaterials = {0, 0};
    }
    return m;
}

void WriteX(const std::string& path, const XMesh& mesh) {
    const std::string text = XFileText(mesh);
    WriteMediaFile(std::filesystem::current_path(), path, std::vector<uint8_t>(text.begin(), text.end()));
}

class MeshObjectTest : public showcase_test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        device = MakeDevice(64, 64);
        ASSERT_EQ(D3DXCreateMatrixStack(0, &stack), D3D_OK);
    }
    void TearDown() override {
        for (CMeshObject* o : {&a, &b}) o->ReleaseDeviceResources();
        if (stack) stack->Release();
        DeviceTest::TearDown();
    }
    static bool Same(const D3DXMATRIX& x, const D3DXMATRIX& y, float tolerance = 1e-5f) {
        for (int i = 0; i < 16; ++i)
            if (std::fabs(x.m[i / 4][i % 4] - y.m[i / 4][i % 4]) > tolerance) return false;
        return true;
    }

    TempFolder folder{TempFolder::kEnter};
    IDirect3DDevice9* device = nullptr;
    ID3DXMatrixStack* stack = nullptr;
    CMeshObject a, b;
};

TEST_F(MeshObjectTest, StartsEmptyAtTheOriginUnscaled) {
    EXPECT_EQ(a.m_pMesh, nullptr);
    EXPECT_EQ(a.m_numMaterials, 0u);
    EXPECT_EQ(a.m_scale.x, 1.0f);
    EXPECT_EQ(a.m_scale.z, 1.0f);
    EXPECT_EQ(a.m_position.y, 0.0f);
}

TEST_F(MeshObjectTest, CubeWithoutNormalsGetsComputedOnes) {
    WriteSceneMedia("media/cube.x");
    ASSERT_EQ(a.Load(device, "media/cube.x"), 0);
    ASSERT_NE(a.m_pMesh, nullptr);
    EXPECT_EQ(a.m_pMesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    EXPECT_EQ(a.m_pMesh->GetOptions() & D3DXMESH_32BIT, 0u) << "16-bit indices stay 16-bit";
    EXPECT_EQ(a.m_pMesh->GetOptions() & D3DXMESH_MANAGED, DWORD(D3DXMESH_MANAGED));
    ASSERT_EQ(a.m_numMaterials, 1u);
    EXPECT_EQ(std::memcmp(&a.m_pMaterials[0].Ambient, &a.m_pMaterials[0].Diffuse, sizeof(D3DCOLORVALUE)), 0);
    EXPECT_FLOAT_EQ(a.m_pMaterials[0].Diffuse.g, 0.9f);
    EXPECT_NEAR(a.m_boundingRadius, std::sqrt(3.0f), 1e-4f);
    // Every normal is a unit vector.
    void* data = nullptr;
    ASSERT_EQ(a.m_pMesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    const float* v = static_cast<const float*>(data);
    for (DWORD i = 0; i < a.m_pMesh->GetNumVertices(); ++i, v += 6)
        EXPECT_NEAR(v[3] * v[3] + v[4] * v[4] + v[5] * v[5], 1.0f, 1e-4f) << i;
    a.m_pMesh->UnlockVertexBuffer();
}

TEST_F(MeshObjectTest, SphereWithNormalsIsUsedAsLoaded) {
    WriteSceneMedia("media/sphere.x");
    ASSERT_EQ(a.Load(device, "media/sphere.x"), 0);
    EXPECT_TRUE(a.m_pMesh->GetFVF() & D3DFVF_NORMAL);
    EXPECT_EQ(a.m_numMaterials, 2u);
    for (DWORD i = 0; i < a.m_numMaterials; ++i)
        EXPECT_EQ(std::memcmp(&a.m_pMaterials[i].Ambient, &a.m_pMaterials[i].Diffuse, sizeof(D3DCOLORVALUE)), 0);
    EXPECT_NEAR(a.m_boundingRadius, 0.5f, 1e-3f);
}

TEST_F(MeshObjectTest, TexturesAreFoundByTheMediaSearchOrLeftUnbound) {
    WriteSceneMedia("media/tile.bmp");
    std::filesystem::copy_file("media/tile.bmp", "bare.bmp");
    WriteX("found.x", Square("media/tile.bmp"));
    WriteX("fallback.x", Square("elsewhere/bare.bmp"));
    WriteX("missing.x", Square("nowhere.bmp"));
    ASSERT_EQ(a.Load(device, "found.x"), 0);
    EXPECT_NE(a.m_ppTextures[0], nullptr);
    ASSERT_EQ(b.Load(device, "fallback.x"), 0);
    EXPECT_NE(b.m_ppTextures[0], nullptr) << "the bare name in the working directory";
    ASSERT_EQ(b.Load(device, "missing.x"), 0);
    EXPECT_EQ(b.m_ppTextures[0], nullptr);
    StartCallLog();
    b.Draw(device, stack, true);
    EXPECT_EQ(Calls("SetTexture"), std::vector<std::string>{"SetTexture(0,null)"});
    EXPECT_EQ(Calls("DrawIndexedPrimitive").size(), 1u);
}

TEST_F(MeshObjectTest, MissingFileLeavesItEmptyButDrawStillPlacesIt) {
    EXPECT_EQ(a.Load(device, "media/cube.x"), 1);
    EXPECT_EQ(a.m_pMesh, nullptr);
    EXPECT_EQ(a.m_numMaterials, 0u);
    const D3DXMATRIX before = *stack->GetTop();
    StartCallLog();
    EXPECT_EQ(a.Draw(device, stack, true), S_OK);
    EXPECT_EQ(Calls("SetTransform(256)").size(), 5u);
    EXPECT_TRUE(Calls("DrawIndexedPrimitive").empty());
    EXPECT_TRUE(Same(*stack->GetTop(), before));
    a.Draw(device, stack, false);
    EXPECT_TRUE(Same(*stack->GetTop(), before)) << "nothing placed: the pushed copy";
    EXPECT_EQ(stack->Pop(), D3D_OK) << "but it was pushed";
}

TEST_F(MeshObjectTest, WithoutMaterialsTheMeshStaysWithoutNormals) {
    WriteX("plain.x", Square("", false));
    EXPECT_EQ(a.Load(device, "plain.x"), 1);
    ASSERT_NE(a.m_pMesh, nullptr);
    EXPECT_EQ(a.m_numMaterials, 0u);
    EXPECT_FALSE(a.m_pMesh->GetFVF() & D3DFVF_NORMAL);
}

TEST_F(MeshObjectTest, PlacementTranslatesTurnsAndScalesLast) {
    a.m_position = CVector3(1, 0, 0);
    a.m_scale = CVector3(2, 2, 2);
    a.Draw(device, stack, false);
    const D3DXMATRIX top = *stack->GetTop();
    EXPECT_FLOAT_EQ(top._41, 2.0f) << "the scale acts on the position too";
    EXPECT_FLOAT_EQ(top._11, 2.0f);
    EXPECT_TRUE(Same(Transform(D3DTS_WORLD), top));
    stack->Pop();

    const struct {
        float yaw, pitch;
    } turns[] = {{0.7f, 0}, {0, -1.1f}, {0.3f, 0.4f}};
    for (const auto& t : turns) {
        a.m_position = CVector3(0, 0, 0);
        a.m_scale = CVector3(1, 1, 1);
        a.m_rotation = CVector3(t.yaw, t.pitch, 0);
        a.Draw(device, stack, false);
        D3DXMATRIX expected;
        D3DXMatrixRotationYawPitchRoll(&expected, t.yaw, t.pitch, 0);
        EXPECT_TRUE(Same(*stack->GetTop(), expected)) << t.yaw << " " << t.pitch;
        stack->Pop();
    }
}

TEST_F(MeshObjectTest, ChildDrawnWithPopLandsInTheParentsSpace) {
    a.m_position = CVector3(6, 0, 0);
    a.m_rotation = CVector3(0.5f, 0, 0);
    b.m_position = CVector3(0, 2, 0);
    a.Draw(device, stack, false);
    const D3DXMATRIX parent = *stack->GetTop();
    b.Draw(device, stack, true);
    EXPECT_TRUE(Same(*stack->GetTop(), parent)) << "after the pop the parent's matrix is on top";
    EXPECT_TRUE(Same(Transform(D3DTS_WORLD), parent));
    // Without the pop the child's matrix shows: its own placement, then the parent's.
    b.Draw(device, stack, false);
    D3DXMATRIX own, expected;
    D3DXMatrixTranslation(&own, 0, 2, 0);
    D3DXMatrixMultiply(&expected, &own, &parent);
    EXPECT_TRUE(Same(*stack->GetTop(), expected));
    EXPECT_TRUE(Same(Transform(D3DTS_WORLD), expected));
    stack->Pop();
    stack->Pop();
}

TEST_F(MeshObjectTest, ReloadAndReleaseGiveEveryReferenceBack) {
    WriteSceneMedia("media/tile.bmp");
    WriteX("textured.x", Square("media/tile.bmp"));
    const unsigned empty = d3d9::control::LiveObjectCount();
    ASSERT_EQ(a.Load(device, "textured.x"), 0);
    const unsigned loaded = d3d9::control::LiveObjectCount();
    ASSERT_EQ(a.Load(device, "textured.x"), 0);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), loaded) << "a second load releases the first";
    EXPECT_EQ(a.ReleaseDeviceResources(), S_OK);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), empty);
    EXPECT_EQ(a.m_pMesh, nullptr);
    EXPECT_EQ(a.m_ppTextures, nullptr);
    EXPECT_EQ(a.m_numMaterials, 0u);
    EXPECT_EQ(a.m_scale.x, 1.0f);
}

TEST_F(MeshObjectTest, CubeDrawsItsFacesLit) {
    WriteSceneMedia("media/cube.x");
    ASSERT_EQ(a.Load(device, "media/cube.x"), 0);
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    Frame([&] { a.Draw(device, stack, true); });
    // Lit by the ambient term alone, the front face shows its material's colour (ambient = diffuse).
    const uint32_t centre = Pixel(32, 32);
    EXPECT_NEAR(double((centre >> 8) & 0xFF), 0.9 * 255, 3.0);
    EXPECT_NEAR(double((centre >> 16) & 0xFF), 0.2 * 255, 3.0);
    EXPECT_EQ(Pixel(1, 1), 0u);
}

}  // namespace

namespace {

TEST_F(MeshObjectTest, UnreadableVerticesKeepTheMeshWithoutNormals) {
    WriteSceneMedia("media/cube.x");
    // The loader fills its vertex buffer with the first lock; the bounding sphere's is the second.
    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 2, static_cast<uint32_t>(D3DERR_INVALIDCALL));
    EXPECT_EQ(a.Load(device, "media/cube.x"), 1);
    EXPECT_TRUE(machine::control::InjectedFailures().front().fired);
    ASSERT_NE(a.m_pMesh, nullptr);
    EXPECT_FALSE(a.m_pMesh->GetFVF() & D3DFVF_NORMAL) << "no normals added";
    EXPECT_EQ(a.m_numMaterials, 1u) << "the materials stay and are drawn";
    StartCallLog();
    a.Draw(device, stack, true);
    EXPECT_EQ(Calls("DrawIndexedPrimitive").size(), 1u);
}

}  // namespace
