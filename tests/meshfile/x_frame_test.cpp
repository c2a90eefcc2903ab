// CXFrame and CXFileRoot: a hierarchy read from a file and from a resource, child order and look-ups,
// the combined matrices, the two-pass draw, what a failing or malformed file leaves, and files of very
// many or very deeply nested frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mesh_media.h"
#include "restable.h"
#include "support/mesh_file_fixture.h"
#include "x_frame.h"

namespace meshfile_test {
namespace {

const std::string kHead = "xof 0302txt 0032\n";
const std::string kTriangle = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;";

std::string Matrix(float x, float y, float z, float scale = 1) {
    auto n = [](float v) { return std::to_string(v); };
    return "FrameTransformMatrix { " + n(scale) + ",0,0,0, 0," + n(scale) + ",0,0, 0,0," + n(scale) + ",0, " + n(x) +
           "," + n(y) + "," + n(z) + ",1;; }\n";
}

// A root that is released and deleted at the end of the test, as its owner would.
class Tree {
public:
    CXFileRoot* operator->() { return root_; }
    CXFileRoot& operator*() { return *root_; }
    ~Tree() {
        root_->ReleaseAll();
        delete root_;
    }

private:
    CXFileRoot* root_ = new CXFileRoot("root");
};

std::vector<std::string> ChildNames(const CXFrame& frame) {
    std::vector<std::string> names;
    for (const CXFrame* c = frame.FirstChild(); c; c = c->NextSibling()) names.push_back(c->Name());
    return names;
}

class XFrameTest : public MeshFileTest {};

TEST_F(XFrameTest, ReadsTheMediaHierarchyWithItsMatricesAndMeshes) {
    WriteFile("media/frames.x", FramesFile());
    Tree tree;
    ASSERT_EQ(tree->LoadFromFile(device_, "media/frames.x"), S_OK);
    EXPECT_EQ(ChildNames(*tree), std::vector<std::string>{"Body"});
    CXFrame* body = tree->LookupFrameByName("BODY");
    ASSERT_NE(body, nullptr);
    EXPECT_FLOAT_EQ(body->Matrix()._41, -0.25f);
    ASSERT_NE(body->Mesh(), nullptr);
    EXPECT_STREQ(body->Mesh()->Name(), "Block");
    EXPECT_EQ(body->Mesh()->MaterialCount(), 1u);
    CXFrame* arm = tree->LookupFrameByName("arm");
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(arm, body->FirstChild());
    EXPECT_FLOAT_EQ(arm->Matrix()._43, -0.5f);
    CXMesh* pane = tree->LookupMeshByName("pane");
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane, arm->Mesh());
    EXPECT_FLOAT_EQ(pane->Materials()[0].Diffuse.a, 0.5f);
    EXPECT_EQ(tree->LookupMeshByName("nothing"), nullptr);
    EXPECT_EQ(tree->Mesh(), nullptr);
}

TEST_F(XFrameTest, ReadsAResourceOfTheProgram) {
    static const std::string text = kHead + "Frame FromResource { Frame Inner { } }\n";
    static const RESOURCE_TABLE_ENTRY kTable[] = {{"XFILE", "SCENE", 0, text.data(), DWORD(text.size())}};
    RegisterProgramResources(kTable, 1);
    Tree tree;
    EXPECT_EQ(tree->LoadFromResource(device_, "SCENE", "XFILE"), S_OK);
    ASSERT_NE(tree->LookupFrameByName("inner"), nullptr);
    Tree missing;
    EXPECT_EQ(missing->LoadFromResource(device_, "NOSUCH", "XFILE"), DXFILEERR_RESOURCENOTFOUND);
    RegisterProgramResources(nullptr, 0);
}

// Children end up newest first, and every walk visits them in that order: the first of two names
// that differ only in case is the one a look-up finds.
TEST_F(XFrameTest, ChildrenAreHeldInReverseAndWalkedInThatOrder) {
    WriteFile("order.x", kHead + "Frame P {\n Frame A { Mesh MA {" + kTriangle + "} }\n Frame B { Mesh MB {" +
                             kTriangle + "} }\n Frame C { Mesh MC {" + kTriangle + "} }\n Frame b { } }\n");
    Tree tree;
    ASSERT_EQ(tree->LoadFromFile(device_, "order.x"), S_OK);
    CXFrame* p = tree->LookupFrameByName("P");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(ChildNames(*p), (std::vector<std::string>{"b", "C", "B", "A"}));
    EXPECT_STREQ(tree->LookupFrameByName("B")->Name(), "b");
    std::vector<std::string> visited;
    EXPECT_TRUE(tree->ForEachMesh(
        [](CXMesh* mesh, void* context) {
            static_cast<std::vector<std::string>*>(context)->push_back(mesh->Name());
            return true;
        },
        &visited));
    EXPECT_EQ(visited, (std::vector<std::string>{"MC", "MB", "MA"}));
}

// With caller matrix P and root matrix R, a top-level frame F draws under M(F) · P · R. An orthographic
// camera puts world (x, y) at pixel (32 + 8x, 32 - 8y): the triangle's corner at the origin lands at
// (1, 0, 0) · scale 2 + (0, 1, 0) = (2, 1), where the other orders would put it elsewhere.
TEST_F(XFrameTest, TopLevelFramesDrawUnderTheirMatrixThenTheCallersThenTheRoots) {
    WriteFile("placed.x", kHead + Matrix(0, 1, 0) + "Frame F { " + Matrix(1, 0, 0) + "Mesh {" +
                              "4; -0.1;-0.1;0;, -0.1;0.1;0;, 0.1;0.1;0;, 0.1;-0.1;0;; 1; 4;0,1,2,3;;" +
                              " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 1;1;1;; } } } }\n");
    Tree tree;
    ASSERT_EQ(tree->LoadFromFile(device_, "placed.x"), S_OK);
    EXPECT_FLOAT_EQ(tree->Matrix()._42, 1.0f);  // the top-level matrix is the root's
    tree->CreateVolatileResources(device_);
    UseFlatCamera();
    D3DXMATRIX caller;
    D3DXMatrixScaling(&caller, 2, 2, 2);
    Frame(0xFF000000, [&] { tree->DrawAll(device_, &caller); });
    int sx = 0, sy = 0, lit = 0;
    for (UINT y = 0; y < test::kDrawHeight; ++y)
        for (UINT x = 0; x < test::kDrawWidth; ++x)
            if (Pixel(x, y) == 0xFFFFFFFFu) sx += int(x), sy += int(y), ++lit;
    ASSERT_GT(lit, 0);
    EXPECT_NEAR(double(sx) / lit, 32 + 16 - 0.5, 1.0);
    EXPECT_NEAR(double(sy) / lit, 32 - 8 - 0.5, 1.0);
}

TEST_F(XFrameTest, DrawAllDrawsOpaqueThenBlendedAndRestoresTheWorld) {
    WriteFile("media/frames.x", FramesFile());
    Tree tree;
    ASSERT_EQ(tree->LoadFromFile(device_, "media/frames.x"), S_OK);
    ASSERT_EQ(tree->CreateVolatileResources(device_), S_OK);
    UseFlatCamera();
    D3DXMATRIX world;
    D3DXMatrixScaling(&world, 3, 3, 3);
    device_->SetTransform(D3DTS_WORLD, &world);
    d3d9::control::ClearCallLog();
    Frame(0xFF202020, [&] { EXPECT_EQ(tree->DrawAll(device_, nullptr), S_OK); });
    ExpectGolden("xframe_draw_all");
    // The opaque Block first, the blend switched on, then the translucent Pane.
    std::vector<std::string> order;
    for (const std::string& line : d3d9::control::CallLog())
        if (line.rfind("DrawIndexedPrimitive", 0) == 0 || line.rfind("SetRenderState(27,", 0) == 0)
            order.push_back(line.rfind("Draw", 0) == 0 ? "draw" : line);
    EXPECT_EQ(order, (std::vector<std::string>{"draw", "SetRenderState(27,1)", "draw", "SetRenderState(27,0)"}));
    D3DXMATRIX after;
    device_->GetTransform(D3DTS_WORLD, &after);
    EXPECT_EQ(after, world);
    DWORD value = 0;
    device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, DWORD(FALSE));
    device_->GetRenderState(D3DRS_SRCBLEND, &value);
    EXPECT_EQ(value, DWORD(D3DBLEND_SRCALPHA));
    device_->GetRenderState(D3DRS_DESTBLEND, &value);
    EXPECT_EQ(value, DWORD(D3DBLEND_INVSRCALPHA));
}

TEST_F(XFrameTest, RestoresAfterAResetAndReleasesEverything) {
    WriteFile("media/frames.x", FramesFile());
    Tree tree;
    ASSERT_EQ(tree->LoadFromFile(device_, "media/frames.x"), S_OK);
    tree->AssignMatrix(&*[] {
        static D3DXMATRIX m;
        D3DXMatrixTranslation(&m, 1, 2, 3);
        return &m;
    }());
    ASSERT_EQ(tree->CreateVolatileResources(device_), S_OK);
    ASSERT_EQ(tree->ReleaseVolatileResources(), S_OK);
    EXPECT_EQ(tree->LookupMeshByName("Pane")->DeviceMesh(), nullptr);
    D3DPRESENT_PARAMETERS params = test::WithDepth(test::Windowed(test::kDrawWidth, test::kDrawHeight));
    params.Flags |= D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    ASSERT_EQ(tree->CreateVolatileResources(device_), S_OK);
    EXPECT_NE(tree->LookupMeshByName("Pane")->DeviceMesh(), nullptr);
    EXPECT_NE(tree->LookupMeshByName("Block")->DeviceMesh(), nullptr);
    EXPECT_EQ(tree->ReleaseAll(), S_OK);
    EXPECT_EQ(tree->FirstChild(), nullptr);
    EXPECT_EQ(tree->Mesh(), nullptr);
    EXPECT_STREQ(tree->Name(), "root");
    EXPECT_FLOAT_EQ(tree->Matrix()._43, 3.0f);
}

// What each malformed or unusual file leaves in the tree and what the load answers.
TEST_F(XFrameTest, FailuresAndEdgeCasesOfTheFile) {
    struct Case {
        const char* what;
        std::string text;
        HRESULT expected;
        std::vector<std::string> frames;  // names found afterwards
        bool rootMesh = false;
    };
    const std::string longName(600, 'x');
    const Case cases[] = {
        {"a parse error after a frame: what came before stays", kHead + "Frame A { } Frame B { 1; }",
         S_OK, {"A"}},
        {"an unknown template", kHead + "Frame A { } Teapot { }", S_OK, {"A"}},
        {"a data reference in a frame", kHead + "Frame A { } Frame B { Frame C { } {A} }", E_FAIL, {"A", "B", "C"}},
        {"two meshes in a frame: the first stays",
         kHead + "Frame A { Mesh M1 {" + kTriangle + "} Mesh M2 {" + kTriangle + "} }", E_FAIL, {"A"}},
        {"a mesh the loader refuses stays attached, empty",
         kHead + "Frame A { Mesh Bad { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,5;; } }", S_OK, {"A"}},
        {"an unnamed frame", kHead + "Frame { Frame Named { } }", S_OK, {"", "Named"}},
        {"a name too long for the 512-byte buffer", kHead + "Frame " + longName + " { }", E_FAIL, {}},
        {"a top-level mesh is the root's own", kHead + "Mesh Lone {" + kTriangle + "}", S_OK, {}, true},
        {"other top-level objects are passed over",
         kHead + "Header { 1; 0; 1; } Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } AnimationSet { }", S_OK, {}},
    };
    for (const Case& c : cases) {
        WriteFile("case.x", c.text);
        Tree tree;
        EXPECT_EQ(tree->LoadFromFile(device_, "case.x"), c.expected) << c.what;
        for (const std::string& name : c.frames) EXPECT_NE(tree->LookupFrameByName(name.c_str()), nullptr) << c.what;
        EXPECT_EQ(tree->Mesh() != nullptr, c.rootMesh) << c.what;
    }
    Tree tree;
    WriteFile("bad.x", "xof 0302bin 0032\n");
    EXPECT_EQ(tree->LoadFromFile(device_, "bad.x"), DXFILEERR_BADFILETYPE);
    EXPECT_EQ(tree->LoadFromFile(device_, "missing.x"), DXFILEERR_FILENOTFOUND);
}

TEST_F(XFrameTest, EdgeCasesOfFramesAndMeshes) {
    // The refused mesh draws nothing; the second mesh of a frame was never made.
    WriteFile("two.x", kHead + "Frame A { Mesh M1 { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,9;; } Mesh M2 {" + kTriangle +
                           "} }");
    Tree tree;
    EXPECT_EQ(tree->LoadFromFile(device_, "two.x"), E_FAIL);
    CXMesh* kept = tree->LookupMeshByName("M1");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->SystemMemoryMesh(), nullptr);
    EXPECT_EQ(tree->LookupMeshByName("M2"), nullptr);

    // A frame transform declared by the file with too few floats is passed over, not read past.
    WriteFile("short.x", kHead + "template Short { <F6F23F41-7686-11cf-8F52-0040333594A3> DWORD n; }\n"
                                 "Frame A { Short { 7; } }\n");
    Tree shortTree;
    EXPECT_EQ(shortTree->LoadFromFile(device_, "short.x"), S_OK);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(shortTree->LookupFrameByName("A")->Matrix(), identity);

    // A top-level mesh is found by name but DrawAll draws nothing of it.
    WriteFile("lone.x", kHead + "Mesh Lone {" + kTriangle +
                            " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }");
    Tree lone;
    ASSERT_EQ(lone->LoadFromFile(device_, "lone.x"), S_OK);
    EXPECT_EQ(lone->LookupMeshByName("LONE"), lone->Mesh());
    lone->CreateVolatileResources(device_);
    ASSERT_EQ(device_->BeginScene(), S_OK);
    DrawnStartIndices();
    lone->DrawAll(device_, nullptr);
    EXPECT_TRUE(DrawnStartIndices().empty());
    device_->EndScene();

    // Loading into a root that holds a tree adds to it.
    ASSERT_EQ(lone->LoadFromFile(device_, "short.x"), S_OK);
    EXPECT_NE(lone->LookupFrameByName("A"), nullptr);
    EXPECT_NE(lone->Mesh(), nullptr);
}

// A file cut anywhere: the load answers success with what was read (a parse error ends the file) or
// a failure of a frame's content, and what it leaves draws and releases.
TEST_F(XFrameTest, EveryTruncationOfTheMediaHierarchyLoadsWhatItHolds) {
    const std::vector<uint8_t> full = FramesFile();
    UseFlatCamera();
    for (size_t cut = 0; cut < full.size(); cut += 5) {
        WriteFile("cut.x", std::vector<uint8_t>(full.begin(), full.begin() + std::ptrdiff_t(cut)));
        Tree tree;
        const HRESULT hr = tree->LoadFromFile(device_, "cut.x");
        if (cut < 16) {
            EXPECT_EQ(hr, DXFILEERR_BADFILETYPE) << cut;
        } else {
            EXPECT_EQ(hr, S_OK) << cut;  // Body is one top-level object: complete or not read at all
            EXPECT_EQ(tree->FirstChild(), nullptr) << cut;
        }
        tree->CreateVolatileResources(device_);
        Frame(0, [&] { tree->DrawAll(device_, nullptr); });
    }
}

// 50,000 frames under one parent and a chain nested as deep as the parser allows: read, walked,
// drawn and released without running out of stack.
TEST_F(XFrameTest, ManySiblingsAndDeepNestingAreReadAndReleased) {
    std::string wide = kHead + "Frame Parent {\n";
    for (int i = 0; i < 50000; ++i) wide += "Frame F" + std::to_string(i) + " { }\n";
    wide += "}\n";
    WriteFile("wide.x", wide);
    // 62 frames and a mesh whose vectors are members one level further in: the parser's limit of 64.
    std::string deep = kHead;
    for (int i = 0; i < 62; ++i) deep += "Frame D" + std::to_string(i) + " {\n";
    deep += "Mesh Bottom {" + kTriangle + "}\n";
    for (int i = 0; i < 62; ++i) deep += "}\n";
    WriteFile("deep.x", deep);
    {
        Tree tree;
        ASSERT_EQ(tree->LoadFromFile(device_, "wide.x"), S_OK);
        EXPECT_EQ(ChildNames(*tree->FirstChild()).size(), 50000u);
        EXPECT_NE(tree->LookupFrameByName("F0"), nullptr);
        ASSERT_EQ(tree->LoadFromFile(device_, "deep.x"), S_OK);
        EXPECT_NE(tree->LookupMeshByName("Bottom"), nullptr);
        tree->CreateVolatileResources(device_);
        Frame(0, [&] { tree->DrawAll(device_, nullptr); });
        tree->ReleaseVolatileResources();
    }
    // A frame deleted without ReleaseAll deletes its frames (its meshes are its owner's to release).
    CXFileRoot* root = new CXFileRoot("root");
    ASSERT_EQ(root->LoadFromFile(device_, "wide.x"), S_OK);
    delete root;
    // One level deeper than the parser reads: the file ends there, with nothing read.
    WriteFile("deeper.x", kHead + "Frame Top {\n" + deep.substr(kHead.size()) + "}\n");
    Tree deeper;
    EXPECT_EQ(deeper->LoadFromFile(device_, "deeper.x"), S_OK);
    EXPECT_EQ(deeper->FirstChild(), nullptr);
}

}  // namespace
}  // namespace meshfile_test
