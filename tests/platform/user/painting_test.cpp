#include "commctrl.h"
#include "user/control.h"
#include "window_test_support.h"

namespace {

class Painting : public test::WindowTest {};

TEST_F(Painting, BeginPaintTakesTheRegionAndErasesTheBackground) {
    HWND window = CreateMainWindow();
    Drain();
    RECT part{10, 10, 50, 40};
    InvalidateRect(window, &part, TRUE);
    test::g_log.clear();
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ps.rcPaint.left, 10);
    EXPECT_EQ(ps.rcPaint.bottom, 40);
    EXPECT_EQ(Messages(), std::vector<UINT>{WM_ERASEBKGND});
    EXPECT_TRUE(ps.fErase);  // the class has no background brush: the procedure still has to erase
    EXPECT_TRUE(EndPaint(window, &ps));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
}

TEST_F(Painting, DeviceContextsAreCounted) {
    HWND window = CreateMainWindow();
    HDC screen = GetDC(nullptr);
    HDC own = GetDC(window);
    EXPECT_EQ(machine::control::LiveObjects("screen dc"), 1);
    EXPECT_EQ(machine::control::LiveObjects("window dc"), 1);
    EXPECT_EQ(ReleaseDC(window, screen), 0);  // not that window's
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(window, own), 1);
    EXPECT_EQ(ReleaseDC(window, own), 0);
    EXPECT_EQ(machine::control::LiveObjects("screen dc"), 0);
    EXPECT_EQ(machine::control::LiveObjects("window dc"), 0);
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects stay
    EXPECT_NE(GetObjectA(GetStockObject(WHITE_BRUSH), 0, nullptr), static_cast<int>(sizeof(BITMAP)));
}

TEST_F(Painting, TheCommonControlsAreInitialisedOnce) {
    InitCommonControls();
    EXPECT_EQ(user::control::CommonControlsInitCount(), 1);
}

}  // namespace
