#include "user/cursors.h"
#include "user/menus.h"
#include "window_test_support.h"

namespace {

struct TemplateWriter {
    std::vector<uint8_t> bytes{0, 0, 0, 0};
    void Word(uint16_t w) {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    void Text(const char* text) {
        for (; *text; ++text) Word(static_cast<uint8_t>(*text));
        Word(0);
    }
};

// The program's menu shape: "&File" with a command, a separator and the exit command.
std::vector<uint8_t> FileMenu() {
    TemplateWriter out;
    out.Word(MF_POPUP | MF_END);
    out.Text("&File");
    out.Word(0);
    out.Word(40002);
    out.Text("Config &display...\tF2");
    out.Word(0);
    out.Word(0);
    out.Text("");
    out.Word(MF_END);
    out.Word(40006);
    out.Text("E&xit\tESC");
    return out.bytes;
}

class Menus : public test::WindowTest {};

TEST_F(Menus, TheTemplateBecomesAPopupWithItsItems) {
    const std::vector<uint8_t> data = FileMenu();
    const RESOURCE_TABLE_ENTRY entries[] = {{RT_MENU, MAKEINTRESOURCEA(141), 1033, data.data(), static_cast<DWORD>(data.size())}};
    RegisterProgramResources(entries, 1);
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(141));
    ASSERT_NE(menu, nullptr);
    auto bar = user::FindMenu(menu);
    ASSERT_EQ(bar->items.size(), 1u);
    EXPECT_EQ(bar->items[0].text, "&File");
    EXPECT_TRUE(bar->items[0].flags & MF_POPUP);
    auto file = user::FindMenu(bar->items[0].popup);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->items.size(), 3u);
    EXPECT_EQ(file->items[0].id, 40002u);
    EXPECT_EQ(file->items[0].text, "Config &display...\tF2");
    EXPECT_EQ(file->items[1].flags, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(file->items[2].id, 40006u);
    EXPECT_EQ(file->items[2].text, "E&xit\tESC");
    EXPECT_EQ(machine::control::LiveObjects("menu"), 1);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(bar->items[0].popup));  // the popup went with it
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(machine::control::LiveObjects("menu"), 0);
}

TEST_F(Menus, EveryCutOfATemplateIsRefused) {
    const std::vector<uint8_t> data = FileMenu();
    for (size_t n = 0; n < data.size(); ++n)
        EXPECT_EQ(user::MenuFromTemplate(data.data(), n), nullptr) << n;
    std::vector<uint8_t> versioned = data;
    versioned[0] = 1;
    EXPECT_EQ(user::MenuFromTemplate(versioned.data(), versioned.size()), nullptr);
    EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(999)), nullptr);
}

TEST_F(Menus, ItemsOfAClosedLevelEndTheTemplate) {
    TemplateWriter deep;
    for (int i = 0; i < 40; ++i) {  // popups nested deeper than any menu: refused, not a stack overflow
        deep.Word(MF_POPUP | MF_END);
        deep.Text("x");
    }
    EXPECT_EQ(user::MenuFromTemplate(deep.bytes.data(), deep.bytes.size()), nullptr);
}

class Icons : public test::WindowTest {};

TEST_F(Icons, LoadIconReadsTheGroupAndItsImage) {
    // One 32 x 32 32-bit image, id 7.
    std::vector<uint8_t> image(40 + 32 * 32 * 4 + 32 * 4, 0);
    const uint32_t header[] = {40, 32, 64};
    std::memcpy(image.data(), header, sizeof header);
    image[12] = 1;
    image[14] = 32;
    image[40] = 0x33;  // the bottom row's first pixel: blue 0x33
    std::vector<uint8_t> group = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 7, 0};
    const uint32_t bytes = static_cast<uint32_t>(image.size());
    std::memcpy(&group[14], &bytes, 4);
    const RESOURCE_TABLE_ENTRY entries[] = {
        {RT_GROUP_ICON, MAKEINTRESOURCEA(101), 0, group.data(), static_cast<DWORD>(group.size())},
        {RT_ICON, MAKEINTRESOURCEA(7), 0, image.data(), static_cast<DWORD>(image.size())}};
    RegisterProgramResources(entries, 2);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
    ASSERT_NE(icon, nullptr);
    auto picture = user::FindCursor(icon);
    EXPECT_TRUE(picture->isIcon);
    EXPECT_EQ(picture->width, 32);
    EXPECT_EQ(picture->color[31 * 32], 0x33u);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102)), nullptr);
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

}  // namespace
