// Text meshes: closed solids of the font's outlines, front at z = 0 and back at z = extrusion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "d3dx9.h"
#include "support/loader_fixture.h"
#include "windows.h"

namespace {

struct Vertex {
    float x, y, z, nx, ny, nz;
};

struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
};

class TextMeshTest : public test::LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        MakeDevice();
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
        SelectFont("Arial", 18);
    }
    void TearDown() override {
        if (dc_) {
            if (previous_) SelectObject(dc_, previous_);
            if (font_) DeleteObject(font_);
            DeleteDC(dc_);
        }
        LoaderTest::TearDown();
    }

    // As the showcase makes it: a cell height, struck out, every other field zero.
    void SelectFont(const char* face, LONG height) {
        LOGFONTA lf{};
        lf.lfHeight = height;
        lf.lfStrikeOut = 1;
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectA(&lf);
        ASSERT_NE(font, nullptr);
        HGDIOBJ old = SelectObject(dc_, font);
        if (!previous_) previous_ = old;
        if (font_) DeleteObject(font_);
        font_ = font;
    }

    ID3DXMesh* Make(const char* text, float deviation = 0.001f, float extrusion = 0.4f) {
        ID3DXMesh* mesh = nullptr;
        EXPECT_EQ(D3DXCreateTextA(device_, dc_, text, deviation, extrusion, &mesh, nullptr, nullptr), D3D_OK);
        return mesh;
    }

    static MeshData Read(ID3DXMesh* mesh) {
        MeshData data;
        data.vertices.resize(mesh->GetNumVertices());
        void* p = nullptr;
        EXPECT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
        std::memcpy(data.vertices.data(), p, data.vertices.size() * sizeof(Vertex));
        mesh->UnlockVertexBuffer();
        data.indices.resize(size_t(mesh->GetNumFaces()) * 3);
        EXPECT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
        const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
        for (size_t i = 0; i < data.indices.size(); ++i)
            data.indices[i] = wide ? static_cast<const uint32_t*>(p)[i] : static_cast<const uint16_t*>(p)[i];
        mesh->UnlockIndexBuffer();
        return data;
    }

    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST_F(TextMeshTest, ShowcaseWordGivesAMeshOfPositionsAndNormals) {
    ID3DXMesh* mesh = Make("Terrain");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 24u);
    EXPECT_GT(mesh->GetNumFaces(), 100u);
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(mesh->GetDevice(&device), D3D_OK);
    EXPECT_EQ(device, device_);
    device->Release();
    mesh->Release();
}

TEST_F(TextMeshTest, CountsGrowWithTheText) {
    DWORD lastFaces = 0, lastVertices = 0;
    for (const char* text : {"T", "Te", "Ter", "Terrain", "Terrain Terrain"}) {
        SCOPED_TRACE(text);
        ID3DXMesh* mesh = Make(text);
        ASSERT_NE(mesh, nullptr);
        EXPECT_GT(mesh->GetNumFaces(), lastFaces);
        EXPECT_GT(mesh->GetNumVertices(), lastVertices);
        lastFaces = mesh->GetNumFaces();
        lastVertices = mesh->GetNumVertices();
        mesh->Release();
    }
}

TEST_F(TextMeshTest, SmallerDeviationFollowsTheCurvesWithMorePoints) {
    ID3DXMesh* coarse = Make("O", 0.05f);
    ID3DXMesh* fine = Make("O", 0.0005f);
    ASSERT_NE(coarse, nullptr);
    ASSERT_NE(fine, nullptr);
    EXPECT_GT(fine->GetNumVertices(), 2 * coarse->GetNumVertices());
    // A flat-sided letter has no curves to follow.
    ID3DXMesh* flatCoarse = Make("T", 0.05f);
    ID3DXMesh* flatFine = Make("T", 0.0005f);
    EXPECT_EQ(flatCoarse->GetNumVertices(), flatFine->GetNumVertices());
    for (ID3DXMesh* m : {coarse, fine, flatCoarse, flatFine}) m->Release();
}

// Every edge, by its positions, belongs to exactly two faces that run it in opposite directions; every
// vertex lies on the front or the back; each face's winding (clockwise seen from outside) agrees with its
// vertices' unit normals.
TEST_F(TextMeshTest, MeshIsAClosedSolidOfTheExtrusionDepth) {
    for (float extrusion : {0.4f, 1.5f}) {
        for (const char* face : {"Arial", "No Such Face At All"}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(extrusion));
            SelectFont(face, 18);
            ID3DXMesh* mesh = Make("Terrain 8%", 0.001f, extrusion);
            ASSERT_NE(mesh, nullptr);
            const MeshData data = Read(mesh);
            mesh->Release();

            using Key = std::pair<float, std::pair<float, float>>;
            auto key = [&](uint32_t i) {
                const Vertex& v = data.vertices[i];
                return Key{v.x, {v.y, v.z}};
            };
            std::map<std::pair<Key, Key>, int> directed;
            bool windingAgrees = true;
            for (size_t f = 0; f < data.indices.size(); f += 3) {
                for (int k = 0; k < 3; ++k)
                    ++directed[{key(data.indices[f + k]), key(data.indices[f + (k + 1) % 3])}];
                const Vertex &a = data.vertices[data.indices[f]], &b = data.vertices[data.indices[f + 1]],
                             &c = data.vertices[data.indices[f + 2]];
                const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
                const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
                const float cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
                for (const Vertex* v : {&a, &b, &c})
                    if (cx * v->nx + cy * v->ny + cz * v->nz < 0) windingAgrees = false;
            }
            EXPECT_TRUE(windingAgrees);
            size_t unpaired = 0;
            for (const auto& [edge, count] : directed) {
                const auto reverse = directed.find({edge.second, edge.first});
                if (count != 1 || reverse == directed.end() || reverse->second != 1) ++unpaired;
            }
            EXPECT_EQ(unpaired, 0u);

            float minZ = 1e9f, maxZ = -1e9f;
            size_t offPlanes = 0, badNormals = 0;
            for (const Vertex& v : data.vertices) {
                minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
                if (v.z != 0.0f && v.z != extrusion) ++offPlanes;
                if (std::abs(std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz) - 1.0f) > 1e-4f) ++badNormals;
            }
            EXPECT_EQ(minZ, 0.0f);
            EXPECT_EQ(maxZ, extrusion);
            EXPECT_EQ(offPlanes, 0u);
            EXPECT_EQ(badNormals, 0u);
        }
    }
}

TEST_F(TextMeshTest, AdjacencyFindsANeighbourAcrossEveryEdge) {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ASSERT_EQ(D3DXCreateTextA(device_, dc_, "Terrain", 0.001f, 0.4f, &mesh, &adjacency, nullptr), D3D_OK);
    ASSERT_EQ(adjacency->GetBufferSize(), mesh->GetNumFaces() * 3 * sizeof(DWORD));
    const DWORD* table = static_cast<const DWORD*>(adjacency->GetBufferPointer());
    size_t missing = 0;
    for (DWORD i = 0; i < mesh->GetNumFaces() * 3; ++i)
        if (table[i] >= mesh->GetNumFaces() || table[i] == i / 3) ++missing;
    EXPECT_EQ(missing, 0u);
    adjacency->Release();
    mesh->Release();
}

// Units are the em square whatever the font's height: the glyphs come out the same size.
TEST_F(TextMeshTest, GlyphMetricsDescribeEachCharacterInEmUnits) {
    GLYPHMETRICSFLOAT small[3] = {}, large[3] = {};
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXCreateTextA(device_, dc_, "T I", 0.001f, 0.4f, &mesh, nullptr, small), D3D_OK);
    mesh->Release();
    SelectFont("Arial", 64);
    ASSERT_EQ(D3DXCreateTextA(device_, dc_, "T I", 0.001f, 0.4f, &mesh, nullptr, large), D3D_OK);
    const MeshData data = Read(mesh);
    mesh->Release();

    // A capital stands on the baseline, somewhat less than an em high.
    EXPECT_GT(small[0].gmfBlackBoxY, 0.5f);
    EXPECT_LT(small[0].gmfBlackBoxY, 1.0f);
    EXPECT_NEAR(small[0].gmfptGlyphOrigin.y, small[0].gmfBlackBoxY, 1e-5f);
    EXPECT_GT(small[0].gmfBlackBoxX, small[2].gmfBlackBoxX);  // T is wider than I
    // The space has an advance and no outline.
    EXPECT_GT(small[1].gmfCellIncX, 0.1f);
    EXPECT_EQ(small[1].gmfBlackBoxX, 0.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(small[i].gmfCellIncX, large[i].gmfCellIncX);
        EXPECT_FLOAT_EQ(small[i].gmfBlackBoxY, large[i].gmfBlackBoxY);
        EXPECT_EQ(small[i].gmfCellIncY, 0.0f);
    }
    // The I sits where the pen stood after the T and the space.
    float maxX = -1e9f, minY = 1e9f;
    for (const Vertex& v : data.vertices) maxX = std::max(maxX, v.x), minY = std::min(minY, v.y);
    const float iRight = large[0].gmfCellIncX + large[1].gmfCellIncX + large[2].gmfptGlyphOrigin.x +
                         large[2].gmfBlackBoxX;
    EXPECT_NEAR(maxX, iRight, 1e-4f);
    EXPECT_NEAR(minY, 0.0f, 1e-3f);
}

TEST_F(TextMeshTest, BadArgumentsAreRefusedAndLeaveTheOutPointers) {
    ID3DXMesh* const sentinel = reinterpret_cast<ID3DXMesh*>(this);
    HDC notADc = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x7654321));
    struct Case {
        const char* name;
        IDirect3DDevice9* device;
        HDC dc;
        const char* text;
        float deviation, extrusion;
    };
    const Case cases[] = {
        {"null device", nullptr, dc_, "Terrain", 0.001f, 0.4f},
        {"null context", device_, nullptr, "Terrain", 0.001f, 0.4f},
        {"not a context", device_, notADc, "Terrain", 0.001f, 0.4f},
        {"null text", device_, dc_, nullptr, 0.001f, 0.4f},
        {"empty text", device_, dc_, "", 0.001f, 0.4f},
        {"only spaces", device_, dc_, "   ", 0.001f, 0.4f},
        {"negative deviation", device_, dc_, "Terrain", -0.1f, 0.4f},
        {"negative extrusion", device_, dc_, "Terrain", 0.001f, -0.4f},
        {"not a number", device_, dc_, "Terrain", std::nanf(""), 0.4f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ID3DXMesh* mesh = sentinel;
        ID3DXBuffer* adjacency = reinterpret_cast<ID3DXBuffer*>(this);
        EXPECT_EQ(D3DXCreateTextA(c.device, c.dc, c.text, c.deviation, c.extrusion, &mesh, &adjacency, nullptr),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(mesh, sentinel);
        EXPECT_EQ(adjacency, reinterpret_cast<ID3DXBuffer*>(this));
    }
    EXPECT_EQ(D3DXCreateTextA(device_, dc_, "Terrain", 0.001f, 0.4f, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
}

}  // namespace
