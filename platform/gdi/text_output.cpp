// Text output in the selected font: ExtTextOutA, TextOutA and DrawTextA. Text is drawn into the bitmap
// selected into a memory context or into a window's surface, clipped to it: glyph coverage blends the
// text colour over the pixels, so white text on black leaves the coverage in every colour channel.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gdi/fonts.h"
#include "gdi/window_surfaces.h"

namespace gdi {
namespace {

struct Clip {
    int left, top, right, bottom;
    bool Empty() const { return left >= right || top >= bottom; }
    Clip Intersect(const RECT& r) const {
        return {std::max<int>(left, r.left), std::max<int>(top, r.top), std::min<int>(right, r.right),
                std::min<int>(bottom, r.bottom)};
    }
};

// The pixels a context draws into; null when it has none (the screen's context).
Bitmap* Target(const DeviceContext& dc) {
    if (dc.kind == DcKind::Memory) return FindObjectAs<Bitmap>(dc.bitmap).get();
    if (dc.kind == DcKind::Window || dc.kind == DcKind::Paint) return WindowSurface(dc.window);
    return nullptr;
}

uint32_t Blend(uint32_t pixel, COLORREF color, unsigned coverage) {
    const unsigned inverse = 255 - coverage;
    auto mix = [&](unsigned source, unsigned destination) {
        return (source * coverage + destination * inverse + 127) / 255;
    };
    const unsigned r = mix(GetRValue(color), (pixel >> 16) & 0xFF);
    const unsigned g = mix(GetGValue(color), (pixel >> 8) & 0xFF);
    const unsigned b = mix(GetBValue(color), pixel & 0xFF);
    return (r << 16) | (g << 8) | b;
}

// Writes one pixel at full or partial coverage. A one-bit bitmap takes the brighter half as set.
void Paint(Bitmap& target, int x, int y, COLORREF color, unsigned coverage) {
    if (coverage == 0) return;
    if (target.bitsPerPixel == 32) {
        uint32_t& pixel = target.PixelAt(x, y);
        pixel = Blend(pixel, color, coverage);
        return;
    }
    const uint32_t mixed = Blend(target.Pixel(x, y), color, coverage);
    const unsigned brightness = (((mixed >> 16) & 0xFF) + ((mixed >> 8) & 0xFF) + (mixed & 0xFF)) / 3;
    uint8_t& byte = target.bits[static_cast<size_t>(y) * target.RowBytes() + x / 8];
    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
    byte = brightness >= 128 ? (byte | bit) : (byte & ~bit);
}

void FillRect(Bitmap& target, const Clip& clip, const RECT& rect, COLORREF color) {
    const Clip area = clip.Intersect(rect);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) Paint(target, x, y, color, 255);
}

// One run of text with its reference point at (x, y) as the alignment says.
bool DrawRun(DeviceContext& dc, int x, int y, UINT align, UINT options, const RECT* rect, const char* text, int count,
             const INT* advances, const RECT* extraClip) {
    Bitmap* target = Target(dc);
    if (target == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    auto font = RealisedFontOf(dc);
    if (!font) return false;
    const FaceMetrics& metrics = font->Metrics();

    Clip clip{0, 0, target->width, target->height};
    if (rect != nullptr && (options & ETO_OPAQUE)) FillRect(*target, clip, *rect, dc.backgroundColor);
    if (rect != nullptr && (options & ETO_CLIPPED)) clip = clip.Intersect(*rect);
    if (extraClip != nullptr) clip = clip.Intersect(*extraClip);

    std::vector<int> steps(static_cast<size_t>(count));
    long long width = 0;
    for (int i = 0; i < count; ++i) {
        steps[i] = advances ? advances[i] : font->Glyph(static_cast<unsigned char>(text[i])).advance;
        width += steps[i];
    }
    long long left = x;
    if ((align & TA_CENTER) == TA_CENTER) left -= width / 2;
    else if (align & TA_RIGHT) left -= width;
    long long baseline = y + metrics.ascent;
    if ((align & TA_BASELINE) == TA_BASELINE) baseline = y;
    else if (align & TA_BOTTOM) baseline = y - metrics.descent;
    auto clamp = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, INT32_MIN / 2, INT32_MAX / 2)); };

    if (clip.Empty()) return true;
    if (dc.backgroundMode == OPAQUE)
        FillRect(
            *target, clip,
            RECT{clamp(left), clamp(baseline - metrics.ascent), clamp(left + width), clamp(baseline + metrics.descent)},
            dc.backgroundColor);
    long long pen = left;
    for (int i = 0; i < count; ++i) {
        const GlyphBitmap& glyph = font->Glyph(static_cast<unsigned char>(text[i]));
        const long long originX = pen + glyph.left, originY = baseline - glyph.top;
        pen += steps[i];
        // Only the part of the glyph inside the clip is visited.
        const long long x0 = std::max<long long>(0, clip.left - originX);
        const long long x1 = std::min<long long>(glyph.width, clip.right - originX);
        const long long y0 = std::max<long long>(0, clip.top - originY);
        const long long y1 = std::min<long long>(glyph.height, clip.bottom - originY);
        for (long long gy = y0; gy < y1; ++gy)
            for (long long gx = x0; gx < x1; ++gx)
                Paint(*target, static_cast<int>(originX + gx), static_cast<int>(originY + gy), dc.textColor,
                      glyph.coverage[static_cast<size_t>(gy * glyph.width + gx)]);
    }
    if (metrics.underline)
        FillRect(*target, clip,
                 RECT{clamp(left), clamp(baseline + metrics.underlineOffset), clamp(left + width),
                      clamp(baseline + metrics.underlineOffset + metrics.underlineThickness)},
                 dc.textColor);
    if (metrics.strikeOut)
        FillRect(*target, clip,
                 RECT{clamp(left), clamp(baseline - metrics.strikeoutOffset), clamp(left + width),
                      clamp(baseline - metrics.strikeoutOffset + metrics.strikeoutThickness)},
                 dc.textColor);
    return true;
}

// A line of DrawTextA's text with the mnemonic ampersands taken out.
std::string WithoutPrefixes(const std::string& line) {
    std::string shown;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '&' && i + 1 < line.size()) ++i;  // "&x" shows x, "&&" shows "&"
        else if (line[i] == '&') continue;             // a trailing ampersand shows nothing
        shown += line[i];
    }
    return shown;
}

}  // namespace
}  // namespace gdi

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((c > 0 && lpString == nullptr) || c > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return gdi::DrawRun(*dc, x, y, dc->textAlign, options, lprect, lpString, static_cast<int>(c), lpDx, nullptr)
               ? TRUE
               : FALSE;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    if (c < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (lprc == nullptr || cchText < -1 || (cchText != 0 && lpchText == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto font = gdi::RealisedFontOf(*dc);
    if (!font) return 0;
    const std::string text =
        cchText == -1 ? std::string(lpchText) : std::string(lpchText ? lpchText : "", static_cast<size_t>(cchText));
    std::vector<std::string> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back(text);
    } else {
        std::string line;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
                lines.push_back(line);
                line.clear();
                if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
            } else {
                line += text[i];
            }
        }
    }
    const int lineHeight = font->Metrics().ascent + font->Metrics().descent;
    const long long textHeight = static_cast<long long>(lineHeight) * static_cast<long long>(lines.size());
    long long top = lprc->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = lprc->top + (static_cast<long long>(lprc->bottom) - lprc->top - lineHeight) / 2;
        else if (format & DT_BOTTOM) top = static_cast<long long>(lprc->bottom) - lineHeight;
    }
    const RECT* clip = (format & DT_NOCLIP) ? nullptr : lprc;
    long long y = top;
    for (const std::string& raw : lines) {
        const std::string line = (format & DT_NOPREFIX) ? raw : gdi::WithoutPrefixes(raw);
        long long width = 0;
        for (char ch : line) width += font->Glyph(static_cast<unsigned char>(ch)).advance;
        long long x = lprc->left;
        if (format & DT_CENTER) x = lprc->left + (static_cast<long long>(lprc->right) - lprc->left - width) / 2;
        else if (format & DT_RIGHT) x = static_cast<long long>(lprc->right) - width;
        auto clamp = [](long long v) {
            return static_cast<int>(std::clamp<long long>(v, INT32_MIN / 2, INT32_MAX / 2));
        };
        if (!gdi::DrawRun(*dc, clamp(x), clamp(y), TA_TOP | TA_LEFT, 0, nullptr, line.data(),
                          static_cast<int>(line.size()), nullptr, clip))
            return 0;
        y += lineHeight;
    }
    // With DT_VCENTER or DT_BOTTOM the answer reaches from the rectangle's top to the text's bottom.
    const long long answer =
        (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top - lprc->top + textHeight : textHeight;
    return static_cast<int>(std::clamp<long long>(answer, 0, INT32_MAX));
}
