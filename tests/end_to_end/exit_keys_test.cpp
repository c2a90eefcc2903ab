// Esc and Alt+X (the Exit command's accelerators) end the program at once, with exit code 0.
#include "scripted_run.h"

namespace {

class ExitKeys : public ScriptedRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(ExitKeys, EndTheProgramWithExitCodeZero) {
    // The machine would close the window only after 200 frames.
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 200, .script = GetParam()}));
    EXPECT_EQ(Count("frames_presented"), 10.0);
    EXPECT_EQ(Count("device_creations"), 1.0);
    EXPECT_TRUE(MainWindow().present);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ExitKeys, ::testing::Values("escape_ends.txt", "alt_x_ends.txt"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "escape_ends.txt" ? "Escape" : "AltX";
                         });

}  // namespace
