#include <gtest/gtest.h>

#include "machine/control.h"
#include "machine/machine.h"
#include "windows.h"

namespace machine::detail {
void ResetDebugOutput();
}

namespace {

class DebugOutputTest : public ::testing::Test {
protected:
    void SetUp() override { machine::detail::ResetDebugOutput(); }
    void TearDown() override { machine::detail::ResetDebugOutput(); }
};

TEST_F(DebugOutputTest, TextsAreKeptInOrderAsSent) {
    OutputDebugStringA("first");
    OutputDebugStringA("second\n");
    OutputDebugStringA(nullptr);
    machine::DebugOutput("third");
    EXPECT_EQ(machine::control::DebugLines(), (std::vector<std::string>{"first", "second\n", "third"}));
    machine::control::ClearDebugLines();
    EXPECT_TRUE(machine::control::DebugLines().empty());
}

TEST_F(DebugOutputTest, EchoGoesToStandardError) {
    machine::control::SetDebugEcho(true);
    ::testing::internal::CaptureStderr();
    OutputDebugStringA("echoed line\n");
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "echoed line\n");
    machine::control::SetDebugEcho(false);
    ::testing::internal::CaptureStderr();
    OutputDebugStringA("quiet");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    setenv("MORVATH_DEBUG_OUTPUT", "stderr", 1);
    machine::detail::ResetDebugOutput();
    ::testing::internal::CaptureStderr();
    OutputDebugStringA("from the environment");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "from the environment");
    unsetenv("MORVATH_DEBUG_OUTPUT");
}

}  // namespace
