// A test fixture for runs of the real program driven by an input script: every run must end by
// itself with status 0 and exit code 0, show no message box, and have every scripted event taken
// (the machine writes a "[machine]" line for an event it could not apply).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "showcase_run.h"

class ScriptedRun : public ::testing::Test {
protected:
    // Use as ASSERT_NO_FATAL_FAILURE(Run(...)).
    void Run(ShowcaseRun& run, const ShowcaseOptions& options) {
        RunShowcase(run, options);
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        ASSERT_TRUE(run.reportRead) << "no readable report; program output:\n" << run.output;
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(NumberIn(run.report, "exit_code"), 0.0);
        const JsonValue* boxes = run.report.Find("message_boxes");
        ASSERT_NE(boxes, nullptr);
        EXPECT_TRUE(boxes->items.empty()) << run.output;
        EXPECT_EQ(run.output.find("[machine]"), std::string::npos) << run.output;
    }
    void Run(const ShowcaseOptions& options) { Run(m_run, options); }

    const JsonValue& Report() const { return m_run.report; }
    double Count(const char* name) const { return NumberIn(m_run.report, name); }
    ReportedDevice Device() const { return DeviceIn(m_run.report); }
    ReportedWindow MainWindow() const { return MainWindowIn(m_run.report); }

    // The captured frame: of that size, and drawn (the motion-blur scene and the HUD cover a good
    // part of every frame of a new device).
    void ExpectDrawnFrame(int frame, int width, int height) const {
        FrameImage image;
        const std::string error = ReadCapturedFrame(m_run, frame, image);
        ASSERT_TRUE(error.empty()) << error;
        EXPECT_EQ(image.width, width) << "frame " << frame;
        EXPECT_EQ(image.height, height) << "frame " << frame;
        EXPECT_GT(image.NonBlackPixels(), size_t(width) * size_t(height) / 20) << "frame " << frame;
    }

    ShowcaseRun m_run;
};
