#include <cstdlib>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "machine/machine.h"

namespace machine::detail {
void ResetClock();
void AdvanceClockForFrame();
}  // namespace machine::detail

namespace {

namespace control = machine::control;

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("MORVATH_CLOCK");
        machine::detail::ResetClock();
    }
    void TearDown() override {
        unsetenv("MORVATH_CLOCK");
        machine::detail::ResetClock();
    }
};

TEST_F(ClockTest, TheFixedClockStartsFarFromZeroAndStepsAtEachRead) {
    EXPECT_EQ(control::GetClockMode(), control::ClockMode::Fixed);
    const int64_t frequency = machine::CounterFrequency();
    ASSERT_GT(frequency, 0);
    int64_t first = machine::ReadCounter();
    EXPECT_GE(first, 100 * frequency);
    int64_t second = machine::ReadCounter();
    EXPECT_GT(second, first);
    EXPECT_LE(second - first, frequency / 1000);  // a small step

    control::SetCounter(5000);
    control::SetCounterReadStep(0);
    EXPECT_EQ(machine::ReadCounter(), 5000);
    EXPECT_EQ(machine::ReadCounter(), 5000);  // frozen
    control::AdvanceCounter(10);
    EXPECT_EQ(machine::ReadCounter(), 5010);
}

TEST_F(ClockTest, TheCounterNeverReadsZero) {
    control::SetCounterReadStep(0);
    control::SetCounter(0);
    EXPECT_GT(machine::ReadCounter(), 0);
    control::SetCounter(100);
    control::AdvanceCounter(-1000);
    EXPECT_GT(machine::ReadCounter(), 0);
}

TEST_F(ClockTest, FramesAndSleepsAdvanceTheFixedClock) {
    const int64_t frequency = machine::CounterFrequency();
    control::SetCounterReadStep(0);
    int64_t start = machine::ReadCounter();
    machine::detail::AdvanceClockForFrame();
    int64_t frame = machine::ReadCounter() - start;
    EXPECT_NEAR(static_cast<double>(frame) / frequency, 1.0 / 60, 1e-6);

    uint32_t ms = machine::ReadMilliseconds();
    machine::SleepFor(100);
    EXPECT_EQ(machine::ReadMilliseconds(), ms + 100);
    EXPECT_EQ(machine::ReadCounter() - start, frame + frequency / 10);
    EXPECT_EQ(control::Sleeps(), std::vector<uint32_t>{100});

    control::SetFrameStep(frequency);
    machine::detail::AdvanceClockForFrame();
    EXPECT_EQ(machine::ReadCounter() - start, frame + frequency / 10 + frequency);
}

TEST_F(ClockTest, MillisecondsCanBeSetAndRepeat) {
    control::SetMilliseconds(1234);
    EXPECT_EQ(machine::ReadMilliseconds(), 1234u);
    EXPECT_EQ(machine::ReadMilliseconds(), 1234u);
    control::SetMilliseconds(0xFFFFFFFFu);
    machine::SleepFor(2);
    EXPECT_EQ(machine::ReadMilliseconds(), 1u);  // wraps at 2^32
}

TEST_F(ClockTest, TheCounterCanBeMadeAbsent) {
    EXPECT_TRUE(control::CounterAvailable());
    control::SetCounterAvailable(false);
    EXPECT_EQ(machine::CounterFrequency(), 0);
    EXPECT_FALSE(control::CounterAvailable());
    machine::detail::ResetClock();
    EXPECT_TRUE(control::CounterAvailable());
}

TEST_F(ClockTest, TheRealClockFollowsTimeAndIsChosenByTheEnvironment) {
    setenv("MORVATH_CLOCK", "real", 1);
    machine::detail::ResetClock();
    EXPECT_EQ(control::GetClockMode(), control::ClockMode::Real);
    int64_t before = machine::ReadCounter();
    EXPECT_GT(before, 0);
    machine::SleepFor(20);  // really sleeps
    int64_t slept = machine::ReadCounter() - before;
    EXPECT_GE(slept, machine::CounterFrequency() / 50);
    int64_t frameBefore = machine::ReadCounter();
    machine::detail::AdvanceClockForFrame();  // no jump in real time
    EXPECT_LT(machine::ReadCounter() - frameBefore, machine::CounterFrequency() / 60);

    setenv("MORVATH_CLOCK", "fixed", 1);
    machine::detail::ResetClock();
    EXPECT_EQ(control::GetClockMode(), control::ClockMode::Fixed);
}

TEST_F(ClockTest, SwitchingModesKeepsTheReading) {
    control::SetCounterReadStep(0);
    control::SetCounter(777'000'000);
    control::SetClockMode(control::ClockMode::Real);
    int64_t reading = machine::ReadCounter();
    EXPECT_GE(reading, 777'000'000);
    EXPECT_LT(reading, 777'000'000 + machine::CounterFrequency());
    control::SetClockMode(control::ClockMode::Fixed);
    EXPECT_GE(machine::ReadCounter(), reading);
}

}  // namespace
