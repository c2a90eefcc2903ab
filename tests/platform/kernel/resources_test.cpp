#include "kernel/resources.h"

#include <gtest/gtest.h>

#include "windows.h"

namespace {

const char kIcon[] = "icon";
const char kMenu[] = "menu";
const char kDialogEnglish[] = "dialog-1033";
const char kDialogGerman[] = "dialog-1031";
const char kWave[] = "RIFF....WAVE";
const char kNeutral[] = "neutral";

const RESOURCE_TABLE_ENTRY kTable[] = {
    {RT_GROUP_ICON, MAKEINTRESOURCEA(101), 0, kIcon, sizeof(kIcon)},
    {RT_MENU, MAKEINTRESOURCEA(141), 0, kMenu, sizeof(kMenu)},
    {RT_DIALOG, MAKEINTRESOURCEA(144), 1031, kDialogGerman, sizeof(kDialogGerman)},
    {RT_DIALOG, MAKEINTRESOURCEA(144), 1033, kDialogEnglish, sizeof(kDialogEnglish)},
    {RT_RCDATA, MAKEINTRESOURCEA(5), 1033, kDialogEnglish, sizeof(kDialogEnglish)},
    {RT_RCDATA, MAKEINTRESOURCEA(5), 0, kNeutral, sizeof(kNeutral)},
    {"WAVE", "BOUNCE", 1033, kWave, sizeof(kWave)},
};

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterProgramResources(kTable, sizeof(kTable) / sizeof(kTable[0])); }
    void TearDown() override { RegisterProgramResources(nullptr, 0); }

    static std::string Text(HMODULE module, HRSRC found) {
        HGLOBAL loaded = LoadResource(module, found);
        const void* data = LockResource(loaded);
        return data == nullptr ? std::string() : std::string(static_cast<const char*>(data));
    }
};

TEST_F(ResourcesTest, FoundByIdForTheProgramsModule) {
    for (HMODULE module : {static_cast<HMODULE>(nullptr), GetModuleHandleA(nullptr)}) {
        HRSRC menu = FindResourceA(module, MAKEINTRESOURCEA(141), RT_MENU);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Text(module, menu), "menu");
        EXPECT_EQ(SizeofResource(module, menu), sizeof(kMenu));
    }
    EXPECT_EQ(Text(nullptr, FindResourceA(nullptr, "#141", RT_MENU)), "menu");  // "#id" names an id
}

TEST_F(ResourcesTest, NamesAndTypeNamesIgnoreCase) {
    HRSRC wave = FindResourceA(nullptr, "bounce", "wave");
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(Text(nullptr, wave), "RIFF....WAVE");
    EXPECT_EQ(FindResourceA(nullptr, "BOUNCE", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(141), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(142), RT_MENU), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(ResourcesTest, LanguageExactThenNeutralThenAny) {
    EXPECT_EQ(Text(nullptr, FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(144), 1033)), "dialog-1033");
    EXPECT_EQ(Text(nullptr, FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(144), 1031)), "dialog-1031");
    EXPECT_EQ(Text(nullptr, FindResourceExA(nullptr, RT_RCDATA, MAKEINTRESOURCEA(5), 1036)), "neutral");
    EXPECT_EQ(Text(nullptr, FindResourceExA(nullptr, RT_RCDATA, MAKEINTRESOURCEA(5), 1033)), "dialog-1033");
    // No language asked: neutral, else the first there is.
    EXPECT_EQ(Text(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(144), RT_DIALOG)), "dialog-1031");
    const RESOURCE_TABLE_ENTRY* entry = kernel::FindProgramResource(nullptr, RT_DIALOG, MAKEINTRESOURCEA(144), 1033);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->data, kDialogEnglish);
}

TEST_F(ResourcesTest, OtherModulesAndMadeUpHandlesFindNothing) {
    HMODULE shell = LoadLibraryA("shell32.dll");
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(FindResourceA(shell, MAKEINTRESOURCEA(141), RT_MENU), nullptr);
    FreeLibrary(shell);
    int notAnEntry = 0;
    EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(&notAnEntry)), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(&notAnEntry)), 0u);
    EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(reinterpret_cast<uintptr_t>(&kTable[1]) + 1)), nullptr);
    RegisterProgramResources(nullptr, 0);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(141), RT_MENU), nullptr);
}

}  // namespace
