// Measuring text, the batching of the draws and the draws' failures.
#include <gtest/gtest.h>

#include <string>

#include "d3d9/control.h"
#include "font_fixture.h"

namespace {

using text_test::FontTest;

class FontDrawingTest : public FontTest {
protected:
    void SetUp() override {
        FontTest::SetUp();
        MakeDevice();
        font_ = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    }
    float Advance(char c) const {
        const float* e = font_->m_glyphCoords[c - 32];
        return (e[2] - e[0]) * font_->m_textureWidth - 2.0f * font_->m_glyphMargin;
    }
    LONG LineHeight() const {
        return LONG((font_->m_glyphCoords[0][3] - font_->m_glyphCoords[0][1]) * font_->m_textureHeight);
    }
    SIZE Measure(const char* text) {
        SIZE extent{-1, -1};
        EXPECT_EQ(font_->MeasureText(text, &extent), S_OK);
        return extent;
    }
    // The primitive counts of the DrawPrimitive calls one draw makes.
    std::vector<std::string> DrawCalls(const std::function<HRESULT()>& draw) {
        d3d9::control::EnableCallLog(true);
        d3d9::control::ClearCallLog();
        Frame(0, [&] { EXPECT_EQ(draw(), S_OK); });
        return d3d9::control::CallsNamed("DrawPrimitive");
    }
    CD3DFont* font_ = nullptr;
};

TEST_F(FontDrawingTest, MeasuresTheWidestLineAndOneLineHeightPerLine) {
    const LONG L = LineHeight();
    EXPECT_GT(L, 10);
    const SIZE empty = Measure("");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, L);
    EXPECT_EQ(Measure("AB").cx, LONG(Advance('A') + Advance('B')));
    EXPECT_EQ(Measure("AB").cy, L);
    const SIZE twoLines = Measure("AB\nABCD");
    EXPECT_EQ(twoLines.cx, LONG(Advance('A') + Advance('B') + Advance('C') + Advance('D')));
    EXPECT_EQ(twoLines.cy, 2 * L);
    EXPECT_EQ(Measure("ABCD\nAB").cx, twoLines.cx);
    EXPECT_EQ(Measure("AB\n").cy, 2 * L);
    EXPECT_EQ(Measure(" ").cx, LONG(Advance(' ')));
    EXPECT_GT(Measure(" ").cx, 0);
}

TEST_F(FontDrawingTest, ControlCodesDeleteAndHighCodesMeasureAsNothing) {
    const SIZE plain = Measure("A B");
    const SIZE mixed = Measure("A\t\r\x7f\x80\xff\x01 B\x7f");
    EXPECT_EQ(mixed.cx, plain.cx);
    EXPECT_EQ(mixed.cy, plain.cy);
    EXPECT_EQ(Measure("\x7f\x7f").cx, 0);
}

TEST_F(FontDrawingTest, MeasuringNothingFailsWithoutWriting) {
    SIZE extent{7, 9};
    EXPECT_EQ(font_->MeasureText(nullptr, &extent), E_FAIL);
    EXPECT_EQ(extent.cx, 7);
    EXPECT_EQ(extent.cy, 9);
    EXPECT_EQ(font_->MeasureText("text", nullptr), E_FAIL);
}

TEST_F(FontDrawingTest, DrawsFiftyGlyphsABatchAndNothingForSpacesOrSkippedCodes) {
    const std::string fifty(50, 'x'), fiftyOne(51, 'x');
    const struct {
        std::string text;
        std::vector<std::string> calls;
    } cases[] = {
        {"", {}},
        {"     ", {}},
        {"\t\r\x7f\x80\xff\n", {}},
        {"ab c", {"DrawPrimitive(4,0,6)"}},
        {fifty, {"DrawPrimitive(4,0,100)"}},
        {fiftyOne, {"DrawPrimitive(4,0,100)", "DrawPrimitive(4,0,2)"}},
        {fifty + "   \n" + fifty, {"DrawPrimitive(4,0,100)", "DrawPrimitive(4,0,100)"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DrawCalls([&] { return font_->DrawScreenText(0, 0, 0xFFFFFFFF, c.text.c_str(), 0); }), c.calls)
            << "\"" << c.text << "\"";
        EXPECT_EQ(DrawCalls([&] { return font_->DrawTextScaled(0, 0, 0, 0.1f, 0.1f, 0xFFFFFFFF, c.text.c_str(), 0); }),
                  c.calls);
        EXPECT_EQ(DrawCalls([&] { return font_->DrawTextIn3D(c.text.c_str(), 0); }), c.calls);
    }
}

TEST_F(FontDrawingTest, ANullTextOrAFontWithoutItsVolatileObjectsDrawsNothingAndFails) {
    d3d9::control::EnableCallLog(true);
    const auto draws = [&](const char* text) {
        Frame(0, [&] {
            EXPECT_EQ(font_->DrawScreenText(0, 0, 0xFFFFFFFF, text, 0), E_FAIL);
            EXPECT_EQ(font_->DrawTextScaled(0, 0, 0, 0.1f, 0.1f, 0xFFFFFFFF, text, 0), E_FAIL);
            EXPECT_EQ(font_->DrawTextIn3D(text, 0), E_FAIL);
        });
    };
    draws(nullptr);
    font_->ReleaseVolatileResources();
    draws("Text");
    font_->ReleaseDeviceResources();
    draws("Text");
    EXPECT_TRUE(d3d9::control::CallsNamed("DrawPrimitive").empty());
    EXPECT_TRUE(d3d9::control::CallsNamed("SetFVF").empty()) << "a failing draw touches nothing";
}

}  // namespace
