// The program's resource table as the platform finds it: the menu, the accelerators, the settings
// dialog, the icon and the sound parse back to what the program needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource_reader.h"
#include "windows.h"

namespace {

struct MenuItem {
    uint16_t flags;
    uint16_t id;  // 0 for popups
    std::string text;
    std::vector<MenuItem> children;
};

// Items up to and including the one marked MF_END; popups hold their own items.
std::vector<MenuItem> ReadMenuItems(ResourceReader& in) {
    std::vector<MenuItem> items;
    for (;;) {
        MenuItem item{};
        item.flags = in.Word();
        if (!(item.flags & MF_POPUP)) item.id = in.Word();
        item.text = in.WideText();
        if (item.flags & MF_POPUP) item.children = ReadMenuItems(in);
        items.push_back(item);
        if ((item.flags & MF_END) || in.Failed()) return items;
    }
}

TEST(ProgramResources, MenuHoldsTheFilePopup) {
    const std::vector<uint8_t> bytes = ProgramResource(RT_MENU, MAKEINTRESOURCE(141));
    ASSERT_FALSE(bytes.empty());
    ResourceReader in(bytes);
    EXPECT_EQ(in.Word(), 0);  // version
    EXPECT_EQ(in.Word(), 0);  // header size
    const std::vector<MenuItem> bar = ReadMenuItems(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].flags, MF_POPUP | MF_END);
    EXPECT_EQ(bar[0].text, "&File");
    ASSERT_EQ(bar[0].children.size(), 3u);
    const MenuItem& settings = bar[0].children[0];
    const MenuItem& separator = bar[0].children[1];
    const MenuItem& exit = bar[0].children[2];
    EXPECT_EQ(settings.flags, 0);
    EXPECT_EQ(settings.id, 40002);
    EXPECT_EQ(settings.text, "Config &display...\tF2");
    EXPECT_EQ(separator.flags, 0);
    EXPECT_EQ(separator.id, 0);
    EXPECT_EQ(separator.text, "");
    EXPECT_EQ(exit.flags, MF_END);
    EXPECT_EQ(exit.id, 40006);
    EXPECT_EQ(exit.text, "E&xit\tESC");
}

TEST(ProgramResources, AcceleratorsAreVirtualKeysWithoutHighlighting) {
    const std::vector<uint8_t> bytes = ProgramResource(RT_ACCELERATOR, MAKEINTRESOURCE(113));
    ASSERT_EQ(bytes.size(), 4u * 8u);
    struct Entry {
        uint16_t flags, key, command;
    };
    const Entry expected[] = {{FVIRTKEY | FNOINVERT, VK_ESCAPE, 40006},
                              {FVIRTKEY | FNOINVERT, VK_F2, 40002},
                              {FVIRTKEY | FNOINVERT | FALT, VK_RETURN, 40003},
                              {FVIRTKEY | FNOINVERT | FALT, 'X', 40006}};
    ResourceReader in(bytes);
    for (size_t i = 0; i < 4; ++i) {
        const uint16_t flags = in.Word();
        EXPECT_EQ(flags & 0x7F, expected[i].flags) << i;
        EXPECT_EQ((flags & 0x80) != 0, i == 3) << "only the last entry ends the table, entry " << i;
        EXPECT_EQ(in.Word(), expected[i].key) << i;
        EXPECT_EQ(in.Word(), expected[i].command) << i;
        EXPECT_EQ(in.Word(), 0) << i;
    }
}

struct DialogControl {
    uint32_t style;
    int16_t x, y, cx, cy;
    uint16_t id;
    uint16_t classAtom;
    std::string text;
};

enum class Kind { Group, Label, CenteredLabel, List, GroupedList, Radio, FirstRadio, Default, Push };

struct ExpectedControl {
    int id;
    Kind kind;
    const char* text;
};

const ExpectedControl kExpectedControls[] = {
    {-1, Kind::Group, "Adapter and device"},
    {-1, Kind::CenteredLabel, "Display &Adapter:"},
    {1002, Kind::List, ""},
    {-1, Kind::CenteredLabel, "Render &Device:"},
    {1000, Kind::List, ""},
    {-1, Kind::Group, "Display mode settings"},
    {1016, Kind::FirstRadio, "&Windowed"},
    {1018, Kind::Radio, "&Fullscreen"},
    {-1, Kind::Label, "Adapter F&ormat:"},
    {1003, Kind::GroupedList, ""},
    {-1, Kind::Label, "&Resolution:"},
    {1004, Kind::GroupedList, ""},
    {-1, Kind::Label, "R&efresh Rate:"},
    {1006, Kind::GroupedList, ""},
    {-1, Kind::Group, "Device settings"},
    {-1, Kind::Label, "&Back Buffer Format:"},
    {1007, Kind::List, ""},
    {-1, Kind::Label, "De&pth/Stencil Buffer Format:"},
    {1008, Kind::List, ""},
    {-1, Kind::CenteredLabel, "&Multisample Type:"},
    {1005, Kind::List, ""},
    {-1, Kind::Label, "Multisample &Quality:"},
    {1011, Kind::List, ""},
    {-1, Kind::Label, "&Vertex Processing:"},
    {1009, Kind::List, ""},
    {-1, Kind::Label, "Present &Interval:"},
    {1010, Kind::List, ""},
    {IDOK, Kind::Default, "OK"},
    {IDCANCEL, Kind::Push, "Cancel"},
};

// Class atom and the style bits below WS_CHILD | WS_VISIBLE for each kind.
void ExpectKind(const DialogControl& control, Kind kind) {
    const uint32_t extra = control.style & ~static_cast<uint32_t>(WS_CHILD | WS_VISIBLE);
    const uint32_t list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    switch (kind) {
    case Kind::Group: EXPECT_EQ(control.classAtom, 0x0080); EXPECT_EQ(extra, static_cast<uint32_t>(BS_GROUPBOX)); break;
    case Kind::Label: EXPECT_EQ(control.classAtom, 0x0082); EXPECT_EQ(extra, static_cast<uint32_t>(WS_GROUP)); break;
    case Kind::CenteredLabel:
        EXPECT_EQ(control.classAtom, 0x0082);
        EXPECT_EQ(extra, static_cast<uint32_t>(WS_GROUP | SS_CENTERIMAGE));
        break;
    case Kind::List: EXPECT_EQ(control.classAtom, 0x0085); EXPECT_EQ(extra, list); break;
    case Kind::GroupedList: EXPECT_EQ(control.classAtom, 0x0085); EXPECT_EQ(extra, list | WS_GROUP); break;
    case Kind::FirstRadio:
        EXPECT_EQ(control.classAtom, 0x0080);
        EXPECT_EQ(extra, static_cast<uint32_t>(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP));
        break;
    case Kind::Radio: EXPECT_EQ(control.classAtom, 0x0080); EXPECT_EQ(extra, static_cast<uint32_t>(BS_AUTORADIOBUTTON)); break;
    case Kind::Default:
        EXPECT_EQ(control.classAtom, 0x0080);
        EXPECT_EQ(extra, static_cast<uint32_t>(BS_DEFPUSHBUTTON | WS_TABSTOP));
        break;
    case Kind::Push: EXPECT_EQ(control.classAtom, 0x0080); EXPECT_EQ(extra, static_cast<uint32_t>(BS_PUSHBUTTON | WS_TABSTOP)); break;
    }
}

TEST(ProgramResources, SettingsDialogTemplateHoldsItsControlsInTabOrder) {
    const std::vector<uint8_t> bytes = ProgramResource(RT_DIALOG, MAKEINTRESOURCE(144), 1033);
    ASSERT_FALSE(bytes.empty());
    ResourceReader in(bytes);
    EXPECT_EQ(in.Dword(), static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT));
    EXPECT_EQ(in.Dword(), 0u);
    const uint16_t count = in.Word();
    in.Short();
    in.Short();
    EXPECT_EQ(in.Short(), 289);
    EXPECT_EQ(in.Short(), 302);
    EXPECT_EQ(in.Word(), 0);  // no menu
    EXPECT_EQ(in.Word(), 0);  // the dialog class
    EXPECT_EQ(in.WideText(), "Direct3D Settings");
    EXPECT_EQ(in.Word(), 8);
    EXPECT_EQ(in.WideText(), "MS Shell Dlg");
    ASSERT_EQ(count, 29);

    std::vector<DialogControl> controls;
    for (int i = 0; i < count; ++i) {
        in.AlignTo(4);
        DialogControl control{};
        control.style = in.Dword();
        EXPECT_EQ(in.Dword(), 0u) << "extended style of control " << i;
        control.x = in.Short();
        control.y = in.Short();
        control.cx = in.Short();
        control.cy = in.Short();
        control.id = in.Word();
        EXPECT_EQ(in.Word(), 0xFFFF) << "class by atom, control " << i;
        control.classAtom = in.Word();
        control.text = in.WideText();
        EXPECT_EQ(in.Word(), 0) << "creation data of control " << i;
        controls.push_back(control);
    }
    ASSERT_FALSE(in.Failed());
    EXPECT_TRUE(in.AtEnd());

    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + kExpectedControls[i].text + "\"");
        const DialogControl& control = controls[i];
        EXPECT_EQ(control.id, static_cast<uint16_t>(kExpectedControls[i].id));
        EXPECT_EQ(control.text, kExpectedControls[i].text);
        EXPECT_EQ(control.style & (WS_CHILD | WS_VISIBLE), static_cast<uint32_t>(WS_CHILD | WS_VISIBLE));
        ExpectKind(control, kExpectedControls[i].kind);
        // Inside the dialog's 289 x 302 units.
        EXPECT_GE(control.x, 0);
        EXPECT_GE(control.y, 0);
        EXPECT_LE(control.x + control.cx, 289);
        if (control.classAtom != 0x0085) {
            EXPECT_LE(control.y + control.cy, 302);
        }
    }
}

TEST(ProgramResources, IconGroupNamesOne32By32Image) {
    const std::vector<uint8_t> group = ProgramResource(RT_GROUP_ICON, MAKEINTRESOURCE(101));
    ASSERT_EQ(group.size(), 6u + 14u);
    ResourceReader in(group);
    EXPECT_EQ(in.Word(), 0);
    EXPECT_EQ(in.Word(), 1);  // icons
    EXPECT_EQ(in.Word(), 1);
    EXPECT_EQ(in.Byte(), 32);
    EXPECT_EQ(in.Byte(), 32);
    in.Byte();
    in.Byte();
    EXPECT_EQ(in.Word(), 1);
    const uint16_t bits = in.Word();
    const uint32_t imageBytes = in.Dword();
    const uint16_t imageId = in.Word();

    const std::vector<uint8_t> image = ProgramResource(RT_ICON, MAKEINTRESOURCE(imageId));
    ASSERT_EQ(image.size(), imageBytes);
    ResourceReader header(image);
    EXPECT_EQ(header.Dword(), 40u);
    EXPECT_EQ(header.Dword(), 32u);
    EXPECT_EQ(header.Dword(), 64u);  // colour rows and mask rows
    EXPECT_EQ(header.Word(), 1);
    EXPECT_EQ(header.Word(), bits);
    EXPECT_EQ(header.Dword(), 0u);
    EXPECT_EQ(image.size(), 40u + 32u * 32u * bits / 8u + 32u * 4u);
}

TEST(ProgramResources, BounceIsAMonoPcmWave) {
    const std::vector<uint8_t> wave = ProgramResource("WAVE", "BOUNCE");
    ASSERT_EQ(wave.size(), 13468u);
    ResourceReader in(wave);
    EXPECT_EQ(in.FourCC(), "RIFF");
    EXPECT_EQ(in.Dword(), 13460u);
    EXPECT_EQ(in.FourCC(), "WAVE");
    EXPECT_EQ(in.FourCC(), "fmt ");
    EXPECT_EQ(in.Dword(), 16u);
    EXPECT_EQ(in.Word(), 1);       // PCM
    EXPECT_EQ(in.Word(), 1);       // mono
    EXPECT_EQ(in.Dword(), 11025u);
    EXPECT_EQ(in.Dword(), 22050u);
    EXPECT_EQ(in.Word(), 2);
    EXPECT_EQ(in.Word(), 16);
    EXPECT_EQ(in.FourCC(), "data");
    EXPECT_EQ(in.Dword(), 13424u);
    // A sound, not silence, that starts and ends quietly.
    int peak = 0;
    int16_t first = 0, last = 0;
    for (int i = 0; i < 13424 / 2; ++i) {
        const int16_t sample = in.Short();
        if (i == 0) first = sample;
        last = sample;
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    EXPECT_TRUE(in.AtEnd());
    EXPECT_GT(peak, 8000);
    EXPECT_LT(std::abs(static_cast<int>(first)), 2000);
    EXPECT_LT(std::abs(static_cast<int>(last)), 100);
}

}  // namespace
