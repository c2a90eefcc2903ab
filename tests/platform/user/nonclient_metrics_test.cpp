#include "window_test_support.h"

namespace {

struct FrameCase {
    const char* name;
    DWORD style;
    bool menu;
    int clientWidth, clientHeight;
};

class NonClientMetrics : public test::WindowTest, public ::testing::WithParamInterface<FrameCase> {
protected:
    HMENU MenuIfAsked() {
        if (!GetParam().menu) return nullptr;
        // A one-item menu from a template in memory.
        static const uint8_t kTemplate[] = {0, 0, 0, 0, 0x80, 0, 1, 0, 'A', 0, 0, 0};
        static const RESOURCE_TABLE_ENTRY kEntries[] = {{RT_MENU, MAKEINTRESOURCEA(1), 0, kTemplate, sizeof kTemplate}};
        RegisterProgramResources(kEntries, 1);
        return LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    }
};

TEST_P(NonClientMetrics, AdjustWindowRectAgreesWithTheWindowThatIsMade) {
    const FrameCase& c = GetParam();
    HMENU menu = MenuIfAsked();
    ASSERT_EQ(menu != nullptr, c.menu);
    HWND window = CreateMainWindow(c.clientWidth, c.clientHeight, menu, c.style);
    ASSERT_NE(window, nullptr);
    const SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, c.clientWidth);
    EXPECT_EQ(client.cy, c.clientHeight);

    // The client area's corner on the screen is where AdjustWindowRect put it inside the window.
    RECT adjusted{0, 0, c.clientWidth, c.clientHeight};
    AdjustWindowRect(&adjusted, c.style, c.menu);
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    POINT corner{windowRect.left, windowRect.top};
    ScreenToClient(window, &corner);
    EXPECT_EQ(corner.x, adjusted.left);
    EXPECT_EQ(corner.y, adjusted.top);
    POINT back{0, 0};
    ClientToScreen(window, &back);
    EXPECT_EQ(back.x, windowRect.left - adjusted.left);
    EXPECT_EQ(back.y, windowRect.top - adjusted.top);
}

INSTANTIATE_TEST_SUITE_P(
    , NonClientMetrics,
    ::testing::Values(FrameCase{"DefaultClientWithMenu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, true, 400, 300},
                      FrameCase{"ShowcaseClientWithMenu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, true, 800, 600},
                      FrameCase{"NoMenu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, false, 400, 300},
                      FrameCase{"Popup", WS_POPUP | WS_SYSMENU | WS_VISIBLE, false, 640, 480},
                      FrameCase{"PopupWithMenu", WS_POPUP | WS_SYSMENU | WS_VISIBLE, true, 640, 480},
                      FrameCase{"Dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, false, 300, 200}),
    [](const auto& info) { return std::string(info.param.name); });

class FrameChanges : public test::WindowTest {};

TEST_F(FrameChanges, TheOverlappedFrameHasFixedMetrics) {
    RECT r{0, 0, 400, 300};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW | WS_VISIBLE, TRUE);
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.right, 404);
    EXPECT_EQ(r.top, -42);  // sizing frame 4, caption 19, menu bar 19
    EXPECT_EQ(r.bottom, 304);
    RECT popup{0, 0, 400, 300};
    AdjustWindowRect(&popup, WS_POPUP | WS_SYSMENU | WS_VISIBLE, FALSE);
    EXPECT_EQ(popup.left, 0);
    EXPECT_EQ(popup.top, 0);
    EXPECT_EQ(popup.right, 400);
    EXPECT_EQ(popup.bottom, 300);
}

TEST_F(FrameChanges, APopupStyleMakesTheWholeWindowClientAreaWithWmSize) {
    HWND window = CreateMainWindow();
    test::g_log.clear();
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_SYSMENU | WS_VISIBLE));
    RECT w;
    GetWindowRect(window, &w);
    const SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, w.right - w.left);
    EXPECT_EQ(client.cy, w.bottom - w.top);
    EXPECT_EQ(Messages({WM_STYLECHANGING, WM_STYLECHANGED, WM_SIZE}),
              (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED, WM_SIZE}));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), WS_POPUP | WS_SYSMENU | WS_VISIBLE);
}

TEST_F(FrameChanges, SetMenuChangesTheClientHeightByTheMenuBar) {
    static const uint8_t kTemplate[] = {0, 0, 0, 0, 0x80, 0, 1, 0, 'A', 0, 0, 0};
    static const RESOURCE_TABLE_ENTRY kEntries[] = {{RT_MENU, MAKEINTRESOURCEA(1), 0, kTemplate, sizeof kTemplate}};
    RegisterProgramResources(kEntries, 1);
    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(1));
    HWND window = CreateMainWindow(400, 300, menu);
    test::g_log.clear();
    ASSERT_TRUE(SetMenu(window, nullptr));
    EXPECT_EQ(ClientSize(window).cy, 300 + 19);
    EXPECT_EQ(Messages({WM_SIZE}).size(), 1u);
    ASSERT_TRUE(SetMenu(window, menu));
    EXPECT_EQ(ClientSize(window).cy, 300);
    EXPECT_EQ(GetMenu(window), menu);
}

TEST_F(FrameChanges, SetWindowPosSendsItsMessagesAtOnce) {
    HWND window = CreateMainWindow();
    test::g_log.clear();
    ASSERT_TRUE(SetWindowPos(window, HWND_NOTOPMOST, 100, 50, 508, 427, SWP_SHOWWINDOW));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}));
    EXPECT_EQ(ClientSize(window).cx, 500);
    EXPECT_EQ(ClientSize(window).cy, 400);
    test::g_log.clear();
    // The same rectangle again: no client change, so no WM_SIZE or WM_MOVE.
    SetWindowPos(window, HWND_NOTOPMOST, 100, 50, 508, 427, SWP_SHOWWINDOW);
    EXPECT_EQ(Messages({WM_SIZE, WM_MOVE}), std::vector<UINT>{});
    test::g_log.clear();
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 400);
}

}  // namespace
