// The application object's construction, its device check, its release of application resources,
// and the entry function on a machine without Direct3D.
#include <gtest/gtest.h>

#include "Morvath.h"
#include "d3d9/control.h"
#include "d3d_font.h"
#include "error_log.h"
#include "log_folder.h"
#include "machine/control.h"
#include "process_state.h"
#include "temp_folder.h"
#include "user/control.h"
#include "user/window_objects.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

namespace {

using test_support::ReadWholeFile;
using test_support::TempFolder;

class SceneAppProbe : public CSceneApp {
public:
    using CD3DHostApp::m_catalog;
    using CD3DHostApp::m_clientHeight;
    using CD3DHostApp::m_clientWidth;
    using CD3DHostApp::m_pWindowTitle;
    using CD3DHostApp::m_showCursorFullscreen;
    using CD3DHostApp::m_startFullscreen;
    using CSceneApp::m_currentScene;
    using CSceneApp::m_fontFace;
    using CSceneApp::m_fontPointSize;
    using CSceneApp::m_input;
    using CSceneApp::m_loading;
    using CSceneApp::m_pBounceSound;
    using CSceneApp::m_pD3DXFont;
    using CSceneApp::m_pDirectInput;
    using CSceneApp::m_pHudFont;
    using CSceneApp::m_pKeyboard;
    using CSceneApp::m_pMatrixStack;
    using CSceneApp::m_pMouse;
    using CSceneApp::m_pSoundManager;
    using CSceneApp::m_pTextMesh;
    using CSceneApp::m_pTileTexture;
    using CSceneApp::m_worldPitch;
    using CSceneApp::m_worldX;
    using CSceneApp::m_worldY;
    using CSceneApp::m_worldYaw;
};

class SceneAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        ResetFrameworkProcessState();
    }
    void TearDown() override {
        d3d9::control::SetCreateHook({});
        ResetFrameworkProcessState();
        machine::control::Reset();
    }
};

TEST_F(SceneAppTest, ConstructionSetsTheShowcaseValues) {
    SceneAppProbe app;
    EXPECT_EQ(app.m_clientWidth, 800);
    EXPECT_EQ(app.m_clientHeight, 600);
    EXPECT_STREQ(app.m_pWindowTitle, "Morvath");
    EXPECT_TRUE(app.m_catalog.m_usesDepthBuffer);
    EXPECT_FALSE(app.m_startFullscreen);
    EXPECT_FALSE(app.m_showCursorFullscreen);

    EXPECT_EQ(app.m_loading, 1);
    ASSERT_NE(app.m_pHudFont, nullptr);
    EXPECT_STREQ(app.m_pHudFont->m_faceName, "Verdana");
    EXPECT_EQ(app.m_pHudFont->m_pointSize, 10u);
    EXPECT_EQ(app.m_pHudFont->m_createFlags, FontCreateFlags::Bold);
    EXPECT_STREQ(app.m_fontFace, "Arial");
    EXPECT_EQ(app.m_fontPointSize, 18);

    for (const void* pointer : {static_cast<const void*>(app.m_pTextMesh), static_cast<const void*>(app.m_pD3DXFont),
                                static_cast<const void*>(app.m_pDirectInput), static_cast<const void*>(app.m_pKeyboard),
                                static_cast<const void*>(app.m_pMouse), static_cast<const void*>(app.m_pSoundManager),
                                static_cast<const void*>(app.m_pBounceSound), static_cast<const void*>(app.m_pMatrixStack),
                                static_cast<const void*>(app.m_pTileTexture)}) {
        EXPECT_EQ(pointer, nullptr);
    }
    EXPECT_EQ(app.m_currentScene, nullptr);

    const auto* inputBytes = reinterpret_cast<const unsigned char*>(&app.m_input);
    EXPECT_TRUE(std::all_of(inputBytes, inputBytes + sizeof(app.m_input), [](unsigned char b) { return b == 0; }));
    EXPECT_EQ(app.m_worldPitch, 0.0f);
    EXPECT_EQ(app.m_worldYaw, 0.0f);
    EXPECT_EQ(app.m_worldX, 0.0f);
    EXPECT_EQ(app.m_worldY, 0.0f);
    EXPECT_EQ(g_pHostApp, &app);
}

TEST_F(SceneAppTest, InputStateFieldsLieInTheirOrder) {
    EXPECT_EQ(offsetof(InputState, mouse), 256u);
    EXPECT_EQ(sizeof(DIMOUSESTATE2), 20u);
    EXPECT_LT(offsetof(InputState, keyF8), offsetof(InputState, buttonLeft));
    // cursorX and cursorY serve as one POINT.
    EXPECT_EQ(offsetof(InputState, cursorY), offsetof(InputState, cursorX) + sizeof(LONG));
}

TEST_F(SceneAppTest, EveryDeviceConfigurationIsAccepted) {
    SceneAppProbe app;
    D3DCAPS9 caps{};
    for (DWORD flags : {0x00u, 0x20u, 0x40u, 0x50u, 0x80u}) {
        for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_UNKNOWN}) {
            EXPECT_EQ(app.CheckDeviceCaps(&caps, flags, format), S_OK);
        }
    }
    for (int type : {int{SOFTWARE_VP}, int{MIXED_VP}, int{HARDWARE_VP}, int{PURE_HARDWARE_VP}, 7}) {
        EXPECT_TRUE(CD3DHostApp::CheckDeviceCapsCallback(&caps, static_cast<VertexProcessingType>(type), D3DFMT_X8R8G8B8));
    }
}

TEST_F(SceneAppTest, ReleasingApplicationResourcesTwiceIsHarmless) {
    SceneAppProbe app;
    CD3DHostApp& host = app;
    EXPECT_EQ(host.ReleaseAppResources(), S_OK);
    EXPECT_EQ(app.m_pHudFont, nullptr);
    EXPECT_EQ(host.ReleaseAppResources(), S_OK);
    EXPECT_EQ(app.m_pHudFont, nullptr);
}

TEST_F(SceneAppTest, WithoutDirect3DTheEntryReportsOnceAndReturnsZero) {
    TempFolder folder{TempFolder::kEnter};
    d3d9::control::SetCreateHook([](UINT) -> IDirect3D9* { return nullptr; });
    char commandLine[] = "ignored arguments";
    EXPECT_EQ(WinMain(nullptr, reinterpret_cast<HINSTANCE>(0x1234), commandLine, 3), 0);

    const std::vector<machine::MessageBoxRecord> boxes = machine::control::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
              "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
              "was compiled with header files that match\nthe installed DirectX DLLs.\n\nThis sample will now exit.");
    EXPECT_EQ(boxes[0].caption, "Morvath");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<uint32_t>(MB_ICONERROR));
    // Start-up stopped before the window class and the window.
    EXPECT_EQ(user::FindWindowClass("D3D Window"), nullptr);
    EXPECT_TRUE(user::LiveWindows().empty());
    EXPECT_EQ(user::control::CommonControlsInitCount(), 1);

    const std::string log = ReadWholeFile(folder.Path() / "ErrorLog.txt");
    EXPECT_TRUE(log.starts_with("\n=== === === === === === === === === === \n\nLog started: ")) << log;
    EXPECT_FALSE(HasBackslashName(folder.Path()));
    EXPECT_FALSE(LogLandedBesideRoot(folder.Path()));
}

}  // namespace
