// ID3DXMesh operations: creation, DrawSubset's device calls, cloning, OptimizeInplace, and the free
// helpers (vertex sizes, bounding spheres, buffers).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "d3d9/control.h"
#include "d3dx9.h"
#include "support/loader_fixture.h"

namespace {

class MeshOperationsTest : public test::LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        MakeDevice();
    }
    void TearDown() override {
        if (mesh_) mesh_->Release();
        LoaderTest::TearDown();
    }

    // Four triangles over six positions (x = index), attributes 1, 0, 1, 0; vertex 5 is unused.
    void MakeStrip(DWORD options = D3DXMESH_MANAGED) {
        ASSERT_EQ(D3DXCreateMeshFVF(4, 6, options, D3DFVF_XYZ | D3DFVF_DIFFUSE, device_, &mesh_), S_OK);
        struct V {
            float x, y, z;
            DWORD colour;
        };
        V* v = nullptr;
        ASSERT_EQ(mesh_->LockVertexBuffer(0, reinterpret_cast<void**>(&v)), S_OK);
        for (int i = 0; i < 6; ++i) v[i] = {float(i), float(i % 2), 0, 0xFF000000u | DWORD(i)};
        mesh_->UnlockVertexBuffer();
        WORD* idx = nullptr;
        ASSERT_EQ(mesh_->LockIndexBuffer(0, reinterpret_cast<void**>(&idx)), S_OK);
        const WORD indices[12] = {0, 1, 2, 1, 3, 2, 2, 3, 4, 3, 1, 4};
        std::memcpy(idx, indices, sizeof indices);
        mesh_->UnlockIndexBuffer();
        DWORD* a = nullptr;
        ASSERT_EQ(mesh_->LockAttributeBuffer(0, &a), S_OK);
        const DWORD attributes[4] = {1, 0, 1, 0};
        std::memcpy(a, attributes, sizeof attributes);
        mesh_->UnlockAttributeBuffer();
    }

    std::vector<DWORD> Indices(ID3DXMesh* m) {
        void* p = nullptr;
        EXPECT_EQ(m->LockIndexBuffer(D3DLOCK_READONLY, &p), S_OK);
        std::vector<DWORD> out(m->GetNumFaces() * 3);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = (m->GetOptions() & D3DXMESH_32BIT) ? static_cast<DWORD*>(p)[i] : static_cast<WORD*>(p)[i];
        m->UnlockIndexBuffer();
        return out;
    }

    ID3DXMesh* mesh_ = nullptr;
};

TEST_F(MeshOperationsTest, CreateRefusesWhatCannotBeAMesh) {
    ID3DXMesh* m = nullptr;
    EXPECT_EQ(D3DXCreateMeshFVF(0, 3, 0, D3DFVF_XYZ, device_, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(1, 0, 0, D3DFVF_XYZ, device_, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(1, 3, 0, D3DFVF_NORMAL, device_, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(1, 70000, D3DXMESH_MANAGED, D3DFVF_XYZ, device_, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(1, 3, 0, D3DFVF_XYZ, nullptr, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(m, nullptr);
    ASSERT_EQ(D3DXCreateMeshFVF(1, 70000, D3DXMESH_MANAGED | D3DXMESH_32BIT, D3DFVF_XYZ, device_, &m), S_OK);
    // A clone to 16-bit indices cannot address every vertex: it fails rather than truncates.
    ID3DXMesh* clone = nullptr;
    EXPECT_EQ(m->CloneMeshFVF(D3DXMESH_MANAGED, D3DFVF_XYZ, device_, &clone), D3DERR_INVALIDCALL);
    EXPECT_EQ(clone, nullptr);
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(m->GetDevice(&device), S_OK);
    EXPECT_EQ(device, device_);
    device->Release();
    m->Release();
}

TEST_F(MeshOperationsTest, DrawSubsetDrawsOnlyTheFacesOfItsId) {
    MakeStrip();
    ASSERT_EQ(device_->BeginScene(), S_OK);
    const auto before = d3d9::control::DrawCallCounts();
    // No attribute table yet: the runs of faces of the id, one draw each.
    EXPECT_EQ(mesh_->DrawSubset(0), S_OK);
    auto after = d3d9::control::DrawCallCounts();
    EXPECT_EQ(after.draws - before.draws, 2u);
    EXPECT_EQ(after.primitives - before.primitives, 2u);
    EXPECT_EQ(mesh_->DrawSubset(7), S_OK);  // no faces: nothing drawn
    EXPECT_EQ(d3d9::control::DrawCallCounts().draws, after.draws);
    // The mesh set its own format, stream and indices.
    DWORD fvf = 0;
    device_->GetFVF(&fvf);
    EXPECT_EQ(fvf, DWORD(D3DFVF_XYZ | D3DFVF_DIFFUSE));
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT offset = 0, stride = 0;
    ASSERT_EQ(device_->GetStreamSource(0, &stream, &offset, &stride), S_OK);
    IDirect3DVertexBuffer9* own = nullptr;
    mesh_->GetVertexBuffer(&own);
    EXPECT_EQ(stream, own);
    EXPECT_EQ(stride, 16u);
    own->Release();
    stream->Release();

    // Sorted: one draw per subset, the faces of the id only.
    ASSERT_EQ(mesh_->OptimizeInplace(D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr), S_OK);
    const auto sorted = d3d9::control::DrawCallCounts();
    EXPECT_EQ(mesh_->DrawSubset(1), S_OK);
    after = d3d9::control::DrawCallCounts();
    EXPECT_EQ(after.draws - sorted.draws, 1u);
    EXPECT_EQ(after.primitives - sorted.primitives, 2u);
    device_->EndScene();
}

TEST_F(MeshOperationsTest, OptimizeSortsFacesCompactsVerticesAndBuildsTheTable) {
    MakeStrip();
    std::vector<DWORD> adjacency(12), faceRemap(4);
    ID3DXBuffer* vertexRemap = nullptr;
    ASSERT_EQ(mesh_->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE, nullptr,
                                     adjacency.data(), faceRemap.data(), &vertexRemap),
              S_OK);
    EXPECT_EQ(mesh_->GetNumVertices(), 5u);  // vertex 5 was unused
    EXPECT_EQ(faceRemap, (std::vector<DWORD>{1, 3, 0, 2}));
    ASSERT_NE(vertexRemap, nullptr);
    EXPECT_EQ(vertexRemap->GetBufferSize(), 5u * 4);
    const auto* remap = static_cast<const DWORD*>(vertexRemap->GetBufferPointer());
    // The triangles drawn are the same ones: compare positions through the remaps.
    struct V {
        float x, y, z;
        DWORD colour;
    };
    V* v = nullptr;
    ASSERT_EQ(mesh_->LockVertexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&v)), S_OK);
    const std::vector<DWORD> indices = Indices(mesh_);
    const WORD original[12] = {0, 1, 2, 1, 3, 2, 2, 3, 4, 3, 1, 4};
    for (int f = 0; f < 4; ++f)
        for (int k = 0; k < 3; ++k) {
            const DWORD now = indices[3 * f + k];
            EXPECT_EQ(remap[now], original[3 * faceRemap[f] + k]);
            EXPECT_EQ(v[now].x, float(original[3 * faceRemap[f] + k]));
        }
    mesh_->UnlockVertexBuffer();
    vertexRemap->Release();
    D3DXATTRIBUTERANGE table[3];
    DWORD entries = 0;
    ASSERT_EQ(mesh_->GetAttributeTable(table, &entries), S_OK);
    ASSERT_EQ(entries, 2u);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[0].FaceStart, 0u);
    EXPECT_EQ(table[0].FaceCount, 2u);
    EXPECT_EQ(table[1].AttribId, 1u);
    EXPECT_EQ(table[1].FaceStart, 2u);
    // Faces 0 and 1 (old 1 and 3) share the edge 1-3.
    EXPECT_EQ(adjacency[0 * 3 + 0], 1u);
}

// The adjacency handed in is the caller's (the loader's counts faces that share positions, not
// vertices): it follows its faces to their sorted places, entries that name no face stay so, and an
// entry naming a face the mesh does not have is refused.
TEST_F(MeshOperationsTest, OptimizeCarriesTheAdjacencyHandedInToTheSortedFaces) {
    MakeStrip();
    const DWORD none = 0xFFFFFFFFu;
    std::vector<DWORD> bad = {1, none, 4, 0, none, none, none, none, none, none, none, none};
    EXPECT_EQ(mesh_->OptimizeInplace(D3DXMESHOPT_ATTRSORT, bad.data(), nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    std::vector<DWORD> adjacency = {1, none, 3, 0, none, none, none, 3, none, 2, none, 0};
    std::vector<DWORD> faceRemap(4);
    ASSERT_EQ(mesh_->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
                                     adjacency.data(), adjacency.data(), faceRemap.data(), nullptr),
              S_OK);
    ASSERT_EQ(faceRemap, (std::vector<DWORD>{1, 3, 0, 2}));  // old faces 1 and 3 carry attribute 0
    EXPECT_EQ(adjacency, (std::vector<DWORD>{2, none, none, 3, none, 2, 0, none, 1, none, 1, none}));
}

TEST_F(MeshOperationsTest, CloneCopiesSharedComponentsAndZeroesNewOnes) {
    MakeStrip();
    const D3DXATTRIBUTERANGE table[2] = {{1, 0, 1, 0, 3}, {0, 1, 1, 1, 3}};
    ASSERT_EQ(mesh_->SetAttributeTable(table, 2), S_OK);
    const D3DXATTRIBUTERANGE outside = {0, 3, 2, 0, 3};
    EXPECT_EQ(mesh_->SetAttributeTable(&outside, 1), D3DERR_INVALIDCALL);
    ID3DXMesh* clone = nullptr;
    ASSERT_EQ(mesh_->CloneMeshFVF(D3DXMESH_SYSTEMMEM, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                  device_, &clone),
              S_OK);
    EXPECT_EQ(clone->GetNumBytesPerVertex(), 36u);
    EXPECT_EQ(clone->GetOptions(), DWORD(D3DXMESH_SYSTEMMEM));
    EXPECT_EQ(Indices(clone), Indices(mesh_));
    DWORD entries = 0;
    clone->GetAttributeTable(nullptr, &entries);
    EXPECT_EQ(entries, 2u);
    const float* v = nullptr;
    ASSERT_EQ(clone->LockVertexBuffer(D3DLOCK_READONLY, (void**)&v), S_OK);
    const float* second = v + 9;
    EXPECT_EQ(second[0], 1.0f);  // position kept
    EXPECT_EQ(second[3], 0.0f);  // normal new: zero
    DWORD colour = 0;
    std::memcpy(&colour, second + 6, 4);
    EXPECT_EQ(colour, 0xFF000001u);  // colour kept
    EXPECT_EQ(second[7], 0.0f);      // texture coordinates new: zero
    clone->UnlockVertexBuffer();
    clone->Release();
}

TEST(MeshHelpers, VertexSizesBoundingSpheresAndBuffers) {
    struct Case {
        DWORD fvf;
        UINT size;
    };
    const Case cases[] = {
        {D3DFVF_XYZ, 12},
        {D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, 28},
        {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2, 48},
        {D3DFVF_XYZ | D3DFVF_PSIZE, 16},
        {D3DFVF_XYZB2 | D3DFVF_NORMAL, 32},
        {D3DFVF_XYZ | D3DFVF_TEX2 | D3DFVF_TEXCOORDSIZE3(0) | D3DFVF_TEXCOORDSIZE1(1), 28},
        {D3DFVF_NORMAL, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(D3DXGetFVFVertexSize(c.fvf), c.size) << std::hex << c.fvf;

    const float points[] = {1, 0, 0, 99, -1, 0, 0, 99, 0, 3, 0, 99};
    D3DXVECTOR3 centre;
    float radius = -1;
    ASSERT_EQ(D3DXComputeBoundingSphere(reinterpret_cast<const D3DXVECTOR3*>(points), 3, 16, &centre, &radius), S_OK);
    EXPECT_FLOAT_EQ(centre.y, 1.0f);
    EXPECT_FLOAT_EQ(radius, 2.0f);
    EXPECT_EQ(D3DXComputeBoundingSphere(reinterpret_cast<const D3DXVECTOR3*>(points), 0, 16, &centre, &radius),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXComputeBoundingSphere(reinterpret_cast<const D3DXVECTOR3*>(points), 3, 8, &centre, &radius),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXComputeBoundingSphere(nullptr, 3, 16, &centre, &radius), D3DERR_INVALIDCALL);

    ID3DXBuffer* buffer = nullptr;
    ASSERT_EQ(D3DXCreateBuffer(10, &buffer), S_OK);
    EXPECT_EQ(buffer->GetBufferSize(), 10u);
    EXPECT_EQ(static_cast<const uint8_t*>(buffer->GetBufferPointer())[9], 0);
    buffer->Release();
}

}  // namespace
