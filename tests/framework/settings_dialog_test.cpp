// The "Direct3D Settings" dialog over the catalog presets: the cascade's refills and preselection,
// the guards that keep OK to what the controls show, the keys, and the host's settings command.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings_dialog.h"
#include "support/host_fixture.h"
#include "support/test_app.h"
#include "user/dialog_control.h"

namespace {

using namespace SettingsControl;
using Strings = std::vector<std::string>;
using test::FakeDirect3D;
using user::control::DialogControl;
using user::control::DialogControlView;

constexpr D3DFORMAT X8 = D3DFMT_X8R8G8B8;
constexpr D3DFORMAT R5 = D3DFMT_R5G6B5;
const RECT kClient = {0, 0, 800, 600};

using Step = std::function<void(HWND)>;

class SettingsDialogTest : public test::HostTest {
protected:
    void Build(void (*scenario)(FakeDirect3D&), bool depth = true, bool startFullscreen = false) {
        scenario(d3d);
        if (adjust) adjust(d3d);
        catalog.AttachDirect3D(&d3d);
        catalog.m_usesDepthBuffer = depth;
        ASSERT_EQ(S_OK, catalog.Build());
        ASSERT_EQ(S_OK, PickInitialSettings(&settings, catalog, &d3d, kClient, startFullscreen));
    }
    // Runs the dialog on the settings; one step per idle point, then Escape. `out` gets the copy.
    int Run(std::vector<Step> steps) {
        CDisplaySettingsDialog dialog(&catalog, &settings);
        size_t next = 0;
        machine::control::SetIdleHook([&] {
            HWND window = user::control::RunningDialog();
            if (!window) return;
            if (next < steps.size()) steps[next++](window);
            else user::control::PressDialogKey(window, VK_ESCAPE);
        });
        const int result = dialog.RunModal(nullptr);
        machine::control::SetIdleHook(nullptr);
        dialog.GetSettings(&out);
        return result;
    }
    static DialogControlView View(HWND dialog, int id) { return *DialogControl(dialog, id); }
    static Strings Items(HWND dialog, int id) { return View(dialog, id).ItemTexts(); }
    static std::string Shown(HWND dialog, int id) { return View(dialog, id).SelectedText(); }
    static void Select(HWND dialog, int id, const std::string& text) {
        EXPECT_TRUE(user::control::SelectDialogItem(dialog, id, text)) << id << " " << text;
    }

    std::function<void(FakeDirect3D&)> adjust;
    FakeDirect3D d3d;
    CD3DDeviceCatalog catalog;
    DisplaySettings settings;
    DisplaySettings out;
};

TEST_F(SettingsDialogTest, InWindowedUseEveryControlShowsTheWorkingCopy) {
    Build(test::MakeOneHalTypical);
    settings.windowedDepthStencilFormat = D3DFMT_D24S8;
    const int result = Run({[&](HWND d) {
        EXPECT_EQ(Items(d, Adapter), Strings{"Fake HAL adapter"});
        EXPECT_EQ(View(d, Adapter).items[0].data, reinterpret_cast<LPARAM>(settings.windowedAdapter));
        EXPECT_EQ(Items(d, Device), Strings{"D3DDEVTYPE_HAL"});
        EXPECT_TRUE(View(d, Windowed).checked && View(d, Windowed).enabled);
        EXPECT_FALSE(View(d, Fullscreen).checked);
        EXPECT_TRUE(View(d, Fullscreen).enabled);
        // The display-mode controls hold the desktop mode, selected and disabled.
        for (auto [id, text] : {std::pair{AdapterFormat, "D3DFMT_X8R8G8B8"}, std::pair{Resolution, "1024 by 768"},
                                std::pair{RefreshRate, "85 Hz"}}) {
            EXPECT_EQ(Items(d, id), Strings{text});
            EXPECT_EQ(Shown(d, id), text);
            EXPECT_FALSE(View(d, id).enabled);
        }
        EXPECT_EQ(View(d, Resolution).items[0].data, (768 << 16) | 1024);
        EXPECT_EQ(Items(d, BackBufferFormat), (Strings{"D3DFMT_A8R8G8B8", "D3DFMT_X8R8G8B8"}));
        EXPECT_EQ(Shown(d, BackBufferFormat), "D3DFMT_X8R8G8B8");
        EXPECT_EQ(Items(d, DepthStencilFormat), (Strings{"D3DFMT_D16", "D3DFMT_D24S8"}));
        EXPECT_EQ(Shown(d, DepthStencilFormat), "D3DFMT_D24S8");
        EXPECT_EQ(Items(d, MultisampleType),
                  (Strings{"D3DMULTISAMPLE_NONE", "D3DMULTISAMPLE_2_SAMPLES", "D3DMULTISAMPLE_4_SAMPLES"}));
        EXPECT_EQ(Items(d, MultisampleQuality), Strings{"0"});
        EXPECT_EQ(Shown(d, VertexProcessing), "PURE_HARDWARE_VP");
        EXPECT_EQ(Items(d, PresentInterval), (Strings{"D3DPRESENT_INTERVAL_IMMEDIATE", "D3DPRESENT_INTERVAL_DEFAULT",
                                                      "D3DPRESENT_INTERVAL_ONE"}));
        EXPECT_TRUE(View(d, IDOK).enabled);
    }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(out.windowed);
    EXPECT_EQ(out.windowedCombo, settings.windowedCombo);
    EXPECT_EQ(out.windowedDepthStencilFormat, D3DFMT_D24S8);
}

TEST_F(SettingsDialogTest, InFullScreenUseSizesAndRatesAreListedOnceInOrder) {
    adjust = [](FakeDirect3D& d) { d.adapters[0].modes[X8].push_back({1280, 1024, 0, X8}); };
    Build(test::MakeOneHalTypical);
    const int result = Run({
        [](HWND d) { EXPECT_TRUE(user::control::ClickDialogControl(d, Fullscreen)); },
        [](HWND d) {
            EXPECT_EQ(Items(d, AdapterFormat), (Strings{"D3DFMT_X8R8G8B8", "D3DFMT_R5G6B5"}));
            EXPECT_TRUE(View(d, AdapterFormat).enabled && View(d, Resolution).enabled && View(d, RefreshRate).enabled);
            EXPECT_EQ(Items(d, Resolution), (Strings{"640 by 480", "800 by 600", "1024 by 768", "1280 by 1024"}));
            Select(d, Resolution, "1280 by 1024");
        },
        [](HWND d) {
            EXPECT_EQ(Items(d, RefreshRate), (Strings{"Default Rate", "60 Hz"}));
            Select(d, Resolution, "800 by 600");
        },
        [](HWND d) {
            EXPECT_EQ(Items(d, RefreshRate), (Strings{"60 Hz", "85 Hz"}));
            Select(d, RefreshRate, "60 Hz");
        },
        [](HWND d) { EXPECT_TRUE(user::control::PressDialogKey(d, VK_RETURN)); },
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_FALSE(out.windowed);
    EXPECT_EQ(out.fullscreenDisplayMode.Width, 800u);
    EXPECT_EQ(out.fullscreenDisplayMode.Height, 600u);
    EXPECT_EQ(out.fullscreenDisplayMode.RefreshRate, 60u);
    ASSERT_NE(out.fullscreenCombo, nullptr);
    EXPECT_FALSE(out.fullscreenCombo->m_windowed);
    EXPECT_EQ(out.fullscreenCombo->m_adapterFormat, out.fullscreenDisplayMode.Format);
}

TEST_F(SettingsDialogTest, ADepthFormatTakesAwayTheMultisampleTypeItConflictsWith) {
    Build(test::MakeOneHalTypical);
    Run({
        [](HWND d) { Select(d, DepthStencilFormat, "D3DFMT_D16"); },
        [](HWND d) {
            EXPECT_EQ(Items(d, MultisampleType), (Strings{"D3DMULTISAMPLE_NONE", "D3DMULTISAMPLE_2_SAMPLES"}));
            Select(d, DepthStencilFormat, "D3DFMT_D24S8");
        },
        [](HWND d) {
            EXPECT_EQ(Items(d, MultisampleType).size(), 3u);
            Select(d, MultisampleType, "D3DMULTISAMPLE_4_SAMPLES");
        },
        [](HWND d) { EXPECT_EQ(Items(d, MultisampleQuality), (Strings{"0", "1", "2"})); },
    });
    EXPECT_EQ(out.windowedDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(out.windowedMultisampleType, D3DMULTISAMPLE_4_SAMPLES);
}

TEST_F(SettingsDialogTest, WithoutADepthBufferTheDepthControlIsNotUsed) {
    Build(test::MakeOneHalTypical, false);
    settings.windowedDepthStencilFormat = D3DFMT_D32;  // never offered, never replaced
    Run({[](HWND d) {
        EXPECT_EQ(Items(d, DepthStencilFormat), Strings{"(not used)"});
        EXPECT_FALSE(View(d, DepthStencilFormat).enabled);
        EXPECT_EQ(Items(d, MultisampleType).size(), 3u);
    }});
    EXPECT_EQ(out.windowedDepthStencilFormat, D3DFMT_D32);
}

TEST_F(SettingsDialogTest, AValueNoLongerListedBecomesTheFirstItem) {
    Build(test::MakeOneHalTypical);
    settings.windowedPresentInterval = 0x1234;
    Run({[](HWND d) { EXPECT_EQ(Shown(d, PresentInterval), "D3DPRESENT_INTERVAL_IMMEDIATE"); }});
    EXPECT_EQ(out.windowedPresentInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
}

// HAL offers windowed use only, REF full-screen use only.
void SplitUseDevices(FakeDirect3D& d) {
    test::MakeHalPlusRef(d);
    d.deviceTypeRule = [](UINT, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT backBuffer, BOOL windowed) {
        return (type == D3DDEVTYPE_HAL) == (windowed != FALSE) && backBuffer == adapterFormat;
    };
}

TEST_F(SettingsDialogTest, ADisabledUseIsNeverCheckedAndOkGivesTheUseShown) {
    Build(SplitUseDevices);
    const int result = Run({
        [](HWND d) { Select(d, Device, "D3DDEVTYPE_REF"); },
        [](HWND d) {
            EXPECT_FALSE(View(d, Windowed).enabled);
            EXPECT_TRUE(View(d, Fullscreen).checked && View(d, Fullscreen).enabled);
            Select(d, Device, "D3DDEVTYPE_HAL");
        },
        [](HWND d) {
            EXPECT_FALSE(View(d, Fullscreen).enabled);
            EXPECT_FALSE(View(d, Fullscreen).checked) << "a disabled button is never checked";
            EXPECT_TRUE(View(d, Windowed).checked);
            EXPECT_TRUE(View(d, IDOK).enabled);
            EXPECT_TRUE(user::control::PressDialogKey(d, VK_RETURN));
        },
    });
    ASSERT_EQ(result, IDOK);
    ASSERT_TRUE(out.windowed);
    EXPECT_EQ(out.windowedDevice->m_deviceType, D3DDEVTYPE_HAL);
    EXPECT_TRUE(out.windowedCombo->m_windowed);
    EXPECT_EQ(out.windowedCombo->m_deviceType, D3DDEVTYPE_HAL);
}

TEST_F(SettingsDialogTest, AFormatWithoutFullScreenCombinationsEmptiesTheListAndDisablesOk) {
    // Full-screen use on X8R8G8B8 is refused, so that format comes only from windowed combinations.
    adjust = [](FakeDirect3D& d) {
        d.deviceTypeRule = [](UINT, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT backBuffer, BOOL windowed) {
            return backBuffer == adapterFormat && (windowed || adapterFormat != X8);
        };
    };
    Build(test::MakeOneHalTypical);
    ::testing::internal::CaptureStderr();
    const int result = Run({
        [](HWND d) { user::control::ClickDialogControl(d, Fullscreen); },
        [](HWND d) {
            EXPECT_EQ(Items(d, AdapterFormat), (Strings{"D3DFMT_X8R8G8B8", "D3DFMT_R5G6B5"}));
            EXPECT_EQ(Shown(d, BackBufferFormat), "D3DFMT_R5G6B5");
            Select(d, AdapterFormat, "D3DFMT_X8R8G8B8");
        },
        [](HWND d) {
            EXPECT_TRUE(Items(d, BackBufferFormat).empty());
            EXPECT_TRUE(Items(d, DepthStencilFormat).empty() && Items(d, PresentInterval).empty());
            EXPECT_FALSE(View(d, IDOK).enabled);
            EXPECT_FALSE(user::control::PressDialogKey(d, VK_RETURN)) << "OK cannot be chosen";
            PostMessageA(d, WM_COMMAND, IDOK, 0);  // nor sent by the program
        },
        [](HWND d) {
            EXPECT_EQ(user::control::RunningDialog(), d);
            Select(d, AdapterFormat, "D3DFMT_R5G6B5");
        },
        [](HWND d) {
            EXPECT_TRUE(View(d, IDOK).enabled);
            user::control::PressDialogKey(d, VK_RETURN);
        },
    });
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(out.fullscreenDisplayMode.Format, R5);
    EXPECT_EQ(out.fullscreenCombo->m_adapterFormat, R5);
    EXPECT_FALSE(out.fullscreenCombo->m_windowed);
}

TEST_F(SettingsDialogTest, AnAdapterWithoutCombinationsOnTheWindowedFormatCannotBeChosenWindowed) {
    adjust = [](FakeDirect3D& d) {
        test::FakeAdapter second = d.adapters[0];
        second.description = "Second adapter";
        second.desktop = {1024, 768, 60, R5};
        second.modes.erase(X8);
        d.adapters.push_back(second);
    };
    Build(test::MakeOneHalTypical);
    ::testing::internal::CaptureStderr();
    const int result = Run({
        [](HWND d) { Select(d, Adapter, "Second adapter"); },
        [](HWND d) {
            EXPECT_TRUE(View(d, Windowed).checked);
            EXPECT_TRUE(Items(d, BackBufferFormat).empty());
            EXPECT_FALSE(View(d, IDOK).enabled);
            EXPECT_FALSE(user::control::PressDialogKey(d, VK_RETURN));
        },
    });
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(SettingsDialogTest, AHalfNeverFilledIsFilledByTheDialog) {
    Build(test::MakeOneHalTypical);
    settings.fullscreenAdapter = nullptr;
    settings.fullscreenDevice = nullptr;
    settings.fullscreenCombo = nullptr;
    settings.fullscreenDisplayMode = {};
    const int result = Run({
        [](HWND d) { user::control::ClickDialogControl(d, Fullscreen); },
        [](HWND d) {
            EXPECT_EQ(Shown(d, AdapterFormat), "D3DFMT_X8R8G8B8");
            EXPECT_EQ(Shown(d, Resolution), "640 by 480");
            EXPECT_TRUE(View(d, IDOK).enabled);
            user::control::PressDialogKey(d, VK_RETURN);
        },
    });
    ASSERT_EQ(result, IDOK);
    ASSERT_NE(out.fullscreenCombo, nullptr);
    EXPECT_EQ(out.fullscreenAdapter, settings.windowedAdapter);
    EXPECT_EQ(out.fullscreenDisplayMode.Width, 640u);
    EXPECT_EQ(out.fullscreenDisplayMode.RefreshRate, 60u);
}

TEST_F(SettingsDialogTest, EnterIsOkAndEscapeCancelAndTheCloseBoxAreCancel) {
    Build(test::MakeOneHalTypical);
    EXPECT_EQ(Run({[](HWND d) { user::control::PressDialogKey(d, VK_RETURN); }}), IDOK);
    EXPECT_EQ(Run({[](HWND d) { user::control::PressDialogKey(d, VK_ESCAPE); }}), IDCANCEL);
    EXPECT_EQ(Run({[](HWND d) { user::control::ClickDialogControl(d, IDCANCEL); }}), IDCANCEL);
    EXPECT_EQ(Run({[](HWND d) { user::control::CloseDialogBox(d); }}), IDCANCEL);
}

// The host's settings command.
class SettingsCommand : public test::StartedHost<test::TestApp> {
protected:
    void Script(const std::string& text) {
        std::string error;
        ASSERT_TRUE(machine::control::LoadInputScript(text, error)) << error;
    }
    size_t Creations() const { return d3d.creations.size(); }
};

TEST_F(SettingsCommand, OkRecreatesTheDeviceEvenWithNothingChanged) {
    ASSERT_TRUE(Start());
    Script("0 dialog key enter\n");
    const size_t before = Creations();
    EXPECT_EQ(S_OK, app.RunSettingsDialog());
    EXPECT_EQ(Creations(), before + 1);
    EXPECT_EQ(app.MainCalls(), (Strings{"ReleaseVolatileResources", "ReleaseDeviceResources", "CreateDeviceResources",
                                        "CreateVolatileResources"}));
    EXPECT_EQ(machine::DialogsShown(), 1u);
    EXPECT_TRUE(IsWindowEnabled(window)) << "the main window is enabled again";
}

TEST_F(SettingsCommand, CancelChangesNothing) {
    ASSERT_TRUE(Start());
    Script("0 dialog select 1010 D3DPRESENT_INTERVAL_ONE\n0 dialog key escape\n");
    const size_t before = Creations();
    EXPECT_EQ(S_OK, app.RunSettingsDialog());
    EXPECT_EQ(Creations(), before);
    EXPECT_TRUE(app.MainCalls().empty());
}

TEST_F(SettingsCommand, TheMenuCommandAppliesTheScriptedChoice) {
    ASSERT_TRUE(Start());
    Script("0 dialog select 1010 D3DPRESENT_INTERVAL_ONE\n1 dialog key enter\n");
    SendMessageA(window, WM_COMMAND, 40002, 0);
    ASSERT_FALSE(d3d.creations.empty());
    EXPECT_EQ(d3d.creations.back().params.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_ONE));
    EXPECT_TRUE(app.m_active) << "the pause around the dialog is withdrawn";
}

TEST_F(SettingsCommand, InFullScreenTheProgramGoesWindowedFirst) {
    app.m_startFullscreen = true;
    ASSERT_TRUE(Start());
    ASSERT_FALSE(app.m_windowed);
    Script("0 dialog key enter\n");
    EXPECT_EQ(S_OK, app.RunSettingsDialog());
    EXPECT_TRUE(app.m_windowed);
    ASSERT_FALSE(d3d.creations.empty());
    EXPECT_TRUE(d3d.creations.back().params.Windowed);
    EXPECT_NE(GetMenu(window), nullptr) << "the windowed window has its menu back";
}

TEST_F(SettingsCommand, InFullScreenWithoutAWindowedChoiceTheDialogIsNotShown) {
    app.m_startFullscreen = true;
    ASSERT_TRUE(Start(test::MakeDesktopFormatWithoutWindowedCombos));
    Script("0 dialog key enter\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(S_FALSE, app.RunSettingsDialog());
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(app.m_windowed);
    EXPECT_EQ(machine::DialogsShown(), 0u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, ErrorReportText(HostAppError::WindowedModeUnavailable));
}

TEST_F(SettingsCommand, ADialogThatCannotBeShownIsReportedNotTakenForCancel) {
    ASSERT_TRUE(Start());
    user::control::SetDialogCreationFails(true);
    const size_t before = Creations();
    EXPECT_TRUE(FAILED(app.RunSettingsDialog()));
    EXPECT_EQ(Creations(), before);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_STREQ(machine::MessageBoxIconName(Boxes()[0].type), "warning");
    EXPECT_NE(app.m_pDevice, nullptr) << "the device stays";
}

TEST_F(SettingsCommand, ALeakFoundWhileChangingStopsBeforeANewDevice) {
    ASSERT_TRUE(Start());
    Device()->extraReferences = 1;
    Script("0 dialog key enter\n");
    const size_t before = Creations();
    app.RunSettingsDialog();
    EXPECT_EQ(Creations(), before) << "no device from a released Direct3D object";
    EXPECT_FALSE(IsWindow(window)) << "the Fatal report closed the program";
}

}  // namespace
