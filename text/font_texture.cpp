// The glyph texture: codes 32 to 126 of the GDI font laid out in rows on a 32-bit canvas, then copied
// into an A4R4G4B4 texture as white with the coverage as alpha.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "d3d_font.h"

namespace {

constexpr int kFirstGlyph = 32, kLastGlyph = 126;

// Square texture size for a point size.
DWORD TextureSizeFor(DWORD pointSize) {
    if (pointSize > 60) return 2048;
    if (pointSize > 30) return 1024;
    if (pointSize > 15) return 512;
    return 256;
}

// Where every glyph goes, for the font selected into a context.
struct GlyphPlacement {
    int x = 0, y = 0;    // top-left of the glyph (its cell starts one margin further left)
    int advance = 0, height = 0;
};

struct GlyphLayout {
    DWORD margin = 0;
    GlyphPlacement glyphs[kLastGlyph - kFirstGlyph + 1];
    bool fits = true;
    // How much the glyphs would have to shrink to fit (1 when they fit), a rough first guess.
    double shrink = 1.0;
};

// Rows from the top: a new row starts one texel below the previous one when the next cell would pass
// the right edge. The layout fits when every cell lies inside the canvas.
bool LayOut(HDC dc, DWORD width, DWORD height, GlyphLayout& layout) {
    SIZE space{};
    if (!GetTextExtentPoint32A(dc, " ", 1, &space)) return false;
    layout.margin = static_cast<DWORD>(std::ceil(static_cast<double>(space.cy) * 0.3));
    const int64_t m = layout.margin, w = width, h = height;
    int64_t x = m, y = 0, widest = 0, bottom = 0;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
        const char text[1] = {static_cast<char>(c)};
        SIZE extent{};
        if (!GetTextExtentPoint32A(dc, text, 1, &extent)) return false;
        if (x + extent.cx + m > w) {
            x = m;
            y += extent.cy + 1;
        }
        GlyphPlacement& g = layout.glyphs[c - kFirstGlyph];
        g.x = static_cast<int>(x);
        g.y = static_cast<int>(y);
        g.advance = extent.cx;
        g.height = extent.cy;
        widest = std::max<int64_t>(widest, extent.cx + 2 * m);
        bottom = std::max<int64_t>(bottom, y + extent.cy);
        x += extent.cx + 2 * m;
    }
    layout.fits = widest <= w && bottom <= h;
    layout.shrink = 1.0;
    if (bottom > h) layout.shrink = std::sqrt(static_cast<double>(h) / static_cast<double>(bottom));
    if (widest > w) layout.shrink = std::min(layout.shrink, static_cast<double>(w) / static_cast<double>(widest));
    return true;
}

// The GDI objects of one build, given back whatever happens.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    const DWORD* pixels = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ previousFont = nullptr;

    ~Canvas() {
        DropFont();
        if (previousBitmap != nullptr) SelectObject(dc, previousBitmap);
        if (bitmap != nullptr) DeleteObject(bitmap);
        if (dc != nullptr) DeleteDC(dc);
    }
    void DropFont() {
        if (previousFont != nullptr) SelectObject(dc, previousFont);
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
        previousFont = nullptr;
    }
};

// The GDI font at a resolution of dotsPerInch (the screen's, times the text scale).
HFONT MakeFont(const CD3DFont& font, int dotsPerInch) {
    const int height = -MulDiv(static_cast<int>(font.m_pointSize), dotsPerInch, 72);
    return CreateFontA(height, 0, 0, 0, (font.m_createFlags & FontCreateFlags::Bold) ? FW_BOLD : FW_NORMAL,
                       (font.m_createFlags & FontCreateFlags::Italic) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, font.m_faceName);
}

}  // namespace

WORD GlyphTexelFromCoverage(DWORD canvasPixel) {
    const WORD alpha = static_cast<WORD>((canvasPixel & 0xFF) >> 4);
    return alpha > 0 ? static_cast<WORD>((alpha << 12) | 0x0FFF) : WORD(0);
}

HRESULT CD3DFont::BuildGlyphTexture() {
    m_textScale = 1.0f;
    for (auto& entry : m_glyphCoords)
        for (float& value : entry) value = 0.0f;
    DWORD size = TextureSizeFor(m_pointSize);
    m_textureWidth = m_textureHeight = size;
    D3DCAPS9 caps{};
    if (SUCCEEDED(m_pDevice->GetDeviceCaps(&caps)) && caps.MaxTextureWidth > 0 && size > caps.MaxTextureWidth) {
        m_textScale = static_cast<float>(caps.MaxTextureWidth) / static_cast<float>(size);
        m_textureWidth = m_textureHeight = caps.MaxTextureWidth;
    }
    if (m_pGlyphTexture != nullptr) {
        m_pGlyphTexture->Release();
        m_pGlyphTexture = nullptr;
    }
    HRESULT hr = m_pDevice->CreateTexture(m_textureWidth, m_textureHeight, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED,
                                          &m_pGlyphTexture, nullptr);
    if (FAILED(hr)) {
        m_pGlyphTexture = nullptr;
        return hr;
    }

    Canvas canvas;
    canvas.dc = CreateCompatibleDC(nullptr);
    if (canvas.dc == nullptr) return E_FAIL;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(m_textureWidth);
    info.bmiHeader.biHeight = -static_cast<LONG>(m_textureHeight);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    canvas.bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (canvas.bitmap == nullptr || bits == nullptr) return E_FAIL;
    canvas.pixels = static_cast<const DWORD*>(bits);
    SetMapMode(canvas.dc, MM_TEXT);

    // The resolution the font is asked at; lowered below when the glyphs would not all fit.
    const int screenDpi = GetDeviceCaps(canvas.dc, LOGPIXELSY);
    int dpi = static_cast<int>(static_cast<float>(screenDpi) * m_textScale);
    // 95 cells at least 0.6 cell heights wide cannot share the canvas with a height beyond this bound,
    // so a far too large font is lowered before GDI renders any of it.
    const double tallest = std::sqrt(static_cast<double>(m_textureWidth) * m_textureHeight / 57.0);
    const double asked = static_cast<double>(m_pointSize) * dpi / 72.0;
    if (asked > tallest) {
        dpi = static_cast<int>(tallest * 72.0 / static_cast<double>(m_pointSize));
        m_textScale = static_cast<float>(dpi) / static_cast<float>(screenDpi);
    }

    GlyphLayout layout;
    for (;;) {
        if (dpi <= 0) return E_FAIL;
        canvas.font = MakeFont(*this, dpi);
        if (canvas.font == nullptr) return E_FAIL;
        if (canvas.previousBitmap == nullptr) canvas.previousBitmap = SelectObject(canvas.dc, canvas.bitmap);
        canvas.previousFont = SelectObject(canvas.dc, canvas.font);
        if (!LayOut(canvas.dc, m_textureWidth, m_textureHeight, layout)) return E_FAIL;
        if (layout.fits) break;
        // Every glyph must be in the texture: render them smaller, as for a small texture limit.
        canvas.DropFont();
        dpi = std::min(dpi - 1, static_cast<int>(dpi * layout.shrink));
        m_textScale = static_cast<float>(dpi) / static_cast<float>(screenDpi);
    }

    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, 0);
    SetTextAlign(canvas.dc, TA_TOP | TA_LEFT);
    m_glyphMargin = layout.margin;
    const float w = static_cast<float>(m_textureWidth), h = static_cast<float>(m_textureHeight);
    const int m = static_cast<int>(layout.margin);
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
        const GlyphPlacement& g = layout.glyphs[c - kFirstGlyph];
        const char text[1] = {static_cast<char>(c)};
        ExtTextOutA(canvas.dc, g.x, g.y, ETO_OPAQUE, nullptr, text, 1, nullptr);
        float* entry = m_glyphCoords[c - kFirstGlyph];
        entry[0] = static_cast<float>(g.x - m) / w;
        entry[1] = static_cast<float>(g.y) / h;
        entry[2] = static_cast<float>(g.x + g.advance + m) / w;
        entry[3] = static_cast<float>(g.y + g.height) / h;
    }

    D3DLOCKED_RECT locked{};
    if (FAILED(m_pGlyphTexture->LockRect(0, &locked, nullptr, 0)) || locked.pBits == nullptr) {
        // No glyphs reached the texture: leave the table empty so the font is not made ready.
        for (auto& entry : m_glyphCoords)
            for (float& value : entry) value = 0.0f;
        return E_FAIL;
    }
    for (DWORD y = 0; y < m_textureHeight; ++y) {
        const DWORD* source = canvas.pixels + static_cast<size_t>(y) * m_textureWidth;
        WORD* target = reinterpret_cast<WORD*>(static_cast<BYTE*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
        for (DWORD x = 0; x < m_textureWidth; ++x) target[x] = GlyphTexelFromCoverage(source[x]);
    }
    m_pGlyphTexture->UnlockRect(0);
    return S_OK;
}
