// The dialog font, sized so that its base units are the dialog manager's, and where controls' texts go.
#include "gdi/dialog_font.h"

#include <cstdio>

#include "user/dialog_runner.h"

namespace gdi {

SIZE BaseUnits(RealisedFont& font) {
    int letters = 0;
    for (unsigned char c = 'A'; c <= 'Z'; ++c) letters += font.Glyph(c).advance + font.Glyph(c + ('a' - 'A')).advance;
    return {(letters / 26 + 1) / 2, font.Metrics().ascent + font.Metrics().descent};
}

std::shared_ptr<RealisedFont> DialogFont() {
    // The face is whatever fontconfig gives for the name: its letters may be wider than the units the
    // templates were made for, so the size comes down until they agree (8 points is 11 pixels).
    std::shared_ptr<RealisedFont> font;
    for (int pixels = 11; pixels >= 6; --pixels) {
        LOGFONTA logFont{};
        logFont.lfHeight = -pixels;
        logFont.lfWeight = FW_NORMAL;
        std::snprintf(logFont.lfFaceName, sizeof logFont.lfFaceName, "%s", "MS Sans Serif");
        font = Realise(logFont);
        if (!font) return nullptr;
        const SIZE units = BaseUnits(*font);
        if (units.cx <= user::dialogs::kDialogBaseWidth && units.cy <= user::dialogs::kDialogBaseHeight) break;
    }
    return font;
}

TextSpan DialogTextSpan(const std::string& className, DWORD style, const RECT& control) {
    const int left = control.left, right = control.right;
    if (className == "Static") return {left, right};
    if (className == "ComboBox") return {left + 4, right - 19};  // in the sunken field, left of the arrow
    switch (style & 0x0F) {
    case BS_GROUPBOX: return {left + 8, right - 8};
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX: return {left + kCheckSize + 4, right};
    default: return {left + 3, right - 3};  // push buttons
    }
}

}  // namespace gdi
