// The high-resolution clock on the machine's performance counter, and its fallback without one.
#include <gtest/gtest.h>

#include "high_res_clock.h"
#include "machine/control.h"
#include "machine/machine.h"

namespace {

class HighResClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        machine::control::SetCounterReadStep(0);
    }
    void TearDown() override { machine::control::Reset(); }
};

TEST_F(HighResClockTest, WithoutACounterMillisecondsAreTheSystemTime) {
    machine::control::SetCounterAvailable(false);
    machine::control::SetMilliseconds(123456);
    EXPECT_FALSE(InitHighResTimer());
    EXPECT_EQ(HighResMilliseconds(), 123456u);
    EXPECT_EQ(HighResMicroseconds(), 123456000u);
}

TEST_F(HighResClockTest, CounterTimeWrapsAt2To32) {
    ASSERT_TRUE(InitHighResTimer());
    const double frequency = static_cast<double>(machine::CounterFrequency());
    // Half a unit past a whole value, so that rounding of the division cannot cross it.
    const double milliseconds = 4294967296.0 + 5000.5;
    machine::control::SetCounter(static_cast<int64_t>(milliseconds * frequency / 1000.0));
    EXPECT_EQ(HighResMilliseconds(), 5000u);

    const double microseconds = 3.0 * 4294967296.0 + 77.5;
    machine::control::SetCounter(static_cast<int64_t>(microseconds * frequency / 1000000.0));
    EXPECT_EQ(HighResMicroseconds(), 77u);
}

}  // namespace
