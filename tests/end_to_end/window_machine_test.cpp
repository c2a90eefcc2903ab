// The window machine without a display: asked for by name (MORVATH_MACHINE=sdl) it stops at once with
// status 2 and the reason, as a refused setting does, and never runs unseen on SDL's drivers that
// show nothing; chosen by default, the run is headless. No X server is needed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "showcase_run.h"

namespace {

struct NoDisplayCase {
    const char* name;
    const char* machine;      // MORVATH_MACHINE; empty: unset
    const char* display;      // DISPLAY; empty: unset (WAYLAND_DISPLAY is always unset)
    const char* videoDriver;  // SDL_VIDEODRIVER; empty: unset
    int status;
};

const NoDisplayCase kCases[] = {
    {"SdlWithNoDisplay", "sdl", "", "", 2},          {"SdlWithADisplayThatIsNotThere", "sdl", ":59999", "", 2},
    {"SdlOnSdlsDummyDriver", "sdl", "", "dummy", 2}, {"SdlOnSdlsOffscreenDriver", "sdl", "", "offscreen", 2},
    {"DefaultWithNoDisplay", "", "", "", 0},         {"DefaultWithADisplayThatIsNotThere", "", ":59999", "", 0},
};

class WindowMachineWithoutADisplay : public ::testing::TestWithParam<NoDisplayCase> {};

TEST_P(WindowMachineWithoutADisplay, StopsOrRunsHeadless) {
    const NoDisplayCase& c = GetParam();
    test_support::TempFolder scratch;
    const std::filesystem::path folder = scratch.Path() / "run";
    std::filesystem::create_directories(folder);
    ProgramRun media{MAKE_MEDIA_PROGRAM, {folder.string()}, scratch.Path(), {}, scratch.Path() / "media.out"};
    ASSERT_EQ(RunProgram(media), 0) << ReadFile(media.outputFile);
    // With a display named, SDL's video brings up D-Bus, which keeps allocations of its own to the end
    // of the process: the leak check stays with the other rows, as in the window tests.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string asan = sanitizer ? sanitizer : "";
    if (*c.display) asan += (asan.empty() ? "" : ":") + std::string("detect_leaks=0");
    // A headless run ends after its frames; a window that would be drawn off the screen would never end.
    ProgramRun program{MORVATH_PROGRAM,
                       {},
                       folder,
                       {{"MORVATH_MACHINE", c.machine},
                        {"DISPLAY", c.display},
                        {"WAYLAND_DISPLAY", ""},
                        {"SDL_VIDEODRIVER", c.videoDriver},
                        {"MORVATH_FRAMES", "10"},
                        {"MORVATH_CLOCK", ""},
                        {"MORVATH_INPUT", ""},
                        {"MORVATH_DIRECT3D", ""},
                        {"MORVATH_CAPTURE", ""},
                        {"MORVATH_REPORT", (scratch.Path() / "report.json").string()},
                        {"ASAN_OPTIONS", asan}},
                       scratch.Path() / "program.out"};
    const int child = StartProgram(program);
    ASSERT_GT(child, 0);
    const int status = WaitForProgram(child, 60);
    const std::string output = ReadFile(program.outputFile);
    EXPECT_EQ(status, c.status) << output;
    EXPECT_EQ(output.find("running headless"), std::string::npos) << output;
    if (c.status == 2) {
        EXPECT_NE(output.find("MORVATH_MACHINE=sdl: no window can be opened"), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "report.json")) << "the run started";
    } else {
        const std::optional<JsonValue> report = ParseJson(ReadFile(scratch.Path() / "report.json"));
        ASSERT_TRUE(report.has_value()) << output;
        EXPECT_EQ(NumberIn(*report, "frames_presented"), 10.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowMachineWithoutADisplay, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
