#include "gdi/window_surfaces.h"
#include "gdi_test_support.h"

namespace {

class DrawText : public test::GdiTest {
protected:
    HWND MakeWindow(int width, int height) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "Loading";
        EXPECT_NE(RegisterClassA(&wc), 0);
        RECT rect{0, 0, width, height};
        AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
        return CreateWindowExA(0, "Loading", "Loading", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, rect.right - rect.left,
                               rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    }
    // The box of the pixels that are not white.
    static RECT Ink(const machine::Frame& frame) {
        RECT box{static_cast<LONG>(frame.width), static_cast<LONG>(frame.height), 0, 0};
        for (uint32_t y = 0; y < frame.height; ++y)
            for (uint32_t x = 0; x < frame.width; ++x)
                if (frame.pixels[y * frame.width + x] != 0x00FFFFFF) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
};

// The loading text, centred both ways in the client area in the default font: black on white.
TEST_F(DrawText, CentresASingleLineInAWindow) {
    HWND window = MakeWindow(400, 300);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    RECT client{};
    GetClientRect(window, &client);
    const char text[] = "Loading... Please wait";
    const int height = DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, text, sizeof text - 1, &size));
    EXPECT_EQ(height, (300 - size.cy) / 2 + size.cy);
    ReleaseDC(window, dc);

    machine::Frame frame;
    ASSERT_TRUE(gdi::ReadWindowSurface(window, frame));
    ASSERT_EQ(frame.width, 400u);
    ASSERT_EQ(frame.height, 300u);
    const RECT ink = Ink(frame);
    EXPECT_NEAR(ink.left, 400 - ink.right, 3);
    EXPECT_NEAR(ink.top + ink.bottom, 300, 8);
    EXPECT_GT(ink.right - ink.left, 100);
    bool black = false;
    for (uint32_t p : frame.pixels) black = black || p == 0;
    EXPECT_TRUE(black);
    std::string error;
    EXPECT_TRUE(machine::WritePng(frame, test::OutputPath("gdi_loading_text.png"), error)) << error;
}

TEST_F(DrawText, KeepsToTheRectangleAndTakesPrefixesOut) {
    test::Dib dib = UseDib(120, 60);
    UseFont(-16);
    RECT box{10, 10, 30, 30};
    SetBkMode(dc_, TRANSPARENT);
    EXPECT_GT(DrawTextA(dc_, "WWWWWWWW", 8, &box, DT_SINGLELINE), 0);
    const RECT ink = test::Ink(dib);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    EXPECT_LE(ink.bottom, 30);
    EXPECT_EQ(ink.right, 30);

    // "&&x" shows "&x"; lines break at line ends.
    test::Dib other = UseDib(120, 60);
    RECT all{0, 0, 120, 60};
    const int lineHeight = Extent("x").cy;
    EXPECT_EQ(DrawTextA(dc_, "a&&b\r\nc&d", -1, &all, 0), 2 * lineHeight);
    test::Dib plain = UseDib(120, 60);
    ASSERT_TRUE(TextOutA(dc_, 0, 0, "a&b", 3));
    ASSERT_TRUE(TextOutA(dc_, 0, lineHeight, "cd", 2));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(other.At(x, y), plain.At(x, y)) << x << "," << y;

    EXPECT_EQ(DrawTextA(dc_, "x", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(dc_, nullptr, 1, &all, 0), 0);
    EXPECT_EQ(DrawTextA(nullptr, "x", 1, &all, 0), 0);
}

}  // namespace
