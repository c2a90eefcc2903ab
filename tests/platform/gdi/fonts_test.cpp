#include <cstring>

#include "gdi/fonts.h"
#include "gdi_test_support.h"

namespace {

class Fonts : public test::GdiTest {};

struct HeightCase {
    int height;
    int weight;
    int cell;  // ascent + descent in DejaVu Sans at that size
};

// Negative: the em size; positive: the cell height itself.
TEST_F(Fonts, HeightIsTheEmSizeWhenNegativeAndTheCellWhenPositive) {
    const HeightCase cases[] = {{-13, FW_BOLD, 15}, {-20, FW_NORMAL, 23}, {-40, FW_BOLD, 47}, {-96, FW_BOLD, 112},
                                {18, FW_NORMAL, 18},  {15, FW_BOLD, 15},  {40, FW_NORMAL, 40}};
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(c.height);
        UseFont(c.height, c.weight);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
        EXPECT_EQ(tm.tmHeight, c.cell);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        if (c.height < 0) {
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -c.height);
        }
        EXPECT_EQ(tm.tmWeight, c.weight);
        EXPECT_EQ(Extent("W").cy, c.cell);
    }
}

TEST_F(Fonts, TheCellHeightIsTheSameForEveryCharacterAndAdvancesAdd) {
    UseFont(-13, FW_BOLD);
    const SIZE space = Extent(" ");
    EXPECT_GT(space.cx, 0);
    for (int c = 32; c <= 126; ++c) {
        const char text[] = {static_cast<char>(c), 0};
        const SIZE size = Extent(text);
        EXPECT_EQ(size.cy, space.cy) << c;
        EXPECT_GT(size.cx, 0) << c;
    }
    EXPECT_EQ(Extent("Wi").cx, Extent("W").cx + Extent("i").cx);
    EXPECT_EQ(Extent("").cx, 0);
    EXPECT_EQ(Extent("").cy, space.cy);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(dc_, "a", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(dc_, "a", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(dc_, nullptr, 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "a", 1, &size));
}

// The glyphs are drawn at the size the metrics describe: a capital fills most of the ascent.
TEST_F(Fonts, GlyphsAreRenderedAtTheRequestedSize) {
    for (int height : {-13, -48, 40}) {
        SCOPED_TRACE(height);
        test::Dib dib = UseDib(128, 128);
        UseFont(height);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
        ASSERT_TRUE(ExtTextOutA(dc_, 4, 4, ETO_OPAQUE, nullptr, "H", 1, nullptr));
        const RECT ink = test::Ink(dib);
        const double em = tm.tmHeight - tm.tmInternalLeading;
        // DejaVu Sans' capitals are 0.73 em tall and stand on the baseline.
        EXPECT_NEAR(ink.bottom - ink.top, 0.73 * em, 1.5);
        EXPECT_EQ(ink.bottom, 4 + tm.tmAscent);
    }
}

TEST_F(Fonts, MissingFacesAreSubstituted) {
    for (const char* face : {"Verdana", "Arial", "MS Shell Dlg", "Tahoma", "No Such Face At All", ""}) {
        SCOPED_TRACE(face);
        test::Dib dib = UseDib(64, 32);
        UseFont(-13, FW_BOLD, face);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
        EXPECT_GT(tm.tmHeight, 13);
        ASSERT_TRUE(ExtTextOutA(dc_, 0, 0, 0, nullptr, "Ag", 2, nullptr));
        EXPECT_GT(test::Ink(dib).right, 0);
    }
    // Arial's metric-compatible stand-in is chosen when it is installed.
    LOGFONTA arial{};
    arial.lfHeight = -13;
    std::strcpy(arial.lfFaceName, "Arial");
    auto font = gdi::Realise(arial);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Metrics().family, "Liberation Sans");
}

TEST_F(Fonts, CreateFontIndirectKeepsTheFieldsAndReadsNoFurtherThanTheName) {
    LOGFONTA lf{};
    lf.lfHeight = 18;
    lf.lfStrikeOut = 1;
    std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);  // a full name without terminator
    HFONT font = CreateFontIndirectA(&lf);
    ASSERT_NE(font, nullptr);
    owned_.push_back(font);
    oldFont_ = SelectObject(dc_, font);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
    EXPECT_EQ(tm.tmHeight, 18);
    EXPECT_EQ(tm.tmStruckOut, 1);
    EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    EXPECT_EQ(machine::control::LiveObjects("font"), 1);
}

TEST_F(Fonts, SelectObjectAnswersThePreviousFontAndSelectedFontsAreNotDeleted) {
    HFONT first = CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Verdana");
    HFONT second = CreateFontA(20, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    HGDIOBJ original = SelectObject(dc_, first);
    ASSERT_NE(original, nullptr);  // the context's default font
    EXPECT_EQ(SelectObject(dc_, second), first);
    EXPECT_TRUE(DeleteObject(first));

    EXPECT_FALSE(DeleteObject(second));  // still selected
    EXPECT_EQ(Extent("x").cy, 20);      // and still in use
    EXPECT_EQ(SelectObject(dc_, original), second);
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_EQ(SelectObject(dc_, second), nullptr);  // gone
    EXPECT_TRUE(DeleteObject(original));            // a stock object is never deleted
    EXPECT_NE(SelectObject(dc_, original), nullptr);
    EXPECT_EQ(machine::control::LiveObjects("font"), 0);

    // A font in a context that is deleted can be deleted afterwards.
    HFONT third = CreateFontA(-10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    HDC other = CreateCompatibleDC(nullptr);
    SelectObject(other, third);
    EXPECT_FALSE(DeleteObject(third));
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteObject(third));
}

}  // namespace
