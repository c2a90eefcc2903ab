#include <climits>
#include <set>

#include "gdi_test_support.h"

namespace {

class TextOutput : public test::GdiTest {};

// White on black leaves the coverage in every colour channel; grey levels with ANTIALIASED_QUALITY,
// two levels otherwise; the fourth byte stays 0.
TEST_F(TextOutput, CoverageIsWrittenIntoEveryChannel) {
    for (DWORD quality : {ANTIALIASED_QUALITY, DEFAULT_QUALITY, NONANTIALIASED_QUALITY}) {
        SCOPED_TRACE(quality);
        test::Dib dib = UseDib(96, 32);
        UseFont(-13, FW_BOLD, "Verdana", quality);
        ASSERT_TRUE(ExtTextOutA(dc_, 2, 2, ETO_OPAQUE, nullptr, "Quality", 7, nullptr));
        std::set<uint32_t> levels;
        for (int y = 0; y < dib.height; ++y)
            for (int x = 0; x < dib.width; ++x) {
                const uint32_t p = dib.At(x, y);
                ASSERT_EQ(p >> 24, 0u);
                ASSERT_EQ((p >> 16) & 0xFF, p & 0xFF);
                ASSERT_EQ((p >> 8) & 0xFF, p & 0xFF);
                levels.insert(p & 0xFF);
            }
        EXPECT_TRUE(levels.count(0) && levels.count(255));
        if (quality == ANTIALIASED_QUALITY) EXPECT_GT(levels.size(), 8u);
        else EXPECT_EQ(levels.size(), 2u);
    }
}

// The same text in a top-down and a bottom-up section gives the same image; the bottom-up section's
// memory holds it upside down.
TEST_F(TextOutput, BothSectionOrientationsHoldTheSameImage) {
    test::Dib down = UseDib(80, 24, false);
    UseFont(-13);
    ASSERT_TRUE(ExtTextOutA(dc_, 1, 1, 0, nullptr, "Tq!", 3, nullptr));
    test::Dib up = UseDib(80, 24, true);
    ASSERT_TRUE(ExtTextOutA(dc_, 1, 1, 0, nullptr, "Tq!", 3, nullptr));
    EXPECT_GT(test::Ink(down).right, 0);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) {
            ASSERT_EQ(up.At(x, y), down.At(x, y)) << x << "," << y;
            ASSERT_EQ(up.bits[static_cast<size_t>(23 - y) * 80 + x], down.bits[static_cast<size_t>(y) * 80 + x]);
        }
}

// Text running past every edge is cut at the bitmap: what remains matches the same text drawn into a
// larger bitmap, and nothing is written outside (the address sanitizer watches the section's memory).
TEST_F(TextOutput, TextIsClippedAtTheBitmapEdges) {
    const int w = 40, h = 24, band = 32;
    test::Dib big = UseDib(w + 2 * band, h + 2 * band);
    UseFont(-30, FW_BOLD);
    const POINT places[] = {{-9, -11}, {w - 12, h - 10}, {-3, h - 6}, {w - 5, -20}, {INT_MIN / 4, 0}, {0, INT_MAX / 4}};
    for (POINT p : places) {
        ASSERT_TRUE(ExtTextOutA(dc_, p.x + band, p.y + band, ETO_OPAQUE, nullptr, "Wg", 2, nullptr));
    }
    test::Dib small = UseDib(w, h);
    for (POINT p : places) {
        ASSERT_TRUE(ExtTextOutA(dc_, p.x, p.y, ETO_OPAQUE, nullptr, "Wg", 2, nullptr));
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(small.At(x, y), big.At(x + band, y + band)) << x << "," << y;
    EXPECT_GT(test::Ink(small).right, 0);
}

TEST_F(TextOutput, OpaqueRectangleIsFilledWithinTheBitmap) {
    test::Dib dib = UseDib(16, 8);
    SetBkColor(dc_, RGB(0x12, 0x34, 0x56));
    const RECT part{-10, -10, 5, 3};
    ASSERT_TRUE(ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &part, "", 0, nullptr));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(dib.At(x, y), (x < 5 && y < 3) ? 0x123456u : 0u) << x << "," << y;
    const RECT everything{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    SetBkColor(dc_, RGB(0, 0, 0xFF));
    ASSERT_TRUE(ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &everything, nullptr, 0, nullptr));
    EXPECT_EQ(dib.At(15, 7), 0x0000FFu);
}

// The background mode decides whether the text's cells are filled; ETO_CLIPPED keeps to the rectangle.
TEST_F(TextOutput, BackgroundModeAndClipRectangle) {
    test::Dib dib = UseDib(64, 32);
    UseFont(-13);
    const SIZE cell = Extent("ab");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) dib.bits[y * 64 + x] = 0x00808080;
    SetBkColor(dc_, RGB(0, 0, 0));
    EXPECT_EQ(SetBkMode(dc_, TRANSPARENT), OPAQUE);
    ASSERT_TRUE(ExtTextOutA(dc_, 0, 0, 0, nullptr, "ab", 2, nullptr));
    EXPECT_EQ(dib.At(0, 0), 0x808080u);  // background left alone
    SetBkMode(dc_, OPAQUE);
    ASSERT_TRUE(ExtTextOutA(dc_, 0, 0, 0, nullptr, "ab", 2, nullptr));
    EXPECT_EQ(dib.At(0, 0), 0u);
    EXPECT_EQ(dib.At(cell.cx - 1, cell.cy - 1), 0u);
    EXPECT_EQ(dib.At(cell.cx, 0), 0x808080u);
    EXPECT_EQ(dib.At(0, cell.cy), 0x808080u);

    const RECT clip{40, 0, 44, 32};
    ASSERT_TRUE(ExtTextOutA(dc_, 36, 0, ETO_CLIPPED, &clip, "WW", 2, nullptr));
    for (int y = 0; y < 32; ++y) {
        EXPECT_EQ(dib.At(39, y), 0x808080u);
        EXPECT_EQ(dib.At(44, y), 0x808080u);
    }
}

TEST_F(TextOutput, AlignmentMovesTheReferencePoint) {
    test::Dib dib = UseDib(100, 60);
    UseFont(-20);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    const SIZE size = Extent("HH");
    EXPECT_EQ(SetTextAlign(dc_, TA_RIGHT | TA_BASELINE), static_cast<UINT>(TA_TOP | TA_LEFT));
    SetBkMode(dc_, TRANSPARENT);
    ASSERT_TRUE(ExtTextOutA(dc_, 90, 40, 0, nullptr, "HH", 2, nullptr));
    const RECT ink = test::Ink(dib);
    EXPECT_EQ(ink.bottom, 40);  // capitals stand on the baseline
    EXPECT_LE(ink.right, 90);
    EXPECT_GE(ink.left, 90 - size.cx);
    EXPECT_GT(ink.right, 90 - 4);
}

TEST_F(TextOutput, UnderlineAndStrikeOutRunUnderAndThroughTheText) {
    for (bool underline : {true, false}) {
        SCOPED_TRACE(underline);
        test::Dib lined = UseDib(64, 32);
        UseFont(-20, FW_NORMAL, "DejaVu Sans", ANTIALIASED_QUALITY, false, underline, !underline);
        ExtTextOutA(dc_, 2, 2, 0, nullptr, "i i", 3, nullptr);
        const int width = Extent("i i").cx;
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        // Some row is full across the text's width, the space included.
        bool found = false;
        for (int y = 0; y < 32 && !found; ++y) {
            bool full = true;
            for (int x = 2; x < 2 + width; ++x) full = full && (lined.At(x, y) & 0xFF) == 0xFF;
            found = full;
            if (full) {
                EXPECT_EQ(underline, y >= 2 + tm.tmAscent) << y;
            }
        }
        EXPECT_TRUE(found);
        EXPECT_EQ(underline ? tm.tmUnderlined : tm.tmStruckOut, 1);
    }
}

TEST_F(TextOutput, BoldAndItalicChangeTheGlyphs) {
    auto draw = [&](int weight, bool italic) {
        test::Dib dib = UseDib(64, 32);
        UseFont(-20, weight, "DejaVu Sans", ANTIALIASED_QUALITY, italic);
        ExtTextOutA(dc_, 4, 2, 0, nullptr, "l", 1, nullptr);
        long long ink = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x) ink += dib.At(x, y) & 0xFF;
        return std::make_pair(ink, test::Ink(dib));
    };
    const auto regular = draw(FW_NORMAL, false);
    const auto bold = draw(FW_BOLD, false);
    const auto italic = draw(FW_NORMAL, true);
    EXPECT_GT(bold.first, regular.first * 5 / 4);
    EXPECT_GT(italic.second.right - italic.second.left, regular.second.right - regular.second.left + 2);  // slanted
}

TEST_F(TextOutput, BadCallsFail) {
    UseDib(8, 8);
    EXPECT_FALSE(ExtTextOutA(nullptr, 0, 0, 0, nullptr, "a", 1, nullptr));
    EXPECT_FALSE(ExtTextOutA(dc_, 0, 0, 0, nullptr, nullptr, 1, nullptr));
    EXPECT_FALSE(TextOutA(dc_, 0, 0, "a", -1));
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(TextOutA(screen, 0, 0, "a", 1));  // the screen has no pixels to draw into
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(TextOutA(dc_, 0, 0, "a", 1));
}

// A HUD-like line for eyeballing: "gdi_text_line.png" next to the test program.
TEST_F(TextOutput, WritesARenderedLine) {
    test::Dib dib = UseDib(480, 44);
    UseFont(-13, FW_BOLD, "Verdana");
    const char line[] = "Frame 60.00 fps  Verdana 10 bold: The quick brown fox";
    ASSERT_TRUE(ExtTextOutA(dc_, 4, 4, ETO_OPAQUE, nullptr, line, sizeof line - 1, nullptr));
    UseFont(-16, FW_NORMAL, "Arial", ANTIALIASED_QUALITY, true, true);
    ASSERT_TRUE(TextOutA(dc_, 4, 22, "Arial 12 italic underlined, 0123456789", 38));
    machine::Frame frame;
    frame.width = 480;
    frame.height = 44;
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 480; ++x) frame.pixels.push_back(dib.At(x, y));
    std::string error;
    EXPECT_TRUE(machine::WritePng(frame, test::OutputPath("gdi_text_line.png"), error)) << error;
}

}  // namespace
