// Display settings: the accessors of the active half and the initial choice over the presets.
#include <gtest/gtest.h>

#include <optional>

#include "display_settings.h"
#include "error_reports.h"
#include "support/catalog_views.h"
#include "support/fake_direct3d.h"

using test::FakeDirect3D;

namespace {

constexpr D3DFORMAT X8 = D3DFMT_X8R8G8B8;
constexpr D3DFORMAT A8 = D3DFMT_A8R8G8B8;
constexpr D3DFORMAT R5 = D3DFMT_R5G6B5;
const RECT kClient = {0, 0, 800, 600};

class SettingsTest : public ::testing::Test {
protected:
    void BuildCatalog(bool depth = true) {
        catalog.AttachDirect3D(&d3d);
        catalog.m_usesDepthBuffer = depth;
        ASSERT_EQ(S_OK, catalog.Build());
        d3d.log.clear();
    }

    FakeDirect3D d3d;
    CD3DDeviceCatalog catalog;
    DisplaySettings settings;
};

// What a filled half must hold; nothing when it stays unfilled.
struct Half {
    UINT ordinal;
    D3DDEVTYPE type;
    D3DFORMAT adapterFormat, backBufferFormat;
    D3DDISPLAYMODE mode;
};

struct PresetCase {
    const char* name;
    void (*make)(FakeDirect3D&);
    HRESULT result;
    bool windowed;
    std::optional<Half> windowedHalf;
    std::optional<Half> fullscreenHalf;
};

class InitialChoice : public SettingsTest, public ::testing::WithParamInterface<PresetCase> {};

void ExpectHalf(const std::optional<Half>& expected, const AdapterRecord* pAdapter, const DeviceRecord* pDevice,
                const FormatCombo* pCombo, const D3DDISPLAYMODE& mode) {
    if (!expected) {
        EXPECT_EQ(nullptr, pAdapter);
        EXPECT_EQ(nullptr, pDevice);
        EXPECT_EQ(nullptr, pCombo);
        return;
    }
    ASSERT_NE(nullptr, pCombo);
    ASSERT_NE(nullptr, pAdapter);
    ASSERT_NE(nullptr, pDevice);
    EXPECT_EQ(expected->ordinal, pAdapter->m_adapterOrdinal);
    EXPECT_EQ(expected->ordinal, pCombo->m_adapterOrdinal);
    EXPECT_EQ(expected->type, pDevice->m_deviceType);
    EXPECT_EQ(expected->type, pCombo->m_deviceType);
    EXPECT_EQ(test::FormatText(expected->adapterFormat), test::FormatText(pCombo->m_adapterFormat));
    EXPECT_EQ(test::FormatText(expected->backBufferFormat), test::FormatText(pCombo->m_backBufferFormat));
    EXPECT_EQ(expected->mode, mode);
    // The combination belongs to the device, which belongs to the adapter.
    bool found = false;
    for (const DeviceRecord* pListed : test::Devices(pAdapter))
        for (const FormatCombo* pListedCombo : test::Combos(pListed))
            found = found || (pListed == pDevice && pListedCombo == pCombo);
    EXPECT_TRUE(found);
}

TEST_P(InitialChoice, ForPreset) {
    GetParam().make(d3d);
    BuildCatalog();
    EXPECT_EQ(GetParam().result, PickInitialSettings(&settings, catalog, &d3d, kClient, false));
    EXPECT_EQ(GetParam().windowed, settings.windowed);
    {
        SCOPED_TRACE("windowed half");
        ExpectHalf(GetParam().windowedHalf, settings.windowedAdapter, settings.windowedDevice, settings.windowedCombo,
                   settings.windowedDisplayMode);
    }
    {
        SCOPED_TRACE("full-screen half");
        ExpectHalf(GetParam().fullscreenHalf, settings.fullscreenAdapter, settings.fullscreenDevice,
                   settings.fullscreenCombo, settings.fullscreenDisplayMode);
    }
}

constexpr D3DDISPLAYMODE kDesktop = {1024, 768, 85, X8};

INSTANTIATE_TEST_SUITE_P(
    , InitialChoice,
    ::testing::Values(
        PresetCase{"OneHalTypical", test::MakeOneHalTypical, S_OK, true, Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop},
                   Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop}},
        // Without HAL the first fitting combination stays chosen.
        PresetCase{"RefOnly", test::MakeRefOnly, S_OK, true, Half{0, D3DDEVTYPE_REF, X8, A8, kDesktop},
                   Half{0, D3DDEVTYPE_REF, X8, A8, kDesktop}},
        PresetCase{"HalPlusRef", test::MakeHalPlusRef, S_OK, true, Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop},
                   Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop}},
        // The window runs on adapter 0's desktop mode, whichever adapter is chosen.
        PresetCase{"TwoAdaptersFirstUnusable", test::MakeTwoAdaptersFirstUnusable, S_OK, true,
                   Half{1, D3DDEVTYPE_HAL, X8, X8, {640, 400, 60, X8}}, Half{1, D3DDEVTYPE_HAL, X8, X8, kDesktop}},
        PresetCase{"SwCapsFail", test::MakeSwCapsFail, S_OK, true, Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop},
                   Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop}},
        PresetCase{"DesktopFormatWithoutWindowedCombos", test::MakeDesktopFormatWithoutWindowedCombos, S_OK, false,
                   std::nullopt, Half{0, D3DDEVTYPE_HAL, R5, R5, {1024, 768, 85, R5}}},
        PresetCase{"NothingUsable", test::MakeNothingUsable, HostAppError::NoSuitableDevice, false, std::nullopt,
                   std::nullopt},
        PresetCase{"NullReference", test::MakeNullReference, S_OK, true, Half{0, D3DDEVTYPE_REF, X8, A8, kDesktop},
                   Half{0, D3DDEVTYPE_REF, X8, A8, kDesktop}},
        PresetCase{"DesktopNotListed", test::MakeDesktopNotListed, S_OK, true, Half{0, D3DDEVTYPE_HAL, X8, X8, kDesktop},
                   Half{0, D3DDEVTYPE_HAL, X8, X8, {1024, 768, 60, X8}}}),
    [](const ::testing::TestParamInfo<PresetCase>& info) { return info.param.name; });

TEST_F(SettingsTest, ValuesTakenFromTheCombinations) {
    test::MakeOneHalTypical(d3d);
    BuildCatalog();
    ASSERT_EQ(S_OK, PickInitialSettings(&settings, catalog, &d3d, RECT{10, 20, 410, 320}, false));
    EXPECT_EQ(400, settings.windowedClientWidth);
    EXPECT_EQ(300, settings.windowedClientHeight);
    EXPECT_EQ(D3DFMT_D16, settings.windowedDepthStencilFormat);
    EXPECT_EQ(D3DMULTISAMPLE_NONE, settings.windowedMultisampleType);
    EXPECT_EQ(0u, settings.windowedMultisampleQuality);
    EXPECT_EQ(PURE_HARDWARE_VP, settings.windowedVertexProcessing);
    // The window takes the first interval offered, IMMEDIATE; full screen always DEFAULT.
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE), settings.windowedPresentInterval);
    EXPECT_EQ(D3DFMT_D16, settings.fullscreenDepthStencilFormat);
    EXPECT_EQ(D3DMULTISAMPLE_NONE, settings.fullscreenMultisampleType);
    EXPECT_EQ(0u, settings.fullscreenMultisampleQuality);
    EXPECT_EQ(PURE_HARDWARE_VP, settings.fullscreenVertexProcessing);
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT), settings.fullscreenPresentInterval);
}

TEST_F(SettingsTest, StartFullscreenKeepsBothHalves) {
    test::MakeOneHalTypical(d3d);
    BuildCatalog();
    ASSERT_EQ(S_OK, PickInitialSettings(&settings, catalog, &d3d, kClient, true));
    EXPECT_FALSE(settings.windowed);
    EXPECT_NE(nullptr, settings.windowedCombo);
    EXPECT_NE(nullptr, settings.fullscreenCombo);
}

TEST_F(SettingsTest, WithoutDepthBufferDepthFieldsAreLeftAsTheyWere) {
    test::MakeOneHalTypical(d3d);
    BuildCatalog(false);
    settings.windowedDepthStencilFormat = D3DFMT_D32;
    settings.fullscreenDepthStencilFormat = D3DFMT_D24X4S4;
    ASSERT_EQ(S_OK, PickInitialSettings(&settings, catalog, &d3d, kClient, false));
    EXPECT_EQ(D3DFMT_D32, settings.windowedDepthStencilFormat);
    EXPECT_EQ(D3DFMT_D24X4S4, settings.fullscreenDepthStencilFormat);
}

// Desktop mode against the list 800x600@60, 1024x600@60, 1024x768@60, 1280x1024@60.
struct ModeChoiceCase {
    const char* name;
    D3DDISPLAYMODE desktop;
    D3DDISPLAYMODE chosen;
};

class FullscreenMode : public SettingsTest, public ::testing::WithParamInterface<ModeChoiceCase> {};

TEST_P(FullscreenMode, ClosestToTheDesktop) {
    test::MakeDesktopNotListed(d3d);
    d3d.adapters[0].desktop = GetParam().desktop;
    BuildCatalog();
    ASSERT_TRUE(PickFullscreenSettings(&settings, catalog, &d3d, false, false));
    EXPECT_FALSE(settings.windowed);
    EXPECT_EQ(GetParam().chosen, settings.fullscreenDisplayMode);
}

INSTANTIATE_TEST_SUITE_P(
    , FullscreenMode,
    ::testing::Values(ModeChoiceCase{"DesktopListed", {1024, 768, 60, X8}, {1024, 768, 60, X8}},
                      ModeChoiceCase{"DesktopListedNotLastOfWidth", {1024, 600, 60, X8}, {1024, 600, 60, X8}},
                      ModeChoiceCase{"LastOfDesktopWidth", {1024, 768, 85, X8}, {1024, 768, 60, X8}},
                      ModeChoiceCase{"NoModeOfDesktopWidth", {1152, 864, 75, X8}, {800, 600, 60, X8}}),
    [](const ::testing::TestParamInfo<ModeChoiceCase>& info) { return info.param.name; });

TEST_F(SettingsTest, HalOnSecondAdapterBeatsReferenceOnFirst) {
    FakeDirect3D hal;
    test::MakeOneHalTypical(hal);
    test::MakeRefOnly(d3d);
    d3d.adapters.push_back(hal.adapters[0]);
    BuildCatalog();
    ASSERT_EQ(S_OK, PickInitialSettings(&settings, catalog, &d3d, kClient, false));
    EXPECT_EQ(D3DDEVTYPE_HAL, settings.windowedDevice->m_deviceType);
    EXPECT_EQ(1u, settings.windowedCombo->m_adapterOrdinal);
    EXPECT_EQ(D3DDEVTYPE_HAL, settings.fullscreenDevice->m_deviceType);
    EXPECT_EQ(1u, settings.fullscreenCombo->m_adapterOrdinal);
}

// Full screen prefers a HAL combination on its adapter's desktop format.
TEST_F(SettingsTest, FullscreenPrefersDesktopFormat) {
    FakeDirect3D second;
    test::MakeOneHalTypical(second);
    test::MakeDesktopFormatWithoutWindowedCombos(d3d); // adapter 0: R5G6B5 only, X8R8G8B8 desktop
    d3d.adapters.push_back(second.adapters[0]);
    BuildCatalog();
    ASSERT_TRUE(PickFullscreenSettings(&settings, catalog, &d3d, false, false));
    EXPECT_EQ(1u, settings.fullscreenCombo->m_adapterOrdinal);
    EXPECT_EQ(X8, settings.fullscreenCombo->m_adapterFormat);
    EXPECT_EQ((std::vector<std::string>{"GetAdapterDisplayMode(0)", "GetAdapterDisplayMode(1)"}),
              d3d.CallsNamed("GetAdapterDisplayMode"));
}

// The windowed choice reads adapter 0's desktop only, whatever adapter it chooses.
TEST_F(SettingsTest, WindowedChoiceReadsOnlyAdapterZero) {
    test::MakeTwoAdaptersFirstUnusable(d3d);
    BuildCatalog();
    ASSERT_TRUE(PickWindowedSettings(&settings, catalog, &d3d, kClient, false, false));
    EXPECT_EQ(1u, settings.windowedCombo->m_adapterOrdinal);
    EXPECT_EQ((std::vector<std::string>{"GetAdapterDisplayMode(0)"}), d3d.CallsNamed("GetAdapterDisplayMode"));
    d3d.log.clear();
    ASSERT_TRUE(PickFullscreenSettings(&settings, catalog, &d3d, false, false));
    EXPECT_EQ((std::vector<std::string>{"GetAdapterDisplayMode(1)"}), d3d.CallsNamed("GetAdapterDisplayMode"));
}

TEST_F(SettingsTest, DeviceTypeRequirements) {
    test::MakeHalPlusRef(d3d);
    BuildCatalog();
    ASSERT_TRUE(PickWindowedSettings(&settings, catalog, &d3d, kClient, false, true));
    EXPECT_EQ(D3DDEVTYPE_REF, settings.windowedDevice->m_deviceType);
    EXPECT_TRUE(settings.windowed);
    ASSERT_TRUE(PickFullscreenSettings(&settings, catalog, &d3d, true, false));
    EXPECT_EQ(D3DDEVTYPE_HAL, settings.fullscreenDevice->m_deviceType);
}

TEST_F(SettingsTest, NothingFoundLeavesTheRecordUntouched) {
    test::MakeRefOnly(d3d);
    BuildCatalog();
    settings.windowed = true;
    settings.windowedPresentInterval = 7;
    settings.fullscreenPresentInterval = 9;
    EXPECT_FALSE(PickWindowedSettings(&settings, catalog, &d3d, kClient, true, false));
    EXPECT_FALSE(PickFullscreenSettings(&settings, catalog, &d3d, true, false));
    EXPECT_TRUE(settings.windowed);
    EXPECT_EQ(nullptr, settings.windowedCombo);
    EXPECT_EQ(nullptr, settings.fullscreenCombo);
    EXPECT_EQ(7u, settings.windowedPresentInterval);
    EXPECT_EQ(9u, settings.fullscreenPresentInterval);
    // Without a Direct3D object nothing is found either.
    EXPECT_EQ(HostAppError::NoSuitableDevice, PickInitialSettings(&settings, catalog, nullptr, kClient, false));
}

// A desktop mode that cannot be read decides nothing: no windowed choice on a stale format, and the
// full-screen choice is made as for an unknown desktop (first combination, first listed mode).
TEST_F(SettingsTest, UnreadableDesktopModeIsNotUsed) {
    test::MakeOneHalTypical(d3d);
    BuildCatalog();
    d3d.adapters[0].desktopFails = true;
    d3d.staleMode = {1024, 768, 85, X8};
    ASSERT_EQ(S_OK, PickInitialSettings(&settings, catalog, &d3d, kClient, false));
    EXPECT_FALSE(settings.windowed);
    EXPECT_EQ(nullptr, settings.windowedCombo);
    EXPECT_EQ((D3DDISPLAYMODE{640, 480, 60, X8}), settings.fullscreenDisplayMode);
    EXPECT_EQ(A8, settings.fullscreenCombo->m_backBufferFormat);
}

TEST(DisplaySettingsAccessors, FollowTheWindowedFlag) {
    FormatCombo windowedCombo, fullscreenCombo;
    windowedCombo.m_adapterOrdinal = 0;
    windowedCombo.m_deviceType = D3DDEVTYPE_REF;
    windowedCombo.m_backBufferFormat = A8;
    fullscreenCombo.m_adapterOrdinal = 2;
    fullscreenCombo.m_deviceType = D3DDEVTYPE_HAL;
    fullscreenCombo.m_backBufferFormat = R5;
    AdapterRecord adapterA, adapterB;
    DeviceRecord deviceA, deviceB;

    DisplaySettings s;
    s.windowedAdapter = &adapterA;
    s.windowedDevice = &deviceA;
    s.windowedCombo = &windowedCombo;
    s.windowedDisplayMode = {800, 600, 0, X8};
    s.windowedDepthStencilFormat = D3DFMT_D16;
    s.windowedMultisampleType = D3DMULTISAMPLE_2_SAMPLES;
    s.windowedMultisampleQuality = 1;
    s.windowedVertexProcessing = SOFTWARE_VP;
    s.windowedPresentInterval = D3DPRESENT_INTERVAL_ONE;
    s.fullscreenAdapter = &adapterB;
    s.fullscreenDevice = &deviceB;
    s.fullscreenCombo = &fullscreenCombo;
    s.fullscreenDisplayMode = {1024, 768, 60, R5};
    s.fullscreenDepthStencilFormat = D3DFMT_D24S8;
    s.fullscreenMultisampleType = D3DMULTISAMPLE_4_SAMPLES;
    s.fullscreenMultisampleQuality = 2;
    s.fullscreenVertexProcessing = HARDWARE_VP;
    s.fullscreenPresentInterval = D3DPRESENT_INTERVAL_TWO;

    s.windowed = true;
    EXPECT_EQ(&adapterA, s.ActiveAdapter());
    EXPECT_EQ(&deviceA, s.ActiveDevice());
    EXPECT_EQ(&windowedCombo, s.ActiveCombo());
    EXPECT_EQ(0u, s.ActiveAdapterOrdinal());
    EXPECT_EQ(D3DDEVTYPE_REF, s.ActiveDeviceType());
    EXPECT_EQ(A8, s.ActiveBackBufferFormat());
    EXPECT_EQ((D3DDISPLAYMODE{800, 600, 0, X8}), s.ActiveDisplayMode());
    EXPECT_EQ(D3DFMT_D16, s.ActiveDepthStencilFormat());
    EXPECT_EQ(D3DMULTISAMPLE_2_SAMPLES, s.ActiveMultisampleType());
    EXPECT_EQ(1u, s.ActiveMultisampleQuality());
    EXPECT_EQ(SOFTWARE_VP, s.ActiveVertexProcessingType());
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_ONE), s.ActivePresentInterval());

    s.windowed = false;
    EXPECT_EQ(&adapterB, s.ActiveAdapter());
    EXPECT_EQ(&deviceB, s.ActiveDevice());
    EXPECT_EQ(&fullscreenCombo, s.ActiveCombo());
    EXPECT_EQ(2u, s.ActiveAdapterOrdinal());
    EXPECT_EQ(D3DDEVTYPE_HAL, s.ActiveDeviceType());
    EXPECT_EQ(R5, s.ActiveBackBufferFormat());
    EXPECT_EQ((D3DDISPLAYMODE{1024, 768, 60, R5}), s.ActiveDisplayMode());
    EXPECT_EQ(D3DFMT_D24S8, s.ActiveDepthStencilFormat());
    EXPECT_EQ(D3DMULTISAMPLE_4_SAMPLES, s.ActiveMultisampleType());
    EXPECT_EQ(2u, s.ActiveMultisampleQuality());
    EXPECT_EQ(HARDWARE_VP, s.ActiveVertexProcessingType());
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_TWO), s.ActivePresentInterval());

    // The setters write the active half only.
    s.SetActiveDepthStencilFormat(D3DFMT_D32);
    s.SetActiveMultisampleType(D3DMULTISAMPLE_NONE);
    s.SetActiveMultisampleQuality(0);
    s.SetActiveVertexProcessingType(PURE_HARDWARE_VP);
    s.SetActivePresentInterval(D3DPRESENT_INTERVAL_DEFAULT);
    EXPECT_EQ(D3DFMT_D32, s.fullscreenDepthStencilFormat);
    EXPECT_EQ(D3DMULTISAMPLE_NONE, s.fullscreenMultisampleType);
    EXPECT_EQ(0u, s.fullscreenMultisampleQuality);
    EXPECT_EQ(PURE_HARDWARE_VP, s.fullscreenVertexProcessing);
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT), s.fullscreenPresentInterval);
    EXPECT_EQ(D3DFMT_D16, s.windowedDepthStencilFormat);
    EXPECT_EQ(D3DMULTISAMPLE_2_SAMPLES, s.windowedMultisampleType);
    EXPECT_EQ(1u, s.windowedMultisampleQuality);
    EXPECT_EQ(SOFTWARE_VP, s.windowedVertexProcessing);
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_ONE), s.windowedPresentInterval);

    // Copied whole by plain assignment.
    DisplaySettings copy;
    copy = s;
    EXPECT_EQ(&fullscreenCombo, copy.ActiveCombo());
    EXPECT_EQ(&windowedCombo, copy.windowedCombo);
}

} // namespace
