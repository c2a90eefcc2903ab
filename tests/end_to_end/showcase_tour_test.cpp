// The showcase as a user meets it: the tour of every scene, F8's log lines and the foreground rule.
// The tour runs in every build: in the sanitizer build its status 0 also says that the sanitizers
// found nothing in the whole program (a finding or a leak ends the run with another status).
#include <regex>

#include "scripted_run.h"

namespace {

class ShowcaseTour : public ScriptedRun {};


TEST_F(ShowcaseTour, EveryScenePaintsTheFontDialogIsAnsweredAndEverythingIsReleased) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 600, .script = "tour.txt", .captureFrames = "60,330,450,590"}));
    for (int frame : {60, 330, 450, 590}) ExpectDrawnFrame(frame, 800, 600);
    EXPECT_EQ(Count("dialogs_shown"), 1.0);
    // The last frame is the motion-blur scene again: 50 squares of 5 copies, textured by the tile.
    EXPECT_EQ(DrawsWithFormat(Report(), "0x152"), 250u);
    // The cursor stands where the mouse was last moved (300, 200): its arrow is white there.
    FrameImage image;
    ASSERT_TRUE(ReadCapturedFrame(m_run, 590, image).empty());
    int bright = 0;
    for (int y = 200; y < 216; ++y)
        for (int x = 300; x < 310; ++x) {
            const uint8_t* p = &image.rgb[(size_t(y) * image.width + x) * 3];
            bright += p[0] + p[1] + p[2] > 600;
        }
    EXPECT_GT(bright, 10) << "the cursor's arrow at the mouse point";

    // Every Direct3D object and every handle the program took is given back by the end.
    EXPECT_EQ(Count("direct3d_objects"), 0.0);
    const JsonValue* live = Report().Find("live_objects");
    ASSERT_NE(live, nullptr);
    EXPECT_FALSE(live->members.empty());
    for (const auto& [kind, count] : live->members) EXPECT_EQ(count.number, 0.0) << kind << " still held";
}

TEST_F(ShowcaseTour, F8LogsEachFrameButNotWhileAnotherProgramHasTheForeground) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 40, .script = "f8_focus.txt"}));
    const std::string log = ReadFile(m_run.runFolder / "ErrorLog.txt");
    const std::regex line("Mouse X co-ord: 005   Y co-ord: 020\n");
    const auto lines = std::distance(std::sregex_iterator(log.begin(), log.end(), line), std::sregex_iterator());
    // Held over 20 frames, 10 of them in the background: about 10 lines, never 20.
    EXPECT_GE(lines, 7) << log;
    EXPECT_LE(lines, 12) << log;
}

}  // namespace
