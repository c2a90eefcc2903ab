// The runtime's functions, included as the program includes them: windows.h first, then the standard
// headers and the test framework (the fopen redirect must leave them working).
#include "windows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "temp_folder.h"

namespace {

TEST(CrtTest, RandIsThePlatformsGenerator) {
    srand(1);  // the start state
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464, 5705, 28145};
    for (int value : expected) EXPECT_EQ(rand(), value);
    srand(1);
    EXPECT_EQ(std::rand(), 41);
    srand(1);
}

TEST(CrtTest, BoundedFormatLeavesTruncatedTextUnterminated) {
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 5, "%s", "abc"), 3);
    EXPECT_STREQ(buffer, "abc");

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 5, "%d", 12345), 5);  // fits exactly: no terminator
    EXPECT_EQ(std::string(buffer, 6), "12345#");

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 5, "%s-%d", "abcdef", 7), -1);
    EXPECT_EQ(std::string(buffer, 6), "abcde#");
    buffer[4] = '\0';  // what callers do
    EXPECT_STREQ(buffer, "abcd");

    EXPECT_EQ(_snprintf(nullptr, 0, "%d", 1234), 4);
    char guid[39];
    EXPECT_EQ(_snprintf(guid, sizeof(guid), "{%0.8X-%0.4X}", 0x3D82AB44u, 0x62DAu), 15);
    EXPECT_STREQ(guid, "{3D82AB44-62DA}");
}

TEST(CrtTest, CompareIgnoringCase) {
    EXPECT_EQ(_stricmp("Media", "MEDIA"), 0);
    EXPECT_LT(_stricmp("abc", "ABD"), 0);
    EXPECT_EQ(_strnicmp("abcX", "ABCy", 3), 0);
    EXPECT_NE(_strnicmp("abcX", "ABCy", 4), 0);
}

class CrtFilesTest : public ::testing::Test {
protected:
    test_support::TempFolder folder_{test_support::TempFolder::kEnter};
};

TEST_F(CrtFilesTest, WorkingDirectoryComesInThePlatformForm) {
    char buffer[512];
    ASSERT_EQ(_getcwd(buffer, sizeof(buffer)), buffer);
    EXPECT_EQ(std::string(buffer), folder_.ProgramPath());
    EXPECT_EQ(_getcwd(buffer, 3), nullptr);
    EXPECT_EQ(errno, ERANGE);
    char* allocated = _getcwd(nullptr, 0);
    ASSERT_NE(allocated, nullptr);
    EXPECT_EQ(std::string(allocated), folder_.ProgramPath());
    std::free(allocated);
}

TEST_F(CrtFilesTest, TheLogPathLandsInsideTheWorkingDirectory) {
    char path[120];
    ASSERT_NE(_getcwd(path, 120), nullptr);
    std::strcat(path, "\\");
    std::strcat(path, "ErrorLog.txt");
    FILE* log = fopen(path, "w+");
    ASSERT_NE(log, nullptr);
    std::fprintf(log, "line\n");
    std::fclose(log);
    log = fopen(path, "a+");
    ASSERT_NE(log, nullptr);
    std::fprintf(log, "more\n");
    std::fclose(log);

    std::ifstream written(folder_.Path() / "ErrorLog.txt", std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "line\nmore\n");  // line feeds as they are
    EXPECT_FALSE(std::filesystem::exists(folder_.Path().parent_path() /
                                         (folder_.Path().filename().string() + "\\ErrorLog.txt")));
}

TEST_F(CrtFilesTest, OpeningFollowsThePathRules) {
    folder_.AddFile("Media/notes.txt", "hello");
    FILE* file = std::fopen("media\\NOTES.txt", "rt");
    ASSERT_NE(file, nullptr);
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, 5, file), 5u);
    EXPECT_STREQ(text, "hello");
    std::fclose(file);
    EXPECT_EQ(fopen("media\\missing.txt", "r"), nullptr);
    EXPECT_EQ(fopen("nowhere\\new.txt", "w"), nullptr);
    file = fopen("MEDIA\\new.txt", "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "Media/new.txt"));
}

}  // namespace
