// The settings dialog (template 144) laid out from its dialog units and drawn in the dialog font: every
// label, group caption, button text and the longest item the program puts in its lists fits where the
// painter draws it, uncut.
#include <gtest/gtest.h>

#include <string>

#include "gdi/dialog_font.h"
#include "machine/control.h"
#include "user/dialog_control.h"
#include "user/dialog_runner.h"
#include "windows.h"

namespace {

// The text as drawn: a mnemonic's ampersand is not shown ("&&" is one ampersand).
std::string Shown(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

int WidthOf(gdi::RealisedFont& font, const std::string& text) {
    int width = 0;
    for (unsigned char c : text) width += font.Glyph(c).advance;
    return width;
}

struct Measured {
    std::vector<std::string> failures;
    int controls = 0;
};

INT_PTR CALLBACK MeasureProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto& measured = *reinterpret_cast<Measured*>(lParam);
    auto font = gdi::DialogFont();
    if (!font) {
        measured.failures.push_back("no dialog font");
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    for (const auto& control : user::control::DialogControls(dialog)) {
        RECT r{};
        GetWindowRect(control.handle, &r);
        POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
        ScreenToClient(dialog, &corners[0]);
        ScreenToClient(dialog, &corners[1]);
        const RECT inDialog{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        const gdi::TextSpan span = gdi::DialogTextSpan(control.className, control.style, inDialog);
        // The lists hold what the program puts there; the longest of its items is the present interval.
        const std::string text = control.className == "ComboBox" ? "D3DPRESENT_INTERVAL_IMMEDIATE"
                                                                 : Shown(control.text);
        const int width = WidthOf(*font, text);
        ++measured.controls;
        if (width > span.right - span.left)
            measured.failures.push_back("\"" + text + "\" is " + std::to_string(width) + " pixels wide in " +
                                        std::to_string(span.right - span.left));
        const int cell = font->Metrics().ascent + font->Metrics().descent;
        if (control.className == "Static" && cell > inDialog.bottom - inDialog.top)
            measured.failures.push_back("\"" + text + "\" is taller than its label");
    }
    EndDialog(dialog, IDOK);
    return TRUE;
}

TEST(SettingsDialogText, EveryTextFitsItsControlInTheDialogFont) {
    machine::control::Reset();
    auto font = gdi::DialogFont();
    ASSERT_NE(font, nullptr);
    const SIZE units = gdi::BaseUnits(*font);
    EXPECT_LE(units.cx, user::dialogs::kDialogBaseWidth) << font->Metrics().family;
    EXPECT_LE(units.cy, user::dialogs::kDialogBaseHeight) << font->Metrics().family;

    Measured measured;
    ASSERT_EQ(
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(144), nullptr, MeasureProc, reinterpret_cast<LPARAM>(&measured)),
        IDOK);
    EXPECT_EQ(measured.controls, 29);
    for (const std::string& failure : measured.failures)
        ADD_FAILURE() << failure << " (" << font->Metrics().family << ")";
    machine::control::Reset();
}

}  // namespace
