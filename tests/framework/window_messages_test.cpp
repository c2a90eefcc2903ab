// The framework's window messages on a started application: accelerators and commands, the close
// sequence (also nested), sizing and pausing, and the full-screen behaviours.
#include <string>
#include <vector>

#include "support/host_fixture.h"
#include "support/test_app.h"

namespace test {
namespace {

const char kFatalSuffix[] = "\n\nThis sample will now exit.";
using Calls = std::vector<std::string>;

// Key messages as the keyboard gives them; Alt combinations come as system keys with the context bit.
void PostKey(HWND window, UINT virtualKey, bool alt = false) {
    const LPARAM context = alt ? (LPARAM(1) << 29) : 0;
    PostMessageA(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, context | 1);
    PostMessageA(window, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, context | 1 | (LPARAM(3) << 30));
}

class WindowMessageTest : public StartedHost<TestApp> {
protected:
    // Runs the loop over what has been posted, then ends it.
    int RunPosted() {
        PostQuitMessage(0);
        return app.RunMessageLoop();
    }
    std::vector<std::string> PauseCalls() const {
        std::vector<std::string> pauses;
        for (const std::string& call : app.calls)
            if (call.rfind("SetPaused", 0) == 0) pauses.push_back(call);
        return pauses;
    }
};

TEST_F(WindowMessageTest, EscapeClosesTheProgramThroughTheCloseSequence) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    PostKey(window, VK_ESCAPE);
    EXPECT_EQ(app.RunMessageLoop(), 0);

    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseVolatileResources", "ReleaseDeviceResources", "ReleaseAppResources"}));
    EXPECT_EQ(device->refCount, 0u);
    EXPECT_EQ(d3d.refCount, 0u);
    EXPECT_EQ(app.m_pDevice, nullptr);
    EXPECT_EQ(app.m_pDirect3D, nullptr);
    EXPECT_EQ(app.m_hMainWindow, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WindowMessageTest, AltXClosesToo) {
    ASSERT_TRUE(Start());
    PostKey(window, 'X', true);
    EXPECT_EQ(app.RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowMessageTest, TheExitCommandClosesTheWindowItCameTo) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, 40006, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app.Count("ReleaseAppResources"), 1);
    EXPECT_EQ(app.RunMessageLoop(), 0);
}

TEST_F(WindowMessageTest, TheCloseBoxClosesEvenInFullScreen) {
    ASSERT_TRUE(Start());
    app.m_windowed = false;
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // not swallowed
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowMessageTest, F2PausesForTheSettingsCommandAndResumes) {
    ASSERT_TRUE(Start());
    PostKey(window, VK_F2);
    EXPECT_EQ(RunPosted(), 0);
    EXPECT_EQ(PauseCalls(), (Calls{"SetPaused(1)", "SetPaused(0)"}));
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(d3d.creations.size(), 1u);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowMessageTest, AltEnterSwitchesToFullScreenAndBack) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    const HMENU menu = GetMenu(window);
    const RECT windowedRect = app.m_windowRect;

    PostKey(window, VK_RETURN, true);
    EXPECT_EQ(RunPosted(), 0);
    EXPECT_FALSE(app.m_windowed);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(PauseCalls(), (Calls{"SetPaused(1)", "SetPaused(1)", "SetPaused(0)", "SetPaused(0)"}));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_SYSMENU | WS_VISIBLE));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(app.m_hDetachedMenu, menu);
    // Same adapter and device type: a reset into the desktop's full-screen mode.
    EXPECT_EQ(device->Count("Reset"), 1);
    EXPECT_EQ(d3d.creations.size(), 1u);
    EXPECT_FALSE(device->presentParams.Windowed);
    EXPECT_EQ(device->presentParams.BackBufferWidth, 1024u);
    EXPECT_EQ(device->presentParams.BackBufferHeight, 768u);
    EXPECT_EQ(device->presentParams.FullScreen_RefreshRateInHz, 85u);
    EXPECT_EQ(device->presentParams.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT));

    app.calls.clear();
    PostKey(window, VK_RETURN, true);
    EXPECT_EQ(RunPosted(), 0);
    EXPECT_TRUE(app.m_windowed);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(GetMenu(window), menu);
    EXPECT_EQ(app.m_hDetachedMenu, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, windowedRect.left);
    EXPECT_EQ(rect.top, windowedRect.top);
    EXPECT_EQ(rect.right, windowedRect.right);
    EXPECT_EQ(rect.bottom, windowedRect.bottom);
    EXPECT_EQ(device->Count("Reset"), 2);
    EXPECT_TRUE(device->presentParams.Windowed);
    EXPECT_EQ(device->presentParams.BackBufferWidth, 400u);
    EXPECT_EQ(device->presentParams.BackBufferHeight, 300u);
    EXPECT_EQ(device->presentParams.FullScreen_RefreshRateInHz, 0u);
    EXPECT_FALSE(app.m_ignoreSizeChanges);
}

TEST_F(WindowMessageTest, AFailedSwitchIsOneFatalBoxAndClosesTheWindow) {
    ASSERT_TRUE(Start());
    Device()->resetResults = {D3DERR_OUTOFVIDEOMEMORY};
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, 40003, 0), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Not enough video memory.") + kFatalSuffix);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(app.m_windowed);  // back to windowed before the report
    EXPECT_EQ(app.RunMessageLoop(), 0);
}

// ---- The close sequence -------------------------------------------------------------------------

TEST_F(WindowMessageTest, ADeviceStillReferencedRunsTheCloseSequenceNested) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    device->extraReferences = 1;
    const UINT d3dReleases = d3d.releaseCalls;

    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string(ErrorReportText(HostAppError::DeviceStillReferenced)) + kFatalSuffix);
    EXPECT_EQ(Boxes()[0].type, static_cast<uint32_t>(MB_ICONERROR));
    // The nested pass released the Direct3D object and the application resources; the outer pass
    // found nothing left but ran ReleaseAppResources a second time.
    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseVolatileResources", "ReleaseDeviceResources", "ReleaseAppResources",
                                      "ReleaseAppResources"}));
    EXPECT_EQ(device->Count("Release"), 1);
    EXPECT_EQ(d3d.releaseCalls - d3dReleases, 1u);
    EXPECT_EQ(d3d.refCount, 0u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app.m_hMainWindow, nullptr);
    EXPECT_EQ(app.RunMessageLoop(), 0);
}

TEST_F(WindowMessageTest, ACloseOnADestroyedWindowIsHarmless) {
    ASSERT_TRUE(Start());
    SendMessageA(window, WM_CLOSE, 0, 0);
    // Called directly, as the nested close's outer pass does.
    EXPECT_EQ(app.HandleWindowMessage(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(app.Count("ReleaseAppResources"), 2);
    EXPECT_EQ(app.RunMessageLoop(), 0);
}

TEST_F(WindowMessageTest, AFrameFailureClosesWithoutABox) {
    ASSERT_TRUE(Start());
    machine::control::SetCounterReadStep(100000);
    app.results["DrawFrame"] = E_FAIL;
    EXPECT_EQ(app.RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(Boxes().empty());
}

// ---- Sizing and pausing -------------------------------------------------------------------------

TEST_F(WindowMessageTest, MinimizeAndRestorePauseOnceAndResetOnlyForANewSize) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(app.m_minimized);
    EXPECT_FALSE(app.m_active);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_FALSE(app.m_minimized);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(device->Count("Reset"), 0);  // the same client size

    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    SetWindowPos(window, nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
    if (app.m_minimized) SendMessageA(window, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(device->Count("Reset"), 1);
    const SIZE client = ClientSize(window);
    EXPECT_EQ(device->presentParams.BackBufferWidth, static_cast<UINT>(client.cx));
    EXPECT_EQ(device->presentParams.BackBufferHeight, static_cast<UINT>(client.cy));
    EXPECT_EQ(app.m_backBufferDesc.Width, static_cast<UINT>(client.cx));
}

TEST_F(WindowMessageTest, ARepeatedMinimizeTakesNoSecondPause) {
    ASSERT_TRUE(Start());
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(g_pauseCount, 1);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_EQ(g_pauseCount, 0);
    EXPECT_TRUE(app.m_active);
}

TEST_F(WindowMessageTest, MaximizeFromMinimizedWithdrawsThePauseAndResets) {
    ASSERT_TRUE(Start());
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOSENDCHANGING);
    app.calls.clear();
    SendMessageA(window, WM_SIZE, SIZE_MAXIMIZED, 0);
    EXPECT_TRUE(app.m_maximized);
    EXPECT_FALSE(app.m_minimized);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(g_pauseCount, 0);
    EXPECT_GE(Device()->Count("Reset"), 1);

    SendMessageA(window, WM_SIZE, SIZE_RESTORED, 0);  // from maximized
    EXPECT_FALSE(app.m_maximized);
    EXPECT_EQ(g_pauseCount, 0);
}

TEST_F(WindowMessageTest, DraggingTheFramePausesThroughoutAndResetsOnceAtTheEnd) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    EXPECT_FALSE(app.m_active);
    SetWindowPos(window, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(window, nullptr, 0, 0, 520, 440, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(app.m_active);
    EXPECT_EQ(device->Count("Reset"), 0);
    SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(app.m_active);
    EXPECT_EQ(device->Count("Reset"), 1);

    // A move without resizing resets nothing.
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(window, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(device->Count("Reset"), 1);
    EXPECT_EQ(app.m_windowRect.left, 50);
}

TEST_F(WindowMessageTest, AResetFailingAfterAResizeIsFatal) {
    ASSERT_TRUE(Start());
    Device()->resetResults = {D3DERR_DEVICELOST};
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(window, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Could not reset the Direct3D device.") + kFatalSuffix);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowMessageTest, MenuLoopsPauseWhileTheyRun) {
    ASSERT_TRUE(Start());
    SendMessageA(window, WM_ENTERMENULOOP, 0, 0);
    EXPECT_FALSE(app.m_active);
    SendMessageA(window, WM_EXITMENULOOP, 0, 0);
    EXPECT_TRUE(app.m_active);
}

TEST_F(WindowMessageTest, ThePaintMessageRedrawsOnlyWhileInactive) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    SendMessageA(window, WM_PAINT, 0, 0);
    EXPECT_EQ(app.Count("DrawFrame"), 0);
    app.SetPaused(true);
    device->presentResults = {D3DERR_DEVICELOST};
    SendMessageA(window, WM_PAINT, 0, 0);
    EXPECT_EQ(app.Count("DrawFrame"), 1);
    EXPECT_EQ(device->Count("Present"), 1);
    EXPECT_FALSE(app.m_deviceLost);  // Present's answer is ignored here
    app.SetPaused(false);
}

// ---- Answers ------------------------------------------------------------------------------------

TEST_F(WindowMessageTest, TheMinimumTrackingSizeIs100By100) {
    ASSERT_TRUE(Start());
    MINMAXINFO info{};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 100);
}

TEST_F(WindowMessageTest, InFullScreenMovingSizingAndTheKeyboardMenuAreSwallowed) {
    ASSERT_TRUE(Start());
    const WPARAM swallowed[] = {SC_MOVE, SC_SIZE, SC_MAXIMIZE, SC_KEYMENU, SC_MONITORPOWER};
    app.m_windowed = false;
    for (WPARAM command : swallowed) EXPECT_EQ(app.HandleWindowMessage(window, WM_SYSCOMMAND, command, 0), 1);
    EXPECT_EQ(app.HandleWindowMessage(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCLIENT);
    app.m_windowed = true;
    for (WPARAM command : swallowed) {
        if (command == SC_MAXIMIZE || command == SC_MOVE || command == SC_SIZE) continue;  // would act on the window
        EXPECT_EQ(app.HandleWindowMessage(window, WM_SYSCOMMAND, command, 0),
                  DefWindowProcA(window, WM_SYSCOMMAND, command, 0));
    }
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowMessageTest, PowerBroadcastsForSuspendAreAnsweredTrue) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), TRUE);
    EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), TRUE);
    EXPECT_EQ(app.HandleWindowMessage(window, WM_POWERBROADCAST, 0x000A, 0),
              DefWindowProcA(window, WM_POWERBROADCAST, 0x000A, 0));
}

TEST_F(WindowMessageTest, InFullScreenTheCursorIsHiddenAndAMissingDeviceIsNotCalled) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    app.m_windowed = false;
    app.m_showCursorFullscreen = true;
    EXPECT_EQ(app.HandleWindowMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT), TRUE);
    EXPECT_EQ(device->Count("ShowCursor(1)"), 1);

    // A Fatal box can be up after the device was cleared; the cursor message must not reach it.
    app.m_pDevice = nullptr;
    EXPECT_EQ(app.HandleWindowMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT), TRUE);
    app.m_pDevice = device;

    // Inactive, or windowed: the default handling sets the class cursor.
    app.SetPaused(true);
    app.HandleWindowMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT);
    app.SetPaused(false);
    app.m_windowed = true;
    app.HandleWindowMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT);
    EXPECT_EQ(device->Count("ShowCursor(1)"), 1);
}

TEST_F(WindowMessageTest, MouseMovesReachTheDeviceCursor) {
    ASSERT_TRUE(Start());
    FakeDevice* device = Device();
    machine::SetCursorScreenPosition(300, 200);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(device->Count("SetCursorPosition(300,200,0)"), 1);  // windowed: screen coordinates

    app.m_windowed = false;
    POINT client = {300, 200};
    ScreenToClient(window, &client);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(device->Count("SetCursorPosition(" + std::to_string(client.x) + "," + std::to_string(client.y) + ",0)"), 1);
    app.m_windowed = true;

    // Inactive: nothing reaches the device.
    const size_t calls = device->log.size();
    app.SetPaused(true);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    app.SetPaused(false);
    EXPECT_EQ(device->log.size(), calls);
}

}  // namespace
}  // namespace test
