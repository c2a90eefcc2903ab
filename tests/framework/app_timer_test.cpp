// The process-wide timer on the machine's fixed clock: the counter stands still unless a case moves it.
#include <gtest/gtest.h>

#include "machine/control.h"

#include "app_timer.h"
#include "process_state.h"

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;  // the machine's counter frequency

class AppTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        ResetFrameworkProcessState();
        machine::control::SetCounterReadStep(0);
        machine::control::SetCounter(1000 * kTicksPerSecond);
    }
    void TearDown() override {
        machine::control::Reset();
        ResetFrameworkProcessState();
    }
    static void Wait(double seconds) {
        machine::control::AdvanceCounter(static_cast<int64_t>(seconds * kTicksPerSecond));
    }
};

TEST_F(AppTimerTest, BeforeTheFirstResumeRunningTimeIsTheRawClock) {
    // Stopped at load, but no instant is frozen yet.
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1000.0f);
    Wait(2.0);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1002.0f);
}

TEST_F(AppTimerTest, StartUpOrderStartsTheRunningTimeAtZero) {
    AppTimer(TimerOp::Freeze);  // the constructor's pause: no effect while stopped
    AppTimer(TimerOp::Resume);  // Startup
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 0.0f);
    Wait(0.5);
    AppTimer(TimerOp::Resume);  // the final unpause only moves the last-delta time
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 0.5f);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.0f);
}

TEST_F(AppTimerTest, FreezeWaitResumeLeavesTheWaitOut) {
    AppTimer(TimerOp::Resume);
    Wait(1.0);
    AppTimer(TimerOp::Freeze);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.0f);
    Wait(5.0);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.0f);
    AppTimer(TimerOp::Freeze);  // already stopped: nothing changes
    AppTimer(TimerOp::Resume);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.0f);
    Wait(0.25);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.25f);
}

TEST_F(AppTimerTest, DeltaMeasuresBetweenCallsAndIsZeroWhileFrozen) {
    AppTimer(TimerOp::Resume);
    Wait(0.125);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.125f);
    Wait(0.5);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.5f);

    AppTimer(TimerOp::Freeze);
    Wait(1.0);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.0f);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.0f);
}

TEST_F(AppTimerTest, StepTenthMovesAFrozenInstantOn) {
    AppTimer(TimerOp::Resume);
    Wait(2.0);
    AppTimer(TimerOp::Freeze);
    const float frozen = AppTimer(TimerOp::RunSeconds);
    AppTimer(TimerOp::StepTenth);
    AppTimer(TimerOp::StepTenth);
    EXPECT_NEAR(AppTimer(TimerOp::RunSeconds), frozen + 0.2f, 1e-6);
    EXPECT_NEAR(AppTimer(TimerOp::DeltaSeconds), 0.2f, 1e-6);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.0f);
}

TEST_F(AppTimerTest, StepTenthOnARunningTimerFreezesReadingsUntilResume) {
    AppTimer(TimerOp::Resume);
    AppTimer(TimerOp::StepTenth);  // the stop time becomes a tenth of a second of clock
    const float held = AppTimer(TimerOp::RunSeconds);
    EXPECT_NEAR(held, 0.1f - 1000.0f, 1e-3);
    Wait(3.0);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), held);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::ClockSeconds), 1003.0f);  // always read fresh

    AppTimer(TimerOp::Resume);  // the timer counted as running: the base stays, the stop time goes
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 3.0f);
}

TEST_F(AppTimerTest, RestartCountsFromNow) {
    AppTimer(TimerOp::Resume);
    Wait(4.0);
    AppTimer(TimerOp::Restart);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 0.0f);
    Wait(0.75);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 0.75f);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.75f);
}

TEST_F(AppTimerTest, RestartWhileFrozenCountsFromTheFrozenInstant) {
    AppTimer(TimerOp::Resume);
    Wait(4.0);
    AppTimer(TimerOp::Freeze);
    Wait(1.0);
    AppTimer(TimerOp::Restart);  // ends the freeze; "now" was still the frozen instant
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.0f);
    Wait(0.5);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.5f);
}

TEST_F(AppTimerTest, CommandsWithoutAnAnswerAnswerZeroAndUnknownOnesMinusOne) {
    EXPECT_EQ(AppTimer(TimerOp::Resume), 0.0f);
    EXPECT_EQ(AppTimer(TimerOp::Freeze), 0.0f);
    EXPECT_EQ(AppTimer(TimerOp::StepTenth), 0.0f);
    EXPECT_EQ(AppTimer(TimerOp::Restart), 0.0f);
    const float before = AppTimer(TimerOp::RunSeconds);
    EXPECT_EQ(AppTimer(static_cast<TimerOp>(7)), -1.0f);
    EXPECT_EQ(AppTimer(static_cast<TimerOp>(-1)), -1.0f);
    EXPECT_EQ(AppTimer(TimerOp::RunSeconds), before);
}

TEST_F(AppTimerTest, TheClockSourceIsChosenOnTheFirstCall) {
    AppTimer(TimerOp::Resume);  // counter source
    machine::control::SetCounterAvailable(false);
    Wait(1.0);
    // Still the counter: the millisecond source's base is 0, so it would answer about 1001 s.
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::RunSeconds), 1.0f);
}

TEST_F(AppTimerTest, WithoutACounterTheMillisecondTimerIsUsed) {
    machine::control::SetCounterAvailable(false);
    machine::control::SetMilliseconds(5000);
    AppTimer(TimerOp::Resume);
    EXPECT_FLOAT_EQ(AppTimer(TimerOp::ClockSeconds), 5.0f);
    Wait(0.003);
    EXPECT_NEAR(AppTimer(TimerOp::RunSeconds), 0.003f, 1e-6);
    EXPECT_NEAR(AppTimer(TimerOp::DeltaSeconds), 0.003f, 1e-6);
    // Within the same millisecond the clock does not move: the frame step skips such a frame.
    Wait(0.0004);
    EXPECT_EQ(AppTimer(TimerOp::DeltaSeconds), 0.0f);

    AppTimer(TimerOp::Freeze);
    Wait(2.0);
    AppTimer(TimerOp::StepTenth);
    EXPECT_NEAR(AppTimer(TimerOp::RunSeconds), 0.103f, 1e-5);
    AppTimer(TimerOp::Resume);  // the stepped tenth stays in the running time; the wait does not
    EXPECT_NEAR(AppTimer(TimerOp::RunSeconds), 0.103f, 1e-5);
}

}  // namespace
