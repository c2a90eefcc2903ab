#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"
#include "windows.h"

namespace {

class FilesTest : public ::testing::Test {
protected:
    test_support::TempFolder folder_{test_support::TempFolder::kEnter};
    HANDLE OpenForReading(const char* path) {
        return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

TEST_F(FilesTest, OpenExistingFindsFilesInAnyLetterCaseAndSeparator) {
    folder_.AddFile("Media/cube.x");
    for (const char* path : {"Media\\cube.x", "media/CUBE.X", "MEDIA\\Cube.x"}) {
        HANDLE handle = OpenForReading(path);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
        EXPECT_NE(handle, nullptr);
        EXPECT_TRUE(CloseHandle(handle));
    }
}

TEST_F(FilesTest, OpenExistingReportsWhatIsMissing) {
    folder_.AddFile("media/cube.x");
    struct Case {
        const char* path;
        DWORD error;
    };
    const Case cases[] = {
        {"media\\sphere.x", ERROR_FILE_NOT_FOUND},
        {"textures\\sphere.x", ERROR_PATH_NOT_FOUND},
        {"media", ERROR_ACCESS_DENIED},  // a folder is not a file
        {"", ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(OpenForReading(c.path), INVALID_HANDLE_VALUE) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
    EXPECT_EQ(OpenForReading(nullptr), INVALID_HANDLE_VALUE);
}

TEST_F(FilesTest, WrittenBytesReadBackWithPositionAndSize) {
    folder_.AddFolder("Saves");
    HANDLE file = CreateFileA("saves\\Game.dat", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));  // created, not replaced
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file, "hello world", 11, &done, nullptr));
    EXPECT_EQ(done, 11u);
    EXPECT_EQ(GetFileSize(file, nullptr), 11u);
    EXPECT_EQ(SetFilePointer(file, 6, nullptr, FILE_BEGIN), 6u);
    char text[16] = {};
    ASSERT_TRUE(ReadFile(file, text, sizeof(text), &done, nullptr));
    EXPECT_EQ(done, 5u);  // the end of the file is no error
    EXPECT_STREQ(text, "world");
    EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
    EXPECT_EQ(SetFilePointer(file, -7, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_TRUE(CloseHandle(file));

    // The name keeps its spelling inside the existing folder.
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "Saves/Game.dat"));
    // Replacing an existing file says so.
    file = CreateFileA("SAVES/game.DAT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    EXPECT_FALSE(ReadFile(file, text, 1, &done, nullptr));  // opened for writing only
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CloseHandle(file));

    EXPECT_EQ(CreateFileA("saves\\game.dat", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(CreateFileA("nowhere\\game.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FilesTest, ClosedAndMadeUpHandlesAreRefused) {
    folder_.AddFile("a.txt");
    HANDLE file = OpenForReading("a.txt");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    DWORD done = 0;
    char byte = 0;
    EXPECT_FALSE(ReadFile(file, &byte, 1, &done, nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetFileSize(reinterpret_cast<HANDLE>(0x12345), nullptr), INVALID_FILE_SIZE);
}

TEST_F(FilesTest, AttributesTellFilesFromFoldersAndMissingPaths) {
    folder_.AddFile("Media/grass.bmp");
    EXPECT_EQ(GetFileAttributesA("media\\GRASS.bmp"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA("MEDIA"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA((folder_.ProgramPath() + "\\media\\grass.bmp").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA("media\\tile.bmp"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA("none\\tile.bmp"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
