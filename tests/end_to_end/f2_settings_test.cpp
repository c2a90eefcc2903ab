// F2 opens the "Direct3D Settings" dialog: choices made in it and taken with Enter give a new device
// with those settings; Escape cancels it and nothing changes.
#include "scripted_run.h"

namespace {

class F2Settings : public ScriptedRun {};

TEST_F(F2Settings, ChosenDepthFormatRecreatesTheDevice) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 40, .script = "f2_depth_format.txt", .captureFrames = "30"}));
    EXPECT_EQ(Count("dialogs_shown"), 1.0);
    EXPECT_EQ(Count("device_creations"), 2.0);
    EXPECT_EQ(Count("device_resets"), 0.0);
    const ReportedDevice device = Device();
    ASSERT_TRUE(device.present);
    EXPECT_EQ(device.depthFormat, "D24S8") << device;
    EXPECT_TRUE(device.windowed) << device;
    EXPECT_EQ(device.width, 800) << device;
    EXPECT_EQ(device.height, 600) << device;
    ExpectDrawnFrame(30, 800, 600);
}

TEST_F(F2Settings, ChosenFullScreenResolutionRecreatesTheDevice) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 40, .script = "f2_full_screen_resolution.txt", .captureFrames = "30"}));
    EXPECT_EQ(Count("dialogs_shown"), 1.0);
    EXPECT_EQ(Count("device_creations"), 2.0);
    const ReportedDevice device = Device();
    ASSERT_TRUE(device.present);
    EXPECT_FALSE(device.windowed) << device;
    EXPECT_EQ(device.width, 1024) << device;
    EXPECT_EQ(device.height, 768) << device;
    EXPECT_EQ(Count("display_mode_changes"), 2.0);
    const ReportedWindow window = MainWindow();
    EXPECT_EQ(window.rect, (std::vector<int>{0, 0, 1024, 768})) << window;
    EXPECT_FALSE(window.menuBar) << window;
    ExpectDrawnFrame(30, 1024, 768);
}

TEST_F(F2Settings, EscapeChangesNothing) {
    ShowcaseRun plain;
    ASSERT_NO_FATAL_FAILURE(Run(plain, {.frames = 40}));
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 40, .script = "f2_escape.txt"}));
    EXPECT_EQ(Count("dialogs_shown"), 1.0);
    EXPECT_EQ(Count("frames_presented"), 40.0);
    EXPECT_EQ(Count("device_creations"), 1.0);
    EXPECT_EQ(Count("device_resets"), 0.0);
    EXPECT_EQ(Count("display_mode_changes"), 0.0);
    EXPECT_EQ(Device(), DeviceIn(plain.report));
    EXPECT_EQ(MainWindow(), MainWindowIn(plain.report));
}

}  // namespace
