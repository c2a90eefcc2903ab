#include "kernel/paths.h"

#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"
#include "windows.h"

namespace {

class PathsTest : public ::testing::Test {
protected:
    test_support::TempFolder folder_{test_support::TempFolder::kEnter};
    void SetUp() override {
        folder_.AddFile("media/cursor.dds");
        folder_.AddFile("media/grass.bmp");
        folder_.AddFile("media/Tile.BMP");
        folder_.AddFile("readme.txt");
    }
};

TEST_F(PathsTest, EverySpellingOfAComponentFindsTheOneFolder) {
    struct Case {
        const char* programPath;
        const char* expected;
    };
    const Case cases[] = {
        {"Media\\cursor.dds", "media/cursor.dds"},
        {"Media/grass.bmp", "media/grass.bmp"},
        {"media/tile.bmp", "media/Tile.BMP"},
        {"MEDIA\\\\GRASS.BMP", "media/grass.bmp"},  // doubled separators count once
        {".\\media\\..\\Readme.TXT", "readme.txt"},
        {"media\\", "media/"},
        {".", "."},
    };
    for (const Case& c : cases) {
        kernel::ResolvedPath resolved = kernel::ResolvePath(c.programPath);
        EXPECT_EQ(resolved.path, c.expected) << c.programPath;
        EXPECT_TRUE(resolved.Exists()) << c.programPath;
    }
}

TEST_F(PathsTest, AbsolutePathsInEitherFormResolve) {
    std::string linux = (folder_.Path() / "MEDIA/Cursor.dds").string();
    EXPECT_EQ(kernel::ResolvePath(linux).path, (folder_.Path() / "media/cursor.dds").string());
    EXPECT_EQ(kernel::ResolvePath(folder_.ProgramPath() + "\\Media\\GRASS.bmp").path,
              (folder_.Path() / "media/grass.bmp").string());
}

TEST_F(PathsTest, MissingComponentsAreCountedAndKeptAsWritten) {
    kernel::ResolvedPath file = kernel::ResolvePath("Media\\New.txt");
    EXPECT_EQ(file.path, "media/New.txt");
    EXPECT_EQ(file.missingComponents, 1);
    EXPECT_TRUE(file.ParentExists());

    kernel::ResolvedPath deep = kernel::ResolvePath("Textures\\Sky\\blue.bmp");
    EXPECT_EQ(deep.path, "Textures/Sky/blue.bmp");
    EXPECT_EQ(deep.missingComponents, 3);
    EXPECT_FALSE(deep.ParentExists());

    // A file is not a folder: nothing below it, and a trailing separator does not name it.
    EXPECT_EQ(kernel::ResolvePath("readme.txt\\x").missingComponents, 1);
    EXPECT_FALSE(kernel::ResolvePath("readme.txt\\").Exists());

    EXPECT_FALSE(kernel::ResolvePath("").Exists());
}

TEST_F(PathsTest, FullPathNameJoinsTheWorkingDirectory) {
    char buffer[MAX_PATH];
    char* filePart = nullptr;
    DWORD length = GetFullPathNameA("media/cube.x", MAX_PATH, buffer, &filePart);
    std::string expected = folder_.ProgramPath() + "\\media\\cube.x";
    EXPECT_EQ(length, expected.size());
    EXPECT_EQ(std::string(buffer), expected);
    ASSERT_NE(filePart, nullptr);
    EXPECT_STREQ(filePart, "cube.x");
    EXPECT_EQ(filePart, buffer + expected.size() - 6);

    std::string joined = folder_.ProgramPath() + "\\a\\c.txt";
    EXPECT_EQ(GetFullPathNameA("a\\b\\..\\.\\c.txt", MAX_PATH, buffer, &filePart), joined.size());
    EXPECT_EQ(std::string(buffer), joined);
    EXPECT_EQ(GetFullPathNameA("\\x\\..\\..\\y", MAX_PATH, buffer, &filePart), 2u);
    EXPECT_STREQ(buffer, "\\y");
}

TEST_F(PathsTest, FullPathNameWithATrailingSeparatorHasNoFinalComponent) {
    char buffer[MAX_PATH];
    char* filePart = buffer;
    DWORD length = GetFullPathNameA("media\\", MAX_PATH, buffer, &filePart);
    EXPECT_EQ(std::string(buffer), folder_.ProgramPath() + "\\media\\");
    EXPECT_EQ(length, folder_.ProgramPath().size() + 7);
    EXPECT_EQ(filePart, nullptr);
}

TEST_F(PathsTest, FullPathNameThatDoesNotFitAnswersTheSizeNeeded) {
    std::string expected = folder_.ProgramPath() + "\\cube.x";
    char buffer[MAX_PATH];
    std::memset(buffer, 'z', sizeof(buffer));
    char* filePart = buffer;
    // Exactly the length: no room for the terminator.
    EXPECT_EQ(GetFullPathNameA("cube.x", static_cast<DWORD>(expected.size()), buffer, &filePart), expected.size() + 1);
    EXPECT_EQ(buffer[0], 'z');  // untouched
    EXPECT_EQ(filePart, nullptr);
    EXPECT_EQ(GetFullPathNameA("cube.x", 4, buffer, nullptr), expected.size() + 1);
    EXPECT_EQ(GetFullPathNameA("cube.x", 0, nullptr, nullptr), expected.size() + 1);
    // One more: it fits.
    EXPECT_EQ(GetFullPathNameA("cube.x", static_cast<DWORD>(expected.size() + 1), buffer, nullptr), expected.size());

    EXPECT_EQ(GetFullPathNameA("", MAX_PATH, buffer, nullptr), 0u);
    EXPECT_EQ(GetFullPathNameA(nullptr, MAX_PATH, buffer, nullptr), 0u);
}

TEST_F(PathsTest, CurrentDirectoryComesInThePlatformForm) {
    char buffer[MAX_PATH];
    std::string expected = folder_.ProgramPath();
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), expected.size());
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(GetCurrentDirectoryA(3, buffer), expected.size() + 1);
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), expected.size() + 1);
}

}  // namespace
