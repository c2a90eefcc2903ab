#include "window_test_support.h"

namespace {

using test::g_log;

class MessageQueue : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = CreateMainWindow();
        Drain();  // the first painting
        g_log.clear();
    }
    HWND window = nullptr;
};

TEST_F(MessageQueue, PostedMessagesComeOutFirstInFirstOut) {
    for (WPARAM i = 0; i < 5; ++i) PostMessageA(window, WM_USER, i, 0);
    std::vector<WPARAM> order;
    for (const MSG& m : Drain())
        if (m.message == WM_USER) order.push_back(m.wParam);
    EXPECT_EQ(order, (std::vector<WPARAM>{0, 1, 2, 3, 4}));
}

TEST_F(MessageQueue, SentMessagesRunAtOnceAndNest) {
    test::g_handler = [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_USER) {
            result = SendMessageA(hwnd, WM_USER + 1, 0, 0) + 1;
            return true;
        }
        if (message == WM_USER + 1) {
            result = 41;
            return true;
        }
        return false;
    };
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 42);
    ASSERT_EQ(g_log.size(), 2u);
    EXPECT_EQ(g_log[0].depth, 0);
    EXPECT_EQ(g_log[1].depth, 1);  // inside the first call
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));  // nothing was queued
}

TEST_F(MessageQueue, WmPaintComesOnlyWhenNothingElseIsQueued) {
    InvalidateRect(window, nullptr, TRUE);
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 1, 0, 0);
    std::vector<UINT> order;
    for (const MSG& m : Drain()) order.push_back(m.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER + 1, WM_PAINT}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // the default painting validated it
}

TEST_F(MessageQueue, WmPaintRepeatsUntilTheRegionIsValidated) {
    test::g_handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT&) { return message == WM_PAINT; };
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    ValidateRect(window, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, QuitComesAfterTheMessagesPostedBeforeIt) {
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER + 1, 0, 0);  // posted after, still before the quit: posts come first
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageQueue, PeekWithoutRemovingLeavesTheMessage) {
    PostMessageA(window, WM_USER, 1, 2);
    MSG msg{};
    msg.message = WM_NULL;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, MessagesPostedToADestroyedWindowAreDropped) {
    HWND other = CreateMainWindow();
    PostMessageA(other, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 1, 0, 0);
    DestroyWindow(other);
    std::vector<UINT> order;
    for (const MSG& m : Drain())
        if (m.message >= WM_USER) order.push_back(m.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1}));
    EXPECT_FALSE(PostMessageA(other, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MessageQueue, PostedMessagesComeBeforeInput) {
    machine::InputEvent key;
    key.virtualKey = VK_RETURN;
    key.scanCode = 0x1C;
    machine::control::ScheduleInput(key);
    PostMessageA(window, WM_USER, 0, 0);
    std::vector<UINT> order;
    for (const MSG& m : Drain()) order.push_back(m.message);
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0], static_cast<UINT>(WM_USER));
    EXPECT_EQ(order[1], static_cast<UINT>(WM_KEYDOWN));
}

TEST_F(MessageQueue, DispatchOfAWindowlessMessageGoesNowhere) {
    PostMessageA(nullptr, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_TRUE(g_log.empty());
}

}  // namespace
