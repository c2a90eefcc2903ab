// A lost device, as the program sees it when a full-screen program loses the focus: once the device
// may be reset again, the program resets it once and its frames go on.
#include "scripted_run.h"

namespace {

class DeviceRecovery : public ScriptedRun {};

TEST_F(DeviceRecovery, LoseThenRestoreRecoversWithOneResetAndFramesGoOn) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 60, .script = "device_lose_restore.txt", .captureFrames = "5,40,60"}));
    EXPECT_EQ(Count("frames_presented"), 60.0);
    EXPECT_EQ(Count("device_creations"), 1.0);
    EXPECT_EQ(Count("device_resets"), 1.0);
    const ReportedDevice device = Device();
    ASSERT_TRUE(device.present);
    EXPECT_TRUE(device.windowed);
    EXPECT_EQ(device.width, 800) << device;
    EXPECT_EQ(device.height, 600) << device;
    ExpectDrawnFrame(5, 800, 600);
    // Frames presented after the reset.
    ExpectDrawnFrame(40, 800, 600);
    ExpectDrawnFrame(60, 800, 600);
}

}  // namespace
