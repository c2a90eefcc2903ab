#include <png.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

class Frames : public ::testing::Test {
protected:
    void SetUp() override { machine::control::Reset(); }
    void TearDown() override { machine::control::Reset(); }
    static machine::Frame Gradient(uint32_t w, uint32_t h) {
        machine::Frame f{w, h, {}};
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) f.pixels.push_back((x * 10) << 16 | (y * 20) << 8 | 0x7F);
        return f;
    }
    test_support::TempFolder temp;
    const fs::path folder = temp.Path();
};

TEST_F(Frames, CapturedFramesAreRealPngFiles) {
    machine::control::SetCapture(folder.string(), {2});
    machine::ShowFrame(Gradient(4, 3));
    machine::FramePresented();
    machine::ShowFrame(Gradient(5, 2));
    machine::FramePresented();
    machine::FramePresented();  // nothing new shown: nothing written
    ASSERT_EQ(machine::control::CapturedFiles(), std::vector<std::string>{(folder / "frame_2.png").string()});

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (folder / "frame_2.png").c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(image.width, 5u);
    EXPECT_EQ(image.height, 2u);
    // Pixel (3, 1): red 30, green 20, blue 0x7F.
    const size_t at = (1 * 5 + 3) * 3;
    EXPECT_EQ(rgb[at], 30);
    EXPECT_EQ(rgb[at + 1], 20);
    EXPECT_EQ(rgb[at + 2], 0x7F);
}

TEST_F(Frames, WithoutAFrameListTheLastFrameIsWrittenAtTheReport) {
    machine::control::SetCapture(folder.string(), {});
    machine::ShowFrame(Gradient(2, 2));
    machine::FramePresented();
    machine::WriteReport(0);
    EXPECT_TRUE(fs::exists(folder / "last.png"));
    EXPECT_NE(machine::ReportJson(0).find("last.png"), std::string::npos);
}

TEST_F(Frames, AnUnwritableFrameIsRefused) {
    std::string error;
    EXPECT_FALSE(machine::WritePng(machine::Frame{}, (folder / "empty.png").string(), error));
    EXPECT_FALSE(machine::WritePng(Gradient(2, 2), (folder / "no" / "such" / "f.png").string(), error));
    EXPECT_EQ(error, "cannot open the file");
}

// The folder was checked when the run started; one removed during the run fails the run's end.
TEST_F(Frames, ACaptureThatCannotBeWrittenFailsTheRunsEnd) {
    machine::control::SetCapture(folder.string(), {1, 2});
    machine::ShowFrame(Gradient(2, 2));
    machine::FramePresented();
    EXPECT_TRUE(machine::WriteReport(0));
    fs::remove_all(folder);
    machine::ShowFrame(Gradient(2, 2));
    machine::FramePresented();
    EXPECT_EQ(machine::control::CapturedFiles().size(), 1u);
    EXPECT_FALSE(machine::WriteReport(0));
}

TEST_F(Frames, TheFrameLimitSchedulesTheClose) {
    machine::control::SetFrameLimit(2);
    machine::FramePresented();
    EXPECT_FALSE(machine::CloseRequested());
    machine::FramePresented();
    EXPECT_TRUE(machine::CloseRequested());
    machine::InputEvent e;
    ASSERT_TRUE(machine::TakeDueInput(e));
    EXPECT_EQ(e.kind, machine::InputKind::Window);
    EXPECT_EQ(e.windowAction, machine::WindowAction::Close);
    machine::FramePresented();
    EXPECT_FALSE(machine::TakeDueInput(e));  // once
}

}  // namespace
