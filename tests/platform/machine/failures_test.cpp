#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "machine/control.h"
#include "machine/failures.h"

namespace {

class Failures : public ::testing::Test {
protected:
    void SetUp() override { machine::control::Reset(); }
    void TearDown() override { machine::control::Reset(); }

    // The uses (1, 2, ...) of a call among the first n that failed, with their codes.
    static std::vector<std::pair<int, uint32_t>> FailingUses(const char* call, int n) {
        std::vector<std::pair<int, uint32_t>> failing;
        for (int use = 1; use <= n; ++use)
            if (auto code = machine::InjectedFailure(call)) failing.emplace_back(use, *code);
        return failing;
    }
};

TEST_F(Failures, TheNthUseFailsOnceAndOtherCallsAreUntouched) {
    EXPECT_EQ(machine::InjectedFailure("mmioDescend"), std::nullopt);
    machine::control::FailCall("mmioDescend", 3, 0x101);
    machine::control::FailCall("mmioDescend", 3, 0x102);  // falls on the same use: moves to the next
    machine::control::FailCall("IDirectSoundBuffer::Lock", 1, 0x88780096);
    const std::vector<std::pair<int, uint32_t>> expected = {{3, 0x101}, {4, 0x102}};
    EXPECT_EQ(FailingUses("mmioDescend", 10), expected);
    EXPECT_EQ(FailingUses("mmioRead", 10).size(), 0u);
    const auto records = machine::control::InjectedFailures();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[0].fired);
    EXPECT_TRUE(records[1].fired);
    EXPECT_FALSE(records[2].fired);
    machine::control::Reset();
    EXPECT_TRUE(machine::control::InjectedFailures().empty());
    EXPECT_EQ(machine::InjectedFailure("IDirectSoundBuffer::Lock"), std::nullopt) << "reset disarms";
}

TEST_F(Failures, AScriptArmsAtItsFrameAndTheReportListsEveryFailure) {
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("0 fail DirectSoundCreate8 1 0x88780078\n"
                                                  "2 fail alloc:dsound 2 -1\n",
                                                  error))
        << error;
    EXPECT_TRUE(machine::control::ScheduledInput().empty()) << "fail events are not input";
    EXPECT_EQ(machine::InjectedFailure("DirectSoundCreate8"), 0x88780078u);
    // Not armed before frame 2: its uses are counted from then.
    EXPECT_EQ(FailingUses("alloc:dsound", 5).size(), 0u);
    machine::FramePresented();
    machine::FramePresented();
    const std::vector<std::pair<int, uint32_t>> expected = {{2, 0xFFFFFFFFu}};
    EXPECT_EQ(FailingUses("alloc:dsound", 5), expected);
    machine::control::FailCall("mmioRead", 1, 7);  // armed, never used
    const std::string json = machine::ReportJson(0);
    EXPECT_NE(json.find("\"injected_failures\": [{\"call\": \"DirectSoundCreate8\", \"nth\": 1, \"code\": "
                        "\"0x88780078\", \"frame\": 0, \"fired\": true, \"fired_at_frame\": 0}, "
                        "{\"call\": \"alloc:dsound\", \"nth\": 2, \"code\": \"0xffffffff\", \"frame\": 2, "
                        "\"fired\": true, \"fired_at_frame\": 2}, "
                        "{\"call\": \"mmioRead\", \"nth\": 1, \"code\": \"0x00000007\", \"frame\": 2, "
                        "\"fired\": false}]"),
              std::string::npos)
        << json;
}

TEST_F(Failures, BadFailLinesAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"5 fail Lock 1", "line 1: expected \"fail <call> <nth> <code>\""},
        {"5 fail Lock 0 1", "line 1: bad use number \"0\" (1 or more)"},
        {"5 fail Lock x 1", "line 1: bad use number \"x\" (1 or more)"},
        {"5 fail Lock 1 0xZZ", "line 1: bad failure code \"0xZZ\""},
        {"5 fail Lock 1 4294967296", "line 1: bad failure code \"4294967296\""},
        {"5 fail Lock 1 0x1", "line 1: unknown call \"Lock\" (no platform call of that name can fail)"},
        {"1 fail mmioRead 1 1\n\n5 fail mmioread 1 1",
         "line 3: unknown call \"mmioread\" (no platform call of that name can fail)"},
    };
    for (const auto& [line, message] : cases) {
        std::string error;
        EXPECT_FALSE(machine::control::LoadInputScript(line, error)) << line;
        EXPECT_EQ(error, message);
    }
    EXPECT_TRUE(machine::control::InjectedFailures().empty());
}

// The machine's table of call names against the sources: every name an area asks about with a quoted
// name is in the table, and every name in the table is written, quoted, in some area's source (a call
// whose name is chosen at run time, like the two buffer locks, is found that way).
TEST(FailureCallNames, AreTheNamesTheAreasAskAbout) {
    namespace fs = std::filesystem;
    const fs::path platform = fs::path(MORVATH_SOURCE_DIR) / "platform";
    const std::regex asking(R"re((?:InjectedFailure|Injected|INJECTED)\s*\(\s*"([^"]+)")re");
    std::set<std::string> asked;
    std::string sources;
    for (const auto& entry : fs::recursive_directory_iterator(platform)) {
        const fs::path& path = entry.path();
        if (path.extension() != ".cpp" && path.extension() != ".h") continue;
        if (path.parent_path() == platform / "machine" || path.string().find("/machine/include/") != std::string::npos)
            continue;
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator m(source.begin(), source.end(), asking), end; m != end; ++m) asked.insert((*m)[1]);
        sources += source;
    }
    ASSERT_GT(asked.size(), 40u) << "the sources were not found under " << platform;
    const std::vector<std::string_view> names = machine::FailureCallNames();
    for (const std::string& name : asked)
        EXPECT_TRUE(machine::IsFailureCallName(name)) << name << " is asked about but not in the table";
    for (std::string_view name : names) {
        EXPECT_NE(sources.find("\"" + std::string(name) + "\""), std::string::npos)
            << name << " is in the table but no area names it";
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
    }
}

}  // namespace
