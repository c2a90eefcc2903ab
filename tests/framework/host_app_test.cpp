// Start-up: its fixed order, its failures and the window it makes; the two process-wide entry points.
#include <string>
#include <vector>

#include "support/host_fixture.h"
#include "support/test_app.h"

#include "grow_array.h"

namespace test {
namespace {

const char kFatalSuffix[] = "\n\nThis sample will now exit.";

using Calls = std::vector<std::string>;

class StartupTest : public HostTest {
protected:
    FakeDeviceDirect3D d3d;
};

TEST_F(StartupTest, WithoutDirect3DOneBoxAndNoWindow) {
    d3d9::control::SetCreateHook([](UINT) -> IDirect3D9* { return nullptr; });  // a machine without Direct3D 9
    TestApp app;
    EXPECT_EQ(app.Startup(Instance()), HostAppError::Direct3DCreateFailed);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, std::string(ErrorReportText(HostAppError::Direct3DCreateFailed)) + kFatalSuffix);
    EXPECT_EQ(boxes[0].caption, "D3D9 Application");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONERROR));
    EXPECT_EQ(app.m_hMainWindow, nullptr);
    EXPECT_TRUE(app.MainCalls().empty());
    EXPECT_FALSE(app.m_active);
}

void* FailingAllocate(size_t) { return nullptr; }
void ReleaseNothing(void*) {}

TEST_F(StartupTest, ACatalogFailureIsReportedWithItsCodeBeforeAnyWindow) {
    MakeOneHalTypical(d3d);
    UseDirect3D(d3d);
    const GrowArrayAllocator failing = {FailingAllocate, ReleaseNothing};
    SetGrowArrayAllocator(&failing);
    TestApp app;
    const HRESULT hr = app.Startup(Instance());
    SetGrowArrayAllocator(nullptr);

    EXPECT_EQ(hr, E_OUTOFMEMORY);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Not enough memory.") + kFatalSuffix);
    EXPECT_EQ(app.m_hMainWindow, nullptr);
    EXPECT_EQ(app.m_pDirect3D, nullptr);
    EXPECT_EQ(d3d.refCount, 0u);  // the one reference of its creation, released
    EXPECT_TRUE(app.MainCalls().empty());
}

TEST_F(StartupTest, RunsItsStepsInTheFixedOrder) {
    MakeOneHalTypical(d3d);
    UseDirect3D(d3d);
    TestApp app;
    bool windowAtAppResources = false, deviceAtAppResources = true;
    app.onCall = [&](const std::string& slot) {
        if (slot == "CreateAppResources") {
            windowAtAppResources = app.m_hMainWindow != nullptr && IsWindow(app.m_hMainWindow);
            deviceAtAppResources = app.m_pDevice != nullptr;
        }
    };
    ASSERT_EQ(app.Startup(Instance()), S_OK);

    EXPECT_EQ(app.MainCalls(), (Calls{"CreateAppResources", "CreateDeviceResources", "CreateVolatileResources"}));
    EXPECT_EQ(app.calls.front(), "CheckDeviceCaps");  // the catalog asks first
    EXPECT_EQ(app.calls.back(), "SetPaused(0)");      // unpaused last
    EXPECT_TRUE(windowAtAppResources);
    EXPECT_FALSE(deviceAtAppResources);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(g_pauseCount, 0);
    EXPECT_TRUE(app.m_deviceObjectsCreated);
    EXPECT_TRUE(app.m_deviceObjectsRestored);
    EXPECT_TRUE(Boxes().empty());

    // One Direct3D object with the callback in its catalog, one device on the main window.
    EXPECT_EQ(app.m_catalog.m_pD3D, &d3d);
    EXPECT_EQ(app.m_catalog.m_pfnDeviceCheck, &CD3DHostApp::CheckDeviceCapsCallback);
    ASSERT_EQ(d3d.creations.size(), 1u);
    EXPECT_EQ(d3d.creations[0].focusWindow, app.m_hMainWindow);
    EXPECT_EQ(app.m_hFocusWindow, app.m_hMainWindow);

    SendMessageA(app.m_hMainWindow, WM_CLOSE, 0, 0);
}

TEST_F(StartupTest, DefaultsGiveA400By300WindowWithTitleAndMenu) {
    MakeOneHalTypical(d3d);
    UseDirect3D(d3d);
    TestApp app;
    ASSERT_EQ(app.Startup(Instance()), S_OK);
    const HWND window = app.m_hMainWindow;

    const SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, 400);
    EXPECT_EQ(client.cy, 300);
    char title[64] = {};
    SendMessageA(window, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title));
    EXPECT_STREQ(title, "D3D9 Application");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(app.m_windowedStyle, static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));

    const HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(IsMenu(menu));

    // The window's rectangles as the start-up read them.
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    EXPECT_EQ(app.m_windowRect.left, windowRect.left);
    EXPECT_EQ(app.m_windowRect.bottom, windowRect.bottom);
    EXPECT_EQ(app.m_clientRect.right, 400);
    EXPECT_EQ(app.m_clientRect.bottom, 300);

    SendMessageA(window, WM_CLOSE, 0, 0);
}

TEST_F(StartupTest, NoSuitableDeviceReportsThenClosesTheWindow) {
    MakeNothingUsable(d3d);
    UseDirect3D(d3d);
    TestApp app;
    EXPECT_EQ(app.Startup(Instance()), HostAppError::NoSuitableDevice);

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Could not find any compatible Direct3D\ndevices.") + kFatalSuffix);
    // The close sequence ran: the window is gone and the quit message posted.
    EXPECT_EQ(app.m_hMainWindow, nullptr);
    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseAppResources"}));
    EXPECT_EQ(d3d.refCount, 0u);
    EXPECT_TRUE(d3d.creations.empty());
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(StartupTest, ACreateAppResourcesFailureStopsBeforeTheDevice) {
    MakeOneHalTypical(d3d);
    UseDirect3D(d3d);
    TestApp app;
    app.results["CreateAppResources"] = E_ABORT;
    EXPECT_EQ(app.Startup(Instance()), E_ABORT);

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text,
              std::string("Generic application error. Enable\ndebug output for detailed information.") + kFatalSuffix);
    EXPECT_TRUE(d3d.creations.empty());
    EXPECT_EQ(app.MainCalls(), (Calls{"CreateAppResources", "ReleaseAppResources"}));
    EXPECT_EQ(app.m_hMainWindow, nullptr);
    EXPECT_EQ(d3d.refCount, 0u);
    EXPECT_FALSE(app.m_active);
}

TEST_F(StartupTest, ADeviceThatCannotBeMadeIsReportedWithItsOwnText) {
    MakeOneHalTypical(d3d);  // no reference device to fall back to
    UseDirect3D(d3d);
    d3d.createResults = {D3DERR_OUTOFVIDEOMEMORY};
    TestApp app;
    EXPECT_EQ(app.Startup(Instance()), D3DERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Not enough video memory.") + kFatalSuffix);
    EXPECT_EQ(app.m_pDevice, nullptr);
    EXPECT_EQ(app.m_hMainWindow, nullptr);
}

// A window of the derived class's own, on a class of its own.
HWND MakeOwnWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CD3DHostApp::StaticWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Own window";
    RegisterClassA(&windowClass);
    RECT rect = {0, 0, 320, 240};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, "Own window", "own", WS_OVERLAPPEDWINDOW, 10, 20, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST_F(StartupTest, ADerivedClassesOwnWindowIsUsedWithoutRegisteringAClass) {
    MakeOneHalTypical(d3d);
    UseDirect3D(d3d);
    TestApp app;
    const HWND own = MakeOwnWindow();
    ASSERT_NE(own, nullptr);
    app.m_hMainWindow = own;
    ASSERT_EQ(app.Startup(Instance()), S_OK);

    // The framework's class was never registered: registering it now succeeds.
    WNDCLASSA probe = {};
    probe.lpfnWndProc = DefWindowProcA;
    probe.hInstance = Instance();
    probe.lpszClassName = "D3D Window";
    EXPECT_NE(RegisterClassA(&probe), 0);
    EXPECT_EQ(app.m_hMainWindow, own);
    EXPECT_EQ(app.m_hFocusWindow, own);
    EXPECT_EQ(app.m_windowedStyle, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));  // its style when Startup read it
    EXPECT_EQ(app.m_clientRect.right, 320);
    EXPECT_EQ(app.m_clientRect.bottom, 240);
    EXPECT_EQ(app.m_presentParams.BackBufferWidth, 320u);
    EXPECT_EQ(app.m_presentParams.hDeviceWindow, own);

    SendMessageA(own, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(own));
}

TEST_F(StartupTest, AFocusWindowOfTheDerivedClassIsKept) {
    MakeOneHalTypical(d3d);
    UseDirect3D(d3d);
    TestApp app;
    const HWND focus = MakeOwnWindow();
    app.m_hFocusWindow = focus;
    ASSERT_EQ(app.Startup(Instance()), S_OK);
    EXPECT_NE(app.m_hMainWindow, focus);
    ASSERT_EQ(d3d.creations.size(), 1u);
    EXPECT_EQ(d3d.creations[0].focusWindow, focus);
    EXPECT_EQ(d3d.creations[0].params.hDeviceWindow, app.m_hMainWindow);
    SendMessageA(app.m_hMainWindow, WM_CLOSE, 0, 0);
    DestroyWindow(focus);
}

// ---- Entry points -------------------------------------------------------------------------------

TEST_F(StartupTest, TheCapsCallbackMapsVertexProcessingToBehaviourFlags) {
    TestApp app;
    D3DCAPS9 caps{};
    struct Case {
        int type;
        DWORD flags;
    };
    const Case cases[] = {{SOFTWARE_VP, 0x20}, {MIXED_VP, 0x80}, {HARDWARE_VP, 0x40}, {PURE_HARDWARE_VP, 0x50},
                          {4, 0},          {-1, 0}};
    for (const Case& c : cases) {
        app.checkedFlags.clear();
        EXPECT_TRUE(CD3DHostApp::CheckDeviceCapsCallback(&caps, static_cast<VertexProcessingType>(c.type),
                                                         D3DFMT_X8R8G8B8));
        ASSERT_EQ(app.checkedFlags.size(), 1u);
        EXPECT_EQ(app.checkedFlags[0], c.flags) << c.type;
    }
    app.results["CheckDeviceCaps"] = E_FAIL;
    EXPECT_FALSE(CD3DHostApp::CheckDeviceCapsCallback(&caps, HARDWARE_VP, D3DFMT_X8R8G8B8));
    app.results["CheckDeviceCaps"] = S_FALSE;
    EXPECT_TRUE(CD3DHostApp::CheckDeviceCapsCallback(&caps, HARDWARE_VP, D3DFMT_X8R8G8B8));
}

// Overrides are reached through the table from the framework's own calls.
class OverridingApp : public TestApp {
public:
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER + 5) return 55;
        return TestApp::HandleWindowMessage(window, message, wParam, lParam);
    }
};

TEST_F(StartupTest, TheWindowProcedureHandsMessagesToTheApplicationObject) {
    OverridingApp app;
    EXPECT_EQ(CD3DHostApp::StaticWindowProc(nullptr, WM_USER + 5, 0, 0), 55);
    EXPECT_EQ(CD3DHostApp::StaticWindowProc(nullptr, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), TRUE);
}

}  // namespace
}  // namespace test
