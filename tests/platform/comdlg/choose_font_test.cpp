// ChooseFontA on the headless machine: the script's font choice, cancelling, and bad records.
#include <cstring>

#include "commdlg.h"
#include "window_test_support.h"

namespace {

class ChooseFontTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner = CreateMainWindow();
        Drain();
        std::strcpy(font.lfFaceName, "Arial");
        font.lfHeight = -24;  // 18 points at 96 dots an inch
        request.lStructSize = sizeof request;
        request.hwndOwner = owner;
        request.lpLogFont = &font;
        request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY;
    }
    static void Script(const char* text) {
        std::string error;
        ASSERT_TRUE(machine::control::LoadInputScript(text, error)) << error;
    }
    HWND owner = nullptr;
    LOGFONTA font{};
    CHOOSEFONTA request{};
};

TEST_F(ChooseFontTest, TheScriptsChoiceFillsTheRecord) {
    Script("0 dialog font Times New Roman 10.5\n");
    const uint64_t before = machine::DialogsShown();
    ASSERT_TRUE(ChooseFontA(&request));
    EXPECT_STREQ(font.lfFaceName, "Times New Roman");
    EXPECT_EQ(request.iPointSize, 105);
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(machine::DialogsShown(), before + 1);
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again";
}

TEST_F(ChooseFontTest, EnterKeepsTheStartingFont) {
    Script("0 dialog key enter\n");
    ASSERT_TRUE(ChooseFontA(&request));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(request.iPointSize, 180);
    EXPECT_EQ(font.lfHeight, -24);
}

TEST_F(ChooseFontTest, CancellingChangesNothing) {
    for (const char* script : {"0 dialog key escape\n", ""}) {  // no dialog events left cancels too
        Script(script);
        EXPECT_FALSE(ChooseFontA(&request)) << script;
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        EXPECT_STREQ(font.lfFaceName, "Arial");
        EXPECT_EQ(font.lfHeight, -24);
        EXPECT_EQ(request.iPointSize, 0);
    }
}

TEST_F(ChooseFontTest, BadRecordsAreRefusedWithTheirReason) {
    CHOOSEFONTA bad = request;
    bad.lStructSize = 8;
    EXPECT_FALSE(ChooseFontA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    bad = request;
    bad.lpLogFont = nullptr;
    EXPECT_FALSE(ChooseFontA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
    bad = request;
    bad.Flags |= CF_ENABLEHOOK;
    EXPECT_FALSE(ChooseFontA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
}

}  // namespace
