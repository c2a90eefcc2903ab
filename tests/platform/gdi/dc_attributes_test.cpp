#include "gdi/dc_attributes.h"
#include "gdi_test_support.h"

namespace {

class DcAttributes : public test::GdiTest {};

TEST_F(DcAttributes, SettersAnswerThePreviousValue) {
    EXPECT_EQ(SetTextColor(dc_, RGB(255, 255, 255)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc_, 0), RGB(255, 255, 255));
    EXPECT_EQ(SetBkColor(dc_, 0), RGB(255, 255, 255));
    EXPECT_EQ(SetBkMode(dc_, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc_, 7), 0);
    EXPECT_EQ(SetBkMode(dc_, OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetTextAlign(dc_, TA_TOP | TA_LEFT), static_cast<UINT>(TA_TOP | TA_LEFT));
    EXPECT_EQ(SetMapMode(dc_, MM_TEXT), MM_TEXT);
    EXPECT_EQ(SetMapMode(dc_, 2), 0);  // no other mapping is offered
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetTextAlign(nullptr, 0), static_cast<UINT>(GDI_ERROR));
}

TEST_F(DcAttributes, EveryContextReportsTheSameResolution) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Resolution";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND window = CreateWindowExA(0, "Resolution", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HDC screen = GetDC(nullptr);
    HDC own = GetDC(window);
    for (HDC dc : {dc_, screen, own}) {
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    }
    gdi::SetDotsPerInch(120);
    EXPECT_EQ(GetDeviceCaps(own, LOGPIXELSY), 120);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
    ReleaseDC(window, own);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
    machine::control::Reset();
    EXPECT_EQ(gdi::DotsPerInch(), 96);
}

}  // namespace
