// Dialog 144, "Direct3D Settings": the classic dialog template with a font, 29 controls in tab order.
#include "resource_builders.h"
#include "resource_constants.h"
#include "resource_writer.h"

namespace {

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kGroupBox = kChild | BS_GROUPBOX;
constexpr uint32_t kLabel = kChild | SS_LEFT | WS_GROUP;
constexpr uint32_t kCenteredLabel = kLabel | SS_CENTERIMAGE;
constexpr uint32_t kDropDown = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr uint16_t kNoId = 0xFFFF;

struct Control {
    uint16_t id;
    uint16_t classAtom;
    uint32_t style;
    const char* text;
    int16_t x, y, cx, cy;
};

const Control kControls[] = {
    {kNoId, kButtonClassAtom, kGroupBox, "Adapter and device", 5, 5, 276, 47},
    {kNoId, kStaticClassAtom, kCenteredLabel, "Display &Adapter:", 16, 17, 98, 10},
    {1002, kComboBoxClassAtom, kDropDown, "", 124, 15, 149, 100},
    {kNoId, kStaticClassAtom, kCenteredLabel, "Render &Device:", 16, 34, 98, 10},
    {1000, kComboBoxClassAtom, kDropDown, "", 124, 32, 149, 100},
    {kNoId, kButtonClassAtom, kGroupBox, "Display mode settings", 5, 56, 276, 98},
    {1016, kButtonClassAtom, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&Windowed", 16, 68, 98, 15},
    {1018, kButtonClassAtom, kChild | BS_AUTORADIOBUTTON, "&Fullscreen", 16, 83, 98, 15},
    {kNoId, kStaticClassAtom, kLabel, "Adapter F&ormat:", 16, 103, 98, 8},
    {1003, kComboBoxClassAtom, kDropDown | WS_GROUP, "", 124, 101, 149, 204},
    {kNoId, kStaticClassAtom, kLabel, "&Resolution:", 16, 120, 98, 8},
    {1004, kComboBoxClassAtom, kDropDown | WS_GROUP, "", 124, 118, 149, 204},
    {kNoId, kStaticClassAtom, kLabel, "R&efresh Rate:", 16, 137, 98, 8},
    {1006, kComboBoxClassAtom, kDropDown | WS_GROUP, "", 124, 135, 149, 204},
    {kNoId, kButtonClassAtom, kGroupBox, "Device settings", 7, 158, 274, 118},
    {kNoId, kStaticClassAtom, kLabel, "&Back Buffer Format:", 16, 173, 98, 8},
    {1007, kComboBoxClassAtom, kDropDown, "", 124, 170, 149, 100},
    {kNoId, kStaticClassAtom, kLabel, "De&pth/Stencil Buffer Format:", 16, 190, 98, 8},
    {1008, kComboBoxClassAtom, kDropDown, "", 124, 187, 149, 100},
    {kNoId, kStaticClassAtom, kCenteredLabel, "&Multisample Type:", 16, 207, 98, 10},
    {1005, kComboBoxClassAtom, kDropDown, "", 124, 204, 149, 100},
    {kNoId, kStaticClassAtom, kLabel, "Multisample &Quality:", 16, 224, 98, 8},
    {1011, kComboBoxClassAtom, kDropDown, "", 124, 221, 149, 100},
    {kNoId, kStaticClassAtom, kLabel, "&Vertex Processing:", 16, 241, 98, 8},
    {1009, kComboBoxClassAtom, kDropDown, "", 124, 238, 149, 100},
    {kNoId, kStaticClassAtom, kLabel, "Present &Interval:", 16, 258, 98, 8},
    {1010, kComboBoxClassAtom, kDropDown, "", 124, 255, 149, 100},
    {IDOK, kButtonClassAtom, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 86, 286, 50, 14},
    {IDCANCEL, kButtonClassAtom, kChild | BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 152, 286, 50, 14},
};

std::vector<uint8_t> Build() {
    const uint16_t count = sizeof(kControls) / sizeof(kControls[0]);
    ResourceWriter out;
    out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT);
    out.Dword(0);       // extended style
    out.Word(count);
    out.Short(0);       // x, y: centred by DS_CENTER
    out.Short(0);
    out.Short(289);
    out.Short(302);
    out.Word(0);        // no menu
    out.Word(0);        // the predefined dialog class
    out.WideText("Direct3D Settings");
    out.Word(8);        // DS_SETFONT: point size, then the face
    out.WideText("MS Shell Dlg");
    for (const Control& control : kControls) {
        out.AlignTo(4);
        out.Dword(control.style);
        out.Dword(0);
        out.Short(control.x);
        out.Short(control.y);
        out.Short(control.cx);
        out.Short(control.cy);
        out.Word(control.id);
        out.Word(0xFFFF);  // class by atom
        out.Word(control.classAtom);
        out.WideText(control.text);
        out.Word(0);       // no creation data
    }
    return out.Take();
}

}  // namespace

const std::vector<uint8_t>& SettingsDialogTemplate() {
    static const std::vector<uint8_t> dialog = Build();
    return dialog;
}
