// CXMesh: loading from a file and from a parser's data object, the two passes, restoring after a
// device reset, releasing, and the guards of the failure cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d3d9/control.h"
#include "image_builders.h"
#include "support/mesh_file_fixture.h"
#include "x_mesh.h"

namespace meshfile_test {
namespace {

// Three unit squares side by side (x -2, 0, 2) whose faces take materials 2, 1, 0: material 0 red with
// alpha 1.0 and a texture, 1 green with alpha 0.5 and a texture file that does not exist, 2 blue with
// alpha 1.2 and no texture.
// The colours are emissive (and diffuse) so they show without lights.
std::string ThreeSquares(const std::string& name = "Squares") {
    std::string text = "xof 0302txt 0032\nMesh " + name + " {\n  12;\n";
    for (int s = 0; s < 3; ++s) {
        const float x = float(2 * s - 2);
        for (const auto& [dx, dy] : {std::pair{-0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}})
            text += "  " + std::to_string(x + dx) + ";" + std::to_string(dy) + ";0;" + (s == 2 && dx > 0 && dy < 0 ? ";" : ",") + "\n";
    }
    text += "  3; 4;0,1,2,3;, 4;4,5,6,7;, 4;8,9,10,11;;\n";
    text += "  MeshMaterialList { 3; 3; 2, 1, 0;;\n";
    text += "    Material { 1;0;0;1.0;; 0; 0;0;0;; 1;0;0;; TextureFilename { \"tex\\\\checker.bmp\"; } }\n";
    text += "    Material { 0;1;0;0.5;; 0; 0;0;0;; 0;1;0;; TextureFilename { \"tex/missing.bmp\"; } }\n";
    text += "    Material { 0;0;1;1.2;; 0; 0;0;0;; 0;0;1;; }\n";
    text += "  }\n}\n";
    return text;
}

class XMeshTest : public MeshFileTest {
protected:
    void SetUp() override {
        MeshFileTest::SetUp();
        test::BmpSpec checker;
        checker.width = checker.height = 2;
        checker.texels = {0xFFFFFF, 0xFFFF80, 0xFFFF80, 0xFFFFFF};
        const test::Bytes bmp = test::MakeBmp(checker);
        WriteFile("tex/checker.bmp", std::vector<uint8_t>(bmp.begin(), bmp.end()));
        WriteFile("squares.x", ThreeSquares());
    }
};

TEST_F(XMeshTest, LoadsFromAFileWithItsMaterialsAndTheTexturesItFinds) {
    CXMesh mesh("Squares");
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
    ASSERT_NE(mesh.SystemMemoryMesh(), nullptr);
    EXPECT_EQ(mesh.SystemMemoryMesh()->GetOptions() & D3DXMESH_SYSTEMMEM, DWORD(D3DXMESH_SYSTEMMEM));
    EXPECT_EQ(mesh.DeviceMesh(), nullptr);
    ASSERT_EQ(mesh.MaterialCount(), 3u);
    EXPECT_FLOAT_EQ(mesh.Materials()[1].Diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(mesh.Materials()[2].Emissive.b, 1.0f);
    EXPECT_EQ(mesh.Materials()[0].Ambient.r, 0.0f);  // as the loader gives it
    EXPECT_NE(mesh.Textures()[0], nullptr);          // found, with the separator written either way
    EXPECT_EQ(mesh.Textures()[1], nullptr);          // missing
    EXPECT_EQ(mesh.Textures()[2], nullptr);          // none named
    // Optimised: faces sorted by material, one range each.
    DWORD entries = 0;
    ASSERT_EQ(mesh.SystemMemoryMesh()->GetAttributeTable(nullptr, &entries), S_OK);
    EXPECT_EQ(entries, 3u);

    CXMesh missing("none");
    EXPECT_EQ(missing.LoadFromFile(device_, "none.x"), DXFILEERR_FILENOTFOUND);
    EXPECT_EQ(missing.SystemMemoryMesh(), nullptr);
    EXPECT_EQ(missing.MaterialCount(), 0u);
    mesh.ReleaseAll();
}

TEST_F(XMeshTest, LoadsFromAMeshDataObjectAndKeepsTheLoadersFailure) {
    WriteFile("two.x", ThreeSquares("Good") + "Mesh Bad { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,7;; }\n");
    IDirectXFile* parser = nullptr;
    ASSERT_EQ(DirectXFileCreate(&parser), S_OK);
    ASSERT_EQ(parser->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES), S_OK);
    IDirectXFileEnumObject* objects = nullptr;
    ASSERT_EQ(parser->CreateEnumObject(const_cast<char*>("two.x"), DXFILELOAD_FROMFILE, &objects), S_OK);
    IDirectXFileData* good = nullptr;
    IDirectXFileData* bad = nullptr;
    ASSERT_EQ(objects->GetNextDataObject(&good), S_OK);
    ASSERT_EQ(objects->GetNextDataObject(&bad), S_OK);
    CXMesh mesh("Good");
    ASSERT_EQ(mesh.LoadFromData(device_, good), S_OK);
    EXPECT_EQ(mesh.MaterialCount(), 3u);
    // Loading again releases what the mesh held first; the device's count at the end shows nothing leaked.
    EXPECT_EQ(mesh.LoadFromData(device_, bad), D3DXERR_INVALIDDATA);
    EXPECT_EQ(mesh.SystemMemoryMesh(), nullptr);
    EXPECT_EQ(mesh.MaterialCount(), 0u);
    EXPECT_EQ(mesh.DrawSubsets(device_, true, true), E_FAIL);
    good->Release();
    bad->Release();
    objects->Release();
    parser->Release();
}

// Alpha 1.0 draws in the opaque pass only, 0.5 in the alpha pass only, 1.2 in both.
TEST_F(XMeshTest, DrawsEachSubsetInThePassesItsAlphaAsksFor) {
    CXMesh mesh("Squares");
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
    ASSERT_EQ(device_->BeginScene(), S_OK);
    DrawnStartIndices();
    EXPECT_EQ(mesh.DrawSubsets(device_, true, true), E_FAIL);  // not restored yet
    EXPECT_TRUE(DrawnStartIndices().empty());
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    struct Case {
        bool opaque, alpha;
        std::vector<unsigned> starts;  // subset i starts at index 6 i
    };
    const Case cases[] = {
        {true, false, {0, 12}},
        {false, true, {6, 12}},
        {true, true, {0, 12, 6, 12}},
        {false, false, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mesh.DrawSubsets(device_, c.opaque, c.alpha), S_OK);
        EXPECT_EQ(DrawnStartIndices(), c.starts) << c.opaque << c.alpha;
    }
    // Each draw had its material and texture set: stage 0 unbound for the subsets without one.
    mesh.DrawSubsets(device_, false, true);
    const std::vector<std::string> textures = d3d9::control::CallsNamed("SetTexture");
    EXPECT_EQ(textures, (std::vector<std::string>{"SetTexture(0,null)", "SetTexture(0,null)"}));
    EXPECT_EQ(d3d9::control::CallsNamed("SetMaterial").size(), 2u);
    device_->EndScene();
    mesh.ReleaseAll();
}

TEST_F(XMeshTest, TwoPassDrawMatchesItsGoldenImage) {
    CXMesh mesh("Squares");
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    UseFlatCamera();
    Frame(0xFF404040, [&] {
        mesh.DrawSubsets(device_, true, false);
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        mesh.DrawSubsets(device_, false, true);
    });
    ExpectGolden("xmesh_two_passes");
    // Green at half alpha over the grey background; blue, drawn in both passes, stays blue.
    const uint32_t green = Pixel(32, 32);
    EXPECT_NEAR(int((green >> 8) & 0xFF), (255 + 0x40) / 2, 2);
    EXPECT_NEAR(int((green >> 16) & 0xFF), 0x40 / 2, 2);
    EXPECT_EQ(Pixel(16, 32), 0xFF0000FFu);
    mesh.ReleaseAll();
}

TEST_F(XMeshTest, RestoresAfterAResetWithoutTheFile) {
    CXMesh mesh("Squares");
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    // Twice: the first device mesh is released, not leaked.
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    ASSERT_NE(mesh.DeviceMesh(), nullptr);
    EXPECT_EQ(mesh.DeviceMesh()->GetOptions(), 0u);  // the default pool
    std::filesystem::remove("squares.x");
    ASSERT_EQ(mesh.ReleaseVolatileResources(), S_OK);
    EXPECT_EQ(mesh.DeviceMesh(), nullptr);
    D3DPRESENT_PARAMETERS params = test::WithDepth(test::Windowed(test::kDrawWidth, test::kDrawHeight));
    params.Flags |= D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    ASSERT_EQ(device_->BeginScene(), S_OK);
    DrawnStartIndices();
    EXPECT_EQ(mesh.DrawSubsets(device_, true, false), S_OK);
    EXPECT_EQ(DrawnStartIndices().size(), 2u);
    device_->EndScene();
    mesh.ReleaseAll();
}

TEST_F(XMeshTest, ReleaseAllEmptiesAndKeepsTheName) {
    CXMesh never(std::string(600, 'n').c_str());
    EXPECT_EQ(std::string(never.Name()), std::string(511, 'n'));
    EXPECT_EQ(never.ReleaseAll(), S_OK);
    EXPECT_EQ(never.ReleaseAll(), S_OK);
    EXPECT_EQ(never.CreateVolatileResources(device_), E_FAIL);

    CXMesh mesh("Squares");
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    EXPECT_EQ(mesh.ReleaseAll(), S_OK);
    EXPECT_EQ(mesh.SystemMemoryMesh(), nullptr);
    EXPECT_EQ(mesh.DeviceMesh(), nullptr);
    EXPECT_EQ(mesh.MaterialCount(), 0u);
    EXPECT_STREQ(mesh.Name(), "Squares");
    // And it loads again.
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
}

TEST_F(XMeshTest, SetVertexFormatGivesBothMeshesNormalsOrChangesNothing) {
    CXMesh mesh("Squares");
    ASSERT_EQ(mesh.LoadFromFile(device_, "squares.x"), S_OK);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    ID3DXMesh* system = mesh.SystemMemoryMesh();
    ID3DXMesh* onDevice = mesh.DeviceMesh();
    EXPECT_EQ(mesh.SetVertexFormat(device_, D3DFVF_NORMAL), E_FAIL);  // no position: no clone
    EXPECT_EQ(mesh.SystemMemoryMesh(), system);
    EXPECT_EQ(mesh.DeviceMesh(), onDevice);
    ASSERT_EQ(mesh.SetVertexFormat(device_, D3DFVF_XYZ | D3DFVF_NORMAL), S_OK);
    for (ID3DXMesh* m : {mesh.SystemMemoryMesh(), mesh.DeviceMesh()}) {
        ASSERT_EQ(m->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
        const float* v = nullptr;
        ASSERT_EQ(m->LockVertexBuffer(D3DLOCK_READONLY, (void**)&v), S_OK);
        EXPECT_FLOAT_EQ(std::abs(v[5]), 1.0f);  // the squares lie in z = 0
        m->UnlockVertexBuffer();
    }
    EXPECT_EQ(mesh.SystemMemoryMesh()->GetOptions() & D3DXMESH_SYSTEMMEM, DWORD(D3DXMESH_SYSTEMMEM));
    EXPECT_EQ(mesh.DeviceMesh()->GetOptions(), 0u);
    mesh.ReleaseAll();
}

// A mesh of more vertices than 16-bit indices reach keeps 32-bit indices in its device copy, so it
// restores instead of silently never drawing.
TEST_F(XMeshTest, AMeshWith32BitIndicesRestores) {
    const int squares = 17000;  // 68,000 vertices
    std::string text = "xof 0302txt 0032\nMesh Big {\n" + std::to_string(4 * squares) + ";\n";
    for (int s = 0; s < squares; ++s)
        for (int k = 0; k < 4; ++k)
            text += std::to_string(s) + ";" + std::to_string(k & 1) + ";" + std::to_string(k >> 1) + ";" +
                    (s + 1 == squares && k == 3 ? ";\n" : ",");
    text += std::to_string(squares) + ";\n";
    for (int s = 0; s < squares; ++s)
        text += "4;" + std::to_string(4 * s) + "," + std::to_string(4 * s + 1) + "," + std::to_string(4 * s + 3) +
                "," + std::to_string(4 * s + 2) + (s + 1 == squares ? ";;\n" : ";,");
    text += "MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }\n";
    WriteFile("big.x", text);
    CXMesh mesh("Big");
    ASSERT_EQ(mesh.LoadFromFile(device_, "big.x"), S_OK);
    ASSERT_EQ(mesh.SystemMemoryMesh()->GetNumVertices(), 68000u);
    EXPECT_NE(mesh.SystemMemoryMesh()->GetOptions() & D3DXMESH_32BIT, 0u);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    EXPECT_NE(mesh.DeviceMesh()->GetOptions() & D3DXMESH_32BIT, 0u);
    ASSERT_EQ(mesh.SetVertexFormat(device_, D3DFVF_XYZ | D3DFVF_NORMAL), S_OK);
    EXPECT_NE(mesh.DeviceMesh()->GetOptions() & D3DXMESH_32BIT, 0u);
    mesh.ReleaseAll();
}

}  // namespace
}  // namespace meshfile_test
