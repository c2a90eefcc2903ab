#include <thread>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "mmsystem.h"
#include "windows.h"

namespace machine::detail {
void ResetClock();
}

namespace {

class CountersTest : public ::testing::Test {
protected:
    void SetUp() override { machine::detail::ResetClock(); }
    void TearDown() override { machine::detail::ResetClock(); }
};

TEST_F(CountersTest, TheCounterExistsAndMovesOnAtEachRead) {
    LARGE_INTEGER frequency{}, first{}, second{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_GT(frequency.QuadPart, 0);
    ASSERT_TRUE(QueryPerformanceCounter(&first));
    ASSERT_TRUE(QueryPerformanceCounter(&second));
    EXPECT_GT(first.QuadPart, 0);
    EXPECT_GT(second.QuadPart, first.QuadPart);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST_F(CountersTest, WithoutACounterTheFrequencyFails) {
    machine::control::SetCounterAvailable(false);
    LARGE_INTEGER frequency;
    frequency.QuadPart = 123;
    EXPECT_FALSE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 0);
}

TEST_F(CountersTest, SleepAndTheMillisecondTimerFollowTheMachineClock) {
    DWORD before = timeGetTime();
    EXPECT_EQ(timeGetTime(), before);  // two reads in the same millisecond agree
    Sleep(100);
    EXPECT_EQ(timeGetTime(), before + 100);
    EXPECT_EQ(machine::control::Sleeps(), std::vector<uint32_t>{100});
    machine::control::SetMilliseconds(5000);
    EXPECT_EQ(timeGetTime(), 5000u);
}

TEST(EventsTest, AutoAndManualResetEvents) {
    HANDLE automatic = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(automatic, nullptr);
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // reset by the wait
    EXPECT_TRUE(SetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);  // stays signaled
    HANDLE both[] = {automatic, manual};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(CloseHandle(automatic));
    EXPECT_TRUE(CloseHandle(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(manual));
    EXPECT_EQ(CreateEventA(nullptr, FALSE, FALSE, "named"), nullptr);
}

TEST(EventsTest, AWaitEndsWhenAnotherThreadSignals) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::thread signaller([event] { SetEvent(event); });
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    signaller.join();
    CloseHandle(event);
}

}  // namespace
