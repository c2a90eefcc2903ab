// The device life cycle: present parameters, the device statistics text, the fallback to a reference
// device, failed set-up, windowed/full-screen switching and the guards against a window closed or a
// Direct3D object released in the middle of a device change.
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
using Calls = std::vector<std::string>;

class DeviceLifeTest : public StartedHost<TestApp> {};

// ---- Present parameters -------------------------------------------------------------------------

TEST_F(DeviceLifeTest, PresentParametersForAWindowedDevice) {
    FormatCombo combo;
    combo.m_backBufferFormat = D3DFMT_A8R8G8B8;
    app.m_settings.windowed = true;
    app.m_settings.windowedCombo = &combo;
    app.m_settings.windowedDepthStencilFormat = D3DFMT_D24S8;
    app.m_settings.windowedMultisampleType = D3DMULTISAMPLE_2_SAMPLES;
    app.m_settings.windowedMultisampleQuality = 1;
    app.m_settings.windowedPresentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    app.m_catalog.m_usesDepthBuffer = true;
    app.m_clientRect = {0, 0, 640, 400};
    app.m_windowed = true;
    app.FillPresentParameters();

    const D3DPRESENT_PARAMETERS& p = app.m_presentParams;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.BackBufferWidth, 640u);
    EXPECT_EQ(p.BackBufferHeight, 400u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(p.MultiSampleQuality, 1u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(p.Flags, static_cast<DWORD>(D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL));
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
}

TEST_F(DeviceLifeTest, PresentParametersForAFullScreenDeviceWithoutDepth) {
    FormatCombo combo;
    combo.m_backBufferFormat = D3DFMT_R5G6B5;
    app.m_settings.windowed = false;
    app.m_settings.fullscreenCombo = &combo;
    app.m_settings.fullscreenDisplayMode = {1280, 1024, 75, D3DFMT_R5G6B5};
    app.m_settings.fullscreenPresentInterval = D3DPRESENT_INTERVAL_DEFAULT;
    app.m_catalog.m_usesDepthBuffer = false;
    app.m_presentParams.AutoDepthStencilFormat = D3DFMT_D16;  // left as it was
    app.m_windowed = false;
    app.FillPresentParameters();

    const D3DPRESENT_PARAMETERS& p = app.m_presentParams;
    EXPECT_FALSE(p.Windowed);
    EXPECT_EQ(p.BackBufferWidth, 1280u);
    EXPECT_EQ(p.BackBufferHeight, 1024u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 75u);
    EXPECT_FALSE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.Flags, 0u);
}

TEST_F(DeviceLifeTest, AWindowedDeviceOnTheDefaultAdapter) {
    ASSERT_TRUE(Start());
    ASSERT_EQ(d3d.creations.size(), 1u);
    const auto& creation = d3d.creations[0];
    EXPECT_EQ(creation.adapter, 0u);
    EXPECT_EQ(creation.type, D3DDEVTYPE_HAL);
    EXPECT_EQ(creation.behaviorFlags, static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE));
    EXPECT_TRUE(creation.params.Windowed);
    EXPECT_EQ(creation.params.BackBufferWidth, 400u);
    EXPECT_EQ(creation.params.BackBufferHeight, 300u);
    EXPECT_EQ(creation.params.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(creation.params.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(creation.params.hDeviceWindow, window);
    EXPECT_EQ(app.m_behaviorFlags, creation.behaviorFlags);
    EXPECT_STREQ(app.m_deviceStatsText, "HAL (pure hw vp): Fake HAL adapter");
    EXPECT_EQ(app.m_backBufferDesc.Width, 400u);
    EXPECT_EQ(app.m_backBufferDesc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Device()->BackBufferReferences(), 0u);
    EXPECT_EQ(Device()->Count("GetDeviceCaps"), 1);
}

struct StatsCase {
    const char* name;
    void (*scenario)(FakeDirect3D&);
    DWORD accepted;  // the one behaviour flag set the application accepts; 0 for all
    const char* text;
};

class DeviceStats : public DeviceLifeTest, public ::testing::WithParamInterface<StatsCase> {};

TEST_P(DeviceStats, NameTheTypeAndVertexProcessing) {
    const StatsCase& c = GetParam();
    if (c.accepted) app.acceptsFlags = [&c](DWORD flags) { return flags == c.accepted; };
    ASSERT_TRUE(Start(c.scenario));
    EXPECT_STREQ(app.m_deviceStatsText, c.text);
}

void HardwareReference(FakeDirect3D& d3d) {
    MakeRefOnly(d3d);
    d3d.adapters[0].devices[D3DDEVTYPE_REF] = HardwareDevice(D3DPRESENT_INTERVAL_ONE);
}

INSTANTIATE_TEST_SUITE_P(
    , DeviceStats,
    ::testing::Values(StatsCase{"pure", MakeOneHalTypical, 0, "HAL (pure hw vp): Fake HAL adapter"},
                      StatsCase{"hardware", MakeOneHalTypical, 0x40, "HAL (hw vp): Fake HAL adapter"},
                      StatsCase{"software", MakeOneHalTypical, 0x20, "HAL (sw vp): Fake HAL adapter"},
                      StatsCase{"reference", MakeRefOnly, 0, "REF (sw vp)"},
                      StatsCase{"simulated pure", HardwareReference, 0, "REF (simulated pure hw vp)"},
                      StatsCase{"simulated hardware", HardwareReference, 0x40, "REF (simulated hw vp)"}),
    [](const ::testing::TestParamInfo<StatsCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ') ch = '_';
        return name;
    });

void LongDescription(FakeDirect3D& d3d) {
    MakeOneHalTypical(d3d);
    d3d.adapters[0].description = std::string(200, 'd');
}

TEST_F(DeviceLifeTest, TheDeviceTextIsCutAt89Characters) {
    ASSERT_TRUE(Start(LongDescription));
    const std::string prefix = "HAL (pure hw vp): ";
    EXPECT_EQ(std::string(app.m_deviceStatsText), prefix + std::string(89 - prefix.size(), 'd'));
}

// ---- Fallback and failed set-up -----------------------------------------------------------------

void HalFailsWithReference(FakeDirect3D& d3d) { MakeHalPlusRef(d3d); }

TEST_F(DeviceLifeTest, AHalDeviceThatCannotBeMadeFallsBackToAWindowedReferenceDevice) {
    d3d.createResults = {E_FAIL};
    ASSERT_TRUE(Start(HalFailsWithReference));

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string(kGenericText) + kReferenceSuffix);
    EXPECT_EQ(Boxes()[0].type, static_cast<uint32_t>(MB_ICONWARNING));
    ASSERT_EQ(d3d.creations.size(), 2u);
    EXPECT_EQ(d3d.creations[0].type, D3DDEVTYPE_HAL);
    EXPECT_EQ(d3d.creations[1].type, D3DDEVTYPE_REF);
    EXPECT_TRUE(d3d.creations[1].params.Windowed);
    EXPECT_TRUE(app.m_windowed);
    EXPECT_STREQ(app.m_deviceStatsText, "REF (sw vp)");
    EXPECT_TRUE(app.m_active);
}

TEST_F(DeviceLifeTest, MissingMediaNeverFallBack) {
    const HRESULT codes[] = {HostAppError::MediaLoadFailed, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)};
    for (HRESULT code : codes) {
        SCOPED_TRACE(code);
        machine::control::Reset();
        ResetFrameworkProcessState();
        FakeDeviceDirect3D local;
        MakeHalPlusRef(local);
        UseDirect3D(local);
        TestApp failing;
        failing.results["CreateDeviceResources"] = code;
        EXPECT_EQ(failing.Startup(Instance()), code);
        EXPECT_EQ(local.creations.size(), 1u);
        EXPECT_EQ(failing.MainCalls(),
                  (Calls{"CreateAppResources", "CreateDeviceResources", "ReleaseDeviceResources", "ReleaseAppResources"}));
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, std::string("Could not load required media.") + kFatalSuffix);
        EXPECT_EQ(local.LastDevice()->refCount, 0u);
    }
}

TEST_F(DeviceLifeTest, FailedVolatileSetUpReleasesEverythingAndReturnsTheCode) {
    app.results["CreateVolatileResources"] = E_OUTOFMEMORY;
    EXPECT_FALSE(Start());
    EXPECT_EQ(app.MainCalls(), (Calls{"CreateAppResources", "CreateDeviceResources", "CreateVolatileResources",
                                      "ReleaseVolatileResources", "ReleaseDeviceResources", "ReleaseAppResources"}));
    EXPECT_EQ(d3d.LastDevice()->refCount, 0u);
    EXPECT_EQ(app.m_pDevice, nullptr);
    EXPECT_FALSE(app.m_deviceObjectsCreated);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string("Not enough memory.") + kFatalSuffix);
}

TEST_F(DeviceLifeTest, ANullReferenceDeviceWarnsAndIsUsed) {
    ASSERT_TRUE(Start(MakeNullReference));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, ErrorReportText(HostAppError::StubReferenceDevice));
    EXPECT_EQ(Boxes()[0].type, static_cast<uint32_t>(MB_ICONWARNING));
    EXPECT_EQ(d3d.creations.size(), 1u);
    EXPECT_NE(app.m_pDevice, nullptr);
}

// A warning box is modal but has no owner: the user can still close the main window behind it.
void CloseMainWindowWhileABoxIsUp(TestApp& app) {
    machine::control::SetMessageBoxHook([&app](const machine::MessageBoxRecord& box) {
        if (box.type == static_cast<uint32_t>(MB_ICONWARNING) && app.m_hMainWindow)
            SendMessageA(app.m_hMainWindow, WM_CLOSE, 0, 0);
        return 0;
    });
}

TEST_F(DeviceLifeTest, AWindowClosedDuringTheNullReferenceWarningStopsTheStart) {
    CloseMainWindowWhileABoxIsUp(app);
    EXPECT_FALSE(Start(MakeNullReference));
    machine::control::SetMessageBoxHook({});
    EXPECT_TRUE(d3d.creations.empty());
    EXPECT_EQ(app.m_pDirect3D, nullptr);
    EXPECT_EQ(d3d.refCount, 0u);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app.Count("ReleaseAppResources"), 1);
}

TEST_F(DeviceLifeTest, AWindowClosedDuringTheFallbackWarningStopsTheSecondStart) {
    CloseMainWindowWhileABoxIsUp(app);
    d3d.createResults = {E_FAIL};
    EXPECT_FALSE(Start(HalFailsWithReference));
    machine::control::SetMessageBoxHook({});
    EXPECT_EQ(d3d.creations.size(), 1u);
    EXPECT_EQ(d3d.refCount, 0u);
    EXPECT_EQ(app.m_pDevice, nullptr);
}

TEST_F(DeviceLifeTest, ALeakFoundAfterAFailedSetUpDoesNotFallBackOnAReleasedDirect3D) {
    d3d.extraReferencesOnNewDevices = 1;
    app.results["CreateDeviceResources"] = E_FAIL;
    EXPECT_FALSE(Start(HalFailsWithReference));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string(ErrorReportText(HostAppError::DeviceStillReferenced)) + kFatalSuffix);
    EXPECT_EQ(d3d.creations.size(), 1u);
    EXPECT_EQ(d3d.CallsNamed("GetAdapterDisplayMode").size(), 2u);  // only the start-up's choice
    EXPECT_EQ(d3d.refCount, 0u);
    EXPECT_FALSE(IsWindow(window));
}

// ---- Switching ----------------------------------------------------------------------------------

void StartFullscreenTypical(FakeDirect3D& d3d) { MakeOneHalTypical(d3d); }

TEST_F(DeviceLifeTest, ReturnToWindowedMakesAWindowedDevice) {
    app.m_startFullscreen = true;
    ASSERT_TRUE(Start(StartFullscreenTypical));
    EXPECT_FALSE(app.m_windowed);
    EXPECT_EQ(app.ReturnToWindowed(), S_OK);
    EXPECT_TRUE(app.m_windowed);
    EXPECT_TRUE(app.m_active);
    ASSERT_EQ(d3d.creations.size(), 2u);
    EXPECT_TRUE(d3d.creations[1].params.Windowed);
    EXPECT_EQ(d3d.devices[0]->refCount, 0u);
    EXPECT_EQ(app.ReturnToWindowed(), S_OK);  // already windowed
    EXPECT_EQ(d3d.creations.size(), 2u);
}

TEST_F(DeviceLifeTest, ALeakFoundDuringADeviceChangeStopsTheChange) {
    app.m_startFullscreen = true;
    ASSERT_TRUE(Start(StartFullscreenTypical));
    Device()->extraReferences = 1;
    EXPECT_EQ(app.ReturnToWindowed(), HostAppError::DeviceStillReferenced);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, std::string(ErrorReportText(HostAppError::DeviceStillReferenced)) + kFatalSuffix);
    EXPECT_EQ(d3d.creations.size(), 1u);  // no device from a released Direct3D object
    EXPECT_EQ(app.m_pDirect3D, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

void HalWindowedReferenceFullscreen(FakeDirect3D& d3d) {
    MakeHalPlusRef(d3d);
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBuffer, BOOL windowed) {
        if (type == D3DDEVTYPE_HAL && !windowed) return false;
        return backBuffer == adapterFormat;
    };
}

TEST_F(DeviceLifeTest, ASwitchToAnotherDeviceTypeShutsDownAndStartsAgain) {
    ASSERT_TRUE(Start(HalWindowedReferenceFullscreen));
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, 40003, 0), 0);
    EXPECT_FALSE(app.m_windowed);
    ASSERT_EQ(d3d.creations.size(), 2u);
    EXPECT_EQ(d3d.creations[1].type, D3DDEVTYPE_REF);
    EXPECT_FALSE(d3d.creations[1].params.Windowed);
    EXPECT_EQ(d3d.devices[0]->Count("Reset"), 0);
    EXPECT_EQ(d3d.devices[0]->refCount, 0u);
    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseVolatileResources", "ReleaseDeviceResources", "CreateDeviceResources",
                                      "CreateVolatileResources"}));
    EXPECT_TRUE(app.m_active);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DeviceLifeTest, SwitchingToAWindowedHalfThatWasNeverFilledIsRefused) {
    ASSERT_TRUE(Start(MakeDesktopFormatWithoutWindowedCombos));
    ASSERT_FALSE(app.m_windowed);  // only a full-screen choice: started full screen
    ASSERT_EQ(app.m_settings.windowedCombo, nullptr);

    EXPECT_EQ(SendMessageA(window, WM_COMMAND, 40003, 0), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, ErrorReportText(HostAppError::WindowedModeUnavailable));
    EXPECT_EQ(Boxes()[0].type, static_cast<uint32_t>(MB_ICONWARNING));
    EXPECT_FALSE(app.m_windowed);
    EXPECT_EQ(d3d.creations.size(), 1u);
    EXPECT_EQ(Device()->Count("Reset"), 0);
    EXPECT_TRUE(app.m_active);
    EXPECT_TRUE(IsWindow(window));
}

void WindowedOnly(FakeDirect3D& d3d) {
    MakeOneHalTypical(d3d);
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT backBuffer, BOOL windowed) {
        return windowed && backBuffer == adapterFormat;
    };
}

TEST_F(DeviceLifeTest, SwitchingToAFullScreenHalfThatWasNeverFilledIsRefused) {
    ASSERT_TRUE(Start(WindowedOnly));
    ASSERT_EQ(app.m_settings.fullscreenCombo, nullptr);
    EXPECT_EQ(app.SwitchWindowedFullscreen(), S_FALSE);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, ErrorReportText(HostAppError::NoSuitableDevice));
    EXPECT_TRUE(app.m_windowed);
    EXPECT_EQ(Device()->Count("Reset"), 0);
    EXPECT_EQ(g_pauseCount, 0);
}

// ---- Resets -------------------------------------------------------------------------------------

TEST_F(DeviceLifeTest, AFailedResetLeavesTheVolatileResourcesReleased) {
    ASSERT_TRUE(Start());
    Device()->resetResults = {D3DERR_INVALIDCALL};
    EXPECT_EQ(app.ResetDevice(), D3DERR_INVALIDCALL);
    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseVolatileResources"}));
    EXPECT_FALSE(app.m_deviceObjectsRestored);

    // A second try does not release them again.
    app.calls.clear();
    app.results["CreateVolatileResources"] = E_FAIL;
    EXPECT_EQ(app.ResetDevice(), E_FAIL);
    EXPECT_EQ(app.MainCalls(), (Calls{"CreateVolatileResources", "ReleaseVolatileResources"}));
    EXPECT_FALSE(app.m_deviceObjectsRestored);
}

TEST_F(DeviceLifeTest, SizeChangesAreIgnoredDuringAModeSwitch) {
    ASSERT_TRUE(Start());
    app.m_ignoreSizeChanges = true;
    SetWindowPos(window, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(app.OnClientSizeChange(), S_OK);
    EXPECT_EQ(Device()->Count("Reset"), 0);
    EXPECT_EQ(app.m_clientRect.right, 400);
    app.m_ignoreSizeChanges = false;
}

TEST_F(DeviceLifeTest, ShutdownReleasesOnlyWhatWasSetUp) {
    ASSERT_TRUE(Start());
    app.m_deviceObjectsRestored = false;
    app.ShutdownDevice();
    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseDeviceResources"}));
    EXPECT_EQ(app.m_pDevice, nullptr);
    app.ShutdownDevice();  // no device: nothing
    EXPECT_EQ(app.MainCalls(), (Calls{"ReleaseDeviceResources"}));
}

}  // namespace
}  // namespace test
