// The real program, run headless on a machine without Direct3D: it reports the failure once, leaves
// its log in the folder it ran in and ends by itself with status 0.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "json_value.h"
#include "program_run.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> NamesWithBackslash(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find('\\') != std::string::npos) names.push_back(name);
    }
    return names;
}

class ProgramWithoutDirect3D : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_scratch.Path().empty());
        m_runFolder = m_scratch.Path() / "run";
        std::filesystem::create_directory(m_runFolder);
        // The run folder as the build makes it: the media generator fills it.
        ProgramRun media{MAKE_MEDIA_PROGRAM, {m_runFolder.string()}, m_scratch.Path(), {},
                         m_scratch.Path() / "make_media.out"};
        ASSERT_EQ(RunProgram(media), 0) << ReadFile(media.outputFile);
        ASSERT_TRUE(std::filesystem::exists(m_runFolder / "blank.cur"));

        ProgramRun program{MORVATH_PROGRAM, {}, m_runFolder,
                           {{"MORVATH_MACHINE", "headless"},
                            {"MORVATH_FRAMES", "30"},
                            {"MORVATH_REPORT", (m_scratch.Path() / "report.json").string()},
                            {"MORVATH_INPUT", ""}},
                           m_scratch.Path() / "program.out"};
        m_status = RunProgram(program);
        m_output = ReadFile(program.outputFile);
        const std::optional<JsonValue> report = ParseJson(ReadFile(m_scratch.Path() / "report.json"));
        ASSERT_TRUE(report.has_value()) << "no readable report; program output:\n" << m_output;
        m_report = *report;
    }

    ScratchFolder m_scratch;
    std::filesystem::path m_runFolder;
    int m_status = -1;
    std::string m_output;
    JsonValue m_report;
};

TEST_F(ProgramWithoutDirect3D, EndsWithStatusZeroAndReportsIt) {
    EXPECT_EQ(m_status, 0) << m_output;
    const JsonValue* exitCode = m_report.Find("exit_code");
    ASSERT_NE(exitCode, nullptr);
    EXPECT_EQ(exitCode->number, 0.0);
}

TEST_F(ProgramWithoutDirect3D, ShowsTheFatalReportOnce) {
    const JsonValue* boxes = m_report.Find("message_boxes");
    ASSERT_NE(boxes, nullptr);
    ASSERT_EQ(boxes->items.size(), 1u) << m_output;
    const JsonValue& box = boxes->items[0];
    const std::string expected =
        "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
        "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
        "was compiled with header files that match\nthe installed DirectX DLLs.\n\nThis sample will now exit.";
    ASSERT_NE(box.Find("text"), nullptr);
    EXPECT_EQ(box.Find("text")->text, expected);
    ASSERT_NE(box.Find("caption"), nullptr);
    EXPECT_EQ(box.Find("caption")->text, "Morvath");
    const JsonValue* icon = box.Find("icon");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->text, "error");
    // Shown on standard error too.
    EXPECT_NE(m_output.find("This sample will now exit."), std::string::npos) << m_output;
}

TEST_F(ProgramWithoutDirect3D, OpensNoWindowAndPresentsNothing) {
    const JsonValue* frames = m_report.Find("frames_presented");
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(frames->number, 0.0);
    // The window manager counts the windows it made when it reports them.
    if (const JsonValue* windows = m_report.Find("windows_created")) {
        EXPECT_EQ(windows->number, 0.0);
    }
}

TEST_F(ProgramWithoutDirect3D, LeavesTheLogWithItsHeaderInItsFolder) {
    const std::string log = ReadFile(m_runFolder / "ErrorLog.txt");
    EXPECT_TRUE(log.starts_with("\n=== === === === === === === === === === \n\nLog started: ")) << log;
    EXPECT_TRUE(log.ends_with(" \n\n")) << log;
    EXPECT_TRUE(NamesWithBackslash(m_scratch.Path()).empty());
}

}  // namespace
