// The glyph texture and the glyph table: size bands, the smaller texture limit, the cell rules, the
// texel conversion and the failures of the build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "d3d9/adapter_profile.h"
#include "d3d9/control.h"
#include "font_fixture.h"

namespace {

using text_test::FontTest;

// GDI's metrics of the font the build asks for: one character's advance and cell height.
struct GdiFont {
    GdiFont(int height, int weight, bool italic, const char* face) {
        dc = CreateCompatibleDC(nullptr);
        font = CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, face);
        previous = SelectObject(dc, font);
    }
    ~GdiFont() {
        SelectObject(dc, previous);
        DeleteObject(font);
        DeleteDC(dc);
    }
    SIZE Extent(char c) const {
        SIZE size{};
        GetTextExtentPoint32A(dc, &c, 1, &size);
        return size;
    }
    HDC dc;
    HFONT font;
    HGDIOBJ previous;
};

// Cell of code c in texels: left, top, right, bottom.
struct Cell {
    float left, top, right, bottom;
};
Cell CellOf(const CD3DFont& font, int c) {
    const float* e = font.m_glyphCoords[c - 32];
    return {e[0] * font.m_textureWidth, e[1] * font.m_textureHeight, e[2] * font.m_textureWidth,
            e[3] * font.m_textureHeight};
}

TEST(GlyphTexel, KeepsTheTopFourBitsOfTheBlueByteAsAlphaOfWhite) {
    struct Case {
        DWORD pixel;
        WORD texel;
    } cases[] = {{0x00000000, 0x0000}, {0x00FFFF0F, 0x0000}, {0x00000010, 0x1FFF}, {0x0000007F, 0x7FFF},
                 {0x00000080, 0x8FFF}, {0x000000FF, 0xFFFF}, {0xFF0000FF, 0xFFFF}, {0x00FFFF00, 0x0000}};
    for (const Case& c : cases) EXPECT_EQ(GlyphTexelFromCoverage(c.pixel), c.texel) << std::hex << c.pixel;
}

TEST(FontConstruction, KeepsAtMost79CharactersOfTheFaceAndNoDeviceObjects) {
    const std::string longName(100, 'a');
    CD3DFont font(longName.c_str(), 12, FontCreateFlags::Italic);
    EXPECT_EQ(std::string(font.m_faceName), longName.substr(0, 79));
    EXPECT_EQ(font.m_pointSize, 12u);
    EXPECT_EQ(font.m_createFlags, FontCreateFlags::Italic);
    EXPECT_EQ(font.m_pDevice, nullptr);
    EXPECT_EQ(font.m_pGlyphTexture, nullptr);
    EXPECT_EQ(font.m_pVertexBuffer, nullptr);
    EXPECT_EQ(font.m_pSavedState, nullptr);
    EXPECT_EQ(font.m_pDrawState, nullptr);
    EXPECT_EQ(font.m_glyphMargin, 0u);
    EXPECT_EQ(font.DrawScreenText(0, 0, 0xFFFFFFFF, "a", 0), E_FAIL);
}

class GlyphTextureTest : public FontTest {};

TEST_F(GlyphTextureTest, PointSizesPickTheTextureSizeBands) {
    MakeDevice();
    const struct {
        DWORD points, size;
    } bands[] = {{15, 256}, {16, 512}, {30, 512}, {31, 1024}, {60, 1024}, {61, 2048}};
    for (const auto& band : bands) {
        CD3DFont font("Verdana", band.points, 0);
        ASSERT_EQ(font.CreateDeviceResources(device_), S_OK);
        EXPECT_EQ(font.m_textureWidth, band.size) << band.points << " points";
        EXPECT_EQ(font.m_textureHeight, band.size);
        D3DSURFACE_DESC desc{};
        font.m_pGlyphTexture->GetLevelDesc(0, &desc);
        EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
        EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
        EXPECT_EQ(desc.Width, band.size);
        EXPECT_EQ(font.m_pGlyphTexture->GetLevelCount(), 1u);
        // Every glyph lies inside the texture, if need be rendered smaller.
        for (int c = 32; c <= 126; ++c) {
            const float* e = font.m_glyphCoords[c - 32];
            EXPECT_GE(e[0], 0.0f);
            EXPECT_GE(e[1], 0.0f);
            EXPECT_LE(e[2], 1.0f) << band.points << " points, code " << c;
            EXPECT_LE(e[3], 1.0f) << band.points << " points, code " << c;
        }
        EXPECT_GT(font.m_textScale, 0.5f);
        EXPECT_LE(font.m_textScale, 1.0f);
    }
}

TEST_F(GlyphTextureTest, ASmallerTextureLimitRendersTheGlyphsSmaller) {
    MakeDevice(256, 64, 1024);
    CD3DFont* font = MakeFont("Verdana", 72, 0);
    EXPECT_EQ(font->m_textureWidth, 1024u);
    EXPECT_EQ(font->m_textureHeight, 1024u);
    EXPECT_EQ(font->m_textScale, 0.5f);
    // The GDI font was asked for -MulDiv(72, 96 * 0.5, 72) = -48 pixels.
    const GdiFont gdi(-48, FW_NORMAL, false, "Verdana");
    EXPECT_EQ(CellOf(*font, 'W').bottom - CellOf(*font, 'W').top, float(gdi.Extent('W').cy));
    EXPECT_EQ(CellOf(*font, 'W').right - CellOf(*font, 'W').left,
              float(gdi.Extent('W').cx + 2 * int(font->m_glyphMargin)));
}

// The cell rules, for the font the showcase uses and for an italic one.
struct CellCase {
    const char* face;
    DWORD points, flags;
    int height, weight;
    bool italic;
};

class CellRules : public FontTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellRules, CellsAreTheAdvancePlusTwoMarginsByOneRowHeight) {
    const CellCase& p = GetParam();
    MakeDevice();
    CD3DFont* font = MakeFont(p.face, p.points, p.flags);
    const GdiFont gdi(p.height, p.weight, p.italic, p.face);
    const int rowHeight = gdi.Extent(' ').cy;
    const int margin = int(std::ceil(rowHeight * 0.3));
    EXPECT_EQ(font->m_glyphMargin, DWORD(margin));
    EXPECT_EQ(font->m_textScale, 1.0f);
    Cell previous = CellOf(*font, 32);
    EXPECT_EQ(previous.left, 0.0f);
    EXPECT_EQ(previous.top, 0.0f);
    for (int c = 32; c <= 126; ++c) {
        const Cell cell = CellOf(*font, c);
        EXPECT_FLOAT_EQ(cell.right - cell.left, float(gdi.Extent(char(c)).cx + 2 * margin)) << "code " << c;
        EXPECT_FLOAT_EQ(cell.bottom - cell.top, float(rowHeight)) << "code " << c;
        if (c == 32) continue;
        if (cell.top == previous.top) {
            EXPECT_FLOAT_EQ(cell.left, previous.right) << "code " << c;
        } else {
            // A new row: one texel below the previous, started because the cell would pass the edge.
            EXPECT_FLOAT_EQ(cell.top, previous.bottom + 1) << "code " << c;
            EXPECT_EQ(cell.left, 0.0f);
            EXPECT_GT(previous.right + (cell.right - cell.left), float(font->m_textureWidth));
        }
        EXPECT_LE(cell.right, float(font->m_textureWidth));
        previous = cell;
    }
    // Code 127 has no glyph: its entry stays empty.
    const float* e = font->m_glyphCoords[95];
    EXPECT_EQ(e[0] + e[1] + e[2] + e[3], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Fonts, CellRules,
                         ::testing::Values(CellCase{"Verdana", 10, FontCreateFlags::Bold, -13, FW_BOLD, false},
                                           CellCase{"Liberation Serif", 14, FontCreateFlags::Italic, -19, FW_NORMAL,
                                                    true}));

// The texture holds the canvas converted: each glyph's texels are those of the glyph drawn by GDI at
// the cell's place, white with the coverage's top four bits as alpha.
TEST_F(GlyphTextureTest, TextureHoldsTheGlyphsAsGdiDrawsThem) {
    MakeDevice();
    CD3DFont* font = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    const std::vector<uint16_t> texels = Texels(*font);
    const UINT size = font->m_textureWidth;
    // The same glyphs drawn on a canvas of our own.
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG(size), -LONG(size), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT gdiFont = CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, "Verdana");
    HGDIOBJ oldFont = SelectObject(dc, gdiFont);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, 0);
    for (int c = 32; c <= 126; ++c) {
        const Cell cell = CellOf(*font, c);
        const char ch = char(c);
        ExtTextOutA(dc, int(cell.left) + int(font->m_glyphMargin), int(cell.top), ETO_OPAQUE, nullptr, &ch, 1, nullptr);
    }
    size_t inked = 0, levels = 0;
    bool seen[16] = {};
    for (size_t i = 0; i < texels.size(); ++i) {
        const DWORD pixel = static_cast<const DWORD*>(bits)[i];
        ASSERT_EQ(texels[i], GlyphTexelFromCoverage(pixel)) << "texel " << i % size << ", " << i / size;
        ASSERT_TRUE(texels[i] == 0 || (texels[i] & 0x0FFF) == 0x0FFF);
        if (texels[i]) ++inked;
        seen[texels[i] >> 12] = true;
    }
    for (bool s : seen) levels += s;
    EXPECT_GT(inked, 500u);
    EXPECT_GT(levels, 8u) << "anti-aliased glyphs give many alpha levels";
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(gdiFont);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(GlyphTextureTest, BoldAsksGdiForTheHeavierWeight) {
    MakeDevice();
    CD3DFont* bold = MakeFont("Verdana", 10, FontCreateFlags::Bold);
    CD3DFont* regular = MakeFont("Verdana", 10, 0);
    const GdiFont gdiBold(-13, FW_BOLD, false, "Verdana"), gdiRegular(-13, FW_NORMAL, false, "Verdana");
    float boldWidth = 0, regularWidth = 0;
    for (int c = 33; c <= 126; ++c) {
        boldWidth += CellOf(*bold, c).right - CellOf(*bold, c).left;
        regularWidth += CellOf(*regular, c).right - CellOf(*regular, c).left;
        EXPECT_EQ(CellOf(*regular, c).right - CellOf(*regular, c).left,
                  float(gdiRegular.Extent(char(c)).cx + 2 * int(regular->m_glyphMargin)));
    }
    EXPECT_GT(boldWidth, regularWidth);
    EXPECT_NE(Texels(*bold), Texels(*regular));
}

TEST_F(GlyphTextureTest, TopSizesOfEachBandShrinkUntilTheLastRowFits) {
    MakeDevice();
    for (DWORD points : {15u, 30u, 60u}) {
        CD3DFont font("Verdana", points, FontCreateFlags::Bold);
        ASSERT_EQ(font.CreateDeviceResources(device_), S_OK);
        float bottom = 0;
        for (int c = 32; c <= 126; ++c) bottom = std::max(bottom, CellOf(font, c).bottom);
        EXPECT_LE(bottom, float(font.m_textureHeight)) << points << " points";
        // Drawn at the size asked: the rendered height over the text scale stays near the point size's.
        const float asked = std::round(points * 96.0f / 72.0f);
        const float lineHeight = CellOf(font, 32).bottom - CellOf(font, 32).top;
        EXPECT_GT(lineHeight / font.m_textScale, asked) << points << " points";
        // With the installed sans faces the last row of these sizes would pass the bottom at full size.
        EXPECT_LT(font.m_textScale, 1.0f) << points << " points";
    }
}

TEST_F(GlyphTextureTest, AFarTooLargeFontIsRenderedSmallEnoughToFit) {
    MakeDevice();
    CD3DFont font("Verdana", 1000, 0);
    ASSERT_EQ(font.CreateDeviceResources(device_), S_OK);
    EXPECT_EQ(font.m_textureWidth, 2048u);
    EXPECT_LT(font.m_textScale, 0.5f);
    for (int c = 32; c <= 126; ++c) EXPECT_LE(CellOf(font, c).bottom, 2048.0f);
}

TEST_F(GlyphTextureTest, ATextureFormatTheDeviceLacksFailsTheBuildWithItsResult) {
    d3d9::Profile profile = d3d9::DefaultProfile();
    for (auto& adapter : profile.adapters)
        for (auto& [type, device] : adapter.devices) std::erase(device.textureFormats, D3DFMT_A4R4G4B4);
    d3d9::control::SetAdapterProfile(profile);
    MakeDevice();
    CD3DFont font("Verdana", 10, 0);
    EXPECT_EQ(font.CreateDeviceResources(device_), D3DERR_INVALIDCALL);
    EXPECT_EQ(font.m_pDevice, device_);
    EXPECT_EQ(font.m_pGlyphTexture, nullptr);
    // Without a texture there is nothing to draw with.
    EXPECT_TRUE(FAILED(font.CreateVolatileResources()));
    EXPECT_EQ(font.m_pVertexBuffer, nullptr);
    EXPECT_EQ(font.DrawScreenText(0, 0, 0xFFFFFFFF, "a", 0), E_FAIL);
}

TEST_F(GlyphTextureTest, NoDeviceFailsTheBuild) {
    CD3DFont font("Verdana", 10, 0);
    EXPECT_EQ(font.CreateDeviceResources(nullptr), E_FAIL);
    EXPECT_EQ(font.m_pDevice, nullptr);
}

TEST_F(GlyphTextureTest, ReleasesTwiceAndBuildsAgainOnANewCycle) {
    MakeDevice();
    CD3DFont font("Verdana", 10, 0);
    ASSERT_EQ(font.CreateDeviceResources(device_), S_OK);
    ASSERT_EQ(font.CreateVolatileResources(), S_OK);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(font.ReleaseVolatileResources(), S_OK);
        EXPECT_EQ(font.m_pVertexBuffer, nullptr);
        EXPECT_EQ(font.m_pSavedState, nullptr);
        EXPECT_EQ(font.m_pDrawState, nullptr);
        EXPECT_NE(font.m_pGlyphTexture, nullptr);
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(font.ReleaseDeviceResources(), S_OK);
        EXPECT_EQ(font.m_pGlyphTexture, nullptr);
        EXPECT_EQ(font.m_pDevice, nullptr);
    }
    ASSERT_EQ(font.CreateDeviceResources(device_), S_OK);
    ASSERT_EQ(font.CreateVolatileResources(), S_OK);
    D3DVERTEXBUFFER_DESC desc{};
    font.m_pVertexBuffer->GetDesc(&desc);
    EXPECT_EQ(desc.Size, 9600u);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY));
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(desc.FVF, 0u);
}

}  // namespace
