#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

class RunSettings : public ::testing::Test {
protected:
    void SetUp() override {
        Clear();
        machine::control::Reset();
    }
    void TearDown() override {
        Clear();
        machine::control::Reset();
    }
    static void Clear() {
        for (const char* name :
             {"MORVATH_MACHINE", "MORVATH_FRAMES", "MORVATH_INPUT", "MORVATH_REPORT", "MORVATH_CAPTURE",
              "MORVATH_CAPTURE_FRAMES", "MORVATH_AUDIO_OUT", "MORVATH_DEBUG_OUTPUT"})
            unsetenv(name);
    }
    void WriteScript(const std::string& text) { std::ofstream(script) << text; }
    test_support::TempFolder temp;
    const fs::path script = temp.Path() / "script.txt";
};

TEST_F(RunSettings, TheEnvironmentSetsUpTheRun) {
    WriteScript("# start\n5 key F2 press\n");
    setenv("MORVATH_MACHINE", "headless", 1);
    setenv("MORVATH_FRAMES", "1", 1);
    setenv("MORVATH_INPUT", script.c_str(), 1);
    std::string error;
    ASSERT_TRUE(machine::ConfigureFromEnvironment(error)) << error;
    EXPECT_EQ(machine::control::ScheduledInput().size(), 2u);
    machine::FramePresented();
    EXPECT_TRUE(machine::CloseRequested());
}

TEST_F(RunSettings, BadSettingsAreRefusedWithTheirReason) {
    WriteScript("1 key F2 press\n2 key F99 press\n");
    setenv("MORVATH_INPUT", script.c_str(), 1);
    std::string error;
    EXPECT_FALSE(machine::ConfigureFromEnvironment(error));
    EXPECT_EQ(error, script.string() + ": line 2: unknown key \"F99\"");
    EXPECT_TRUE(machine::control::ScheduledInput().empty());

    Clear();
    setenv("MORVATH_FRAMES", "ten", 1);
    EXPECT_FALSE(machine::ConfigureFromEnvironment(error));
    Clear();
    setenv("MORVATH_MACHINE", "vga", 1);
    EXPECT_FALSE(machine::ConfigureFromEnvironment(error));
    Clear();
    setenv("MORVATH_INPUT", "/no/such/script", 1);
    EXPECT_FALSE(machine::ConfigureFromEnvironment(error));
    Clear();
    setenv("MORVATH_CAPTURE", "/tmp", 1);
    setenv("MORVATH_CAPTURE_FRAMES", "1,x", 1);
    EXPECT_FALSE(machine::ConfigureFromEnvironment(error));
}

// The outputs are opened when the run starts: a report an earlier run left is emptied then, so a run
// that ends before it writes its own leaves no stale one.
TEST_F(RunSettings, TheOutputsAreOpenedAtTheStart) {
    const fs::path report = script.string() + ".json", wave = script.string() + ".wav";
    std::ofstream(report) << "{\"exit_code\": 0}\n";
    setenv("MORVATH_REPORT", report.c_str(), 1);
    setenv("MORVATH_AUDIO_OUT", wave.c_str(), 1);
    setenv("MORVATH_DEBUG_OUTPUT", "none", 1);
    std::string error;
    EXPECT_TRUE(machine::ConfigureFromEnvironment(error)) << error;
    EXPECT_TRUE(fs::exists(report) && fs::file_size(report) == 0);
    EXPECT_TRUE(fs::exists(wave));
    EXPECT_TRUE(machine::WriteReport(0));
    EXPECT_GT(fs::file_size(report), 0u);
    EXPECT_GT(fs::file_size(wave), 0u);
    fs::remove(report);
    fs::remove(wave);
}

// Asked for by name, a window that cannot be opened stops the run (main answers status 2).
TEST_F(RunSettings, TheSdlMachineWithoutADisplayIsRefused) {
    std::vector<std::pair<std::string, std::string>> displays;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name)) displays.emplace_back(name, value);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("MORVATH_MACHINE", "sdl", 1);
    std::string error;
    EXPECT_FALSE(machine::ConfigureFromEnvironment(error));
    EXPECT_NE(error.find("MORVATH_MACHINE=sdl: no window can be opened"), std::string::npos) << error;
    for (const auto& [name, value] : displays) setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace
