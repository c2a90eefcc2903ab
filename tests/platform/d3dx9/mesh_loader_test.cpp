// D3DXLoadMeshFromXA and D3DXLoadMeshFromXof: the program's cube and sphere, small files written here,
// and malformed files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "d3dx9.h"
#include "dxfile.h"
#include "machine/failures.h"
#include "mesh_media.h"
#include "support/loader_fixture.h"

namespace {

struct Loaded {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ~Loaded() {
        if (mesh) mesh->Release();
        if (adjacency) adjacency->Release();
        if (materials) materials->Release();
    }
    const D3DXMATERIAL& Material(DWORD i) const {
        return static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer())[i];
    }
};

class MeshLoaderTest : public test::LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        MakeDevice();
    }
    void TearDown() override {
        for (IUnknown* o : parserObjects_) o->Release();
        LoaderTest::TearDown();
    }
    // The first top-level data object of a file, read by a parser that knows the standard templates;
    // it and the parser are released at the end of the test.
    IDirectXFileData* FirstObject(const char* path) {
        IDirectXFile* parser = nullptr;
        EXPECT_EQ(DirectXFileCreate(&parser), S_OK);
        if (!parser) return nullptr;
        parserObjects_.push_back(parser);
        EXPECT_EQ(parser->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES), S_OK);
        IDirectXFileEnumObject* e = nullptr;
        EXPECT_EQ(parser->CreateEnumObject(const_cast<char*>(path), DXFILELOAD_FROMFILE, &e), S_OK);
        if (!e) return nullptr;
        parserObjects_.push_back(e);
        IDirectXFileData* data = nullptr;
        EXPECT_EQ(e->GetNextDataObject(&data), S_OK);
        if (data) parserObjects_.push_back(data);
        return data;
    }
    void WriteText(const std::string& name, const std::string& text) {
        Write(name, test::Bytes(text.begin(), text.end()));
    }
    HRESULT Load(const std::string& name, Loaded& out, DWORD options = D3DXMESH_MANAGED) {
        return D3DXLoadMeshFromXA(name.c_str(), options, device_, &out.adjacency, &out.materials, nullptr, &out.count,
                                  &out.mesh);
    }
    static std::vector<float> Vertex(ID3DXMesh* mesh, DWORD i) {
        void* p = nullptr;
        EXPECT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &p), S_OK);
        const DWORD floats = mesh->GetNumBytesPerVertex() / 4;
        std::vector<float> v(floats);
        std::memcpy(v.data(), static_cast<const uint8_t*>(p) + size_t(i) * mesh->GetNumBytesPerVertex(), floats * 4);
        mesh->UnlockVertexBuffer();
        return v;
    }
    static D3DFORMAT IndexFormat(ID3DXMesh* mesh) {
        IDirect3DIndexBuffer9* ib = nullptr;
        EXPECT_EQ(mesh->GetIndexBuffer(&ib), S_OK);
        D3DINDEXBUFFER_DESC desc{};
        ib->GetDesc(&desc);
        ib->Release();
        return desc.Format;
    }

    std::vector<IUnknown*> parserObjects_;  // parser objects of FirstObject, released at the end
};

std::string Text(const XMesh& m) { return XFileText(m); }

TEST_F(MeshLoaderTest, CubeLoadsWithItsMaterialAndGetsNormalsThroughAClone) {
    WriteText("media/cube.x", Text(CubeMesh()));
    Loaded cube;
    ASSERT_EQ(Load("media/cube.x", cube), S_OK);
    EXPECT_EQ(cube.mesh->GetNumVertices(), 8u);
    EXPECT_EQ(cube.mesh->GetNumFaces(), 12u);  // six quads as fans
    EXPECT_EQ(cube.mesh->GetFVF(), DWORD(D3DFVF_XYZ));
    EXPECT_EQ(cube.mesh->GetOptions() & D3DXMESH_32BIT, 0u);
    EXPECT_EQ(IndexFormat(cube.mesh), D3DFMT_INDEX16);
    ASSERT_EQ(cube.count, 1u);
    EXPECT_FLOAT_EQ(cube.Material(0).MatD3D.Diffuse.g, 0.9f);
    EXPECT_FLOAT_EQ(cube.Material(0).MatD3D.Power, 8.0f);
    EXPECT_EQ(cube.Material(0).pTextureFilename, nullptr);
    // A closed solid: every edge has a neighbour.
    ASSERT_EQ(cube.adjacency->GetBufferSize(), 12u * 3 * 4);
    const auto* adjacency = static_cast<const DWORD*>(cube.adjacency->GetBufferPointer());
    for (DWORD i = 0; i < 36; ++i) EXPECT_LT(adjacency[i], 12u) << i;

    // What the mesh object does: bounding sphere from the locked vertex buffer, then the normal clone.
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(cube.mesh->GetVertexBuffer(&vb), S_OK);
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, D3DLOCK_NOSYSLOCK), S_OK);
    D3DXVECTOR3 centre;
    float radius = 0;
    ASSERT_EQ(D3DXComputeBoundingSphere(static_cast<const D3DXVECTOR3*>(p), cube.mesh->GetNumVertices(),
                                        D3DXGetFVFVertexSize(cube.mesh->GetFVF()), &centre, &radius),
              S_OK);
    vb->Unlock();
    vb->Release();
    EXPECT_NEAR(centre.x, 0, 1e-6);
    EXPECT_NEAR(radius, std::sqrt(3.0f), 1e-5);

    ID3DXMesh* clone = nullptr;
    ASSERT_EQ(cube.mesh->CloneMeshFVF(D3DXMESH_MANAGED, cube.mesh->GetFVF() | D3DFVF_NORMAL, device_, &clone), S_OK);
    EXPECT_EQ(clone->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    EXPECT_EQ(IndexFormat(clone), D3DFMT_INDEX16);
    EXPECT_EQ(D3DXComputeNormals(clone, nullptr), S_OK);
    for (DWORD i = 0; i < 8; ++i) {
        const std::vector<float> v = Vertex(clone, i);
        // A corner's normal points along its diagonal, outwards.
        EXPECT_NEAR(v[3] * v[3] + v[4] * v[4] + v[5] * v[5], 1.0f, 1e-5) << i;
        EXPECT_GT(v[0] * v[3] + v[1] * v[4] + v[2] * v[5], 1.5f) << i;
    }
    // The original without normals cannot take them.
    EXPECT_EQ(D3DXComputeNormals(cube.mesh, nullptr), D3DERR_INVALIDCALL);
    clone->Release();
}

TEST_F(MeshLoaderTest, SphereCarriesNormalsTwoMaterialsAndAnAttributeTable) {
    WriteText("media/sphere.x", Text(SphereMesh()));
    Loaded sphere;
    ASSERT_EQ(Load("Media\\Sphere.x", sphere, D3DXMESH_MANAGED | D3DXMESH_32BIT), S_OK);
    EXPECT_EQ(sphere.mesh->GetNumVertices(), 2u + 15u * 24u);
    EXPECT_EQ(sphere.mesh->GetNumFaces(), 24u + 14u * 24u * 2u + 24u);
    EXPECT_EQ(sphere.mesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    EXPECT_EQ(IndexFormat(sphere.mesh), D3DFMT_INDEX32);
    ASSERT_EQ(sphere.count, 2u);
    EXPECT_FLOAT_EQ(sphere.Material(1).MatD3D.Diffuse.r, 1.0f);
    D3DXATTRIBUTERANGE table[4];
    DWORD entries = 0;
    ASSERT_EQ(sphere.mesh->GetAttributeTable(nullptr, &entries), S_OK);
    ASSERT_EQ(entries, 2u);
    ASSERT_EQ(sphere.mesh->GetAttributeTable(table, &entries), S_OK);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[0].FaceCount + table[1].FaceCount, sphere.mesh->GetNumFaces());
    EXPECT_EQ(table[1].FaceStart, table[0].FaceCount);
    for (DWORD i = 0; i < sphere.mesh->GetNumVertices(); ++i) {
        const std::vector<float> v = Vertex(sphere.mesh, i);
        EXPECT_NEAR(v[0] * v[3] + v[1] * v[4] + v[2] * v[5], 0.5f, 1e-4) << i;  // outward unit normals
    }
    // A 32-bit mesh stays 32-bit in a clone.
    ID3DXMesh* clone = nullptr;
    ASSERT_EQ(sphere.mesh->CloneMeshFVF(D3DXMESH_32BIT | D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL, device_, &clone),
              S_OK);
    EXPECT_EQ(IndexFormat(clone), D3DFMT_INDEX32);
    clone->Release();
}

TEST_F(MeshLoaderTest, FansNormalsTextureCoordinatesAndShortMaterialLists) {
    // A pentagon and a triangle; per-corner normals split the shared position 0; the material list
    // names only the first face, so the second takes the last material named.
    WriteText("shape.x",
              "xof 0302txt 0032\n"
              "Frame Outer { Frame Inner {\n"
              "Mesh Shape {\n"
              "  6; 0;0;0;, 1;0;0;, 1.5;1;0;, 0.5;2;0;, -0.5;1;0;, 0;-1;0;;\n"
              "  2; 5;0,1,2,3,4;, 3;0,5,1;;\n"
              "  MeshNormals { 2; 0;0;-1;, 0;0;1;; 2; 5;0,0,0,0,0;, 3;1,1,1;; }\n"
              "  MeshTextureCoords { 6; 0;0;, 1;0;, 1;1;, 0;1;, 0.5;0.5;, 0.25;0.75;; }\n"
              "  MeshMaterialList { 2; 1; 1;;\n"
              "    Material { 1;0;0;0.5;; 2; 0.1;0.2;0.3;; 0.4;0.5;0.6;; TextureFilename { \"tex\\\\stone.bmp\"; } }\n"
              "    Material Plain { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
              "  }\n"
              "} } }\n");
    Loaded shape;
    ASSERT_EQ(Load("shape.x", shape), S_OK);
    EXPECT_EQ(shape.mesh->GetNumFaces(), 4u);     // 3 triangles of the fan + 1
    EXPECT_EQ(shape.mesh->GetNumVertices(), 8u);  // 5 + (0 and 1 again with the other normal) + 5
    EXPECT_EQ(shape.mesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(shape.mesh->GetNumBytesPerVertex(), 32u);
    ASSERT_EQ(shape.count, 2u);
    const D3DXMATERIAL& first = shape.Material(0);
    ASSERT_NE(first.pTextureFilename, nullptr);
    EXPECT_STREQ(first.pTextureFilename, "tex\\\\stone.bmp");
    const auto* begin = static_cast<const char*>(shape.materials->GetBufferPointer());
    EXPECT_GE(first.pTextureFilename, begin);
    EXPECT_LT(first.pTextureFilename, begin + shape.materials->GetBufferSize());
    EXPECT_FLOAT_EQ(first.MatD3D.Diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(first.MatD3D.Specular.b, 0.3f);
    EXPECT_FLOAT_EQ(first.MatD3D.Emissive.r, 0.4f);
    EXPECT_EQ(first.MatD3D.Ambient.r, 0.0f);
    EXPECT_EQ(shape.Material(1).pTextureFilename, nullptr);
    // Every face took material 1.
    DWORD entries = 0;
    D3DXATTRIBUTERANGE table[2];
    ASSERT_EQ(shape.mesh->GetAttributeTable(table, &entries), S_OK);
    ASSERT_EQ(entries, 1u);
    EXPECT_EQ(table[0].AttribId, 1u);
    EXPECT_EQ(table[0].FaceCount, 4u);
    // Each vertex holds its own position's texture coordinates and its corner's normal.
    bool sawBack = false, sawFront = false;
    for (DWORD i = 0; i < shape.mesh->GetNumVertices(); ++i) {
        const std::vector<float> v = Vertex(shape.mesh, i);
        if (v[0] == 0.5f && v[1] == 2.0f) {
            EXPECT_EQ(v[7], 1.0f);
        }
        if (v[0] == 0 && v[1] == 0) (v[5] < 0 ? sawBack : sawFront) = true;
    }
    EXPECT_TRUE(sawBack && sawFront);
}

TEST_F(MeshLoaderTest, MeshWithoutMaterialsGivesNoneAndAnEmptyBuffer) {
    WriteText("bare.x", "xof 0302txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n");
    Loaded bare;
    ASSERT_EQ(Load("bare.x", bare), S_OK);
    EXPECT_EQ(bare.count, 0u);
    ASSERT_NE(bare.materials, nullptr);
    EXPECT_EQ(bare.materials->GetBufferSize(), 0u);
    EXPECT_NE(bare.materials->GetBufferPointer(), nullptr);
}

TEST_F(MeshLoaderTest, MalformedFilesFailAndLeaveTheOutPointersAlone) {
    const std::string head = "xof 0302txt 0032\n";
    const std::string tri = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;";
    struct Case {
        const char* what;
        std::string text;
        HRESULT expected;
    };
    const Case cases[] = {
        {"truncated", head + "Mesh { 3; 0;0;0;, 1;0;", DXFILEERR_NOMOREDATA},
        {"unknown template", head + "Teapot { 1; }", DXFILEERR_NOTEMPLATE},
        {"not an X file", "P3\n1 1\n", DXFILEERR_BADFILETYPE},
        {"no mesh", head + "Frame { }", D3DXERR_LOADEDMESHASNODATA},
        {"wrong vertex count", head + "Mesh { 4; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }", DXFILEERR_PARSEERROR},
        {"index out of range", head + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }", D3DXERR_INVALIDDATA},
        {"face of two indices", head + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }", D3DXERR_INVALIDDATA},
        {"no vertices", head + "Mesh { 0;; 0;; }", D3DXERR_INVALIDDATA},
        {"huge count", head + "Mesh { 4294967295; 0;0;0;; }", DXFILEERR_BADARRAYSIZE},
        {"material index too big",
         head + "Mesh { " + tri + " MeshMaterialList { 1; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }",
         D3DXERR_INVALIDDATA},
        {"fewer materials than counted",
         head + "Mesh { " + tri + " MeshMaterialList { 2; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }",
         D3DXERR_INVALIDDATA},
        {"more face indexes than faces",
         head + "Mesh { " + tri + " MeshMaterialList { 1; 2; 0,0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }",
         D3DXERR_INVALIDDATA},
        {"normal faces do not match", head + "Mesh { " + tri + " MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; } }",
         D3DXERR_INVALIDDATA},
        {"normal index out of range", head + "Mesh { " + tri + " MeshNormals { 1; 0;0;1;; 1; 3;0,1,0;; } }",
         D3DXERR_INVALIDDATA},
        {"texture coordinates do not match", head + "Mesh { " + tri + " MeshTextureCoords { 2; 0;0;, 1;1;; } }",
         D3DXERR_INVALIDDATA},
        {"material named by a missing reference",
         head + "Mesh { " + tri + " MeshMaterialList { 1; 1; 0;; {Nothing} } }", D3DXERR_INVALIDDATA},
    };
    ID3DXMesh* const meshSentinel = reinterpret_cast<ID3DXMesh*>(uintptr_t(0x10));
    ID3DXBuffer* const bufferSentinel = reinterpret_cast<ID3DXBuffer*>(uintptr_t(0x20));
    for (const Case& c : cases) {
        WriteText("bad.x", c.text);
        ID3DXMesh* mesh = meshSentinel;
        ID3DXBuffer* adjacency = bufferSentinel;
        ID3DXBuffer* materials = bufferSentinel;
        DWORD count = 77;
        EXPECT_EQ(
            D3DXLoadMeshFromXA("bad.x", D3DXMESH_MANAGED, device_, &adjacency, &materials, nullptr, &count, &mesh),
            c.expected)
            << c.what;
        EXPECT_EQ(mesh, meshSentinel) << c.what;
        EXPECT_EQ(adjacency, bufferSentinel) << c.what;
        EXPECT_EQ(materials, bufferSentinel) << c.what;
        EXPECT_EQ(count, 77u) << c.what;
    }
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromXA("media/none.x", D3DXMESH_MANAGED, device_, nullptr, nullptr, nullptr, nullptr, &mesh),
              DXFILEERR_FILENOTFOUND);
    EXPECT_EQ(mesh, nullptr);
}

TEST_F(MeshLoaderTest, EveryTruncatedCubeFails) {
    const std::string full = Text(CubeMesh());
    const size_t last = full.rfind('}');
    for (size_t cut = 0; cut <= last; cut += 3) {
        WriteText("cut.x", full.substr(0, cut));
        ID3DXMesh* mesh = nullptr;
        EXPECT_TRUE(
            FAILED(D3DXLoadMeshFromXA("cut.x", D3DXMESH_MANAGED, device_, nullptr, nullptr, nullptr, nullptr, &mesh)))
            << cut;
        EXPECT_EQ(mesh, nullptr) << cut;
    }
}

TEST_F(MeshLoaderTest, LoadsAMeshDataObjectOfTheParser) {
    WriteText("scene.x",
              "xof 0302txt 0032\nFrame F { Mesh Thing { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
              "  MeshMaterialList { 1; 1; 0;; {Shared} } } }\n"
              "Material Shared { 0.5;0.5;0.5;1;; 1; 0;0;0;; 0;0;0;; }\n");
    IDirectXFileData* frame = FirstObject("scene.x");
    ASSERT_NE(frame, nullptr);
    // The frame itself is no mesh.
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromXof(frame, D3DXMESH_SYSTEMMEM, device_, nullptr, nullptr, nullptr, nullptr, &mesh),
              D3DXERR_INVALIDDATA);
    IDirectXFileObject* child = nullptr;
    ASSERT_EQ(frame->GetNextObject(&child), S_OK);
    IDirectXFileData* data = nullptr;
    ASSERT_EQ(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&data)), S_OK);
    Loaded loaded;
    ASSERT_EQ(D3DXLoadMeshFromXof(data, D3DXMESH_SYSTEMMEM, device_, &loaded.adjacency, &loaded.materials, nullptr,
                                  &loaded.count, &loaded.mesh),
              S_OK);
    EXPECT_EQ(loaded.mesh->GetOptions(), DWORD(D3DXMESH_SYSTEMMEM));
    ASSERT_EQ(loaded.count, 1u);
    EXPECT_FLOAT_EQ(loaded.Material(0).MatD3D.Diffuse.r, 0.5f);
    // An open adjacency: a lone triangle has no neighbours.
    const auto* adjacency = static_cast<const DWORD*>(loaded.adjacency->GetBufferPointer());
    EXPECT_EQ(adjacency[0], 0xFFFFFFFFu);
    data->Release();
    child->Release();
}

// Files in the styles exporters write: the standard templates declared again (in their own letter
// case), animation sets, the utility library's extension templates used without a declaration, and
// names in mixed case. Each loads as the one triangle it holds.
TEST_F(MeshLoaderTest, FilesInTheStylesOfExportersLoad) {
    const std::string tri =
        "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { \"a.bmp\"; } } }\n";
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"own template declarations",
         "xof 0302txt 0032\n"
         "template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }\n"
         "template TextureFileName { <A42790E1-7810-11cf-8F52-0040333594A3> STRING filename; }\n"
         "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices;\n"
         "  array Vector vertices[nVertices]; DWORD nFaces; array MeshFace faces[nFaces]; [...] }\n"
         "Header { 1; 0; 1; }\nMesh {" + tri + "}\n"},
        {"an animation set",
         "xof 0303txt 0032\nAnimTicksPerSecond { 4800; }\n"
         "Frame Root { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; } Mesh {" + tri + "} }\n"
         "AnimationSet Idle { Animation { {Root} AnimationKey { 2; 1; 0; 3; 0,0,0;;; } } }\n"},
        {"extension templates",
         "xof 0303txt 0032\nMesh Skinned {" + tri +
         "  VertexDuplicationIndices { 3; 3; 0, 1, 2; }\n"
         "  XSkinMeshHeader { 1; 1; 1; }\n"
         "  SkinWeights { \"Bone\"; 3; 0, 1, 2; 1.0, 1.0, 1.0; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
         "  DeclData { 1; 2; 0; 3; 0;; 3; 0, 0, 0; }\n"
         "  FVFData { 256; 2; 0, 0; }\n"
         "}\n"},
        {"mixed-case names",
         "xof 0302txt 0032\nFRAME Body { frametransformmatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
         "  mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
         "    meshmateriallist { 1; 1; 0;; material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; texturefilename { \"a.bmp\"; } } }\n"
         "    MeshNORMALS { 1; 0;0;-1;; 1; 3;0,0,0;; } } }\n"},
    };
    for (const Case& c : cases) {
        WriteText("styled.x", c.text);
        Loaded loaded;
        ASSERT_EQ(Load("styled.x", loaded), S_OK) << c.what;
        EXPECT_EQ(loaded.mesh->GetNumFaces(), 1u) << c.what;
        ASSERT_EQ(loaded.count, 1u) << c.what;
        ASSERT_NE(loaded.Material(0).pTextureFilename, nullptr) << c.what;
        EXPECT_STREQ(loaded.Material(0).pTextureFilename, "a.bmp") << c.what;
    }
}

// Every mesh of a file becomes part of the one mesh: placed by its frames' combined matrices (normals
// by the inverse transpose), materials one after the other with the attribute ids moved along, a
// mesh without materials given a white one, and a mesh a frame names by reference placed there only.
TEST_F(MeshLoaderTest, MergesEveryMeshOfAFileInItsFramesPlaces) {
    WriteText("scene.x",
              "xof 0302txt 0032\n"
              "Frame Outer { FrameTransformMatrix { 2,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }\n"
              "  Frame Inner {\n"
              "    Mesh A { 3; 1;0;0;, 2;0;0;, 1;1;0;; 1; 3;0,1,2;;\n"
              "      MeshNormals { 1; 0.70710678;0.70710678;0;; 1; 3;0,0,0;; }\n"
              "      MeshMaterialList { 1; 1; 0;; Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; } } }\n"
              "    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,5,0,1;; }\n"
              "  }\n"
              "  Mesh B { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
              "    MeshMaterialList { 2; 1; 1;; Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
              "      Material { 0;0;1;1;; 0; 0;0;0;; 0;0;0;; } } }\n"
              "}\n"
              "Mesh C { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"
              "Frame Placed { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,7,1;; } {C} }\n");
    Loaded scene;
    ASSERT_EQ(Load("scene.x", scene), S_OK);
    EXPECT_EQ(scene.mesh->GetNumFaces(), 3u);
    EXPECT_EQ(scene.mesh->GetNumVertices(), 9u);
    EXPECT_EQ(scene.mesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    ASSERT_EQ(scene.count, 4u);
    EXPECT_FLOAT_EQ(scene.Material(0).MatD3D.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(scene.Material(2).MatD3D.Diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(scene.Material(3).MatD3D.Diffuse.g, 1.0f);  // C's plain white
    D3DXATTRIBUTERANGE table[4];
    DWORD entries = 0;
    ASSERT_EQ(scene.mesh->GetAttributeTable(table, &entries), S_OK);
    ASSERT_EQ(entries, 3u);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[1].AttribId, 2u);
    EXPECT_EQ(table[2].AttribId, 3u);
    // A: (1,0,0) moved up 5 in Inner, then scaled by 2 in x and moved 10 along x by Outer; its normal
    // (1,1,0) scaled by (1/2,1,1). C: moved 7 along z by the frame that names it, not at the origin.
    bool sawA = false, sawC = false;
    for (DWORD i = 0; i < scene.mesh->GetNumVertices(); ++i) {
        const std::vector<float> v = Vertex(scene.mesh, i);
        if (v[0] == 12.0f && v[1] == 5.0f) {
            sawA = true;
            EXPECT_NEAR(v[3], 1 / std::sqrt(5.0f), 1e-5);
            EXPECT_NEAR(v[4], 2 / std::sqrt(5.0f), 1e-5);
        }
        if (v[2] == 7.0f) {
            sawC = true;
            EXPECT_NEAR(v[5], 1.0f, 1e-5);  // computed from the face as D3DXComputeNormals does
        }
    }
    EXPECT_TRUE(sawA);
    EXPECT_TRUE(sawC);
}

// A file may give a template of its own the GUID of one the loader reads. The loader reads an object
// only when it is laid out as the template it takes it for, so such a file is refused instead of
// having, say, two DWORDs read as a pointer to a texture name.
TEST_F(MeshLoaderTest, ObjectsWithAStandardGuidButAnotherLayoutAreRefused) {
    const std::string tri = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;";
    const std::string material = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }";
    struct Case {
        const char* what;
        const char* guid;
        std::string members, object;
    };
    const Case cases[] = {
        {"TextureFilename", "A42790E1-7810-11cf-8F52-0040333594A3", "DWORD a; DWORD b;",
         "Mesh { " + tri + " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; Fake { 4096; 0; } } } }"},
        {"Material", "3D82AB4D-62DA-11cf-AB39-0020AF71E433", "FLOAT r;",
         "Mesh { " + tri + " MeshMaterialList { 1; 1; 0;; Fake { 1; } } }"},
        {"MeshMaterialList", "F6F23F42-7686-11cf-8F52-0040333594A3", "DWORD nMaterials; FLOAT x; [...]",
         "Mesh { " + tri + " Fake { 1; 0.5; " + material + " } }"},
        {"MeshNormals", "F6F23F43-7686-11cf-8F52-0040333594A3", "DWORD nNormals; array FLOAT v[nNormals];",
         "Mesh { " + tri + " Fake { 3; 0,0,1; } }"},
        {"MeshTextureCoords", "F6F23F40-7686-11cf-8F52-0040333594A3", "DWORD n; array DWORD uv[n];",
         "Mesh { " + tri + " Fake { 3; 1,2,3; } }"},
        {"Mesh", "3D82AB44-62DA-11cf-AB39-0020AF71E433", "DWORD nVertices; array DWORD v[nVertices]; [...]",
         "Fake { 3; 1,2,3; }"},
        {"FrameTransformMatrix", "F6F23F41-7686-11cf-8F52-0040333594A3", "DWORD m;",
         "Frame { Fake { 1; } Mesh { " + tri + " } }"},
    };
    for (const Case& c : cases) {
        WriteText("fake.x", "xof 0302txt 0032\ntemplate Fake { <" + std::string(c.guid) + "> " + c.members +
                                " }\n" + c.object + "\n");
        Loaded loaded;
        EXPECT_EQ(Load("fake.x", loaded), D3DXERR_INVALIDDATA) << c.what;
        EXPECT_EQ(loaded.mesh, nullptr) << c.what;
    }
    // The same object of the parser's, handed to D3DXLoadMeshFromXof.
    WriteText("fake.x", "xof 0302txt 0032\ntemplate Fake { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD n; }\n"
                        "Fake { 7; }\n");
    IDirectXFileData* fake = FirstObject("fake.x");
    ASSERT_NE(fake, nullptr);
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXLoadMeshFromXof(fake, D3DXMESH_SYSTEMMEM, device_, nullptr, nullptr, nullptr, nullptr, &mesh),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(mesh, nullptr);
}

// A child object the parser fails to read (out of memory) is not the end of the list: whichever use
// of GetNextObject fails, in a frame, a mesh or its material list, both loaders answer the failure
// instead of a mesh without the rest of its children.
struct ChildReadCase {
    const char* what;
    bool fromFile;  // D3DXLoadMeshFromXA on the file, or D3DXLoadMeshFromXof on the frame's mesh
    int lists;      // child lists read to their end: the frame's (file only), the mesh's, the material list's
};

class FailedChildRead : public MeshLoaderTest, public ::testing::WithParamInterface<ChildReadCase> {};

TEST_P(FailedChildRead, FailsTheLoad) {
    WriteText("scene.x",
              "xof 0302txt 0032\nFrame F { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
              "  Mesh Thing { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
              "    MeshMaterialList { 1; 1; 0;; Material { 0.5;0.5;0.5;1;; 1; 0;0;0;; 0;0;0;; } } } }\n");
    const ChildReadCase& c = GetParam();
    const uint32_t outOfMemory = static_cast<uint32_t>(E_OUTOFMEMORY);
    int fell = 0;
    for (uint64_t nth = 1; nth <= 16; ++nth) {
        Loaded loaded;
        HRESULT hr = E_FAIL;
        if (c.fromFile) {
            machine::control::FailCall("IDirectXFileData::GetNextObject", nth, outOfMemory);
            hr = Load("scene.x", loaded);
        } else {
            IDirectXFileData* frame = FirstObject("scene.x");
            ASSERT_NE(frame, nullptr);
            IDirectXFileObject* child = nullptr;
            ASSERT_EQ(frame->GetNextObject(&child), S_OK);  // the matrix
            child->Release();
            ASSERT_EQ(frame->GetNextObject(&child), S_OK);
            IDirectXFileData* mesh = nullptr;
            ASSERT_EQ(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&mesh)), S_OK);
            child->Release();
            machine::control::FailCall("IDirectXFileData::GetNextObject", nth, outOfMemory);
            hr = D3DXLoadMeshFromXof(mesh, D3DXMESH_SYSTEMMEM, device_, &loaded.adjacency, &loaded.materials, nullptr,
                                     &loaded.count, &loaded.mesh);
            mesh->Release();
        }
        const std::vector<machine::control::InjectedFailureRecord> failures = machine::control::InjectedFailures();
        ASSERT_FALSE(failures.empty());
        if (!failures.back().fired) {
            // Past the last use: the whole scene loads, with its material.
            EXPECT_EQ(hr, S_OK) << "nth " << nth;
            EXPECT_EQ(loaded.count, 1u) << "nth " << nth;
            break;
        }
        ++fell;
        EXPECT_EQ(hr, E_OUTOFMEMORY) << "nth " << nth;
        EXPECT_EQ(loaded.mesh, nullptr) << "nth " << nth;
    }
    // Every child and the end of every list was a use that fell.
    EXPECT_GE(fell, c.lists * 2);
}

INSTANTIATE_TEST_SUITE_P(BothLoaders, FailedChildRead,
                         ::testing::Values(ChildReadCase{"FromFile", true, 3}, ChildReadCase{"FromData", false, 2}),
                         [](const ::testing::TestParamInfo<ChildReadCase>& info) { return info.param.what; });

}  // namespace
