// The sequence a glyph texture is built with: a memory context on a top-down section, a font sized
// from the resolution, every printable character laid out in rows (which may run past the bottom),
// and everything restored and deleted afterwards.
#include <cmath>

#include "gdi_test_support.h"

namespace {

struct Canvas {
    int pointSize;
    int size;
    int em;    // the character height asked for
    int cell;  // the cell height GDI gives in DejaVu Sans Bold
};

class GlyphCanvas : public ::testing::TestWithParam<Canvas> {
protected:
    void SetUp() override { machine::control::Reset(); }
    void TearDown() override { machine::control::Reset(); }
};

TEST_P(GlyphCanvas, LaysOutEveryCharacterAndGivesEverythingBack) {
    const Canvas c = GetParam();
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), c.size, -c.size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    SetMapMode(dc, MM_TEXT);
    const int height = -MulDiv(c.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    EXPECT_EQ(height, -c.em);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, "Verdana");
    ASSERT_NE(font, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    ASSERT_NE(oldBitmap, nullptr);
    ASSERT_NE(oldFont, nullptr);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, 0);
    SetTextAlign(dc, TA_TOP | TA_LEFT);

    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, " ", 1, &size));
    EXPECT_EQ(size.cy, c.cell);
    const int margin = static_cast<int>(std::ceil(size.cy * 0.3));
    unsigned x = margin, y = 0;
    for (char ch = 32; ch < 127; ++ch) {
        ASSERT_TRUE(GetTextExtentPoint32A(dc, &ch, 1, &size));
        if (x + size.cx + margin > static_cast<unsigned>(c.size)) {
            x = margin;
            y += size.cy + 1;
        }
        ASSERT_TRUE(ExtTextOutA(dc, x, y, ETO_OPAQUE, nullptr, &ch, 1, nullptr));
        x += size.cx + 2 * margin;
    }
    // The last row reaches past the bottom here: it is cut, not written beyond the section.
    EXPECT_EQ(y + size.cy > static_cast<unsigned>(c.size), c.pointSize == 15);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    bool inkInLastRow = false;
    for (int px = 0; px < c.size; ++px)
        inkInLastRow = inkInLastRow || (pixels[static_cast<size_t>(c.size - 1) * c.size + px] & 0xFF);
    EXPECT_EQ(inkInLastRow, c.pointSize == 15);

    EXPECT_EQ(SelectObject(dc, oldBitmap), bitmap);
    EXPECT_EQ(SelectObject(dc, oldFont), font);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteDC(dc));
    for (const char* kind : {"bitmap", "font", "memory dc"}) EXPECT_EQ(machine::control::LiveObjects(kind), 0) << kind;
}

INSTANTIATE_TEST_SUITE_P(Sizes, GlyphCanvas,
                         ::testing::Values(Canvas{10, 256, 13, 15}, Canvas{15, 256, 20, 23}, Canvas{16, 512, 21, 24}));

}  // namespace
