// Error reports: the texts, the suffixes and icons of the three kinds, and the single Fatal box.
#include <string>
#include <vector>

#include "support/host_fixture.h"
#include "support/test_app.h"

namespace test {
namespace {

const char kFatalSuffix[] = "\n\nThis sample will now exit.";
const char kReferenceSuffix[] =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
    "Direct3D feature set, but runs very slowly.";
const char kGenericText[] = "Generic application error. Enable\ndebug output for detailed information.";

struct TextCase {
    HRESULT code;
    const char* text;
};

const TextCase kTexts[] = {
    {static_cast<HRESULT>(0x82000001u),
     "Could not initialize Direct3D. You may\nwant to check that the latest version of\nDirectX is correctly "
     "installed on your\nsystem.  Also make sure that this program\nwas compiled with header files that match\n"
     "the installed DirectX DLLs."},
    {static_cast<HRESULT>(0x82000003u), "Could not find any compatible Direct3D\ndevices."},
    {static_cast<HRESULT>(0x82000004u),
     "This sample cannot run in a desktop\nwindow with the current display settings.\nPlease change your "
     "desktop settings to a\n16- or 32-bit display mode and re-run this\nsample."},
    {static_cast<HRESULT>(0x82000005u), "No hardware-accelerated Direct3D devices\nwere found."},
    {static_cast<HRESULT>(0x82000006u),
     "This sample requires functionality that is\nnot available on your Direct3D hardware\naccelerator."},
    {static_cast<HRESULT>(0x82000007u),
     "Your Direct3D hardware accelerator cannot\nrender into a window.\nPress F2 while the app is running to "
     "see a\nlist of available devices and modes."},
    {static_cast<HRESULT>(0x82000008u),
     "Your Direct3D hardware accelerator cannot\nrender into a window with the current\ndesktop display "
     "settings.\nPress F2 while the app is running to see a\nlist of available devices and modes."},
    {static_cast<HRESULT>(0x82000009u),
     "This sample requires functionality that is\nnot available on your Direct3D hardware\naccelerator with "
     "the current desktop display\nsettings.\nPress F2 while the app is running to see a\nlist of available "
     "devices and modes."},
    {static_cast<HRESULT>(0x8200000Au),
     "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned up)."},
    {static_cast<HRESULT>(0x8200000Bu), "Could not load required media."},
    {static_cast<HRESULT>(0x8200000Cu), "Could not reset the Direct3D device."},
    {static_cast<HRESULT>(0x8200000Du),
     "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\ncomputer "
     "only has a reduced-functionality reference device\ninstalled.  Install the DirectX SDK to get the "
     "full\nreference device.\n"},
    {static_cast<HRESULT>(0x80070002u), "Could not load required media."},
    {static_cast<HRESULT>(0x8007000Eu), "Not enough memory."},
    {D3DERR_OUTOFVIDEOMEMORY, "Not enough video memory."},
    // Code 2 is not part of the family; neither are the rest.
    {static_cast<HRESULT>(0x82000002u), kGenericText},
    {static_cast<HRESULT>(0x8200000Eu), kGenericText},
    {E_FAIL, kGenericText},
    {D3DERR_DEVICELOST, kGenericText},
    {S_OK, kGenericText},
};

class ErrorReportTest : public HostTest {};

TEST_F(ErrorReportTest, FamilyValuesAreNegative) {
    EXPECT_EQ(HostAppError::Direct3DCreateFailed, static_cast<HRESULT>(0x82000001u));
    EXPECT_EQ(HostAppError::StubReferenceDevice, static_cast<HRESULT>(0x8200000Du));
    EXPECT_TRUE(FAILED(HostAppError::Direct3DCreateFailed));
    EXPECT_TRUE(FAILED(HostAppError::CannotResetDevice));
}

TEST_F(ErrorReportTest, EveryCodeShowsItsTextAsAWarning) {
    TestApp app;
    for (const TextCase& c : kTexts) {
        machine::control::Reset();
        EXPECT_EQ(app.ReportError(c.code, ReportKind::Warning), c.code);
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u) << std::hex << c.code;
        EXPECT_EQ(boxes[0].text, c.text) << std::hex << c.code;
        EXPECT_EQ(boxes[0].caption, "D3D9 Application");
        EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONWARNING));
    }
}

TEST_F(ErrorReportTest, ReferenceFallbackAddsTheRasterizerNoteAndClosesNothing) {
    TestApp app;
    app.m_pWindowTitle = "Morvath";
    app.ReportError(D3DERR_OUTOFVIDEOMEMORY, ReportKind::ReferenceFallback);
    app.ReportError(D3DERR_OUTOFVIDEOMEMORY, ReportKind::ReferenceFallback);  // not limited
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, std::string("Not enough video memory.") + kReferenceSuffix);
    EXPECT_EQ(boxes[0].caption, "Morvath");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONWARNING));
    EXPECT_FALSE(g_fatalReported);
}

TEST_F(ErrorReportTest, AnUnknownKindIsAWarning) {
    TestApp app;
    app.ReportError(E_OUTOFMEMORY, static_cast<ReportKind>(7));
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Not enough memory.");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONWARNING));
}

TEST_F(ErrorReportTest, TheLongestTextWithItsSuffixFitsWhole) {
    TestApp app;
    app.ReportError(HostAppError::HardwareLacksFeaturesInMode, ReportKind::ReferenceFallback);
    app.ReportError(HostAppError::StubReferenceDevice, ReportKind::Fatal);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, std::string(kTexts[7].text) + kReferenceSuffix);
    EXPECT_EQ(boxes[1].text, std::string(kTexts[11].text) + kFatalSuffix);
}

// A window of its own that counts the WM_CLOSE a Fatal report sends it.
int g_closeMessages = 0;
LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++g_closeMessages;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeCountingWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Report test window";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "Report test window", "reports", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST_F(ErrorReportTest, FatalShowsOneErrorBoxThenClosesTheMainWindow) {
    g_closeMessages = 0;
    TestApp app;
    app.m_hMainWindow = MakeCountingWindow();
    ASSERT_NE(app.m_hMainWindow, nullptr);

    const HRESULT notFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(app.ReportError(notFound, ReportKind::Fatal), notFound);
    EXPECT_EQ(g_closeMessages, 1);
    EXPECT_TRUE(g_fatalReported);

    // From now on nothing is shown and the window is not closed again.
    EXPECT_EQ(app.ReportError(E_FAIL, ReportKind::Fatal), E_FAIL);
    EXPECT_EQ(app.ReportError(E_FAIL, ReportKind::Warning), E_FAIL);
    EXPECT_EQ(app.ReportError(E_FAIL, ReportKind::ReferenceFallback), E_FAIL);
    EXPECT_EQ(g_closeMessages, 1);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, std::string("Could not load required media.") + kFatalSuffix);
    EXPECT_EQ(boxes[0].caption, "D3D9 Application");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONERROR));
    DestroyWindow(app.m_hMainWindow);
}

TEST_F(ErrorReportTest, AReportRaisedWhileTheFatalBoxIsUpShowsNothing) {
    TestApp app;
    std::vector<HRESULT> answers;
    machine::control::SetMessageBoxHook([&](const machine::MessageBoxRecord&) {
        answers.push_back(app.ReportError(E_FAIL, ReportKind::Warning));
        answers.push_back(app.ReportError(E_OUTOFMEMORY, ReportKind::Fatal));
        return 0;
    });
    app.ReportError(HostAppError::CannotResetDevice, ReportKind::Fatal);
    machine::control::SetMessageBoxHook({});

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Could not reset the Direct3D device.") + kFatalSuffix);
    EXPECT_EQ(answers, (std::vector<HRESULT>{E_FAIL, E_OUTOFMEMORY}));
}

TEST_F(ErrorReportTest, WarningsBeforeAFatalReportAreAllShown) {
    TestApp app;
    app.ReportError(E_FAIL, ReportKind::Warning);
    app.ReportError(E_FAIL, ReportKind::Warning);
    app.ReportError(E_FAIL, ReportKind::Fatal);  // no main window: the box only
    app.ReportError(E_FAIL, ReportKind::Warning);
    EXPECT_EQ(Boxes().size(), 3u);
}

}  // namespace
}  // namespace test
