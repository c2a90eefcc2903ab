// The font dialogs are drawn with on a real display, and where each control's text goes in them: the
// dialog manager lays controls out in its base units, and the font is sized to those units.
#pragma once

#include <memory>
#include <string>

#include "gdi/fonts.h"
#include "windows.h"

namespace gdi {

// A font's base units as dialogs measure them: the average width of the 52 letters, rounded, and the
// cell height.
SIZE BaseUnits(RealisedFont& font);

// The dialog face at the largest size up to 8 points whose base units are no larger than the dialog
// manager's; null only when no face can be loaded at all.
std::shared_ptr<RealisedFont> DialogFont();

// A radio button's round button and a check box's square one: this many pixels across and down.
constexpr int kCheckSize = 12;

// Where a control's text is drawn across (dialog client coordinates): the pen starts at `left`, and the
// text is cut at `right`. A push button's text is centred within the span.
struct TextSpan {
    int left = 0, right = 0;
};
// For a control of this class and style at this rectangle: a label's whole width, a radio button's or
// check box's right of its button, a group box's past its corner, a push button's inside its frame, a
// drop-down list's item in its field left of the arrow.
TextSpan DialogTextSpan(const std::string& className, DWORD style, const RECT& control);

}  // namespace gdi
