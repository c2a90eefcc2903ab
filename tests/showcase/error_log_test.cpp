// The error log: its header, the line cap, the wrap after 2,000 lines, error entries and texts, and
// folders where the log cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "dxerr9.h"
#include "error_log.h"
#include "error_text_table.h"
#include "log_folder.h"
#include "temp_folder.h"

namespace {

using test_support::ReadWholeFile;
using test_support::TempFolder;

const char kHeaderPattern[] =
    "\n=== === === === === === === === === === \n\n"
    "Log started: (Mon|Tue|Wed|Thu|Fri|Sat|Sun) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
    "[ 123][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n \n\n";

class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override { g_logLineCount = 0; }
    std::string LogText() const { return ReadWholeFile(std::filesystem::current_path() / "ErrorLog.txt"); }

    TempFolder m_folder{TempFolder::kEnter};
    CErrorLog m_log;
};

size_t CountLines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(ErrorLogTest, StartWritesOnlyTheHeaderIntoTheWorkingDirectory) {
    { std::ofstream old("ErrorLog.txt"); old << "an older run\n"; }
    EXPECT_TRUE(m_log.Start("ErrorLog.txt"));
    EXPECT_TRUE(std::regex_match(LogText(), std::regex(kHeaderPattern))) << LogText();
    EXPECT_FALSE(HasBackslashName(m_folder.Path()));
    EXPECT_FALSE(LogLandedBesideRoot(m_folder.Path()));
}

struct CapCase {
    const char* name;
    void (*write)(CErrorLog& log);
    std::string expectedLine;
};

const CapCase kCapCases[] = {
    {"long line cut", [](CErrorLog& log) { log.WriteLine(std::string(300, 'a').c_str()); },
     std::string(250, 'a')},
    {"exact fit kept", [](CErrorLog& log) { log.WriteLine(std::string(250, 'e').c_str()); },
     std::string(250, 'e')},
    {"long format result cut",
     [](CErrorLog& log) { log.Log("%s%d", std::string(249, 'c').c_str(), 12); },
     std::string(249, 'c') + "1"},
    {"short format", [](CErrorLog& log) { log.Log("Mouse X co-ord: %03d   Y co-ord: %03d", 5, -5); },
     "Mouse X co-ord: 005   Y co-ord: -05"},
};

TEST_F(ErrorLogTest, EveryLineHoldsAtMost250Characters) {
    for (const CapCase& c : kCapCases) {
        m_log.Start("ErrorLog.txt");
        c.write(m_log);
        const std::string text = LogText();
        const size_t headerEnd = text.find("\n \n\n") + 4;
        EXPECT_EQ(text.substr(headerEnd), c.expectedLine + "\n") << c.name;
    }
}

TEST_F(ErrorLogTest, TheLineAfter2000EmptiesTheFileWithoutAHeader) {
    m_log.Start("ErrorLog.txt");
    const size_t headerLines = CountLines(LogText());
    for (int i = 1; i <= 2000; ++i) m_log.WriteLine(("line " + std::to_string(i)).c_str());
    std::string text = LogText();
    EXPECT_EQ(CountLines(text), headerLines + 2000);
    EXPECT_TRUE(text.ends_with("\nline 2000\n"));

    m_log.WriteLine("line 2001");
    EXPECT_EQ(LogText(), "line 2001\n");
    EXPECT_EQ(g_logLineCount, 0);

    for (int i = 1; i <= 2000; ++i) m_log.Log("again %d", i);
    text = LogText();
    EXPECT_EQ(CountLines(text), 2001u);
    EXPECT_TRUE(text.starts_with("line 2001\nagain 1\n"));

    m_log.WriteLine("third filling");
    EXPECT_EQ(LogText(), "third filling\n");
}

// A code that neither the error-string library, nor the table, nor the system knows.
constexpr HRESULT kUnknownCode = static_cast<HRESULT>(0xE1230042);

struct EntryCase {
    const char* file;
    int line;
    const char* expected;
};

const EntryCase kEntryCases[] = {
    {"cursor", 7, "##  Error (Unknown: 0xE1230042, facility 0x0123, e in file cursor, line 007 "},
    {"cursor", 1234, "##  Error (Unknown: 0xE1230042, facility 0x0123, e in file cursor, line 1234 "},
    {"cursor", -5, "##  Error (Unknown: 0xE1230042, facility 0x0123, e in file cursor, line -05 "},
    {"a/very/long/path/to/the/showcase/sources/and/then/cursor.cpp", 12,
     "##  Error (Unknown: 0xE1230042, facility 0x0123, e in file the/showcase/sources/and/then/cursor.cpp, "
     "line 012 "},
    {"100%done%s%n.cpp", 3, "##  Error (Unknown: 0xE1230042, facility 0x0123, e in file 100%done%s%n.cpp, line 003 "},
};

TEST_F(ErrorLogTest, ErrorEntriesAreComposedOnceAndFollowedByAnEmptyLine) {
    for (const EntryCase& c : kEntryCases) {
        m_log.Start("ErrorLog.txt");
        m_log.LogError(kUnknownCode, c.file, c.line);
        const std::string text = LogText();
        EXPECT_EQ(text.substr(text.find("\n \n\n") + 4), std::string(c.expected) + "\n\n") << c.file;
    }
}

TEST(ErrorText, PlaceholderIsFilledFromTheCodeAlone) {
    CErrorLog log;
    EXPECT_STREQ(log.ErrorText(kUnknownCode), "(Unknown: 0xE1230042, facility 0x0123, error 66)");
    EXPECT_STREQ(log.ErrorText(static_cast<HRESULT>(0xAFFF0000)), "(Unknown: 0xAFFF0000, facility 0x0FFF, error 0)");
    EXPECT_EQ(log.ErrorText(kUnknownCode), g_errorTextBuffer);
}

TEST(ErrorText, LibraryNameComesBeforeTheTable) {
    CErrorLog log;
    for (HRESULT code : {S_OK, E_OUTOFMEMORY, E_INVALIDARG}) {
        ASSERT_EQ(strstr(DXGetErrorString9A(code), "nknown"), nullptr) << std::hex << code;
        EXPECT_STREQ(log.ErrorText(code), DXGetErrorString9A(code)) << std::hex << code;
        EXPECT_STRNE(log.ErrorText(code), LookUpErrorText(code)) << std::hex << code;
    }
}

TEST(ErrorText, TableAnswersWhatTheLibraryDoesNotKnow) {
    CErrorLog log;
    for (uint32_t code : {0x88760352u, 0x88760B59u, 0xC8770BB8u, 0xC8770BDBu, 0x0878000Au}) {
        const HRESULT hr = static_cast<HRESULT>(code);
        const char* name = DXGetErrorString9A(hr);
        const char* expected = strstr(name, "nknown") != nullptr ? LookUpErrorText(hr) : name;
        EXPECT_STREQ(log.ErrorText(hr), expected) << std::hex << code;
    }
}

// For a code only the system knows, the text is the system's without its line end, so the error entry
// stays one line followed by its empty line.
TEST_F(ErrorLogTest, TheSystemTextLosesItsLineEnd) {
    int fromSystem = 0;
    for (DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_HANDLE_EOF, ERROR_INVALID_PARAMETER}) {
        const HRESULT code = static_cast<HRESULT>(error);
        char system[128] = {};
        if (strstr(DXGetErrorString9A(code), "nknown") == nullptr || LookUpErrorText(code) != nullptr ||
            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), system, 127, nullptr) == 0)
            continue;
        ++fromSystem;
        std::string expected(system);
        ASSERT_EQ(expected.substr(expected.size() - 2), "\r\n") << error;
        expected.resize(expected.size() - 2);
        EXPECT_EQ(m_log.ErrorText(code), expected) << error;

        m_log.Start("ErrorLog.txt");
        m_log.LogError(code, "cursor", 42);
        const std::string text = LogText();
        EXPECT_EQ(text.substr(text.find("\n \n\n") + 4),
                  "##  Error " + expected.substr(0, 40) + " in file cursor, line 042 \n\n")
            << error;
    }
    EXPECT_GT(fromSystem, 0) << "no code of the list comes from the system's texts";
}

struct TableCase {
    uint32_t code;
    const char* text;  // null: not in the table
};

const TableCase kTableCases[] = {
    {0x00000000, "No error"},
    {0x0878000A, "DS  had to subst 3D algorithm"},
    {0x8000FFFF, "Didn't expect that"},
    {0x887800AA, "DS  Object not init'd"},
    {0x88760351, nullptr},
    {0x88760352, "DXFile: Bad object"},
    {0x8876035A, "DXFile: Resource not found"},
    {0x8876036C, "DXFile: No internet"},
    {0x8876036D, nullptr},
    {0x88760B53, nullptr},
    {0x88760B54, "D3DX: cannot modify index buffer"},
    {0x88760B59, "D3DX: Invalid data"},
    {0x88760B5A, nullptr},
    {0xC8770BB7, nullptr},
    {0xC8770BB8, "Out of memory"},
    {0xC8770BD8, "An error occured while enumerating surface formats"},
    {0xC8770BDB, "No suitable match found"},
    {0xC8770BDC, nullptr},
    {0x00000001, nullptr},
};

TEST(ErrorTextTable, RowsAndRunBoundaries) {
    for (const TableCase& c : kTableCases) {
        const char* text = LookUpErrorText(static_cast<HRESULT>(c.code));
        if (c.text == nullptr) {
            EXPECT_EQ(text, nullptr) << std::hex << c.code;
        } else {
            EXPECT_STREQ(text, c.text) << std::hex << c.code;
        }
    }
}

TEST_F(ErrorLogTest, WorkingDirectoryTooLongForThePathLeavesNoLog) {
    // The path holds 120 characters with its terminator: directory, "\", "ErrorLog.txt".
    const std::filesystem::path fits = EnterFolderOfLength(m_folder.Path(), 120 - 1 - 12 - 1);
    m_log.Start("ErrorLog.txt");
    m_log.WriteLine("kept");
    EXPECT_TRUE(std::filesystem::exists(fits / "ErrorLog.txt"));

    for (size_t length : {120u - 12u - 1u, 119u, 120u, 200u}) {
        CErrorLog log;
        const std::filesystem::path folder = EnterFolderOfLength(m_folder.Path(), length);
        EXPECT_TRUE(log.Start("ErrorLog.txt"));
        EXPECT_TRUE(log.Log("not written %d", 1));
        log.LogError(E_FAIL, "cursor", 1);
        EXPECT_EQ(log.m_filePath[0], '\0') << length;
        EXPECT_FALSE(std::filesystem::exists(folder / "ErrorLog.txt")) << length;
        EXPECT_FALSE(HasBackslashName(m_folder.Path())) << length;
    }
}

TEST_F(ErrorLogTest, LogFileThatCannotBeOpenedIsHarmless) {
    std::filesystem::create_directory("ErrorLog.txt");
    EXPECT_TRUE(m_log.Start("ErrorLog.txt"));
    EXPECT_TRUE(m_log.WriteLine("lost"));
    m_log.LogError(E_FAIL, "cursor", 9);
    EXPECT_TRUE(std::filesystem::is_directory("ErrorLog.txt"));

    CErrorLog neverStarted;
    EXPECT_TRUE(neverStarted.WriteLine("no path yet"));
}

}  // namespace
