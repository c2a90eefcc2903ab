// Measuring text in the selected font: GetTextExtentPoint32A and GetTextMetricsA.
#include "gdi/fonts.h"

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (psizl == nullptr || c < 0 || (c > 0 && lpString == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = gdi::RealisedFontOf(*dc);
    if (!font) return FALSE;
    LONG width = 0;
    for (int i = 0; i < c; ++i) width += font->Glyph(static_cast<unsigned char>(lpString[i])).advance;
    psizl->cx = width;
    psizl->cy = font->Metrics().ascent + font->Metrics().descent;
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hdc);
    if (!dc || lptm == nullptr) {
        SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto font = gdi::RealisedFontOf(*dc);
    if (!font) return FALSE;
    const gdi::FaceMetrics& m = font->Metrics();
    *lptm = TEXTMETRICA{};
    lptm->tmHeight = m.ascent + m.descent;
    lptm->tmAscent = m.ascent;
    lptm->tmDescent = m.descent;
    lptm->tmInternalLeading = m.internalLeading;
    lptm->tmExternalLeading = m.externalLeading;
    lptm->tmAveCharWidth = m.averageWidth;
    lptm->tmMaxCharWidth = m.maxWidth;
    lptm->tmWeight = m.weight;
    lptm->tmDigitizedAspectX = lptm->tmDigitizedAspectY = 96;
    lptm->tmFirstChar = 0x20;
    lptm->tmLastChar = 0xFF;
    lptm->tmDefaultChar = 0x1F;
    lptm->tmBreakChar = 0x20;
    lptm->tmItalic = m.italic ? 1 : 0;
    lptm->tmUnderlined = m.underline ? 1 : 0;
    lptm->tmStruckOut = m.strikeOut ? 1 : 0;
    // The pitch bit is set for a variable-pitch font (the platform's inverted sense).
    lptm->tmPitchAndFamily = static_cast<BYTE>((m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                               (gdi::SelectedFont(*dc)->logFont.lfPitchAndFamily & 0xF0));
    lptm->tmCharSet = gdi::SelectedFont(*dc)->logFont.lfCharSet;
    return TRUE;
}
