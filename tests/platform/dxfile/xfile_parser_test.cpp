// The X-file parser through its COM interfaces: templates, data objects, children, references, the
// header checks and malformed files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dxfile.h"
#include "restable.h"
#include "temp_folder.h"

namespace {

class XFileParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DirectXFileCreate(&file_), S_OK);
        ASSERT_EQ(file_->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES), S_OK);
    }
    void TearDown() override {
        if (file_) file_->Release();
    }

    std::string Write(const std::string& text) {
        return folder_.AddFile("f" + std::to_string(count_++) + ".x", text).string();
    }

    HRESULT Open(const std::string& text, IDirectXFileEnumObject** e) {
        std::string path = Write(text);
        return file_->CreateEnumObject(path.data(), DXFILELOAD_FROMFILE, e);
    }

    // Every top-level object's template name (by GUID) until the enumeration stops, and how it stopped.
    HRESULT Drain(const std::string& text, int* objects) {
        IDirectXFileEnumObject* e = nullptr;
        HRESULT hr = Open(text, &e);
        if (FAILED(hr)) return hr;
        *objects = 0;
        IDirectXFileData* d = nullptr;
        while (SUCCEEDED(hr = e->GetNextDataObject(&d))) {
            ++*objects;
            d->Release();
        }
        e->Release();
        return hr;
    }

    static std::string Name(IDirectXFileObject* o) {
        char buffer[64] = {};
        DWORD size = sizeof buffer;
        EXPECT_EQ(o->GetName(buffer, &size), S_OK);
        return buffer;
    }

    IDirectXFile* file_ = nullptr;
    test_support::TempFolder folder_;
    int count_ = 0;
};

const char kFrameFile[] =
    "xof 0302txt 0032\n"
    "# a comment\n"
    "Frame Root {  // another\n"
    "  FrameTransformMatrix { 1.0,0,0,0, 0,1,0,0, 0,0,1,0, 5,6,7,1;; }\n"
    "  Mesh Tri <01020304-0506-0708-090A-0B0C0D0E0F10> {\n"
    "    3; 0;0;0;, 1;0;0;, 0;1;0;;\n"
    "    1; 3;0,1,2;;\n"
    "  }\n"
    "  Frame Child { }\n"
    "}\n"
    "Material Red { 1;0;0;1;; 5.0; 0;0;0;; 0;0;0;; }\n";

TEST_F(XFileParserTest, ReadsObjectsChildrenNamesTypesAndData) {
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(Open(kFrameFile, &e), S_OK);
    IDirectXFileData* root = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&root), S_OK);
    const GUID* type = nullptr;
    ASSERT_EQ(root->GetType(&type), S_OK);
    EXPECT_TRUE(IsEqualGUID(*type, TID_D3DRMFrame));
    EXPECT_EQ(Name(root), "Root");
    DWORD size = 0;
    EXPECT_EQ(root->GetName(nullptr, &size), S_OK);
    EXPECT_EQ(size, 5u);
    char tiny[2];
    size = sizeof tiny;
    EXPECT_EQ(root->GetName(tiny, &size), DXFILEERR_BADVALUE);

    // Children in file order: the matrix, the mesh, the child frame.
    IDirectXFileObject* child = nullptr;
    ASSERT_EQ(root->GetNextObject(&child), S_OK);
    IDirectXFileData* matrix = nullptr;
    ASSERT_EQ(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&matrix)), S_OK);
    child->Release();
    void* data = nullptr;
    ASSERT_EQ(matrix->GetData(nullptr, &size, &data), S_OK);
    ASSERT_EQ(size, 64u);
    float m[16];
    std::memcpy(m, data, sizeof m);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[12], 5.0f);
    EXPECT_EQ(m[14], 7.0f);
    matrix->Release();

    ASSERT_EQ(root->GetNextObject(&child), S_OK);
    IDirectXFileData* mesh = nullptr;
    ASSERT_EQ(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&mesh)), S_OK);
    child->Release();
    ASSERT_EQ(mesh->GetType(&type), S_OK);
    EXPECT_TRUE(IsEqualGUID(*type, TID_D3DRMMesh));
    GUID id{};
    ASSERT_EQ(mesh->GetId(&id), S_OK);
    EXPECT_EQ(id.Data1, 0x01020304u);
    EXPECT_EQ(id.Data4[7], 0x10);
    // Whole data: count, 3 vectors, face count, one face of 3 indices.
    ASSERT_EQ(mesh->GetData(nullptr, &size, &data), S_OK);
    EXPECT_EQ(size, 4u + 36u + 4u + 16u);
    // One member by name.
    ASSERT_EQ(mesh->GetData("nFaces", &size, &data), S_OK);
    ASSERT_EQ(size, 4u);
    uint32_t faces = 0;
    std::memcpy(&faces, data, 4);
    EXPECT_EQ(faces, 1u);
    EXPECT_EQ(mesh->GetData("noSuchMember", &size, &data), DXFILEERR_NOTFOUND);
    mesh->Release();

    ASSERT_EQ(root->GetNextObject(&child), S_OK);
    EXPECT_EQ(Name(child), "Child");
    child->Release();
    EXPECT_EQ(root->GetNextObject(&child), DXFILEERR_NOMOREOBJECTS);
    root->Release();

    IDirectXFileData* red = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&red), S_OK);
    EXPECT_EQ(Name(red), "Red");
    red->Release();
    IDirectXFileData* none = nullptr;
    EXPECT_EQ(e->GetNextDataObject(&none), DXFILEERR_NOMOREOBJECTS);
    EXPECT_EQ(e->GetDataObjectByName("Red", &red), S_OK);
    red->Release();
    e->Release();
}

TEST_F(XFileParserTest, EveryTruncationOfAFileEndsInAnErrorOrAtAnObjectBoundary) {
    const std::string full = kFrameFile;
    const size_t rootStart = full.find("Frame Root");
    const size_t rootEnd = full.find("}\nMaterial") + 2;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        int objects = -1;
        const HRESULT hr = Drain(full.substr(0, cut), &objects);
        if (cut < 16) {
            EXPECT_EQ(hr, DXFILEERR_BADFILETYPE) << cut;
        } else if (cut <= rootStart) {
            EXPECT_EQ(hr, DXFILEERR_NOMOREOBJECTS) << cut;  // header and comment only
        } else if (cut < rootEnd - 1) {
            EXPECT_TRUE(FAILED(hr) && hr != DXFILEERR_NOMOREOBJECTS) << cut;
            EXPECT_EQ(objects, 0) << cut;
        } else {
            EXPECT_GE(objects, 1) << cut;
        }
    }
}

TEST_F(XFileParserTest, FileTemplatesPackMembersAndSizeArraysByEarlierMembers) {
    const std::string text =
        "xof 0303txt 0064\n"
        "template Pair { <11111111-2222-3333-4444-555555555555> WORD a; BYTE b; }\n"
        "template Thing { <11111111-2222-3333-4444-555555555556> DWORD n; array Pair pairs[n];\n"
        "  STRING label; array FLOAT grid[2][n]; DOUBLE d; }\n"
        "Thing T { 2; 1;2;, 3;4;; \"hello world\"; 1.5,2,3,4;; 0.25; }\n";
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(Open(text, &e), S_OK);
    IDirectXFileData* t = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&t), S_OK);
    DWORD size = 0;
    void* data = nullptr;
    ASSERT_EQ(t->GetData(nullptr, &size, &data), S_OK);
    ASSERT_EQ(size, 4u + 2 * 3u + sizeof(char*) + 16u + 8u);
    const auto* b = static_cast<const uint8_t*>(data);
    uint16_t second = 0;
    std::memcpy(&second, b + 4 + 3, 2);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(b[4 + 5], 4);
    const char* label = nullptr;
    std::memcpy(&label, b + 10, sizeof label);
    EXPECT_STREQ(label, "hello world");
    ASSERT_EQ(t->GetData("grid", &size, &data), S_OK);
    EXPECT_EQ(size, 16u);
    float grid[4];
    std::memcpy(grid, data, sizeof grid);
    EXPECT_EQ(grid[0], 1.5f);
    EXPECT_EQ(grid[3], 4.0f);
    e->Release();
    // The data stays readable while the object is held, after the enumeration and parser are gone.
    file_->Release();
    file_ = nullptr;
    ASSERT_EQ(t->GetData("label", &size, &data), S_OK);
    std::memcpy(&label, data, sizeof label);
    EXPECT_STREQ(label, "hello world");
    t->Release();
}

TEST_F(XFileParserTest, ReferencesResolveByNameAndAreNoDataObjects) {
    const std::string text =
        "xof 0302txt 0032\n"
        "Material Gold { 1;0.8;0;1;; 10; 1;1;1;; 0;0;0;; }\n"
        "Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  MeshMaterialList { 1; 1; 0;; {Gold} }\n"
        "  MeshMaterialList { 1; 1; 0;; { Missing } }\n"
        "}\n";
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(Open(text, &e), S_OK);
    IDirectXFileData* material = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&material), S_OK);
    material->Release();
    IDirectXFileData* mesh = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&mesh), S_OK);
    for (HRESULT expected : {S_OK, DXFILEERR_BADDATAREFERENCE}) {
        IDirectXFileObject* o = nullptr;
        ASSERT_EQ(mesh->GetNextObject(&o), S_OK);
        IDirectXFileData* list = nullptr;
        ASSERT_EQ(o->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&list)), S_OK);
        o->Release();
        IDirectXFileObject* ref = nullptr;
        ASSERT_EQ(list->GetNextObject(&ref), S_OK);
        IDirectXFileData* asData = nullptr;
        EXPECT_EQ(ref->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&asData)), E_NOINTERFACE);
        IDirectXFileDataReference* r = nullptr;
        ASSERT_EQ(ref->QueryInterface(IID_IDirectXFileDataReference, reinterpret_cast<void**>(&r)), S_OK);
        IDirectXFileData* target = nullptr;
        EXPECT_EQ(r->Resolve(&target), expected);
        if (target) {
            EXPECT_EQ(Name(target), "Gold");
            target->Release();
        }
        r->Release();
        ref->Release();
        list->Release();
    }
    mesh->Release();
    e->Release();
}

TEST_F(XFileParserTest, RegisterTemplatesTakesTextTemplatesOnly) {
    IDirectXFile* bare = nullptr;
    ASSERT_EQ(DirectXFileCreate(&bare), S_OK);
    const std::string file = "xof 0302txt 0032\nHeader { 1; 0; 1; }\n";
    std::string path = Write(file);
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(bare->CreateEnumObject(path.data(), DXFILELOAD_FROMFILE, &e), S_OK);
    IDirectXFileData* d = nullptr;
    EXPECT_EQ(e->GetNextDataObject(&d), DXFILEERR_NOTEMPLATE);  // nothing registered yet
    e->Release();

    std::string binary = "xof 0302bin 0064";
    binary.append(16, '\0');
    EXPECT_EQ(bare->RegisterTemplates(binary.data(), DWORD(binary.size())), DXFILEERR_BADFILETYPE);
    std::string withData =
        "xof 0302txt 0032\ntemplate A { <AAAAAAAA-0000-0000-0000-000000000001> DWORD x; }\nA { 1; }\n";
    EXPECT_EQ(bare->RegisterTemplates(withData.data(), DWORD(withData.size())), DXFILEERR_PARSEERROR);
    ASSERT_EQ(bare->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES), S_OK);
    ASSERT_EQ(bare->CreateEnumObject(path.data(), DXFILELOAD_FROMFILE, &e), S_OK);
    ASSERT_EQ(e->GetNextDataObject(&d), S_OK);
    d->Release();
    e->Release();
    bare->Release();
}

TEST_F(XFileParserTest, ReadsAProgramResource) {
    static const char kText[] = "xof 0302txt 0032\nFrame FromResource { }\n";
    static const RESOURCE_TABLE_ENTRY kTable[] = {{"XFILE", "SCENE", 0, kText, sizeof kText - 1}};
    RegisterProgramResources(kTable, 1);
    DXFILELOADRESOURCE resource{nullptr, "SCENE", "XFILE"};
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(file_->CreateEnumObject(&resource, DXFILELOAD_FROMRESOURCE, &e), S_OK);
    IDirectXFileData* d = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&d), S_OK);
    EXPECT_EQ(Name(d), "FromResource");
    d->Release();
    e->Release();
    RegisterProgramResources(nullptr, 0);
}

TEST_F(XFileParserTest, HeaderAndSourceFailures) {
    struct Case {
        const char* what;
        std::string text;
        HRESULT expected;
    };
    const Case cases[] = {
        {"empty", "", DXFILEERR_BADFILETYPE},
        {"short header", "xof 0302txt", DXFILEERR_BADFILETYPE},
        {"wrong magic", "xyz 0302txt 0032\n", DXFILEERR_BADFILETYPE},
        {"version", "xof 0201txt 0032\n", DXFILEERR_BADFILEVERSION},
        {"binary", "xof 0302bin 0032\n", DXFILEERR_BADFILETYPE},
        {"compressed", "xof 0303tzip0032\n", DXFILEERR_BADFILETYPE},
        {"float size", "xof 0302txt 0016\n", DXFILEERR_BADFILEFLOATSIZE},
    };
    for (const Case& c : cases) {
        IDirectXFileEnumObject* e = nullptr;
        EXPECT_EQ(Open(c.text, &e), c.expected) << c.what;
        EXPECT_EQ(e, nullptr) << c.what;
    }
    IDirectXFileEnumObject* e = nullptr;
    std::string missing = (folder_.Path() / "none.x").string();
    EXPECT_EQ(file_->CreateEnumObject(missing.data(), DXFILELOAD_FROMFILE, &e), DXFILEERR_FILENOTFOUND);
    DXFILELOADRESOURCE resource{nullptr, "NOSUCH", "XFILE"};
    EXPECT_EQ(file_->CreateEnumObject(&resource, DXFILELOAD_FROMRESOURCE, &e), DXFILEERR_RESOURCENOTFOUND);
    EXPECT_EQ(e, nullptr);
}

TEST_F(XFileParserTest, MalformedFilesStopTheEnumerationWithAnError) {
    const std::string head = "xof 0302txt 0032\nHeader { 1; 0; 1; }\n";
    std::string deep = head;
    for (int i = 0; i < 200; ++i) deep += "Frame {\n";
    for (int i = 0; i < 200; ++i) deep += "}\n";
    struct Case {
        const char* what;
        std::string body;
        HRESULT expected;
    };
    const Case cases[] = {
        {"truncated object", "Mesh { 3; 0;0;0;, 1;0;", DXFILEERR_NOMOREDATA},
        {"unclosed object", "Frame { Frame {", DXFILEERR_NOMOREDATA},
        {"unknown template", "Teapot { 1; }", DXFILEERR_NOTEMPLATE},
        {"fewer vectors than the count", "Mesh { 3; 0;0;0;, 1;0;0;; 1; 3;0,1,2;; }", DXFILEERR_PARSEERROR},
        {"huge count", "Mesh { 4000000000; 0;0;0;; }", DXFILEERR_BADARRAYSIZE},
        {"count over the limit", "Mesh { 20000000; 0;0;0;; }", DXFILEERR_BADARRAYSIZE},
        {"word out of range", "Header { 70000; 0; 1; }", DXFILEERR_BADVALUE},
        {"negative dword", "Header { 1; 0; -1; }", DXFILEERR_PARSEERROR},
        {"float overflow", "Vector { 1e39; 0; 0; }", DXFILEERR_BADVALUE},
        {"string expected", "TextureFilename { 12; }", DXFILEERR_PARSEERROR},
        {"unterminated string", "TextureFilename { \"abc; }", DXFILEERR_PARSEERROR},
        {"closed template with a child", "Vector { 1;2;3; Frame { } }", DXFILEERR_BADOBJECT},
        {"restricted template with a wrong child", "MeshMaterialList { 1; 0;; Frame { } }", DXFILEERR_BADOBJECT},
        {"reference without a name", "Frame { { } }", DXFILEERR_BADDATAREFERENCE},
        {"bad GUID", "Frame F <1234> { }", DXFILEERR_PARSEERROR},
        {"stray brace", "}", DXFILEERR_PARSEERROR},
        {"stray byte", "\x01", DXFILEERR_PARSEERROR},
        {"template size from an unknown member",
         "template Bad { <AAAAAAAA-0000-0000-0000-000000000002> array DWORD v[n]; }", DXFILEERR_BADARRAYSIZE},
        {"template of an unknown type", "template Bad { <AAAAAAAA-0000-0000-0000-000000000003> Teapot t; }",
         DXFILEERR_NOTEMPLATE},
    };
    for (const Case& c : cases) {
        int objects = -1;
        EXPECT_EQ(Drain(head + c.body, &objects), c.expected) << c.what;
        EXPECT_EQ(objects, 1) << c.what;  // the Header read before the fault is still handed out
    }
    int objects = -1;
    EXPECT_EQ(Drain(deep, &objects), DXFILEERR_BADOBJECT);
    EXPECT_EQ(objects, 1);
}

TEST_F(XFileParserTest, EveryStandardTemplateReadsAndRegisteringTheSetTwiceIsHarmless) {
    ASSERT_EQ(file_->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES), S_OK);
    const std::string text =
        "xof 0302txt 0064\n"
        "Header { 1; 0; 1; }\n"
        "RightHanded { 1; }\n"
        "Guid { 1; 2; 3; 4,5,6,7,8,9,10,11;; }\n"
        "PropertyBag { StringProperty { \"author\"; \"us\"; } StringProperty { \"k\"; \"v\"; } }\n"
        "ExternalVisual { 1; 2; 3; 0,0,0,0,0,0,0,0;; Frame { } }\n"
        "Url Where { 2; \"a.x\", \"b.x\";; }\n"
        "ProgressiveMesh { {Where} InlineData { } }\n"
        "Material M { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"t.bmp\"; } MaterialWrap { 1; 0; } }\n"
        "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
        "  MeshFaceWraps { 1; 1; 0;;; }\n"
        "  MeshVertexColors { 1; 0; 1;0;0;1;;; }\n"
        "  MeshMaterialList { 1; 1; 0;; {M} }\n"
        "}\n"
        "Frame { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; } }\n"
        "AnimationSet Walk {\n"
        "  Animation { {Root} AnimationOptions { 1; 0; }\n"
        "    AnimationKey { 2; 2; 0; 3; 0,0,0;;, 10; 3; 1,2,3;;; }\n"
        "    AnimationKey { 0; 1; 0; 4; 1,0,0,0;;; }\n"
        "  }\n"
        "}\n";
    int objects = 0;
    EXPECT_EQ(Drain(text, &objects), DXFILEERR_NOMOREOBJECTS);
    EXPECT_EQ(objects, 11);

    // The animation key's packed data: type, count, then each key's time and values.
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(Open(text, &e), S_OK);
    IDirectXFileData* set = nullptr;
    ASSERT_EQ(e->GetDataObjectByName("Walk", &set), S_OK);
    IDirectXFileObject* o = nullptr;
    ASSERT_EQ(set->GetNextObject(&o), S_OK);
    IDirectXFileData* animation = nullptr;
    ASSERT_EQ(o->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&animation)), S_OK);
    o->Release();
    IDirectXFileObject* reference = nullptr;
    ASSERT_EQ(animation->GetNextObject(&reference), S_OK);  // {Root}: names nothing in this file
    reference->Release();
    for (int skip = 0; skip < 2; ++skip) {
        ASSERT_EQ(animation->GetNextObject(&o), S_OK);
        if (skip == 0) o->Release();
    }
    IDirectXFileData* key = nullptr;
    ASSERT_EQ(o->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&key)), S_OK);
    o->Release();
    DWORD size = 0;
    void* data = nullptr;
    ASSERT_EQ(key->GetData(nullptr, &size, &data), S_OK);
    ASSERT_EQ(size, 4u * 2 + 2 * (4u + 4u + 12u));
    uint32_t words[12];
    std::memcpy(words, data, size);
    EXPECT_EQ(words[2 + 5], 10u);  // the second key's time
    float last = 0;
    std::memcpy(&last, &words[11], 4);
    EXPECT_EQ(last, 3.0f);
    key->Release();
    animation->Release();
    set->Release();
    e->Release();
}

TEST_F(XFileParserTest, TemplateAndTypeNamesMatchIgnoringCase) {
    const std::string text =
        "xof 0302txt 0032\n"
        "TEMPLATE TextureFileName { <A42790E1-7810-11cf-8F52-0040333594A3> string filename; }\n"
        "template Pair { <11111111-2222-3333-4444-555555555557> vector a; ARRAY Dword b[2]; }\n"
        "material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { \"stone.bmp\"; } }\n"
        "PAIR P { 1;2;3;; 4,5; }\n";
    IDirectXFileEnumObject* e = nullptr;
    ASSERT_EQ(Open(text, &e), S_OK);
    IDirectXFileData* material = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&material), S_OK);
    const GUID* type = nullptr;
    ASSERT_EQ(material->GetType(&type), S_OK);
    EXPECT_TRUE(IsEqualGUID(*type, TID_D3DRMMaterial));
    IDirectXFileObject* child = nullptr;
    ASSERT_EQ(material->GetNextObject(&child), S_OK);
    IDirectXFileData* texture = nullptr;
    ASSERT_EQ(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&texture)), S_OK);
    ASSERT_EQ(texture->GetType(&type), S_OK);
    EXPECT_TRUE(IsEqualGUID(*type, TID_D3DRMTextureFilename));
    texture->Release();
    child->Release();
    material->Release();
    IDirectXFileData* pair = nullptr;
    ASSERT_EQ(e->GetNextDataObject(&pair), S_OK);
    DWORD size = 0;
    void* data = nullptr;
    ASSERT_EQ(pair->GetData(nullptr, &size, &data), S_OK);
    EXPECT_EQ(size, 12u + 8u);
    pair->Release();
    e->Release();
}

TEST_F(XFileParserTest, BinaryRestrictionsAllowNoTextChildren) {
    const std::string head =
        "xof 0302txt 0032\n"
        "template Blob { <11111111-2222-3333-4444-555555555558> DWORD n; [ binary ] }\n"
        "template Either { <11111111-2222-3333-4444-555555555559> [Vector, BINARY] }\n";
    struct Case {
        const char* what;
        std::string body;
        HRESULT expected;
        int objects;
    };
    const Case cases[] = {
        {"empty", "Blob { 3; } InlineData { } Either { Vector { 1;2;3; } }", DXFILEERR_NOMOREOBJECTS, 3},
        {"a data object in binary-only data", "InlineData { Frame { } }", DXFILEERR_BADOBJECT, 0},
        {"a reference in binary-only data", "Blob { 3; {Other} }", DXFILEERR_BADOBJECT, 0},
        {"a listed template beside binary data", "Either { Frame { } }", DXFILEERR_BADOBJECT, 0},
    };
    for (const Case& c : cases) {
        int objects = -1;
        EXPECT_EQ(Drain(head + c.body, &objects), c.expected) << c.what;
        EXPECT_EQ(objects, c.objects) << c.what;
    }
}

// A file of 176 bytes asked for sixteen million elements of an empty template: each costs no byte of
// input, so only the parse's work budget, which follows the file's size, stops it.
TEST_F(XFileParserTest, ArraysOfEmptyElementsAreWorkBoundedByTheFileSize) {
    const std::string text =
        "xof 0302txt 0032\n"
        "template E { <AAAAAAAA-0000-0000-0000-00000000000E> }\n"
        "template Many { <AAAAAAAA-0000-0000-0000-00000000000F> array E e[16777216]; }\n"
        "Many { }\n";
    int objects = -1;
    EXPECT_EQ(Drain(text, &objects), DXFILEERR_BADARRAYSIZE);
    EXPECT_EQ(objects, 0);
    // Nested: every member visit counts, so templates of templates cannot multiply the work either.
    std::string nested = "xof 0302txt 0032\ntemplate T0 { <AAAAAAAA-0000-0000-0000-000000000100> }\n";
    for (int i = 1; i <= 8; ++i)
        nested += "template T" + std::to_string(i) + " { <AAAAAAAA-0000-0000-0000-0000000001" +
                  (i < 10 ? "0" : "") + std::to_string(i) + "> array T" + std::to_string(i - 1) + " a[64]; }\n";
    nested += "T8 { }\n";
    EXPECT_EQ(Drain(nested, &objects), DXFILEERR_BADARRAYSIZE);
    // A few empty elements in a file cost next to nothing.
    EXPECT_EQ(Drain("xof 0302txt 0032\ntemplate E { <AAAAAAAA-0000-0000-0000-00000000000E> }\n"
                    "template Few { <AAAAAAAA-0000-0000-0000-000000000010> array E e[100]; }\nFew { }\n",
                    &objects),
              DXFILEERR_NOMOREOBJECTS);
    EXPECT_EQ(objects, 1);
}

}  // namespace
