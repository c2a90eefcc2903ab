// Refused settings and outputs: each run of the real program with a bad setting, input script or
// output path ends with status 2 before the program starts, prints exactly one line that names the
// setting and why, and leaves no file behind. Settings that are accepted but lose an output say so,
// and an output that fails only at the end of the run (a full disk) makes the status 3.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "showcase_run.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct RefusedCase {
    const char* name;
    // "{run}" stands for the folder the program runs in, "{script}" for a script file beside it.
    std::vector<std::pair<std::string, std::string>> settings;
    std::string message;
    const char* script = "";  // the script file's text
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

std::string Fill(std::string text, const fs::path& run, const fs::path& script) {
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"{run}", run.string()},
                                      std::pair<std::string, std::string>{"{script}", script.string()}})
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), value);
    return text;
}

// Every setting the machine reads, unset unless a case sets it.
constexpr const char* kSettings[] = {
    "MORVATH_FRAMES",    "MORVATH_CLOCK",        "MORVATH_DIRECT3D",       "MORVATH_INPUT",
    "MORVATH_REPORT",    "MORVATH_CAPTURE",      "MORVATH_CAPTURE_FRAMES", "MORVATH_AUDIO",
    "MORVATH_AUDIO_OUT", "MORVATH_DEBUG_OUTPUT", "MORVATH_THREADS",
};

// The files and folders under a folder, as paths relative to it.
std::vector<std::string> Contents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

struct RefusedRun {
    int status = -1;
    std::string output;
    std::string expected;           // the case's message with its folders filled in
    std::vector<std::string> left;  // what the scratch folder holds after the run
};

using FolderHook = std::function<void(const fs::path&)>;

// Runs the program in an empty folder inside a scratch folder that holds the script and the output;
// `prepare` and `inspect` see the run folder before the run and after it.
RefusedRun RunRefused(const RefusedCase& c, const FolderHook& prepare = nullptr, const FolderHook& inspect = nullptr) {
    test_support::TempFolder scratch;
    const fs::path run = scratch.Path() / "run", script = scratch.Path() / "script.txt";
    fs::create_directory(run);
    std::ofstream(script) << c.script;
    if (prepare) prepare(run);
    std::vector<std::pair<std::string, std::string>> environment = {{"MORVATH_MACHINE", "headless"}};
    for (const char* name : kSettings) environment.emplace_back(name, "");
    for (const auto& [name, value] : c.settings)
        for (auto& entry : environment)
            if (entry.first == name) entry.second = Fill(value, run, script);
    ProgramRun program{MORVATH_PROGRAM, {}, run, environment, scratch.Path() / "program.out"};
    RefusedRun result;
    result.status = RunProgram(program);
    result.output = ReadFile(program.outputFile);
    result.expected = Fill(c.message, run, script) + "\n";
    fs::remove(program.outputFile);
    result.left = Contents(scratch.Path());
    if (inspect) inspect(run);
    return result;
}

const std::vector<std::string> kNothingLeft = {"run", "script.txt"};

class RefusedSettings : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedSettings, EndTheRunWithStatus2AndOneLineAndLeaveNoFile) {
    const RefusedRun run = RunRefused(GetParam());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.output, run.expected);
    EXPECT_EQ(run.left, kNothingLeft);
}

const char* const kNoSuchFile = "No such file or directory";

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedSettings,
    ::testing::Values(
        RefusedCase{"FramesNotACount", {{"MORVATH_FRAMES", "ten"}}, "MORVATH_FRAMES: not a frame count: \"ten\""},
        RefusedCase{"Direct3DUnknown",
                    {{"MORVATH_DIRECT3D", "maybe"}},
                    "MORVATH_DIRECT3D: expected none or available, not \"maybe\""},
        RefusedCase{"AudioUnknown", {{"MORVATH_AUDIO", "loud"}}, "MORVATH_AUDIO: expected auto or none, not \"loud\""},
        RefusedCase{"ClockUnknown", {{"MORVATH_CLOCK", "slow"}}, "MORVATH_CLOCK: expected fixed or real, not \"slow\""},
        RefusedCase{"DebugOutputUnknown",
                    {{"MORVATH_DEBUG_OUTPUT", "stdout"}},
                    "MORVATH_DEBUG_OUTPUT: expected stderr or none, not \"stdout\""},
        RefusedCase{"CaptureFramesNotNumbers",
                    {{"MORVATH_CAPTURE", "{run}"}, {"MORVATH_CAPTURE_FRAMES", "1,x"}},
                    "MORVATH_CAPTURE_FRAMES: expected frame numbers from 1, separated by commas"},
        RefusedCase{"CaptureFramesWithoutCapture",
                    {{"MORVATH_CAPTURE_FRAMES", "60"}},
                    "MORVATH_CAPTURE_FRAMES: set without MORVATH_CAPTURE, the folder the frames go to"},
        RefusedCase{"CaptureFolderMissing",
                    {{"MORVATH_CAPTURE", "{run}/frames"}},
                    "MORVATH_CAPTURE: cannot write into \"{run}/frames\": " + std::string(kNoSuchFile)},
        RefusedCase{"CaptureFolderIsAFile",
                    {{"MORVATH_CAPTURE", "{script}"}},
                    "MORVATH_CAPTURE: cannot write into \"{script}\": Not a directory"},
        RefusedCase{"CaptureFolderInProc",
                    {{"MORVATH_CAPTURE", "/proc"}},
                    "MORVATH_CAPTURE: cannot write into \"/proc\": " + std::string(kNoSuchFile)},
        RefusedCase{
            "InputMissing", {{"MORVATH_INPUT", "{run}/tour.txt"}}, "MORVATH_INPUT: cannot read \"{run}/tour.txt\""},
        RefusedCase{"InputIsAFolder", {{"MORVATH_INPUT", "{run}"}}, "MORVATH_INPUT: cannot read \"{run}\""},
        RefusedCase{"InputBadLine",
                    {{"MORVATH_INPUT", "{script}"}},
                    "{script}: line 2: unknown key \"F99\"",
                    "1 key F2 press\n2 key F99 press\n"},
        RefusedCase{"InputFailsACallNoAreaAsksAbout",
                    {{"MORVATH_INPUT", "{script}"}},
                    "{script}: line 3: unknown call \"DirectSoundCreate\" (no platform call of that name can fail)",
                    "# the sound card, then a misspelt call\n5 fail DirectSoundCreate8 1 0x88780078\n"
                    "9 fail DirectSoundCreate 1 1\n"},
        RefusedCase{"ReportFolderMissing",
                    {{"MORVATH_REPORT", "{run}/out/report.json"}},
                    "MORVATH_REPORT: cannot write \"{run}/out/report.json\": " + std::string(kNoSuchFile)},
        RefusedCase{
            "ReportIsAFolder", {{"MORVATH_REPORT", "{run}"}}, "MORVATH_REPORT: cannot write \"{run}\": Is a directory"},
        RefusedCase{"ReportInProc",
                    {{"MORVATH_REPORT", "/proc/report.json"}},
                    "MORVATH_REPORT: cannot write \"/proc/report.json\": " + std::string(kNoSuchFile)},
        RefusedCase{"AudioOutIsAFolder",
                    {{"MORVATH_AUDIO_OUT", "{run}"}},
                    "MORVATH_AUDIO_OUT: cannot write \"{run}\": Is a directory"},
        // The report is opened before the sound file: the refusal takes it away again.
        RefusedCase{"AudioOutFolderMissingAfterAGoodReport",
                    {{"MORVATH_REPORT", "{run}/report.json"}, {"MORVATH_AUDIO_OUT", "{run}/out/tour.wav"}},
                    "MORVATH_AUDIO_OUT: cannot write \"{run}/out/tour.wav\": " + std::string(kNoSuchFile)},
        // Good outputs with a bad setting: nothing is created before every setting is accepted.
        RefusedCase{"GoodOutputsAndABadScript",
                    {{"MORVATH_REPORT", "{run}/report.json"},
                     {"MORVATH_AUDIO_OUT", "{run}/tour.wav"},
                     {"MORVATH_CAPTURE", "{run}"},
                     {"MORVATH_INPUT", "{script}"}},
                    "{script}: line 1: unknown event \"jump\" (key, mouse, window, device, dialog or fail)",
                    "1 jump\n"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// A report left by an earlier run stays as it was when a run is refused.
TEST(RefusedSettingsOutputs, AFileFromBeforeIsLeftAsItWas) {
    const RefusedCase c{"", {{"MORVATH_REPORT", "{run}/report.json"}, {"MORVATH_AUDIO_OUT", "{run}"}}, ""};
    std::string after;
    const RefusedRun run = RunRefused(
        c, [](const fs::path& folder) { std::ofstream(folder / "report.json") << "{}\n"; },
        [&after](const fs::path& folder) { after = ReadFile(folder / "report.json"); });
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(after, "{}\n");
    EXPECT_EQ(run.left, (std::vector<std::string>{"run", "run/report.json", "script.txt"}));
}

// Accepted settings that lose an output say so, and writes that fail at the end (a full disk: the
// report and the sound file both go to /dev/full) end the run with status 3.
TEST(RefusedSettingsOutputs, LostOutputsAreNamedAndAFailedWriteEndsWithStatus3) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ShowcaseRun run;
    ShowcaseOptions options;
    options.frames = 5;
    options.captureFrames = "2,9,12";
    options.extra = {{"MORVATH_REPORT", "/dev/full"}, {"MORVATH_AUDIO_OUT", "/dev/full"}};
    RunShowcase(run, options);
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 3) << run.output;
    for (const char* line : {
             "MORVATH_CAPTURE_FRAMES: frames 9 and 12 come after MORVATH_FRAMES=5, when the run is asked to end\n",
             "MORVATH_CAPTURE_FRAMES: frames 9 and 12 were never presented (the run presented 5)\n",
             "[machine] cannot write the audio file /dev/full: No space left on device\n",
             "[machine] cannot write the report /dev/full: No space left on device\n",
         })
        EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
    EXPECT_TRUE(fs::exists(run.captureFolder / "frame_2.png"));
}

}  // namespace
