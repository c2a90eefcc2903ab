// The failure tables of the mesh and of the frames and root: each platform call made to fail through
// the machine's failure injection, and what the load answers and leaves.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "machine/failures.h"
#include "mesh_media.h"
#include "support/failing_allocations.h"
#include "support/mesh_file_fixture.h"
#include "x_frame.h"

namespace meshfile_test {
namespace {

const std::string kMesh =
    "xof 0302txt 0032\nMesh Two { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,3;;\n"
    "  MeshMaterialList { 2; 2; 0, 1;;\n"
    "    Material { 1;0;0;1;; 0; 0;0;0;; 1;0;0;; TextureFilename { \"white.bmp\"; } }\n"
    "    Material { 0;0;1;0.5;; 0; 0;0;0;; 0;0;1;; } } }\n";

// A 1 x 1 white 24-bit BMP.
const std::string kWhiteBmp = [] {
    std::string b = "BM";
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xFF));
    };
    put32(58), put32(0), put32(54), put32(40), put32(1), put32(1);
    b += std::string("\x01\x00\x18\x00", 4);
    put32(0), put32(4), put32(0), put32(0), put32(0), put32(0);
    b += std::string("\xFF\xFF\xFF\x00", 4);
    return b;
}();

class FailureTableTest : public MeshFileTest {
protected:
    void SetUp() override {
        MeshFileTest::SetUp();
        WriteFile("two.x", kMesh);
        WriteFile("white.bmp", kWhiteBmp);
        WriteFile("media/frames.x", FramesFile());
    }
    void TearDown() override {
        StopFailingAllocations();
        MeshFileTest::TearDown();
    }
    // Every failure armed so far fell (each falls once, so none is left for later calls).
    static bool AllFired() {
        for (const auto& f : machine::control::InjectedFailures())
            if (!f.fired) return false;
        return true;
    }
};

TEST_F(FailureTableTest, MeshLoads) {
    const HRESULT code = E_FAIL;
    struct Case {
        const char* what;
        const char* call;  // injected at its first use, or null
        unsigned failArray;  // the nth array allocation of the load fails, or 0
        HRESULT expected;
        bool systemMesh;
        DWORD materials;
        bool texture;
    };
    const Case cases[] = {
        {"everything works", nullptr, 0, S_OK, true, 2, true},
        {"the loader fails", "D3DXLoadMeshFromXA", 0, code, false, 0, false},
        {"optimisation fails", "ID3DXMesh::OptimizeInplace", 0, code, true, 0, false},
        {"the material array", nullptr, 1, E_OUTOFMEMORY, true, 0, false},
        {"the texture array", nullptr, 2, E_OUTOFMEMORY, true, 0, false},
        {"a texture", "D3DXCreateTextureFromFileA", 0, S_OK, true, 2, false},
    };
    for (const Case& c : cases) {
        if (c.call) machine::control::FailCall(c.call, 1, uint32_t(code));
        if (c.failArray) FailArrayAllocation(c.failArray);
        CXMesh mesh("Two");
        EXPECT_EQ(mesh.LoadFromFile(device_, "two.x"), c.expected) << c.what;
        EXPECT_FALSE(StopFailingAllocations()) << c.what;
        EXPECT_TRUE(AllFired()) << c.what;
        EXPECT_EQ(mesh.SystemMemoryMesh() != nullptr, c.systemMesh) << c.what;
        EXPECT_EQ(mesh.MaterialCount(), c.materials) << c.what;
        EXPECT_EQ(mesh.Materials() != nullptr, c.materials > 0) << c.what;
        EXPECT_EQ(mesh.Textures() && mesh.Textures()[0], c.texture) << c.what;
        // Whatever it holds, it restores, draws and releases without reading what it does not have.
        if (c.systemMesh) {
            EXPECT_EQ(mesh.CreateVolatileResources(device_), S_OK) << c.what;
            ASSERT_EQ(device_->BeginScene(), S_OK);
            DrawnStartIndices();
            EXPECT_EQ(mesh.DrawSubsets(device_, true, true), S_OK) << c.what;
            EXPECT_EQ(DrawnStartIndices().size(), c.materials) << c.what;
            device_->EndScene();
        }
        EXPECT_EQ(mesh.ReleaseAll(), S_OK) << c.what;
    }
}

TEST_F(FailureTableTest, MeshClonesAndLoadsFromData) {
    CXMesh mesh("Two");
    ASSERT_EQ(mesh.LoadFromFile(device_, "two.x"), S_OK);
    machine::control::FailCall("ID3DXMesh::CloneMeshFVF", 1, uint32_t(E_OUTOFMEMORY));
    EXPECT_EQ(mesh.CreateVolatileResources(device_), E_FAIL);
    EXPECT_EQ(mesh.DeviceMesh(), nullptr);
    EXPECT_EQ(mesh.DrawSubsets(device_, true, true), E_FAIL);
    ASSERT_EQ(mesh.CreateVolatileResources(device_), S_OK);
    // Either clone of SetVertexFormat failing leaves both meshes as they were.
    for (uint64_t nth : {1, 2}) {
        ID3DXMesh* system = mesh.SystemMemoryMesh();
        ID3DXMesh* onDevice = mesh.DeviceMesh();
        machine::control::FailCall("ID3DXMesh::CloneMeshFVF", nth, uint32_t(E_OUTOFMEMORY));
        EXPECT_EQ(mesh.SetVertexFormat(device_, D3DFVF_XYZ | D3DFVF_NORMAL), E_FAIL) << nth;
        EXPECT_EQ(mesh.SystemMemoryMesh(), system) << nth;
        EXPECT_EQ(mesh.DeviceMesh(), onDevice) << nth;
        EXPECT_EQ(mesh.SystemMemoryMesh()->GetFVF(), DWORD(D3DFVF_XYZ)) << nth;
        EXPECT_TRUE(AllFired()) << nth;
    }
    // A frame's restore does not look at a mesh's failure: that mesh simply has no device copy.
    CXFileRoot root("root");
    ASSERT_EQ(root.LoadFromFile(device_, "media/frames.x"), S_OK);
    machine::control::FailCall("ID3DXMesh::CloneMeshFVF", 1, uint32_t(E_OUTOFMEMORY));
    EXPECT_EQ(root.CreateVolatileResources(device_), S_OK);
    EXPECT_EQ(root.LookupMeshByName("Block")->DeviceMesh(), nullptr);
    EXPECT_NE(root.LookupMeshByName("Pane")->DeviceMesh(), nullptr);
    root.ReleaseAll();
    // The loader of data objects fails: the frame keeps its mesh, empty, and the load goes on.
    machine::control::FailCall("D3DXLoadMeshFromXof", 1, uint32_t(E_FAIL));
    ASSERT_EQ(root.LoadFromFile(device_, "media/frames.x"), S_OK);
    EXPECT_EQ(root.LookupMeshByName("Block")->SystemMemoryMesh(), nullptr);
    EXPECT_NE(root.LookupMeshByName("Pane")->SystemMemoryMesh(), nullptr);
    root.ReleaseAll();
    EXPECT_TRUE(AllFired());
    mesh.ReleaseAll();
}

// frames.x: Frame Body { FrameTransformMatrix, Mesh Block, Frame Arm { FrameTransformMatrix, Mesh Pane } }.
TEST_F(FailureTableTest, RootLoads) {
    const uint32_t code = uint32_t(DXFILEERR_BADVALUE);
    struct Case {
        const char* call;
        uint64_t nth;
        HRESULT expected;
        bool body, arm;  // frames in the tree afterwards
        bool block = false;         // Block attached afterwards
        size_t failAllocation = 0;  // the next allocation of this size fails
    };
    const Case cases[] = {
        {"DirectXFileCreate", 1, E_FAIL, false, false},
        {"IDirectXFile::RegisterTemplates", 1, E_FAIL, false, false},
        {"IDirectXFile::CreateEnumObject", 1, HRESULT(code), false, false},
        {"IDirectXFileEnumObject::GetNextDataObject", 1, S_OK, false, false},  // taken for the end
        {"IDirectXFileData::GetType", 1, E_FAIL, false, false},
        {"IDirectXFileData::GetName", 1, E_FAIL, false, false},
        {"IDirectXFileData::GetData", 1, E_FAIL, true, false},          // Body's matrix
        {"IDirectXFileData::GetNextObject", 1, S_OK, true, false},      // Body's children end
        {"IDirectXFileObject::QueryInterface", 1, E_FAIL, true, false},  // Body's first child
        {"IDirectXFileData::GetName", 3, E_FAIL, true, false, true},    // Body, Block, then Arm
        {nullptr, 0, E_FAIL, false, false, false, sizeof(CXFrame)},     // Body cannot be made
        {nullptr, 0, E_FAIL, true, false, false, sizeof(CXMesh)},       // nor Block
    };
    for (const Case& c : cases) {
        if (c.call) machine::control::FailCall(c.call, c.nth, code);
        if (c.failAllocation) FailAllocationOfSize(c.failAllocation);
        CXFileRoot root("root");
        const std::string what = c.call ? c.call + (" " + std::to_string(c.nth)) : "allocation";
        EXPECT_EQ(root.LoadFromFile(device_, "media/frames.x"), c.expected) << what;
        EXPECT_FALSE(StopFailingAllocations()) << what;
        EXPECT_TRUE(AllFired()) << what;
        EXPECT_EQ(root.LookupFrameByName("Body") != nullptr, c.body) << what;
        EXPECT_EQ(root.LookupFrameByName("Arm") != nullptr, c.arm) << what;
        EXPECT_EQ(root.LookupMeshByName("Block") != nullptr, c.block) << what;
        root.ReleaseAll();
    }
}

}  // namespace
}  // namespace meshfile_test
