// Text drawn on the device and compared with references composed from the font's own glyph texture:
// screen lines, scaled lines, text with a smaller text scale, clipping at the viewport and text in 3D.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "d3dx9math.h"
#include "font_fixture.h"

namespace {

using text_test::FontTest;

// A glyph quad as the font lays it out, in pixels, with its cell in texels.
struct Quad {
    float xl, xr, yt, yb;
    const float* cell;
};

class TextRenderingTest : public FontTest {
protected:
    // The quads of screen text (the layout rules of the screen draw, without flags).
    std::vector<Quad> ScreenQuads(const CD3DFont& f, float x, float y, const char* text) {
        std::vector<Quad> quads;
        const float s = f.m_textScale, m = float(f.m_glyphMargin);
        const float L = (f.m_glyphCoords[0][3] - f.m_glyphCoords[0][1]) * f.m_textureHeight;
        x -= m;
        const float start = x;
        for (const char* p = text; *p; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c == '\n') {
                x = start;
                y += L;
            }
            if (c < 32 || c > 126) continue;
            const float* e = f.m_glyphCoords[c - 32];
            const float w = (e[2] - e[0]) * f.m_textureWidth / s, h = (e[3] - e[1]) * f.m_textureHeight / s;
            if (c != ' ') quads.push_back({x - 0.5f, x + w - 0.5f, y - 0.5f, y + h - 0.5f, e});
            x += w - 2 * m;
        }
        return quads;
    }

    // The picture the quads give with point sampling at pixel centres, alpha test and alpha blending over
    // the background, inside the clip rectangle.
    std::vector<uint32_t> Compose(const CD3DFont& f, const std::vector<Quad>& quads, uint32_t colour,
                                  uint32_t background, RECT clip) {
        const std::vector<uint16_t> texels = Texels(f);
        std::vector<uint32_t> image(size_t(width_) * height_, background & 0x00FFFFFF);
        for (const Quad& q : quads) {
            for (int py = std::max<int>(clip.top, int(std::ceil(q.yt))); py < std::min<float>(clip.bottom, q.yb); ++py)
                for (int px = std::max<int>(clip.left, int(std::ceil(q.xl))); px < std::min<float>(clip.right, q.xr);
                     ++px) {
                    const float u = q.cell[0] + (q.cell[2] - q.cell[0]) * (px - q.xl) / (q.xr - q.xl);
                    const float v = q.cell[1] + (q.cell[3] - q.cell[1]) * (py - q.yt) / (q.yb - q.yt);
                    const int tx = std::clamp(int(u * f.m_textureWidth), 0, int(f.m_textureWidth) - 1);
                    const int ty = std::clamp(int(v * f.m_textureHeight), 0, int(f.m_textureHeight) - 1);
                    const uint16_t texel = texels[size_t(ty) * f.m_textureWidth + tx];
                    const float a = float(texel >> 12) / 15.0f * float(colour >> 24) / 255.0f;
                    if (a * 255.0f < 8.0f) continue;  // the alpha test
                    uint32_t& pixel = image[size_t(py) * width_ + px];
                    uint32_t out = 0;
                    for (int shift = 0; shift < 24; shift += 8) {
                        const float src = float((colour >> shift) & 0xFF), dst = float((pixel >> shift) & 0xFF);
                        out |= uint32_t(std::lround(src * a + dst * (1 - a))) << shift;
                    }
                    pixel = out;
                }
        }
        return image;
    }

    RECT Whole() const { return {0, 0, LONG(width_), LONG(height_)}; }

    // Pixels whose channels differ from the reference by more than the tolerance.
    size_t Differing(const std::vector<uint32_t>& expected, int tolerance = 3) {
        const std::vector<uint32_t> actual = Pixels();
        size_t count = 0;
        for (size_t i = 0; i < actual.size(); ++i)
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int((actual[i] >> shift) & 0xFF) - int((expected[i] >> shift) & 0xFF)) > tolerance) {
                    ++count;
                    break;
                }
        return count;
    }

    // The box of pixels that differ from the background; empty (left > right) when there are none.
    RECT InkBox(uint32_t background) {
        const std::vector<uint32_t> pixels = Pixels();
        RECT box{LONG(width_), LONG(height_), -1, -1};
        for (UINT y = 0; y < height_; ++y)
            for (UINT x = 0; x < width_; ++x)
                if (pixels[size_t(y) * width_ + x] != (background & 0x00FFFFFF)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x);
                    box.bottom = std::max<LONG>(box.bottom, y);
                }
        return box;
    }
};

TEST_F(TextRenderingTest, AHudLineMatchesItsGlyphsTexelForPixel) {
    MakeDevice(400, 40);
    CD3DFont* font = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const char* line1 = "Motion blur: 59.94 fps (800x600), X8R8G8B8 (D24S8)";
    const char* line2 = "HAL (sw vp): Morvath software device";
    const uint32_t yellow = 0xFFFFFF00, background = 0xFF102040;
    Frame(background, [&] {
        EXPECT_EQ(font->DrawScreenText(2, 0, yellow, line1, 0), S_OK);
        EXPECT_EQ(font->DrawScreenText(2, 20, yellow, line2, 0), S_OK);
    });
    WriteBackBuffer("text_hud_line.png");
    std::vector<Quad> quads = ScreenQuads(*font, 2, 0, line1);
    const std::vector<Quad> second = ScreenQuads(*font, 2, 20, line2);
    quads.insert(quads.end(), second.begin(), second.end());
    EXPECT_EQ(Differing(Compose(*font, quads, yellow, background, Whole())), 0u);
    const RECT ink = InkBox(background);
    EXPECT_LE(ink.left, 4);
    EXPECT_GT(ink.right, 300) << "the line runs across most of the 400 pixels";
    EXPECT_LT(ink.bottom, 36);
}

TEST_F(TextRenderingTest, LinesFollowOneLineHeightApartAndTranslucentColoursBlend) {
    MakeDevice(256, 64);
    CD3DFont* font = MakeFont("Liberation Sans", 12, 0);
    const char* text = "First line\nsecond, \x7f\t skipped";
    const uint32_t colour = 0x80FF8040, background = 0xFF204080;
    Frame(background, [&] { EXPECT_EQ(font->DrawScreenText(5, 3, colour, text, 0), S_OK); });
    EXPECT_EQ(Differing(Compose(*font, ScreenQuads(*font, 5, 3, text), colour, background, Whole())), 0u);
    WriteBackBuffer("text_two_lines.png");
}

TEST_F(TextRenderingTest, TextIsClippedAtTheViewport) {
    MakeDevice(256, 64);
    CD3DFont* font = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const D3DVIEWPORT9 viewport{20, 8, 100, 40, 0.0f, 1.0f};
    const char* text = "Clipped at the viewport's edges\nand below it\nand further";
    Frame(0xFF000000, [&] {
        device_->SetViewport(&viewport);
        EXPECT_EQ(font->DrawScreenText(10, 4, 0xFFFFFFFF, text, 0), S_OK);
    });
    const RECT clip{20, 8, 120, 48};
    EXPECT_EQ(Differing(Compose(*font, ScreenQuads(*font, 10, 4, text), 0xFFFFFFFF, 0, clip)), 0u);
    const RECT ink = InkBox(0);
    EXPECT_GE(ink.left, 20);
    EXPECT_GE(ink.top, 8);
    EXPECT_LT(ink.right, 120);
    EXPECT_LT(ink.bottom, 48);
}

TEST_F(TextRenderingTest, CentredScreenTextCentresItsFirstLine) {
    MakeDevice(256, 64);
    CD3DFont* font = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const char* text = "Centred\nand a much longer second line";
    Frame(0xFF000000, [&] {
        EXPECT_EQ(font->DrawScreenText(0, 0, 0xFFFFFFFF, text, FontDrawFlags::CenterX | FontDrawFlags::CenterY), S_OK);
    });
    // Centred on the first line's width, and on one line's height.
    SIZE extent{};
    font->MeasureText("Centred", &extent);
    const float x = (256 - float(extent.cx)) / 2, y = (64 - float(extent.cy)) / 2;
    EXPECT_EQ(Differing(Compose(*font, ScreenQuads(*font, x, y, text), 0xFFFFFFFF, 0, Whole())), 0u);
}

TEST_F(TextRenderingTest, AHalfTextScaleDrawsGlyphsTwiceTheirTexelSize) {
    MakeDevice(512, 128, 1024);
    CD3DFont* font = MakeFont("Verdana", 72, 0);
    ASSERT_EQ(font->m_textScale, 0.5f);
    Frame(0xFF000000, [&] { EXPECT_EQ(font->DrawScreenText(4, 4, 0xFFFFFFFF, "Hg", 0), S_OK); });
    WriteBackBuffer("text_half_scale.png");
    const std::vector<uint32_t> expected = Compose(*font, ScreenQuads(*font, 4, 4, "Hg"), 0xFFFFFFFF, 0, Whole());
    EXPECT_EQ(Differing(expected), 0u);
    // The capital H's stem is about twice as tall on screen as in the texture.
    const RECT ink = InkBox(0);
    EXPECT_GT(ink.bottom - ink.top, 80);
}

TEST_F(TextRenderingTest, ScaledTextFollowsTheViewportAndVanishesBelowIt) {
    MakeDevice(256, 64);
    CD3DFont* font = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const D3DVIEWPORT9 viewport{0, 0, 256, 64, 0.0f, 1.0f};
    const float L = (font->m_glyphCoords[0][3] - font->m_glyphCoords[0][1]) * font->m_textureHeight;
    // Glyph height one half of the viewport's height: 32 pixels, twice and a bit the texel height.
    Frame(0xFF000000, [&] {
        device_->SetViewport(&viewport);
        EXPECT_EQ(font->DrawTextScaled(-1, -1, 0.5f, 0.5f, 0.5f, 0xFFFFFFFF, "Hi!", 0), S_OK);
    });
    WriteBackBuffer("text_scaled.png");
    const float k = 64 * 0.5f / L, m = float(font->m_glyphMargin);
    std::vector<Quad> quads;
    float px = -m * k;
    for (char c : std::string("Hi!")) {
        const float* e = font->m_glyphCoords[c - 32];
        const float w = (e[2] - e[0]) * font->m_textureWidth * k;
        quads.push_back({px - 0.5f, px + w - 0.5f, -0.5f, 32 - 0.5f, e});
        px += w - 2 * m * k;
    }
    EXPECT_LE(Differing(Compose(*font, quads, 0xFFFFFFFF, 0, Whole())), 4u);
    const RECT ink = InkBox(0);
    EXPECT_LT(ink.bottom, 32);
    EXPECT_GT(ink.bottom - ink.top, 16);
    // Where the showcase puts its line (y 6.8): below the viewport, nothing shows.
    Frame(0xFF000000, [&] {
        EXPECT_EQ(font->DrawTextScaled(-1, 6.8f, 0.5f, 0.05f, 0.05f, 0xFFFFFFFF, "CD3DFont::DrawTextScaled",
                                       FontDrawFlags::CenterX | FontDrawFlags::LinearFilter),
                  S_OK);
    });
    EXPECT_GT(InkBox(0).left, InkBox(0).right) << "nothing drawn";
}

TEST_F(TextRenderingTest, CentredScaledTextSitsInTheMiddleOfTheViewport) {
    MakeDevice(256, 64);
    CD3DFont* font = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    Frame(0xFF000000, [&] {
        EXPECT_EQ(font->DrawTextScaled(0, 0, 0.5f, 0.25f, 0.25f, 0xFFFFFFFF, "MMMM",
                                       FontDrawFlags::CenterX | FontDrawFlags::CenterY | FontDrawFlags::LinearFilter),
                  S_OK);
    });
    const RECT ink = InkBox(0);
    ASSERT_LE(ink.left, ink.right);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 128, 4);
    EXPECT_NEAR(ink.bottom - ink.top, 12, 4) << "glyphs one quarter of the viewport's height";
}

class Text3DTest : public TextRenderingTest {
protected:
    void Camera(float eyeZ) {
        D3DXMATRIX world, view, projection;
        D3DXMatrixIdentity(&world);
        const D3DXVECTOR3 eye(0, 0, eyeZ), at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 4.0f, 1.0f, 100.0f);
        device_->SetTransform(D3DTS_WORLD, &world);
        device_->SetTransform(D3DTS_VIEW, &view);
        device_->SetTransform(D3DTS_PROJECTION, &projection);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    }
    RECT Draw(float eyeZ, DWORD flags, const std::function<void()>& lights = {}) {
        Frame(0xFF000000, [&] {
            Camera(eyeZ);
            if (lights) lights();
            EXPECT_EQ(font_->DrawTextIn3D("Motion blur", flags), S_OK);
        });
        return InkBox(0);
    }
    CD3DFont* font_ = nullptr;
};

TEST_F(Text3DTest, FlatTextFacesTheCameraCentredAndIsCulledFromBehindUnlessAsked) {
    MakeDevice(256, 64);
    font_ = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const DWORD centred = FontDrawFlags::CenterX | FontDrawFlags::CenterY;
    const RECT front = Draw(-8, centred | FontDrawFlags::NoCulling | FontDrawFlags::LinearFilter);
    WriteBackBuffer("text_in_3d.png");
    ASSERT_LE(front.left, front.right);
    EXPECT_NEAR((front.left + front.right) / 2.0, 128, 5);
    EXPECT_NEAR((front.top + front.bottom) / 2.0, 32, 5);
    // One texel 0.1 units: the text is about extent / 10 units wide, seen at 8 units through a 45 degree
    // field of view 64 pixels high.
    SIZE extent{};
    font_->MeasureText("Motion blur", &extent);
    const float pixelsPerUnit = 32.0f / (8.0f * std::tan(D3DX_PI / 8));
    EXPECT_NEAR(front.right - front.left, extent.cx / 10.0f * pixelsPerUnit, 10);
    EXPECT_LE(Draw(-8, centred).left, Draw(-8, centred).right) << "the front side is kept by the font's culling";
    EXPECT_GT(Draw(8, centred).left, Draw(8, centred).right) << "seen from behind, culled";
    const RECT behind = Draw(8, centred | FontDrawFlags::NoCulling);
    ASSERT_LE(behind.left, behind.right);
    EXPECT_NEAR((behind.left + behind.right) / 2.0, 128, 5);
}

TEST_F(Text3DTest, UncentredTextStartsAtTheModelOrigin) {
    MakeDevice(256, 64);
    font_ = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const RECT ink = Draw(-8, 0);
    ASSERT_LE(ink.left, ink.right);
    // Text runs right of x = 0 and up from y = 0: the origin is the screen centre.
    EXPECT_GE(ink.left, 124);
    EXPECT_LE(ink.bottom, 33);
}

TEST_F(Text3DTest, LitTextTakesTheCallersMaterialColour) {
    MakeDevice(256, 64);
    font_ = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const RECT ink = Draw(-8, FontDrawFlags::CenterX | FontDrawFlags::CenterY, [&] {
        device_->SetRenderState(D3DRS_LIGHTING, TRUE);
        D3DMATERIAL9 material{};
        material.Diffuse = {1, 0, 0, 1};
        device_->SetMaterial(&material);
        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 1};
        light.Direction = {0, 0, 1};  // from the camera towards the text, against its normal
        device_->SetLight(0, &light);
        device_->LightEnable(0, TRUE);
    });
    ASSERT_LE(ink.left, ink.right);
    uint32_t brightest = 0;
    for (uint32_t pixel : Pixels()) brightest = std::max(brightest, pixel);
    EXPECT_GE(brightest >> 16, 0xF0u) << "red at full strength";
    EXPECT_EQ(brightest & 0xFFFF, 0u) << "no green or blue";
}

}  // namespace
