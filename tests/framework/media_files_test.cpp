// LocateMediaFile and ReadSdkMediaFolder against real files in a temporary working directory and the
// layer's in-memory registry.
#include "media_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/sdk_registry.h"
#include "temp_folder.h"

namespace {

using test_support::TempFolder;

constexpr HRESULT kFileNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

class MediaSearch : public ::testing::Test {
protected:
    // The registered SDK folder lives inside the working directory, as "<cwd>\sdk".
    std::string SdkFolder() const { return folder.ProgramPath() + "\\sdk"; }
    void RegisterSdk() const { ScopedRegistry::SetSdkPath(SdkFolder()); }

    HRESULT Locate(const char* name, int capacity = MAX_PATH) {
        std::memset(found, '#', sizeof(found));
        return LocateMediaFile(found, capacity, name);
    }

    ScopedRegistry registry;
    TempFolder folder{TempFolder::kEnter};
    char found[MAX_PATH + 8] = {};
};

}  // namespace

TEST_F(MediaSearch, FindsTheGivenPathWhateverTheLetterCaseOfItsFolders) {
    const struct {
        const char* onDisk;
        const char* asked;
    } cases[] = {
        {"media/tile.bmp", "media/tile.bmp"},
        {"Media/tile.bmp", "media/tile.bmp"},
        {"media/grass.bmp", "Media/grass.bmp"},
        {"media/cursor.dds", "Media\\cursor.dds"},
        {"MEDIA/Sphere.X", "media/sphere.x"},
    };
    for (const auto& c : cases) {
        TempFolder run{TempFolder::kEnter};
        run.AddFile(c.onDisk);
        std::string expected = run.ProgramPath() + "\\" + c.asked;
        for (char& ch : expected)
            if (ch == '/') ch = '\\';
        EXPECT_EQ(Locate(c.asked), S_OK) << c.onDisk << " asked as " << c.asked;
        EXPECT_STREQ(found, expected.c_str());
    }
}

TEST_F(MediaSearch, FallsBackToTheBareNameInTheWorkingDirectory) {
    folder.AddFile("cube.x");
    EXPECT_EQ(Locate("media/cube.x"), S_OK);
    EXPECT_STREQ(found, "cube.x");
    EXPECT_EQ(Locate("Some\\Other\\Folder\\CUBE.X"), S_OK);
    EXPECT_STREQ(found, "CUBE.X");
}

TEST_F(MediaSearch, FallsBackToTheSdkMediaFolder) {
    folder.AddFile("sdk/Media/tile.bmp");
    EXPECT_EQ(Locate("media/tile.bmp"), kFileNotFound);  // no key yet

    RegisterSdk();
    EXPECT_EQ(Locate("media/tile.bmp"), S_OK);
    EXPECT_EQ(std::string(found), SdkFolder() + "\\Media\\tile.bmp");
}

TEST_F(MediaSearch, AMissingFileIsNotFoundWithOrWithoutTheSdk) {
    // Without the key, with the key but no value, and with the whole SDK registered.
    for (int setup = 0; setup < 3; ++setup) {
        if (setup == 1) ScopedRegistry::CreateSdkKey();
        if (setup == 2) RegisterSdk();
        EXPECT_EQ(Locate("media/missing.bmp"), kFileNotFound) << "setup " << setup;
        EXPECT_STREQ(found, "media/missing.bmp");
    }
}

TEST_F(MediaSearch, ANameEndingInASeparatorHasNoBareName) {
    folder.AddFolder("media");
    folder.AddFolder("sdk/Media");
    EXPECT_EQ(Locate("media/"), kFileNotFound);
    EXPECT_STREQ(found, "media/");
    RegisterSdk();
    EXPECT_EQ(Locate("media\\"), kFileNotFound);
    EXPECT_STREQ(found, "media\\");
}

TEST_F(MediaSearch, AFullPathLongerThanTheCapacityFailsAtOnce) {
    folder.AddFile("tile.bmp");
    EXPECT_EQ(Locate("tile.bmp", 4), E_FAIL);
    EXPECT_STREQ(found, "");
    // Exactly one character short of the full path and its terminator.
    std::string full = folder.ProgramPath() + "\\tile.bmp";
    EXPECT_EQ(Locate("tile.bmp", static_cast<int>(full.size())), E_FAIL);
    EXPECT_EQ(Locate("tile.bmp", static_cast<int>(full.size() + 1)), S_OK);
    EXPECT_EQ(std::string(found), full);
}

TEST_F(MediaSearch, AnSdkPathThatDoesNotFitStillMeansNotFound) {
    folder.AddFile("sdk/Media/tile.bmp");
    RegisterSdk();
    // Room for the name's full path, not for the SDK folder with "\Media\" and the bare name.
    std::string full = folder.ProgramPath() + "\\x\\tile.bmp";
    int capacity = static_cast<int>(full.size() + 1);
    ASSERT_LT(static_cast<size_t>(capacity), SdkFolder().size() + std::strlen("\\Media\\tile.bmp") + 1);
    EXPECT_EQ(Locate("x/tile.bmp", capacity), kFileNotFound);
    EXPECT_STREQ(found, "x/tile.bmp");
}

TEST_F(MediaSearch, TheNotFoundNameIsCutToTheCapacity) {
    std::string longName = "nowhere/" + std::string(40, 'n') + ".bmp";
    std::string full = folder.ProgramPath() + "\\" + longName;
    int capacity = static_cast<int>(full.size() + 1);
    EXPECT_EQ(Locate(longName.c_str(), capacity), kFileNotFound);
    EXPECT_STREQ(found, longName.c_str());
}

TEST_F(MediaSearch, MissingArgumentsAreRefusedWithoutWriting) {
    EXPECT_EQ(Locate(nullptr), E_INVALIDARG);
    EXPECT_EQ(found[0], '#');
    EXPECT_EQ(Locate("tile.bmp", 0), E_INVALIDARG);
    EXPECT_EQ(found[0], '#');
    EXPECT_EQ(Locate("tile.bmp", -5), E_INVALIDARG);
    EXPECT_EQ(found[0], '#');
    EXPECT_EQ(LocateMediaFile(nullptr, MAX_PATH, "tile.bmp"), E_INVALIDARG);
    EXPECT_EQ(LocateMediaFileBytes(found, 0, "tile.bmp"), E_INVALIDARG);
    EXPECT_EQ(found[0], '#');
}

TEST_F(MediaSearch, TheByteFormSearchesTheSameWay) {
    folder.AddFile("cube.x");
    EXPECT_EQ(LocateMediaFileBytes(found, MAX_PATH, "media/cube.x"), S_OK);
    EXPECT_STREQ(found, "cube.x");
}

// ---- ReadSdkMediaFolder ----

class SdkMediaFolder : public ::testing::Test {
protected:
    HRESULT Read(int capacity) {
        std::memset(buffer, '#', sizeof(buffer));
        return ReadSdkMediaFolder(buffer, capacity);
    }
    ScopedRegistry registry;
    char buffer[300] = {};
};

TEST_F(SdkMediaFolder, AppendsMediaToTheRegisteredPathWhenItFits) {
    ScopedRegistry::SetSdkPath("C:\\S");
    EXPECT_EQ(Read(260), S_OK);
    EXPECT_STREQ(buffer, "C:\\S\\Media\\");
    EXPECT_EQ(Read(12), S_OK);
    EXPECT_STREQ(buffer, "C:\\S\\Media\\");
    EXPECT_EQ(Read(11), E_INVALIDARG);
    EXPECT_STREQ(buffer, "C:\\S");
    EXPECT_EQ(ReadSdkMediaFolderBytes(buffer, 260), S_OK);
}

TEST_F(SdkMediaFolder, AValueWithoutTerminatorEndsWhereItsDataEnds) {
    ScopedRegistry::SetSdkPath("C:\\SDK", false);
    EXPECT_EQ(Read(260), S_OK);
    EXPECT_STREQ(buffer, "C:\\SDK\\Media\\");
}

TEST_F(SdkMediaFolder, FailsWithoutKeyValueOrRoom) {
    EXPECT_EQ(Read(260), E_FAIL);
    EXPECT_STREQ(buffer, "");
    ScopedRegistry::CreateSdkKey();
    EXPECT_EQ(Read(260), E_FAIL);
    EXPECT_EQ(buffer[259], 0);
    ScopedRegistry::SetSdkPath(std::string(100, 'p'));
    EXPECT_EQ(Read(50), E_FAIL);  // the value is larger than the buffer
    EXPECT_EQ(buffer[49], 0);
    EXPECT_EQ(buffer[50], '#');
    EXPECT_EQ(Read(0), E_INVALIDARG);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(ReadSdkMediaFolder(nullptr, 260), E_INVALIDARG);
}
