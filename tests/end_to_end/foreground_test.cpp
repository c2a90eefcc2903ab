// Keys and buttons held while another program takes the foreground: the keyboard cannot be read then,
// and such a frame counts as one with nothing held. So a run that loses the foreground with W, F5,
// F8 and the left button held (mouse look) ends like the same run with all of them let go at that
// frame instead: the same log lines, the same sound and a close last frame. Nothing goes on moving,
// logging or playing in the background.
#include <fstream>

#include "frame_compare.h"
#include "scripted_run.h"
#include "temp_folder.h"

namespace {

constexpr int kFrames = 60;

// The terrain from the start place; W, F5, F8 and the left button held from frame 10, with the mouse
// moving to the right for the mouse look.
const char kHeld[] =
    "2 key F11 press\n4 key HOME press\n6 mouse move 400 300\n"
    "10 key W down\n10 key F5 down\n10 key F8 down\n10 mouse button left down\n"
    "11 mouse move 404 300\n12 mouse move 408 300\n13 mouse move 412 300\n14 mouse move 416 300\n"
    "15 mouse move 420 300\n16 mouse move 424 300\n17 mouse move 428 300\n18 mouse move 432 300\n"
    "19 mouse move 436 300\n20 mouse move 440 300\n";
const char kLetGo[] = "key W up\nkey F5 up\nkey F8 up\nmouse button left up\n";

std::string At(int frame, const std::string& lines) {
    std::string out;
    for (size_t start = 0; start < lines.size();) {
        const size_t end = lines.find('\n', start);
        out += std::to_string(frame) + " " + lines.substr(start, end - start + 1);
        start = end + 1;
    }
    return out;
}

size_t LogLines(const ShowcaseRun& run) {
    const std::string log = ReadFile(run.runFolder / "ErrorLog.txt");
    size_t count = 0;
    for (size_t at = log.find("Mouse X co-ord: "); at != std::string::npos; at = log.find("Mouse X co-ord: ", at + 1))
        ++count;
    return count;
}

class Foreground : public ScriptedRun {
protected:
    void RunScript(ShowcaseRun& run, const std::string& script, const std::string& name) {
        const std::filesystem::path path = m_scripts.Path() / (name + ".txt");
        std::ofstream(path) << script;
        ASSERT_NO_FATAL_FAILURE(
            Run(run, {.frames = kFrames,
                      .captureFrames = std::to_string(kFrames),
                      .extra = {{"MORVATH_INPUT", path.string()},
                                {"MORVATH_AUDIO_OUT", (m_scripts.Path() / (name + ".wav")).string()}}}));
    }
    test_support::TempFolder m_scripts;
};

TEST_F(Foreground, LostWhileKeysAreHeldEndsLikeLettingThemGo) {
    ShowcaseRun letGo;
    ASSERT_NO_FATAL_FAILURE(RunScript(letGo, std::string(kHeld) + At(20, kLetGo), "let_go"));
    // The foreground goes at frame 20, the keys are let go in the background, and it comes back.
    ASSERT_NO_FATAL_FAILURE(RunScript(
        m_run, std::string(kHeld) + "20 window focus lost\n" + At(40, kLetGo) + "45 window focus gained\n", "lost"));

    EXPECT_GT(LogLines(letGo), 5u);
    EXPECT_EQ(LogLines(m_run), LogLines(letGo));
    const JsonValue* audio = Report().Find("audio");
    const JsonValue* letGoAudio = letGo.report.Find("audio");
    ASSERT_TRUE(audio != nullptr && letGoAudio != nullptr);
    EXPECT_GT(NumberIn(*letGoAudio, "plays"), 0.0);
    EXPECT_EQ(NumberIn(*audio, "plays"), NumberIn(*letGoAudio, "plays"));
    EXPECT_TRUE(ReadFile(m_scripts.Path() / "lost.wav") == ReadFile(m_scripts.Path() / "let_go.wav"))
        << "the sound of the two runs differs";

    FrameImage lost, released;
    std::string error = ReadCapturedFrame(m_run, kFrames, lost);
    ASSERT_TRUE(error.empty()) << error;
    error = ReadCapturedFrame(letGo, kFrames, released);
    ASSERT_TRUE(error.empty()) << error;
    const FrameDifference difference = Compare(Shrunk(lost, 100, 75), Shrunk(released, 100, 75));
    EXPECT_TRUE(Close(difference)) << difference;
}

}  // namespace
