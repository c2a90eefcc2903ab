#include <gtest/gtest.h>

#include "windows.h"

namespace {

TEST(CodePagesTest, TextAndItsTerminatorConvertBothWays) {
    WCHAR wide[16];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "Caf\xE9 \x80", -1, wide, 16), 7);  // with the terminator
    EXPECT_EQ(wide[3], u'\u00E9');
    EXPECT_EQ(wide[5], u'\u20AC');  // the euro sign of Windows-1252
    EXPECT_EQ(wide[6], 0);

    char text[16];
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, text, 16, nullptr, nullptr), 7);
    EXPECT_STREQ(text, "Caf\xE9 \x80");
}

TEST(CodePagesTest, SizesAreAskedWithZeroCapacity) {
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 2, nullptr, 0), 2);  // an explicit count, no terminator
    const WCHAR wide[] = u"abc";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr), 4);
}

TEST(CodePagesTest, ADestinationTooSmallFailsAfterWritingWhatFits) {
    WCHAR wide[4] = {u'x', u'x', u'x', u'x'};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdef", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(wide[3], u'd');

    char text[3];
    const WCHAR source[] = u"abcdef";
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, source, -1, text, 3, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(text[2], 'c');
}

TEST(CodePagesTest, CharactersOutsideTheCodePageBecomeTheDefault) {
    const WCHAR source[] = {u'a', u'\u4E2D', u'\u0100', 0};
    char text[8];
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, source, -1, text, 8, nullptr, &usedDefault), 4);
    EXPECT_STREQ(text, "a??");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, source, -1, text, 8, "#", &usedDefault), 4);
    EXPECT_STREQ(text, "a##");
}

TEST(CodePagesTest, BadArgumentsAreRefused) {
    WCHAR wide[4];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(437, 0, "a", -1, wide, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", -1, nullptr, 4), 0);
}

}  // namespace
