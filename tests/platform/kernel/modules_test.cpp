#include <gtest/gtest.h>

#include "machine/shell.h"
#include "shellapi.h"
#include "temp_folder.h"
#include "windows.h"

namespace machine::detail {
void ResetShellRequests();  // the machine's reset hook for the shell record
}

namespace {

using ShellExecuteFunction = HINSTANCE (*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

TEST(ModulesTest, TheProgramsModuleAndPath) {
    HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(GetModuleHandleA("kernel_tests"), program);
    EXPECT_EQ(GetModuleHandleA("KERNEL_TESTS.EXE"), program);
    EXPECT_EQ(GetModuleHandleA("user32.dll"), nullptr);

    char path[260];
    DWORD length = GetModuleFileNameA(nullptr, path, 260);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length, std::strlen(path));
    std::string text = path;
    EXPECT_EQ(text.front(), '\\');
    EXPECT_EQ(text.substr(text.rfind('\\') + 1), "kernel_tests");
    EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);  // the platform form leads back to the file

    char small[5];
    EXPECT_EQ(GetModuleFileNameA(program, small, 5), 5u);  // cut, and still terminated
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), text.substr(0, 4));
}

TEST(ModulesTest, OnlyTheShellCanBeLoaded) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("d3d8.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    HMODULE shell = LoadLibraryA("SHELL32.DLL");
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(GetModuleHandleA("shell32"), shell);
    EXPECT_EQ(reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteA")),
              reinterpret_cast<void (*)()>(&ShellExecuteA));
    EXPECT_EQ(GetProcAddress(shell, "ShellExecuteW"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "ShellExecuteA"), nullptr);
    EXPECT_TRUE(FreeLibrary(shell));
    // Unloaded: the handle means nothing any more.
    EXPECT_EQ(GetModuleHandleA("shell32.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(shell, "ShellExecuteA"), nullptr);
    EXPECT_FALSE(FreeLibrary(shell));
}

class ShellTest : public ::testing::Test {
protected:
    test_support::TempFolder folder_{test_support::TempFolder::kEnter};
    void SetUp() override { machine::detail::ResetShellRequests(); }
    void TearDown() override { machine::detail::ResetShellRequests(); }
};

TEST_F(ShellTest, OpeningAnExistingDocumentIsRecorded) {
    folder_.AddFile("Samples/C++/Demo/readme.txt", "read me");
    HMODULE shell = LoadLibraryA("shell32.dll");
    auto shellExecute = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteA")));
    ASSERT_NE(shellExecute, nullptr);
    std::string document = folder_.ProgramPath() + "\\samples\\C++\\demo\\README.TXT";
    HINSTANCE result = shellExecute(nullptr, "open", document.c_str(), nullptr, nullptr, SW_SHOW);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    std::vector<machine::ShellRequest> requests = machine::control::ShellRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].operation, "open");
    EXPECT_EQ(requests[0].file, document);
    EXPECT_EQ(requests[0].showCommand, SW_SHOW);
    FreeLibrary(shell);
}

TEST_F(ShellTest, MissingDocumentsAndOtherVerbsFail) {
    folder_.AddFile("readme.txt");
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "missing.txt", nullptr, nullptr, SW_SHOW)),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "none\\readme.txt", nullptr, nullptr, SW_SHOW)),
              ERROR_PATH_NOT_FOUND);
    EXPECT_LE(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "print", "readme.txt", nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_LE(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_TRUE(machine::control::ShellRequests().empty());
}

}  // namespace
