// What GetMessageA does when nothing is there: the idle hook, scheduled input brought forward, the
// machine's own close of the main window, then WM_QUIT; and the watchdog.
#include "window_test_support.h"

namespace {

using test::g_log;

class Waiting : public test::WindowTest {
protected:
    // The framework's inactive loop: GetMessageA until WM_QUIT.
    static std::vector<MSG> RunUntilQuit() {
        std::vector<MSG> taken;
        MSG msg;
        for (int i = 0; i < 1000 && GetMessageA(&msg, nullptr, 0, 0); ++i) {
            taken.push_back(msg);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        taken.push_back(msg);
        return taken;
    }
};

TEST_F(Waiting, WithNothingScheduledTheMachineClosesTheMainWindowOnceThenQuits) {
    HWND window = CreateMainWindow();
    int closes = 0;
    test::g_handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_CLOSE) return false;
        ++closes;  // this program refuses to close
        result = 0;
        return true;
    };
    const std::vector<MSG> taken = RunUntilQuit();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(taken.back().message, static_cast<UINT>(WM_QUIT));
    bool sawClose = false;
    for (const MSG& m : taken) sawClose |= m.message == WM_SYSCOMMAND && m.wParam == SC_CLOSE;
    EXPECT_TRUE(sawClose);
}

TEST_F(Waiting, AProgramThatClosesEndsThroughItsOwnQuit) {
    CreateMainWindow();
    test::g_handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_DESTROY) PostQuitMessage(5);
        return false;
    };
    EXPECT_EQ(RunUntilQuit().back().wParam, 5u);
}

TEST_F(Waiting, ScheduledInputArrivesEarlyWhileTheProgramWaits) {
    CreateMainWindow();
    machine::InputEvent e;
    e.virtualKey = VK_F2;
    e.scanCode = 0x3C;
    e.frame = 500;  // no frames run while the program waits
    machine::control::ScheduleInput(e);
    MSG msg;
    do {
        ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
        DispatchMessageA(&msg);
    } while (msg.message == WM_PAINT);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(machine::FramesPresented(), 0u);
}

TEST_F(Waiting, TheIdleHookRunsWhenTheProgramWouldBlock) {
    HWND window = CreateMainWindow();
    Drain();
    int calls = 0;
    machine::control::SetIdleHook([&] {
        if (++calls == 3) PostMessageA(window, WM_USER, 0, 0);
    });
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(IsWindow(window));  // with a hook the machine does not close anything by itself
}

TEST_F(Waiting, TheWatchdogEndsAWaitThatCanNeverEnd) {
    CreateMainWindow();
    Drain();
    uint64_t fired = 0;
    machine::control::SetIdleHook([] {});
    machine::control::SetWatchdog(50, [&](uint64_t calls) { fired = calls; });
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(fired, 50u);
}

TEST_F(Waiting, TheFrameLimitClosesTheMainWindowLikeItsCloseButton) {
    HWND window = CreateMainWindow();
    machine::control::SetFrameLimit(3);
    for (int i = 0; i < 3; ++i) {
        Drain();
        EXPECT_TRUE(IsWindow(window));
        EXPECT_FALSE(machine::CloseRequested());
        machine::FramePresented();
    }
    EXPECT_TRUE(machine::CloseRequested());
    g_log.clear();
    Drain();
    EXPECT_FALSE(IsWindow(window));
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ(g_log.front().message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(g_log.front().wParam, static_cast<WPARAM>(SC_CLOSE));
}

}  // namespace
