// DebugPrint reaches the debugger output as one text, cut at 511 characters, no line feed added.
#include "debug_print.h"

#include <gtest/gtest.h>

#include <string>

#include "machine/control.h"

class DebugPrintTest : public ::testing::Test {
protected:
    void SetUp() override { machine::control::ClearDebugLines(); }
    void TearDown() override { machine::control::ClearDebugLines(); }
};

TEST_F(DebugPrintTest, SendsTheFormattedText) {
    DebugPrint("frame %d of %s: %.2f", 7, "run", 0.5);
    DebugPrint("second\n");
    auto lines = machine::control::DebugLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "frame 7 of run: 0.50");
    EXPECT_EQ(lines[1], "second\n");
}

TEST_F(DebugPrintTest, CutsALongTextAt511Characters) {
    std::string longText(600, 'a');
    for (size_t i = 0; i < longText.size(); ++i) longText[i] = static_cast<char>('a' + i % 26);
    DebugPrint("%s", longText.c_str());
    std::string exact(511, 'z');
    DebugPrint("%s", exact.c_str());
    auto lines = machine::control::DebugLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longText.substr(0, 511));
    EXPECT_EQ(lines[1], exact);
}

TEST_F(DebugPrintTest, ANullFormatSendsNothing) {
    DebugPrint(nullptr);
    EXPECT_TRUE(machine::control::DebugLines().empty());
}
