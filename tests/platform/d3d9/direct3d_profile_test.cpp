// The Direct3D object's answers from the default profile and from presets.
#include <gtest/gtest.h>

#include <cstring>

#include "d3d9.h"
#include "d3d9/adapter_presets.h"
#include "d3d9/control.h"
#include "machine/control.h"
#include "machine/machine.h"

namespace {

class Direct3DTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        d3d9::control::Reset();
    }
    void TearDown() override {
        if (d3d_) {
            EXPECT_EQ(d3d_->Release(), 0u);
        }
        d3d9::control::Reset();
    }
    IDirect3D9* Create() {
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        return d3d_;
    }
    IDirect3D9* d3d_ = nullptr;
};

TEST_F(Direct3DTest, OnlyTheHeadersVersionIsOffered) {
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION + 1), nullptr);
    EXPECT_EQ(Direct3DCreate9(0), nullptr);
}

TEST_F(Direct3DTest, TheCreateHookStandsInForTheObject) {
    d3d9::control::SetCreateHook([](UINT) -> IDirect3D9* { return nullptr; });
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
    d3d9::control::SetCreateHook({});
    ASSERT_NE(Create(), nullptr);
}

TEST_F(Direct3DTest, OneAdapterDescribedAsTheSoftwareDevice) {
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(d3d_->GetAdapterCount(), 1u);
    D3DADAPTER_IDENTIFIER9 id;
    std::memset(&id, 0x55, sizeof id);
    ASSERT_EQ(d3d_->GetAdapterIdentifier(0, 0, &id), D3D_OK);
    EXPECT_STREQ(id.Description, "Morvath Software Rasterizer");
    EXPECT_EQ(d3d_->GetAdapterIdentifier(1, 0, &id), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d_->GetAdapterIdentifier(0, 0, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(Direct3DTest, ADescriptionOfTheRecordsFullSizeHasNoTerminator) {
    d3d9::Profile profile = d3d9::presets::OneHalTypical();
    profile.adapters[0].description = std::string(512, 'x');
    d3d9::control::SetAdapterProfile(profile);
    ASSERT_NE(Create(), nullptr);
    D3DADAPTER_IDENTIFIER9 id;
    std::memset(&id, 0x55, sizeof id);
    ASSERT_EQ(d3d_->GetAdapterIdentifier(0, 0, &id), D3D_OK);
    EXPECT_EQ(std::string(id.Description, 512), std::string(512, 'x'));
    EXPECT_EQ(id.DeviceName[0], '\\');  // the next field was not overrun
}

TEST_F(Direct3DTest, ModesComeFromTheMachinesDisplay) {
    ASSERT_NE(Create(), nullptr);
    std::vector<machine::DisplayMode> machineModes = machine::DisplayModes();
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
        UINT expected = 0;
        for (const auto& m : machineModes) expected += m.format == format && m.width >= 640 && m.height >= 480;
        ASSERT_GT(expected, 0u);
        const UINT count = d3d_->GetAdapterModeCount(0, format);
        EXPECT_EQ(count, expected);
        D3DDISPLAYMODE mode{};
        for (UINT i = 0; i < count; ++i) {
            ASSERT_EQ(d3d_->EnumAdapterModes(0, format, i, &mode), D3D_OK);
            EXPECT_EQ(mode.Format, format);
            EXPECT_GE(mode.Width, 640u);
            EXPECT_TRUE(mode.RefreshRate == 60 || mode.RefreshRate == 75 ||
                        mode.RefreshRate == machine::DesktopMode().refreshRate);
        }
        EXPECT_EQ(d3d_->EnumAdapterModes(0, format, count, &mode), D3DERR_INVALIDCALL);
    }
    EXPECT_EQ(d3d_->GetAdapterModeCount(0, D3DFMT_X1R5G5B5), 0u);
    EXPECT_EQ(d3d_->GetAdapterModeCount(3, D3DFMT_X8R8G8B8), 0u);
}

TEST_F(Direct3DTest, TheDesktopModeFollowsTheMachine) {
    machine::control::SetDesktop({1024, 768, 75, D3DFMT_X8R8G8B8}, {});
    ASSERT_NE(Create(), nullptr);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(mode.Height, 768u);
    EXPECT_EQ(mode.RefreshRate, 75u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    // A desktop change while the object lives is seen at once.
    machine::control::SetDesktop({800, 600, 60, D3DFMT_R5G6B5}, {});
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(d3d_->GetAdapterDisplayMode(0, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(Direct3DTest, CapsPerDeviceType) {
    ASSERT_NE(Create(), nullptr);
    D3DCAPS9 caps{};
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);
    EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_PUREDEVICE);
    EXPECT_EQ(caps.MaxTextureWidth, 2048u);
    EXPECT_EQ(caps.MaxActiveLights, 8u);
    EXPECT_EQ(caps.MaxTextureBlendStages, 8u);
    EXPECT_FALSE(caps.PrimitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE);
    EXPECT_TRUE(caps.PresentationIntervals & D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_TRUE(caps.PresentationIntervals & D3DPRESENT_INTERVAL_ONE);
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_REF);
    EXPECT_FALSE(caps.DevCaps & (D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE));
    EXPECT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_SW, &caps), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d_->GetDeviceCaps(1, D3DDEVTYPE_HAL, &caps), D3DERR_INVALIDCALL);
}

struct CheckCase {
    const char* name;
    std::function<HRESULT(IDirect3D9*)> call;
    bool succeeds;
};

class DefaultChecks : public Direct3DTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(DefaultChecks, Answer) {
    ASSERT_NE(Create(), nullptr);
    const HRESULT hr = GetParam().call(d3d_);
    if (GetParam().succeeds) {
        EXPECT_EQ(hr, D3D_OK);
    } else {
        EXPECT_LT(hr, 0);
    }
}

const D3DFORMAT kDesktop = D3DFMT_X8R8G8B8;  // the machine's default desktop

INSTANTIATE_TEST_SUITE_P(
    , DefaultChecks,
    ::testing::Values(
        CheckCase{"WindowedX1R5G5B5OnTheDesktop",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_HAL, kDesktop, D3DFMT_X1R5G5B5, TRUE); },
                  true},
        CheckCase{"WindowedOnAnotherFormatThanTheDesktops",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, TRUE); },
                  false},
        CheckCase{"FullScreenA8R8G8B8OnX8R8G8B8",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, FALSE); },
                  true},
        CheckCase{"FullScreenR5G6B5OnR5G6B5",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_REF, D3DFMT_R5G6B5, D3DFMT_R5G6B5, FALSE); },
                  true},
        CheckCase{"FullScreenX1R5G5B5WithoutModes",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5, FALSE); },
                  false},
        CheckCase{"FullScreenMismatchedLayout",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, FALSE); },
                  false},
        CheckCase{"A2R10G10B10NotOffered",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_HAL, kDesktop, D3DFMT_A2R10G10B10, TRUE); },
                  false},
        CheckCase{"SwDeviceNotOffered",
                  [](IDirect3D9* d) { return d->CheckDeviceType(0, D3DDEVTYPE_SW, kDesktop, kDesktop, TRUE); },
                  false},
        CheckCase{"DepthD24X8",
                  [](IDirect3D9* d) {
                      return d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, kDesktop, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                                  D3DFMT_D24X8);
                  },
                  true},
        CheckCase{"DepthD15S1NotOffered",
                  [](IDirect3D9* d) {
                      return d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, kDesktop, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                                  D3DFMT_D15S1);
                  },
                  false},
        CheckCase{"TextureA4R4G4B4",
                  [](IDirect3D9* d) {
                      return d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, kDesktop, 0, D3DRTYPE_TEXTURE, D3DFMT_A4R4G4B4);
                  },
                  true},
        CheckCase{"DepthMatchesEveryBackBuffer",
                  [](IDirect3D9* d) {
                      return d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, kDesktop, D3DFMT_R5G6B5, D3DFMT_D32);
                  },
                  true},
        CheckCase{"DepthMatchOfAColourFormat",
                  [](IDirect3D9* d) {
                      return d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, kDesktop, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8);
                  },
                  false},
        CheckCase{"MultisampleNoneWithNullQualityPointer",
                  [](IDirect3D9* d) {
                      return d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_D16, TRUE, D3DMULTISAMPLE_NONE,
                                                           nullptr);
                  },
                  true},
        CheckCase{"Multisample2NotOffered",
                  [](IDirect3D9* d) {
                      DWORD levels = 7;
                      HRESULT hr = d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, kDesktop, TRUE,
                                                                 D3DMULTISAMPLE_2_SAMPLES, &levels);
                      return levels == 0 ? hr : D3D_OK;
                  },
                  false}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(Direct3DTest, MultisampleNoneAnswersOneQualityLevel) {
    ASSERT_NE(Create(), nullptr);
    DWORD levels = 0;
    EXPECT_EQ(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_REF, D3DFMT_X8R8G8B8, FALSE, D3DMULTISAMPLE_NONE, &levels),
              D3D_OK);
    EXPECT_EQ(levels, 1u);
}

TEST_F(Direct3DTest, TypicalPresetRefusesFourSamplesForD16Only) {
    d3d9::control::SetAdapterProfile(d3d9::presets::OneHalTypical());
    ASSERT_NE(Create(), nullptr);
    DWORD levels = 0;
    EXPECT_EQ(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE, D3DMULTISAMPLE_4_SAMPLES,
                                               &levels),
              D3D_OK);
    EXPECT_EQ(levels, 2u);
    EXPECT_EQ(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_D24S8, TRUE, D3DMULTISAMPLE_4_SAMPLES, nullptr),
              D3D_OK);
    EXPECT_LT(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_D16, TRUE, D3DMULTISAMPLE_4_SAMPLES, nullptr),
              0);
    D3DDISPLAYMODE desktop{};
    d3d_->GetAdapterDisplayMode(0, &desktop);
    EXPECT_EQ(desktop.RefreshRate, 85u);
    D3DCAPS9 caps{};
    d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps);
    EXPECT_EQ(caps.PresentationIntervals, DWORD(D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE));
}

TEST_F(Direct3DTest, PresetsShapeTheAnswers) {
    d3d9::control::SetAdapterProfile(d3d9::presets::SwCapsFail());
    ASSERT_NE(Create(), nullptr);
    D3DCAPS9 caps{};
    EXPECT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_LT(d3d_->GetDeviceCaps(0, D3DDEVTYPE_SW, &caps), 0);
    EXPECT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3D_OK);
    d3d_->Release();

    d3d9::control::SetAdapterProfile(d3d9::presets::TwoAdaptersFirstUnusable());
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(d3d_->GetAdapterCount(), 2u);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
    EXPECT_EQ(mode.Height, 479u);
    d3d_->Release();

    d3d9::control::SetAdapterProfile(d3d9::presets::DesktopFormatWithoutWindowed());
    ASSERT_NE(Create(), nullptr);
    EXPECT_LT(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, TRUE), 0);
    EXPECT_EQ(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, FALSE), D3D_OK);
    d3d_->Release();

    d3d9::control::SetAdapterProfile(d3d9::presets::NullReference());
    ASSERT_NE(Create(), nullptr);
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3D_OK);
    EXPECT_TRUE(caps.PrimitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE);
}

TEST_F(Direct3DTest, FailureInjectionLeavesTheRecordAlone) {
    d3d9::Profile profile = d3d9::presets::OneHalTypical();
    profile.adapters[0].identifierFails = true;
    profile.adapters[0].failingModes.insert({D3DFMT_X8R8G8B8, 2});
    d3d9::control::SetAdapterProfile(profile);
    ASSERT_NE(Create(), nullptr);
    D3DADAPTER_IDENTIFIER9 id;
    std::memset(&id, 0x55, sizeof id);
    EXPECT_LT(d3d_->GetAdapterIdentifier(0, 0, &id), 0);
    EXPECT_EQ(id.Description[0], 0x55);
    D3DDISPLAYMODE mode{1, 2, 3, D3DFMT_UNKNOWN};
    EXPECT_LT(d3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 2, &mode), 0);
    EXPECT_EQ(mode.Width, 1u);
}

TEST_F(Direct3DTest, TheCallLogRecordsCallsInOrder) {
    d3d9::control::EnableCallLog(true);
    ASSERT_NE(Create(), nullptr);
    d3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_D16);
    d3d_->GetDeviceCaps(0, D3DDEVTYPE_REF, nullptr);
    const std::vector<std::string> log = d3d9::control::CallLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "Direct3DCreate9(31)");
    EXPECT_EQ(log[1], "CheckDepthStencilMatch(0,HAL,X8R8G8B8,A8R8G8B8,D16)");
    EXPECT_EQ(log[2], "GetDeviceCaps(0,REF)");
    EXPECT_EQ(d3d9::control::CallsNamed("GetDeviceCaps").size(), 1u);
}

}  // namespace
