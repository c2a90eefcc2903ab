// Glyph outlines: the curves of a logical font's glyphs in design units, one closed contour a loop.
#include <gtest/gtest.h>

#include <cstring>

#include "gdi/glyph_outlines.h"
#include "windows.h"

namespace {

LOGFONTA FontOf(const char* face, LONG weight = FW_NORMAL, BYTE italic = 0) {
    LOGFONTA lf{};
    lf.lfHeight = -20;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

bool OnlyLines(const gdi::GlyphShape& glyph) {
    for (const gdi::OutlineContour& contour : glyph.contours)
        for (const gdi::OutlineCurve& curve : contour.curves)
            if (curve.kind != gdi::OutlineCurve::Kind::Line) return false;
    return true;
}

TEST(GlyphOutlines, EachCharacterGivesClosedContoursInTheFacesDesignUnits) {
    gdi::TextOutlines outlines;
    ASSERT_TRUE(gdi::GlyphOutlines(FontOf("DejaVu Sans"), "I g", outlines));
    EXPECT_EQ(outlines.unitsPerEm, 2048);
    ASSERT_EQ(outlines.glyphs.size(), 3u);
    for (const gdi::GlyphShape& glyph : outlines.glyphs) {
        EXPECT_GT(glyph.advance, 0);
        for (const gdi::OutlineContour& contour : glyph.contours) {
            ASSERT_FALSE(contour.curves.empty());
            EXPECT_EQ(contour.curves.back().to.x, contour.start.x);
            EXPECT_EQ(contour.curves.back().to.y, contour.start.y);
        }
    }
    // The I is one box of four straight sides, the space has no contour, and the g
    // is drawn with curves.
    const gdi::GlyphShape& bar = outlines.glyphs[0];
    ASSERT_EQ(bar.contours.size(), 1u);
    EXPECT_TRUE(OnlyLines(bar));
    EXPECT_EQ(bar.contours[0].curves.size(), 4u);
    EXPECT_TRUE(outlines.glyphs[1].contours.empty());
    EXPECT_FALSE(OnlyLines(outlines.glyphs[2]));
}

TEST(GlyphOutlines, TheSizeDoesNotMatterButTheStyleDoes) {
    gdi::TextOutlines regular, large, bold;
    LOGFONTA big = FontOf("DejaVu Sans");
    big.lfHeight = -200;
    ASSERT_TRUE(gdi::GlyphOutlines(FontOf("DejaVu Sans"), "I", regular));
    ASSERT_TRUE(gdi::GlyphOutlines(big, "I", large));
    ASSERT_TRUE(gdi::GlyphOutlines(FontOf("DejaVu Sans", FW_BOLD), "I", bold));
    EXPECT_EQ(large.glyphs[0].advance, regular.glyphs[0].advance);
    EXPECT_EQ(large.glyphs[0].contours[0].start.x, regular.glyphs[0].contours[0].start.x);
    EXPECT_GT(bold.glyphs[0].advance, regular.glyphs[0].advance);
}

TEST(GlyphOutlines, EmptyTextHasNoGlyphs) {
    gdi::TextOutlines outlines;
    outlines.glyphs.resize(2);
    ASSERT_TRUE(gdi::GlyphOutlines(FontOf("DejaVu Sans"), "", outlines));
    EXPECT_TRUE(outlines.glyphs.empty());
}

}  // namespace
