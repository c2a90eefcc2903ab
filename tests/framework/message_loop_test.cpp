// The frame step, pausing, the statistics text and the message loop, driven directly on an application
// that has a fake device and the machine's fixed clock (standing still unless a case moves it).
#include <cstring>
#include <string>
#include <vector>

#include "support/host_fixture.h"
#include "support/test_app.h"

#include "app_timer.h"

namespace test {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;

class FrameTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        machine::control::SetCounterReadStep(0);
        machine::control::SetCounter(1000 * kTicksPerSecond);
        MakeOneHalTypical(d3d);
        adapter.m_adapterOrdinal = 0;
        combo.m_backBufferFormat = D3DFMT_X8R8G8B8;
        combo.m_adapterFormat = D3DFMT_X8R8G8B8;

        // A running application as Startup leaves it, without a window.
        app.m_pDirect3D = &d3d;
        app.m_pDevice = &device;
        app.m_settings.windowed = true;
        app.m_settings.windowedAdapter = &adapter;
        app.m_settings.windowedCombo = &combo;
        app.m_settings.windowedDisplayMode = {800, 600, 60, D3DFMT_X8R8G8B8};
        app.m_deviceObjectsCreated = true;
        app.m_deviceObjectsRestored = true;
        app.m_backBufferDesc.Format = D3DFMT_X8R8G8B8;
        app.m_backBufferDesc.Width = 800;
        app.m_backBufferDesc.Height = 600;
        AppTimer(TimerOp::Resume);
        app.SetPaused(false);
        app.calls.clear();
    }
    void TearDown() override {
        app.m_pDevice = nullptr;
        app.m_pDirect3D = nullptr;
        HostTest::TearDown();
    }
    static void Wait(double seconds) {
        machine::control::AdvanceCounter(static_cast<int64_t>(seconds * kTicksPerSecond));
    }

    FakeDeviceDirect3D d3d;
    FakeDevice device{D3DPRESENT_PARAMETERS{}};
    AdapterRecord adapter;
    FormatCombo combo;
    TestApp app;
};

using Calls = std::vector<std::string>;

TEST_F(FrameTest, AFrameAdvancesDrawsUpdatesTheStatisticsAndPresents) {
    Wait(0.5);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_EQ(app.calls, (Calls{"AdvanceScene", "DrawFrame", "RefreshStatsText"}));
    EXPECT_EQ(device.log, (Calls{"Present"}));
    EXPECT_FLOAT_EQ(app.m_sceneTime, 0.5f);
    EXPECT_FLOAT_EQ(app.m_elapsedTime, 0.5f);

    Wait(0.25);
    app.StepFrame();
    EXPECT_FLOAT_EQ(app.m_sceneTime, 0.75f);
    EXPECT_FLOAT_EQ(app.m_elapsedTime, 0.25f);
}

TEST_F(FrameTest, NoElapsedTimeSkipsTheWholeFrame) {
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_TRUE(app.calls.empty());
    EXPECT_TRUE(device.log.empty());
}

TEST_F(FrameTest, FramesInTheSameMillisecondAreSkippedWithoutACounter) {
    ResetFrameworkProcessState();
    machine::control::SetCounterAvailable(false);
    AppTimer(TimerOp::Resume);
    app.SetPaused(true);
    app.SetPaused(false);
    Wait(0.0104);  // 10.4 ms
    app.StepFrame();
    Wait(0.0004);  // the same millisecond
    app.StepFrame();
    EXPECT_EQ(device.Count("Present"), 1);
    EXPECT_NEAR(app.m_elapsedTime, 0.010f, 1e-4);
}

TEST_F(FrameTest, PresentReportingALostDeviceFlagsItAndOtherResultsAreIgnored) {
    device.presentResults = {E_FAIL, D3DERR_DEVICELOST};
    Wait(0.1);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_FALSE(app.m_deviceLost);
    Wait(0.1);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_TRUE(app.m_deviceLost);
}

TEST_F(FrameTest, AStillLostDeviceDrawsNothing) {
    app.m_deviceLost = true;
    device.cooperativeLevelResults = {D3DERR_DEVICELOST};
    Wait(0.1);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_TRUE(app.m_deviceLost);
    EXPECT_TRUE(app.calls.empty());
    EXPECT_EQ(device.log, (Calls{"TestCooperativeLevel"}));
}

TEST_F(FrameTest, AResettableDeviceIsResetOnTheDesktopFormatAndTheStepEndsThere) {
    app.m_deviceLost = true;
    device.cooperativeLevelResults = {D3DERR_DEVICENOTRESET};
    d3d.adapters[0].desktop = {1024, 768, 60, D3DFMT_R5G6B5};  // the desktop changed meanwhile
    app.m_presentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
    Wait(0.1);

    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_EQ(app.calls, (Calls{"ReleaseVolatileResources", "CreateVolatileResources"}));
    EXPECT_EQ(device.log, (Calls{"TestCooperativeLevel", "Reset", "GetBackBuffer"}));
    EXPECT_EQ(device.presentParams.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(app.m_settings.windowedDisplayMode.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(app.m_backBufferDesc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(device.BackBufferReferences(), 0u);
    EXPECT_TRUE(app.m_deviceObjectsRestored);
    EXPECT_TRUE(app.m_deviceLost);  // cleared by the next step's cooperative-level test

    app.calls.clear();
    device.log.clear();
    Wait(0.1);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_FALSE(app.m_deviceLost);
    EXPECT_EQ(device.log, (Calls{"TestCooperativeLevel", "Present"}));
}

TEST_F(FrameTest, FullScreenResetKeepsTheBackBufferFormat) {
    app.m_windowed = false;
    app.m_deviceLost = true;
    device.cooperativeLevelResults = {D3DERR_DEVICENOTRESET};
    app.m_presentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
    d3d.adapters[0].desktop.Format = D3DFMT_R5G6B5;
    Wait(0.1);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_EQ(device.presentParams.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_TRUE(d3d.CallsNamed("GetAdapterDisplayMode").empty());
}

TEST_F(FrameTest, FailuresOfTheStepAreReturned) {
    struct Case {
        const char* name;
        HRESULT cooperativeLevel;
        HRESULT reset;
        const char* failingSlot;
        HRESULT expected;
        bool presented;
    };
    const Case cases[] = {
        {"other lost code", D3DERR_DRIVERINTERNALERROR, S_OK, nullptr, D3DERR_DRIVERINTERNALERROR, false},
        {"failed reset", D3DERR_DEVICENOTRESET, D3DERR_INVALIDCALL, nullptr, D3DERR_INVALIDCALL, false},
        {"restore after reset", D3DERR_DEVICENOTRESET, S_OK, "CreateVolatileResources", E_OUTOFMEMORY, false},
        {"advance", S_OK, S_OK, "AdvanceScene", E_FAIL, false},
        {"draw", S_OK, S_OK, "DrawFrame", E_ABORT, false},
        {"usable again", S_FALSE, S_OK, nullptr, S_OK, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.log.clear();
        app.results.clear();
        app.m_deviceLost = true;
        app.m_deviceObjectsRestored = true;
        device.cooperativeLevelResults = {c.cooperativeLevel};
        device.resetResults = {c.reset};
        if (c.failingSlot) app.results[c.failingSlot] = c.expected;
        Wait(0.1);
        EXPECT_EQ(app.StepFrame(), c.expected);
        EXPECT_EQ(device.Count("Present"), c.presented ? 1 : 0);
    }
}

TEST_F(FrameTest, ASingleStepRunsAdvanceSceneOnceEvenWithoutElapsedTime) {
    app.m_advanceEachFrame = false;
    app.m_advanceOnce = true;
    app.results["AdvanceScene"] = E_FAIL;
    EXPECT_EQ(app.StepFrame(), E_FAIL);
    EXPECT_TRUE(app.m_advanceOnce);  // still armed

    app.results.clear();
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_FALSE(app.m_advanceOnce);
    EXPECT_EQ(app.StepFrame(), S_OK);
    EXPECT_EQ(app.Count("AdvanceScene"), 2);
    EXPECT_EQ(app.Count("DrawFrame"), 2);
    EXPECT_EQ(device.Count("Present"), 2);
}

TEST_F(FrameTest, ResetWithoutPerFrameAdvancingArmsOneStepAtTheFrozenTime) {
    app.m_advanceEachFrame = false;
    Wait(2.0);
    EXPECT_EQ(app.ResetDevice(), S_OK);
    EXPECT_TRUE(app.m_advanceOnce);
    Wait(1.0);
    app.StepFrame();
    ASSERT_EQ(app.sceneTimes.size(), 1u);
    EXPECT_FLOAT_EQ(app.sceneTimes[0], 2.0f);
    EXPECT_FLOAT_EQ(app.elapsedTimes[0], 0.0f);
}

// ---- Pausing ------------------------------------------------------------------------------------

TEST_F(FrameTest, PauseRequestsNestAndFreezeTheSceneTimeOnce) {
    Wait(1.0);
    app.SetPaused(true);
    EXPECT_FALSE(app.m_active);
    const float frozen = AppTimer(TimerOp::RunSeconds);
    app.SetPaused(true);
    app.SetPaused(false);
    EXPECT_FALSE(app.m_active);  // one request still outstanding
    EXPECT_EQ(g_pauseCount, 1);
    Wait(5.0);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), frozen);

    app.SetPaused(false);
    EXPECT_TRUE(app.m_active);
    Wait(0.5);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), frozen + 0.5f);
}

TEST_F(FrameTest, AResumeWithoutAPauseLeavesTheApplicationInactive) {
    app.SetPaused(false);
    EXPECT_EQ(g_pauseCount, -1);
    EXPECT_FALSE(app.m_active);
    app.SetPaused(true);
    EXPECT_EQ(g_pauseCount, 0);
    EXPECT_TRUE(app.m_active);
}

TEST_F(FrameTest, WithoutPerFrameAdvancingPausingLeavesTheTimerAlone) {
    app.m_advanceEachFrame = false;
    app.SetPaused(true);
    Wait(1.0);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.0f);
    app.SetPaused(false);
}

TEST_F(FrameTest, TheConstructorLeavesOnePauseRequest) {
    ResetFrameworkProcessState();
    TestApp fresh;
    EXPECT_EQ(g_pauseCount, 1);
    EXPECT_FALSE(fresh.m_active);
    EXPECT_EQ(g_pHostApp, &fresh);
}

// ---- Statistics text ----------------------------------------------------------------------------

TEST_F(FrameTest, TheFirstUpdateShowsARateNearZeroAndLaterOnesTheFrameRate) {
    app.m_catalog.m_usesDepthBuffer = true;
    app.m_settings.windowedDepthStencilFormat = D3DFMT_D16;
    app.RefreshStatsText();  // last reading 0, clock 1000 s
    EXPECT_STREQ(app.m_frameStatsText, "0.00 fps (800x600), X8R8G8B8 (D16)");
    EXPECT_FLOAT_EQ(app.m_framesPerSecond, 0.001f);

    for (int frame = 0; frame < 2996; ++frame) app.RefreshStatsText();
    Wait(50.0);
    app.RefreshStatsText();  // 2,997 frames in 50 s
    EXPECT_STREQ(app.m_frameStatsText, "59.94 fps (800x600), X8R8G8B8 (D16)");
}

TEST_F(FrameTest, TheTextIsRefreshedOnlyMoreThanOneSecondAfterTheLastUpdate) {
    app.RefreshStatsText();
    Wait(1.0);
    app.RefreshStatsText();
    EXPECT_FLOAT_EQ(app.m_framesPerSecond, 0.001f);  // exactly one second: no update
    Wait(0.001);
    app.RefreshStatsText();
    EXPECT_NEAR(app.m_framesPerSecond, 2.0f / 1.001f, 1e-3);
}

struct StatsCase {
    const char* name;
    D3DFORMAT backBuffer;
    D3DFORMAT display;
    bool depth;
    D3DFORMAT depthFormat;
    int multisample;
    const char* text;
};

class StatsText : public FrameTest, public ::testing::WithParamInterface<StatsCase> {};

TEST_P(StatsText, NamesFormatsDepthAndMultisampling) {
    const StatsCase& c = GetParam();
    app.m_backBufferDesc.Format = c.backBuffer;
    app.m_backBufferDesc.Width = 640;
    app.m_backBufferDesc.Height = 480;
    app.m_settings.windowedDisplayMode.Format = c.display;
    app.m_catalog.m_usesDepthBuffer = c.depth;
    app.m_settings.windowedDepthStencilFormat = c.depthFormat;
    app.m_settings.windowedMultisampleType = static_cast<D3DMULTISAMPLE_TYPE>(c.multisample);
    app.RefreshStatsText();
    EXPECT_STREQ(app.m_frameStatsText, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    , StatsText,
    ::testing::Values(
        StatsCase{"same", D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false, D3DFMT_D16, 0, "0.00 fps (640x480), X8R8G8B8"},
        StatsCase{"differ", D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, false, D3DFMT_D16, 0,
                  "0.00 fps (640x480), backbuf R5G6B5, adapter X8R8G8B8"},
        StatsCase{"depth", D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, D3DFMT_D24S8, 0,
                  "0.00 fps (640x480), X8R8G8B8 (D24S8)"},
        StatsCase{"nonmaskable", D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false, D3DFMT_D16, 1,
                  "0.00 fps (640x480), X8R8G8B8 (Nonmaskable Multisample)"},
        StatsCase{"two", D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, D3DFMT_D16, 2,
                  "0.00 fps (640x480), X8R8G8B8 (D16) (2x Multisample)"},
        StatsCase{"sixteen", D3DFMT_R5G6B5, D3DFMT_R5G6B5, false, D3DFMT_D16, 16,
                  "0.00 fps (640x480), R5G6B5 (16x Multisample)"},
        StatsCase{"out of range", D3DFMT_R5G6B5, D3DFMT_R5G6B5, false, D3DFMT_D16, 17, "0.00 fps (640x480), R5G6B5"},
        StatsCase{"unknown", static_cast<D3DFORMAT>(37), D3DFMT_X8R8G8B8, false, D3DFMT_D16, 0,
                  "0.00 fps (640x480), backbuf Unknown format, adapter X8R8G8B8"}),
    [](const ::testing::TestParamInfo<StatsCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ') ch = '_';
        return name;
    });

TEST_F(FrameTest, TheTextIsCutAt89Characters) {
    app.m_backBufferDesc.Format = D3DFMT_A2R10G10B10;
    app.m_backBufferDesc.Width = 1000000000;
    app.m_backBufferDesc.Height = 1000000000;
    app.m_settings.windowedDisplayMode.Format = static_cast<D3DFORMAT>(37);
    app.m_catalog.m_usesDepthBuffer = true;
    app.m_settings.windowedDepthStencilFormat = D3DFMT_D24X4S4;
    app.m_settings.windowedMultisampleType = D3DMULTISAMPLE_NONMASKABLE;
    app.RefreshStatsText();
    const std::string full =
        "0.00 fps (1000000000x1000000000), backbuf A2R10G10B10, adapter Unknown format (D24X4S4) "
        "(Nonmaskable Multisample)";
    EXPECT_EQ(std::string(app.m_frameStatsText), full.substr(0, 89));
}

// ---- The loop -----------------------------------------------------------------------------------

TEST_F(FrameTest, WhileActiveTheLoopRunsFramesUntilTheQuitMessage) {
    machine::control::SetCounterReadStep(kTicksPerSecond / 100);
    app.onCall = [&](const std::string& slot) {
        if (slot == "DrawFrame" && app.Count("DrawFrame") == 3) PostQuitMessage(7);
    };
    EXPECT_EQ(app.RunMessageLoop(), 7);
    EXPECT_EQ(app.Count("DrawFrame"), 3);
    EXPECT_EQ(device.Count("Present"), 3);
}

TEST_F(FrameTest, WhileInactiveTheLoopRunsNoFrames) {
    machine::control::SetCounterReadStep(kTicksPerSecond / 100);
    app.SetPaused(true);
    PostQuitMessage(3);
    EXPECT_EQ(app.RunMessageLoop(), 3);
    EXPECT_EQ(app.Count("DrawFrame"), 0);
    EXPECT_TRUE(device.log.empty());
}

TEST_F(FrameTest, ALostDeviceSleepsATenthOfASecondBetweenTries) {
    app.m_deviceLost = true;
    device.cooperativeLevelResults = {D3DERR_DEVICELOST, D3DERR_DEVICELOST, D3DERR_DEVICELOST};
    app.onCall = [&](const std::string& slot) {
        if (slot == "DrawFrame") PostQuitMessage(0);
    };
    machine::control::SetCounterReadStep(kTicksPerSecond / 100);
    EXPECT_EQ(app.RunMessageLoop(), 0);
    EXPECT_EQ(device.Count("TestCooperativeLevel"), 4);
    EXPECT_EQ(machine::control::Sleeps(), (std::vector<uint32_t>{100, 100, 100, 100}));
}

}  // namespace
}  // namespace test
