// A context's text attributes (colours, background mode, alignment, mapping mode) and GetDeviceCaps.
#include "gdi/dc_attributes.h"
#include "gdi/objects.h"
#include "machine/control.h"

namespace gdi {
namespace {

constexpr int kDefaultDotsPerInch = 96;

int& Resolution() {
    static int dotsPerInch = kDefaultDotsPerInch;
    static bool registered = (machine::control::AtReset([] { Resolution() = kDefaultDotsPerInch; }), true);
    (void)registered;
    return dotsPerInch;
}

std::shared_ptr<DeviceContext> Context(HDC hdc) {
    auto dc = FindObjectAs<DeviceContext>(hdc);
    if (!dc) SetLastError(ERROR_INVALID_HANDLE);
    return dc;
}

}  // namespace

int DotsPerInch() { return Resolution(); }
void SetDotsPerInch(int dotsPerInch) { Resolution() = dotsPerInch > 0 ? dotsPerInch : kDefaultDotsPerInch; }

}  // namespace gdi

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    auto dc = gdi::Context(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->textColor;
    dc->textColor = color & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    auto dc = gdi::Context(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->backgroundColor;
    dc->backgroundColor = color & 0x00FFFFFF;
    return previous;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    auto dc = gdi::Context(hdc);
    if (!dc) return 0;
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    auto dc = gdi::Context(hdc);
    if (!dc) return GDI_ERROR;
    UINT previous = dc->textAlign;
    dc->textAlign = align;
    return previous;
}

int WINAPI SetMapMode(HDC hdc, int mode) {
    auto dc = gdi::Context(hdc);
    if (!dc) return 0;
    if (mode != MM_TEXT) {
        SetLastError(ERROR_INVALID_PARAMETER);  // no other mapping is offered
        return 0;
    }
    int previous = dc->mapMode;
    dc->mapMode = mode;
    return previous;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (!gdi::Context(hdc)) return 0;
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return gdi::DotsPerInch();
        default:
            return 0;
    }
}
