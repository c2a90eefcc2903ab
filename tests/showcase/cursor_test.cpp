// The software cursor: its square at the mouse point, its picture with the black keyed out, how it
// draws over what the scene left, and a missing picture.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "cursor.h"
#include "d3d9/control.h"
#include "device_fixture.h"
#include "machine/failures.h"
#include "error_log.h"
#include "scene_media.h"
#include "temp_folder.h"

namespace {

using test_support::ReadWholeFile;
using test_support::TempFolder;

struct Vertex {
    float x, y, z, rhw, u, v;
};

class CursorTest : public showcase_test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        g_logLineCount = 0;
        g_errorLog.Start("ErrorLog.txt");
        device = MakeDevice(96, 96);
        // What the owner's volatile stage leaves on the device.
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
    void TearDown() override {
        cursor.ReleaseDeviceResources();
        DeviceTest::TearDown();
    }
    void MoveTo(LONG x, LONG y) {
        std::memset(&input, 0, sizeof input);
        input.cursorX = x;
        input.cursorY = y;
        EXPECT_EQ(cursor.UpdatePosition(&input), S_OK);
    }
    std::vector<Vertex> Vertices() { return BufferContents<Vertex>(cursor.m_pVertexBuffer, 4); }
    std::string LogText() const { return ReadWholeFile(std::filesystem::current_path() / "ErrorLog.txt"); }

    TempFolder folder{TempFolder::kEnter};
    IDirect3DDevice9* device = nullptr;
    InputState input{};
    CCursor cursor;
};

TEST_F(CursorTest, SquareCoversThirtyTwoPixelsFromTheMousePoint) {
    WriteSceneMedia("media/cursor.dds");
    ASSERT_EQ(cursor.CreateDeviceResources(device), S_OK);
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), DWORD(FALSE));
    EXPECT_EQ(cursor.SetTexCoords(), S_OK);
    MoveTo(0, 0);
    std::vector<Vertex> v = Vertices();
    const float corners[4][4] = {{0, 32, 0, 1}, {0, 0, 0, 0}, {32, 32, 1, 1}, {32, 0, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].x, corners[i][0]) << i;
        EXPECT_EQ(v[i].y, corners[i][1]) << i;
        EXPECT_EQ(v[i].z, 0.0f) << i;
        EXPECT_EQ(v[i].rhw, 1.0f) << i;
        EXPECT_EQ(v[i].u, corners[i][2]) << i;
        EXPECT_EQ(v[i].v, corners[i][3]) << i;
    }
    MoveTo(100, 50);
    v = Vertices();
    EXPECT_EQ(v[0].x, 100.0f);
    EXPECT_EQ(v[0].y, 82.0f);
    EXPECT_EQ(v[3].x, 132.0f);
    EXPECT_EQ(v[3].y, 50.0f);
    EXPECT_EQ(v[3].u, 1.0f) << "moving keeps the texture coordinates";
    MoveTo(-7, -300);
    EXPECT_EQ(Vertices()[1].y, -300.0f);
}

TEST_F(CursorTest, ArrowShowsWithItsTipAtTheMouseAndItsBlackKeyedOut) {
    WriteSceneMedia("media/cursor.dds");
    cursor.CreateDeviceResources(device);
    cursor.SetTexCoords();
    MoveTo(20, 30);
    // Red behind the cursor: keyed texels show it, the arrow covers it.
    Frame([&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
        EXPECT_EQ(cursor.Draw(device), S_OK);
    });
    EXPECT_EQ(Pixel(20 + 4, 30 + 10), 0xFFFFFFu) << "inside the arrow";
    EXPECT_EQ(Pixel(20 + 28, 30 + 4), 0xFF0000u) << "keyed out";
    EXPECT_EQ(Pixel(19, 30), 0xFF0000u) << "left of the hot spot";
    EXPECT_NE(Pixel(20, 30), 0xFF0000u) << "the hot spot is the arrow's tip";
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
}

TEST_F(CursorTest, DrawsSolidWhateverTheSceneLeftAndHonoursTheCullMode) {
    WriteSceneMedia("media/cursor.dds");
    cursor.CreateDeviceResources(device);
    cursor.SetTexCoords();
    MoveTo(10, 10);
    const struct {
        DWORD cull;
        bool visible;
    } cases[] = {{D3DCULL_NONE, true}, {D3DCULL_CCW, true}, {D3DCULL_CW, false}};
    for (const auto& c : cases) {
        device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
        device->SetRenderState(D3DRS_CULLMODE, c.cull);
        Frame([&] { cursor.Draw(device); });
        EXPECT_EQ(Pixel(10 + 4, 10 + 12) == 0xFFFFFFu, c.visible) << "cull mode " << c.cull;
        EXPECT_EQ(RenderState(D3DRS_FILLMODE), DWORD(D3DFILL_SOLID));
    }
}

TEST_F(CursorTest, MissingPictureLogsOnceAndNothingIsLockedOrDrawn) {
    const HRESULT hr = cursor.CreateDeviceResources(device);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(cursor.m_pTexture, nullptr);
    EXPECT_EQ(cursor.m_pVertexBuffer, nullptr);
    StartCallLog();
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(cursor.SetTexCoords(), S_FALSE);
        input.cursorX = frame;
        EXPECT_EQ(cursor.UpdatePosition(&input), S_FALSE);
        Frame([&] { EXPECT_EQ(cursor.Draw(device), S_OK); });
    }
    EXPECT_TRUE(Calls("DrawPrimitive").empty());
    EXPECT_TRUE(Calls("SetStreamSource").empty());
    const std::string log = LogText();
    const std::regex entry("##  Error [^\n]+ in file cursor, line [0-9]{3,} \n");
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), entry), std::sregex_iterator()), 1) << log;
}

TEST_F(CursorTest, ReleaseGivesBothObjectsBack) {
    WriteSceneMedia("media/cursor.dds");
    const unsigned before = d3d9::control::LiveObjectCount();
    cursor.CreateDeviceResources(device);
    EXPECT_GT(d3d9::control::LiveObjectCount(), before);
    EXPECT_EQ(cursor.ReleaseDeviceResources(), S_OK);
    EXPECT_EQ(cursor.m_pTexture, nullptr);
    EXPECT_EQ(cursor.m_pVertexBuffer, nullptr);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), before);
    EXPECT_EQ(cursor.ReleaseDeviceResources(), S_OK);
}

}  // namespace

namespace {

size_t LogEntries(const std::string& log) {
    const std::regex entry("##  Error [^\n]+ in file cursor, line [0-9]{3,} \n");
    return size_t(std::distance(std::sregex_iterator(log.begin(), log.end(), entry), std::sregex_iterator()));
}

TEST_F(CursorTest, FailuresAreLoggedOnceEachAndAnswered) {
    WriteSceneMedia("media/cursor.dds");
    machine::control::FailCall("IDirect3DDevice9::CreateVertexBuffer", 1, static_cast<uint32_t>(E_OUTOFMEMORY));
    EXPECT_EQ(cursor.CreateDeviceResources(device), E_OUTOFMEMORY);
    EXPECT_NE(cursor.m_pTexture, nullptr) << "the texture is kept";
    EXPECT_EQ(cursor.m_pVertexBuffer, nullptr);
    EXPECT_EQ(LogEntries(LogText()), 1u);

    ASSERT_EQ(cursor.CreateDeviceResources(device), S_OK);
    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 1, static_cast<uint32_t>(D3DERR_INVALIDCALL));
    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 2, static_cast<uint32_t>(D3DERR_INVALIDCALL));
    EXPECT_EQ(cursor.SetTexCoords(), D3DERR_INVALIDCALL);
    EXPECT_EQ(cursor.UpdatePosition(&input), D3DERR_INVALIDCALL);
    EXPECT_EQ(LogEntries(LogText()), 3u);

    machine::control::FailCall("IDirect3DDevice9::DrawPrimitive", 1, static_cast<uint32_t>(E_FAIL));
    Frame([&] { EXPECT_EQ(cursor.Draw(device), S_OK); });
    EXPECT_EQ(LogEntries(LogText()), 4u);
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE)) << "drawing went on to the last step";
}

}  // namespace
