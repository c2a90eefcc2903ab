#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "temp_folder.h"
#include "windows.h"

namespace {

class Report : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        machine::control::SetMessageBoxEcho(false);
    }
    void TearDown() override { machine::control::Reset(); }
};

TEST_F(Report, HoldsTheRunsFieldsProperlyEscaped) {
    machine::FramePresented();
    machine::FramePresented();
    machine::ShowMessageBox("Could not initialize Direct3D.\n\nThis sample will now exit.", "D3D9 \"App\"",
                            MB_ICONERROR);
    machine::ShowMessageBox("w", "c", MB_ICONWARNING);
    machine::ShowMessageBox("i", "c", MB_ICONINFORMATION);
    machine::ShowMessageBox("q", "c", MB_ICONQUESTION | MB_YESNO);
    machine::ShowMessageBox("n", "c", MB_OK);
    machine::DebugOutput("trace\\line\t1\n");
    machine::DebugOutput("\x01\xE9");
    const std::string json = machine::ReportJson(3);
    EXPECT_NE(json.find("\"exit_code\": 3,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"frames_presented\": 2,"), std::string::npos);
    EXPECT_NE(json.find("\"seconds\": "), std::string::npos);
    EXPECT_NE(json.find("{\"text\": \"Could not initialize Direct3D.\\n\\nThis sample will now exit.\", "
                        "\"caption\": \"D3D9 \\\"App\\\"\", \"icon\": \"error\", \"answer\": 1}"),
              std::string::npos)
        << json;
    for (const char* icon : {"\"icon\": \"warning\"", "\"icon\": \"information\"", "\"icon\": \"question\"",
                             "\"icon\": \"none\""})
        EXPECT_NE(json.find(icon), std::string::npos) << icon;
    EXPECT_NE(json.find("\"icon\": \"question\", \"answer\": 6}"), std::string::npos) << json;  // IDYES
    EXPECT_NE(json.find("\"debug_output\": [\"trace\\\\line\\t1\\n\", \"\\u0001\\u00e9\"]"), std::string::npos)
        << json;
}

TEST_F(Report, LaterAreasAddTheirFields) {
    machine::AddReportField("device", [] { return std::string("{\"lost\": 0}"); });
    EXPECT_NE(machine::ReportJson(0).find("\"device\": {\"lost\": 0}\n}"), std::string::npos);
}

TEST_F(Report, IsWrittenToTheAskedPathOnly) {
    test_support::TempFolder folder;
    const auto path = folder.Path() / "report.json";
    machine::WriteReport(0);  // no path: nothing
    EXPECT_FALSE(std::filesystem::exists(path));
    machine::control::SetReportPath(path.string());
    machine::WriteReport(1);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    ASSERT_FALSE(text.str().empty());
    EXPECT_EQ(text.str().front(), '{');  // one JSON object
    EXPECT_EQ(text.str().substr(text.str().size() - 2), "}\n");
    EXPECT_NE(text.str().find("\"exit_code\": 1"), std::string::npos);
}

TEST_F(Report, AReportThatCannotBeWrittenFailsTheRunsEnd) {
    const auto folder = std::filesystem::temp_directory_path() / ("report_" + std::to_string(::getpid()));
    std::filesystem::create_directory(folder);
    machine::control::SetReportPath((folder / "report.json").string());
    EXPECT_TRUE(machine::WriteReport(0));
    std::filesystem::remove_all(folder);  // as if removed during the run
    EXPECT_FALSE(machine::WriteReport(0));
}

TEST(MessageBoxAnswers, AreTheDefaultButtonOfTheType) {
    struct Case {
        uint32_t type;
        int answer;
    };
    for (Case c : {Case{MB_OK, IDOK}, Case{MB_OKCANCEL, IDOK}, Case{MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
                   Case{MB_ABORTRETRYIGNORE, IDABORT}, Case{MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
                   Case{MB_YESNOCANCEL, IDYES}, Case{MB_YESNO | MB_DEFBUTTON2, IDNO}, Case{MB_RETRYCANCEL, IDRETRY},
                   Case{MB_YESNO | MB_DEFBUTTON4, IDYES}, Case{MB_ICONERROR, IDOK}})
        EXPECT_EQ(machine::DefaultMessageBoxAnswer(c.type), c.answer) << c.type;
}

}  // namespace
