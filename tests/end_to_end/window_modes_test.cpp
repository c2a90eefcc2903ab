// Alt+Enter and the window's frame, as a user drives them: the program goes full screen over the
// whole display and comes back to the window it had; a resized window gets a device of its new size.
#include "scripted_run.h"

namespace {

class WindowModes : public ScriptedRun {};

TEST_F(WindowModes, AltEnterGoesFullScreenWithTheWindowCoveringTheScreen) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 40, .script = "alt_enter_full_screen.txt", .captureFrames = "5,30"}));
    const ReportedDevice device = Device();
    ASSERT_TRUE(device.present);
    EXPECT_FALSE(device.windowed) << device;
    EXPECT_EQ(device.type, "HAL");
    EXPECT_EQ(device.format, "X8R8G8B8");
    ASSERT_GT(device.width, 0);
    ASSERT_GT(device.height, 0);
    // The same adapter and device type: the device is reset into full screen, not made again.
    EXPECT_EQ(Count("device_creations"), 1.0);
    EXPECT_EQ(Count("device_resets"), 1.0);
    // Into the full-screen mode, and back to the desktop's as the device goes at the close.
    EXPECT_EQ(Count("display_mode_changes"), 2.0);

    const ReportedWindow window = MainWindow();
    ASSERT_TRUE(window.present);
    EXPECT_EQ(window.rect, (std::vector<int>{0, 0, device.width, device.height})) << window;
    EXPECT_EQ(window.clientWidth, device.width) << window;
    EXPECT_EQ(window.clientHeight, device.height) << window;
    EXPECT_FALSE(window.menuBar) << window;
    constexpr uint32_t kPopupStyle = 0x80000000u;
    EXPECT_NE(static_cast<uint32_t>(window.style) & kPopupStyle, 0u) << window;

    ExpectDrawnFrame(5, 800, 600);
    // After the mouse moved over it: the showcase shows no device cursor.
    ExpectDrawnFrame(30, device.width, device.height);
}

TEST_F(WindowModes, AltEnterTwiceComesBackToTheSameWindowAndMenu) {
    ShowcaseRun plain;
    ASSERT_NO_FATAL_FAILURE(Run(plain, {.frames = 50}));
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 50, .script = "alt_enter_and_back.txt", .captureFrames = "20,45"}));

    const ReportedWindow window = MainWindow();
    ASSERT_TRUE(window.present);
    EXPECT_EQ(window, MainWindowIn(plain.report));
    EXPECT_TRUE(window.menuBar) << window;
    EXPECT_EQ(window.clientWidth, 800);
    EXPECT_EQ(window.clientHeight, 600);

    const ReportedDevice device = Device();
    EXPECT_TRUE(device.windowed) << device;
    EXPECT_EQ(device, DeviceIn(plain.report));
    EXPECT_EQ(Count("device_creations"), 1.0);
    EXPECT_EQ(Count("device_resets"), 2.0);
    EXPECT_EQ(Count("display_mode_changes"), 2.0);

    // Frame 20 was shown full screen, frame 45 in the window again.
    FrameImage fullScreen;
    const std::string error = ReadCapturedFrame(m_run, 20, fullScreen);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_TRUE(fullScreen.width > 800 || fullScreen.height > 600)
        << fullScreen.width << " x " << fullScreen.height;
    EXPECT_GT(fullScreen.NonBlackPixels(), size_t(fullScreen.width) * size_t(fullScreen.height) / 20);
    ExpectDrawnFrame(45, 800, 600);
}

TEST_F(WindowModes, ResizingTheWindowResetsTheDeviceToTheNewClientSize) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 40, .script = "window_resize.txt", .captureFrames = "5,30"}));
    const ReportedDevice device = Device();
    ASSERT_TRUE(device.present);
    EXPECT_TRUE(device.windowed);
    EXPECT_EQ(device.width, 1024) << device;
    EXPECT_EQ(device.height, 700) << device;
    EXPECT_EQ(Count("device_creations"), 1.0);
    EXPECT_EQ(Count("device_resets"), 1.0);
    EXPECT_EQ(Count("display_mode_changes"), 0.0);

    const ReportedWindow window = MainWindow();
    EXPECT_EQ(window.clientWidth, 1024) << window;
    EXPECT_EQ(window.clientHeight, 700) << window;
    EXPECT_TRUE(window.menuBar) << window;

    ExpectDrawnFrame(5, 800, 600);
    ExpectDrawnFrame(30, 1024, 700);
}

}  // namespace
