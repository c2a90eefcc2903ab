// OpenReadme: the candidates in their order, the shell's open request, and the warning box.
#include "readme_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/module_control.h"
#include "machine/control.h"
#include "machine/shell.h"
#include "support/sdk_registry.h"
#include "temp_folder.h"
#include "winbase.h"
#include "winuser.h"

namespace {

using test_support::TempFolder;

class ReadmeLauncher : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        kernel::module_control::Reset();
        root = folder.ProgramPath();
        // The program is "<root>\samples\bin\Viewer.exe".
        kernel::module_control::SetProgramFilePath(root + "\\samples\\bin\\Viewer.exe");
    }
    void TearDown() override {
        kernel::module_control::Reset();
        machine::control::Reset();
    }

    // The readme candidates beside the program, in the order they are tried.
    std::vector<std::string> ProgramCandidates() const {
        return {root + "\\samples\\Viewer\\readme.txt", root + "\\samples\\bin\\readme.txt",
                root + "\\samples\\readme.txt", root + "\\readme.txt"};
    }
    static const char* DiskPath(int candidate) {
        static const char* const paths[] = {"samples/Viewer/readme.txt", "samples/bin/readme.txt",
                                            "samples/readme.txt", "readme.txt"};
        return paths[candidate];
    }

    static std::vector<std::string> OpenedFiles() {
        std::vector<std::string> files;
        for (const machine::ShellRequest& request : machine::control::ShellRequests()) files.push_back(request.file);
        return files;
    }
    static void ExpectWarningBoxOnly() {
        EXPECT_TRUE(machine::control::ShellRequests().empty());
        auto boxes = machine::control::MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Could not find readme.txt");
        EXPECT_EQ(boxes[0].caption, "DirectX SDK Sample");
        EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONWARNING));
    }

    ScopedRegistry registry;
    TempFolder folder{TempFolder::kEnter};
    std::string root;
};

}  // namespace

TEST_F(ReadmeLauncher, TakesTheFirstCandidateBesideTheProgramThatExists) {
    folder.AddFolder("samples/bin");
    std::vector<std::string> candidates = ProgramCandidates();
    for (int first = 3; first >= 0; --first) {
        folder.AddFile(DiskPath(first));  // candidates first..3 exist from here on
        machine::control::Reset();
        OpenReadme(nullptr, nullptr);
        EXPECT_EQ(OpenedFiles(), std::vector<std::string>{candidates[static_cast<size_t>(first)]}) << first;
        EXPECT_TRUE(machine::control::MessageBoxes().empty());
    }
}

TEST_F(ReadmeLauncher, AsksTheShellToOpenTheReadme) {
    folder.AddFile("samples/bin/readme.txt");
    OpenReadme(nullptr, nullptr);
    auto requests = machine::control::ShellRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].operation, "open");
    EXPECT_EQ(requests[0].file, root + "\\samples\\bin\\readme.txt");
    EXPECT_EQ(requests[0].parameters, "");
    EXPECT_EQ(requests[0].directory, "");
    EXPECT_EQ(requests[0].showCommand, SW_SHOW);
    EXPECT_EQ(GetModuleHandleA("shell32.dll"), nullptr) << "the shell library is freed again";
}

TEST_F(ReadmeLauncher, ASampleNameLooksInTheSdkFirst) {
    folder.AddFile("sdk/C++/Viewer/readme.txt");
    folder.AddFile("samples/bin/readme.txt");
    ScopedRegistry::SetSdkPath(root + "\\sdk");

    OpenReadme(nullptr, "Viewer");
    EXPECT_EQ(OpenedFiles(), std::vector<std::string>{root + "\\sdk\\C++\\Viewer\\readme.txt"});

    // Without a sample name the registry is not consulted.
    machine::control::Reset();
    OpenReadme(nullptr, nullptr);
    EXPECT_EQ(OpenedFiles(), std::vector<std::string>{root + "\\samples\\bin\\readme.txt"});

    // A sample the SDK does not hold falls back to the program's folders.
    machine::control::Reset();
    OpenReadme(nullptr, "Other");
    EXPECT_EQ(OpenedFiles(), std::vector<std::string>{root + "\\samples\\bin\\readme.txt"});
}

TEST_F(ReadmeLauncher, ASampleNameWithoutTheSdkFallsBackToTheProgramsFolders) {
    folder.AddFile("sdk/C++/Viewer/readme.txt");
    folder.AddFile("samples/readme.txt");
    OpenReadme(nullptr, "Viewer");  // no key
    EXPECT_EQ(OpenedFiles(), std::vector<std::string>{root + "\\samples\\readme.txt"});
    machine::control::Reset();
    ScopedRegistry::CreateSdkKey();  // key, no value
    OpenReadme(nullptr, "Viewer");
    EXPECT_EQ(OpenedFiles(), std::vector<std::string>{root + "\\samples\\readme.txt"});
}

TEST_F(ReadmeLauncher, WarnsWhenNoReadmeIsFound) {
    folder.AddFolder("samples/bin");
    OpenReadme(nullptr, "Viewer");
    ExpectWarningBoxOnly();
}

TEST_F(ReadmeLauncher, WarnsWhenTheShellCannotBeReached) {
    folder.AddFile("samples/bin/readme.txt");
    const struct {
        bool library, entryPoint;
    } cases[] = {{false, false}, {false, true}, {true, false}};
    for (const auto& c : cases) {
        machine::control::Reset();
        kernel::module_control::SetShellAvailable(c.library, c.entryPoint);
        OpenReadme(nullptr, nullptr);
        ExpectWarningBoxOnly();
        EXPECT_EQ(GetModuleHandleA("shell32.dll"), nullptr);
    }
}

TEST_F(ReadmeLauncher, AProgramPathLongerThanItsBufferIsCutSafely) {
    kernel::module_control::SetProgramFilePath(root + "\\a\\b\\" + std::string(400, 'd') + "\\Viewer.exe");
    OpenReadme(nullptr, "Viewer");
    ExpectWarningBoxOnly();
}
