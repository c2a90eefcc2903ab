#include "window_test_support.h"

namespace {

using test::g_log;

class WindowLifetime : public test::WindowTest {};

TEST_F(WindowLifetime, DestroyWindowTwiceFailsHarmlesslyTheSecondTime) {
    HWND window = CreateMainWindow();
    g_log.clear();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(DestroyWindow(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(machine::control::LiveObjects("window"), 0);
}

TEST_F(WindowLifetime, ADestroyedWindowAnswersNothing) {
    static const uint8_t kTemplate[] = {0, 0, 0, 0, 0x80, 0, 1, 0, 'A', 0, 0, 0};
    static const RESOURCE_TABLE_ENTRY kEntries[] = {{RT_MENU, MAKEINTRESOURCEA(1), 0, kTemplate, sizeof kTemplate}};
    RegisterProgramResources(kEntries, 1);
    HWND window = CreateMainWindow(400, 300, LoadMenuA(nullptr, MAKEINTRESOURCEA(1)));
    ASSERT_NE(GetMenu(window), nullptr);
    DestroyWindow(window);
    g_log.clear();
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
    EXPECT_EQ(SendMessageA(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(DefWindowProcA(window, WM_PAINT, 0, 0), 0);
    RECT r;
    EXPECT_FALSE(GetClientRect(window, &r));
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(machine::control::LiveObjects("menu"), 0);  // the window's menu went with it
}

TEST_F(WindowLifetime, DestroyedHandlesAreNeverHandedOutAgain) {
    std::vector<HWND> seen;
    for (int i = 0; i < 20; ++i) {
        HWND window = CreateMainWindow();
        EXPECT_EQ(std::find(seen.begin(), seen.end(), window), seen.end());
        seen.push_back(window);
        DestroyWindow(window);
    }
    machine::control::Reset();
    WNDCLASSA wc{};
    wc.lpfnWndProc = test::LoggingProc;
    wc.lpszClassName = test::kClassName;
    RegisterClassA(&wc);
    HWND after = CreateMainWindow();
    EXPECT_EQ(std::find(seen.begin(), seen.end(), after), seen.end());
}

// The framework's close: SC_CLOSE -> WM_CLOSE -> its handler destroys the window; a nested WM_CLOSE
// inside the handler finds the window gone on the way out.
TEST_F(WindowLifetime, ScCloseLeadsToWmCloseAndTheCloseSequenceMayNest) {
    HWND window = CreateMainWindow();
    int closes = 0;
    test::g_handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_CLOSE) return false;
        if (++closes == 1) SendMessageA(hwnd, WM_CLOSE, 0, 0);  // a report inside the close closes again
        if (HMENU menu = GetMenu(hwnd)) DestroyMenu(menu);
        DestroyWindow(hwnd);
        PostQuitMessage(0);
        result = 0;
        return true;
    };
    g_log.clear();
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Messages({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_CLOSE, WM_DESTROY}));
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));  // the quit message ends the loop
}

TEST_F(WindowLifetime, DefaultCloseDestroysTheWindow) {
    HWND window = CreateMainWindow();
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowLifetime, AltF4GivesScClose) {
    HWND window = CreateMainWindow();
    g_log.clear();
    DefWindowProcA(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Messages({WM_SYSCOMMAND, WM_CLOSE}), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
}

TEST_F(WindowLifetime, DefWindowProcToleratesAWindowDestroyedDuringTheHandler) {
    HWND window = CreateMainWindow();
    test::g_handler = [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_EXITSIZEMOVE) DestroyWindow(hwnd);
        return false;  // the default handling then gets a destroyed window
    };
    SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowLifetime, ChildrenAreDestroyedWithTheirParent) {
    HWND parent = CreateMainWindow();
    HWND child = CreateWindowExA(0, test::kClassName, "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, parent, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    POINT q{5, 5};
    ClientToScreen(parent, &q);
    EXPECT_EQ(p.x, q.x);
    EXPECT_EQ(p.y, q.y);
    g_log.clear();
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
    std::vector<std::pair<HWND, UINT>> order;
    for (const test::Logged& l : g_log) order.emplace_back(l.window, l.message);
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                         {parent, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}}));
}

}  // namespace
