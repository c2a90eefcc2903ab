// The real program, run headless in a fresh folder: with Direct3D it runs its frames in a window of
// 800 x 600 and ends when the machine closes the window; without Direct3D it shows the fatal report
// once and ends. Either way it ends with status 0 and leaves its log in the folder it ran in.
#include <gtest/gtest.h>

#include <regex>

#include "showcase_run.h"

namespace {

constexpr int kFrames = 30;

const char kDirect3DFailureBox[] =
    "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
    "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
    "was compiled with header files that match\nthe installed DirectX DLLs.\n\nThis sample will now exit.";

void ExpectLogHeaderOnly(const ShowcaseRun& run) {
    const std::string log = ReadFile(run.runFolder / "ErrorLog.txt");
    const std::regex header(
        "\n=== === === === === === === === === === \n\nLog started: [A-Z][a-z]{2} [A-Z][a-z]{2} [ 123][0-9] "
        "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n \n\n");
    EXPECT_TRUE(std::regex_match(log, header)) << log;
    EXPECT_TRUE(NamesWithBackslash(run.scratch.Path()).empty());
}

class HeadlessRun : public ::testing::Test {
protected:
    void Run(const std::vector<std::pair<std::string, std::string>>& settings, const std::string& captureFrames = "") {
        RunShowcase(m_run, {.frames = kFrames, .captureFrames = captureFrames, .extra = settings});
        ASSERT_TRUE(m_run.failure.empty()) << m_run.failure;
        ASSERT_TRUE(m_run.reportRead) << "no readable report; program output:\n" << m_run.output;
        EXPECT_EQ(m_run.status, 0) << m_run.output;
        EXPECT_EQ(NumberIn(m_run.report, "exit_code"), 0.0);
    }
    const JsonValue& Report() const { return m_run.report; }

    ShowcaseRun m_run;
};

TEST_F(HeadlessRun, WithDirect3DRunsItsFramesInOneWindowedDevice) {
    Run({{"MORVATH_DIRECT3D", "available"}}, "1,30");
    EXPECT_EQ(NumberIn(Report(), "frames_presented"), kFrames);
    const JsonValue* boxes = Report().Find("message_boxes");
    ASSERT_NE(boxes, nullptr);
    EXPECT_TRUE(boxes->items.empty()) << m_run.output;

    EXPECT_EQ(NumberIn(Report(), "device_creations"), 1.0);
    const JsonValue* device = Report().Find("device");
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->kind, JsonValue::Kind::Object) << m_run.output;
    ASSERT_NE(device->Find("windowed"), nullptr);
    EXPECT_TRUE(device->Find("windowed")->boolean);
    const ReportedDevice described = DeviceIn(Report());
    EXPECT_EQ(described.type, "HAL");
    EXPECT_EQ(described.width, 800);
    EXPECT_EQ(described.height, 600);
    EXPECT_EQ(described.format, "X8R8G8B8");
    // Every device choice of the showcase carries a depth buffer.
    ASSERT_NE(device->Find("depth_format"), nullptr);
    EXPECT_NE(device->Find("depth_format")->text, "none");
    EXPECT_NE(device->Find("depth_format")->text, "");

    // The motion-blur scene and the HUD, first to last.
    for (int frame : {1, kFrames}) {
        FrameImage image;
        const std::string error = ReadCapturedFrame(m_run, frame, image);
        ASSERT_TRUE(error.empty()) << error;
        EXPECT_EQ(image.width, 800);
        EXPECT_EQ(image.height, 600);
        EXPECT_GT(image.NonBlackPixels(), 800u * 600u / 20) << "frame " << frame;
    }
    ExpectLogHeaderOnly(m_run);
}

TEST_F(HeadlessRun, WithoutDirect3DShowsTheFatalReportOnceAndOpensNoWindow) {
    Run({{"MORVATH_DIRECT3D", "none"}});
    const JsonValue* boxes = Report().Find("message_boxes");
    ASSERT_NE(boxes, nullptr);
    ASSERT_EQ(boxes->items.size(), 1u) << m_run.output;
    const JsonValue& box = boxes->items[0];
    ASSERT_NE(box.Find("text"), nullptr);
    EXPECT_EQ(box.Find("text")->text, kDirect3DFailureBox);
    ASSERT_NE(box.Find("caption"), nullptr);
    EXPECT_EQ(box.Find("caption")->text, "Morvath");
    ASSERT_NE(box.Find("icon"), nullptr);
    EXPECT_EQ(box.Find("icon")->text, "error");
    EXPECT_NE(m_run.output.find("This sample will now exit."), std::string::npos) << m_run.output;

    // No window, so nothing was presented and no device made.
    EXPECT_EQ(NumberIn(Report(), "frames_presented"), 0.0);
    // The device figures are reported once a Direct3D object has existed; then they must be zero.
    for (const char* count : {"device_creations", "windows_created"}) {
        if (const JsonValue* value = Report().Find(count)) {
            EXPECT_EQ(value->number, 0.0) << count;
        }
    }
    ExpectLogHeaderOnly(m_run);
}

}  // namespace
