// The dialog manager: a template read into a dialog and its controls, the modal loop, the controls'
// messages, notifications only on a user's choice, the keyboard, and the input script's dialog events.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "user/dialog_control.h"
#include "window_test_support.h"

namespace {

using user::control::DialogControl;
using user::control::DialogControls;
using user::control::RunningDialog;

constexpr int kFirstList = 100, kSecondList = 101;
constexpr int kRadioA = 200, kRadioB = 201, kRadioC = 202;
constexpr WORD kTemplateId = 300;

// Builds a dialog template in the platform's binary form.
class TemplateWriter {
public:
    void Word(uint16_t w) {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    void Dword(uint32_t d) {
        Word(static_cast<uint16_t>(d));
        Word(static_cast<uint16_t>(d >> 16));
    }
    void Text(const std::string& text) {
        for (char c : text) Word(static_cast<uint8_t>(c));
        Word(0);
    }
    void Align() {
        while (bytes.size() % 4) bytes.push_back(0);
    }
    void Header(uint32_t style, uint16_t count, const std::string& caption) {
        Dword(style);
        Dword(0);
        Word(count);
        for (int16_t v : {0, 0, 200, 100}) Word(static_cast<uint16_t>(v));
        Word(0);  // menu
        Word(0);  // class
        Text(caption);
        if (style & DS_SETFONT) {
            Word(8);
            Text("MS Shell Dlg");
        }
    }
    void Item(uint16_t id, uint16_t atom, uint32_t style, const std::string& text) {
        Align();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (int16_t v : {10, 10, 50, 14}) Word(static_cast<uint16_t>(v));
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);
    }
    std::vector<uint8_t> bytes;
};

constexpr uint16_t kButton = 0x80, kStatic = 0x82, kCombo = 0x85;

std::vector<uint8_t> TestTemplate() {
    TemplateWriter w;
    w.Header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 9, "Test Dialog");
    w.Item(0xFFFF, kStatic, SS_LEFT | WS_GROUP, "&Label:");
    w.Item(kFirstList, kCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "");
    w.Item(kSecondList, kCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "");
    w.Item(kRadioA, kButton, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&A");
    w.Item(kRadioB, kButton, BS_AUTORADIOBUTTON, "&B");
    w.Item(0xFFFF, kStatic, SS_LEFT | WS_GROUP, "Next group");
    w.Item(kRadioC, kButton, BS_AUTORADIOBUTTON | WS_GROUP, "&C");
    w.Item(IDOK, kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK");
    w.Item(IDCANCEL, kButton, BS_PUSHBUTTON | WS_TABSTOP, "Cancel");
    return w.bytes;
}

struct DialogCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<DialogCall> g_calls;
// Runs inside WM_INITDIALOG (after the lists are filled) and for every WM_COMMAND.
std::function<void(HWND)> g_onInit;
std::function<void(HWND, WORD id, WORD code)> g_onCommand;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    g_calls.push_back({message, wParam, lParam});
    if (message == WM_INITDIALOG) {
        for (const char* text : {"First", "Second", "Third"}) {
            const LRESULT index = SendDlgItemMessageA(dialog, kFirstList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            SendDlgItemMessageA(dialog, kFirstList, CB_SETITEMDATA, index, 0x1000 + index);
        }
        if (g_onInit) g_onInit(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam), code = HIWORD(wParam);
        if (g_onCommand) g_onCommand(dialog, id, code);
        if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

class Dialogs : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_calls.clear();
        g_onInit = nullptr;
        g_onCommand = nullptr;
        bytes = TestTemplate();
        Register(bytes);
    }
    void TearDown() override {
        g_onInit = nullptr;
        g_onCommand = nullptr;
        WindowTest::TearDown();
    }
    void Register(const std::vector<uint8_t>& data) {
        table[0] = {RT_DIALOG, MAKEINTRESOURCEA(kTemplateId), 1033, data.data(), static_cast<DWORD>(data.size())};
        RegisterProgramResources(table, 1);
    }
    // Runs the test dialog; the steps run one per idle point, and Escape ends it after the last.
    INT_PTR Run(HWND owner, std::vector<std::function<void(HWND)>> steps, LPARAM init = 0) {
        size_t next = 0;
        machine::control::SetIdleHook([&] {
            HWND dialog = RunningDialog();
            if (dialog == nullptr) return;
            if (next < steps.size()) steps[next++](dialog);
            else user::control::PressDialogKey(dialog, VK_ESCAPE);
        });
        const INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), owner, TestDialogProc, init);
        machine::control::SetIdleHook(nullptr);
        return result;
    }
    static std::vector<DialogCall> Commands() {
        std::vector<DialogCall> commands;
        for (const DialogCall& c : g_calls)
            if (c.message == WM_COMMAND) commands.push_back(c);
        return commands;
    }

    std::vector<uint8_t> bytes;
    RESOURCE_TABLE_ENTRY table[1]{};
};

TEST_F(Dialogs, TheTemplateGivesTheDialogAndItsControlsInTabOrder) {
    HWND owner = CreateMainWindow();
    HWND seen = nullptr;
    const INT_PTR result = Run(owner, {[&](HWND dialog) {
        seen = dialog;
        char caption[64];
        SendMessageA(dialog, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption));
        EXPECT_STREQ(caption, "Test Dialog");
        for (const DialogCall& c : g_calls) {
            if (c.message != WM_INITDIALOG) continue;
            EXPECT_EQ(c.lParam, 0x5A5A);
            EXPECT_EQ(reinterpret_cast<HWND>(c.wParam), GetDlgItem(dialog, kFirstList)) << "the first tab stop";
        }
        EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner is disabled while the dialog runs";
        const auto controls = DialogControls(dialog);
        ASSERT_EQ(controls.size(), 9u);
        const std::vector<std::pair<int, std::string>> expected = {
            {0xFFFF, "Static"}, {kFirstList, "ComboBox"}, {kSecondList, "ComboBox"}, {kRadioA, "Button"},
            {kRadioB, "Button"}, {0xFFFF, "Static"}, {kRadioC, "Button"}, {IDOK, "Button"}, {IDCANCEL, "Button"}};
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(controls[i].id, expected[i].first) << i;
            EXPECT_EQ(controls[i].className, expected[i].second) << i;
            EXPECT_TRUE(controls[i].visible && controls[i].enabled) << i;
        }
        EXPECT_EQ(controls[0].text, "&Label:");
        EXPECT_TRUE(controls[7].defaultButton);
        EXPECT_FALSE(controls[3].checked || controls[4].checked || controls[6].checked);
        EXPECT_EQ(DialogControl(dialog, kFirstList)->ItemTexts(), (std::vector<std::string>{"First", "Second", "Third"}));
        EXPECT_EQ(DialogControl(dialog, kFirstList)->selection, CB_ERR);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kFirstList)) << "the first tab stop has the keyboard";
    }}, 0x5A5A);

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(IsWindow(seen)) << "the dialog window is gone once it ended";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(machine::DialogsShown(), 1u);
    ASSERT_FALSE(g_calls.empty());
    EXPECT_NE(g_calls.front().message, static_cast<UINT>(WM_INITDIALOG)) << "messages come before WM_INITDIALOG";
}

TEST_F(Dialogs, EnterIsTheDefaultButtonAndEscapeTheCloseBoxAndCancelEndWithCancel) {
    struct Case {
        const char* name;
        std::function<void(HWND)> act;
        INT_PTR result;
    };
    const Case cases[] = {
        {"enter", [](HWND d) { user::control::PressDialogKey(d, VK_RETURN); }, IDOK},
        {"escape", [](HWND d) { user::control::PressDialogKey(d, VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND d) { user::control::CloseDialogBox(d); }, IDCANCEL},
        {"OK button", [](HWND d) { user::control::ClickDialogControl(d, IDOK); }, IDOK},
        {"Cancel button", [](HWND d) { user::control::ClickDialogControl(d, IDCANCEL); }, IDCANCEL},
    };
    for (const Case& c : cases) EXPECT_EQ(Run(nullptr, {c.act}), c.result) << c.name;
}

TEST_F(Dialogs, ADisabledControlIgnoresTheUser) {
    g_onInit = [](HWND dialog) {
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        EnableWindow(GetDlgItem(dialog, kFirstList), FALSE);
        EnableWindow(GetDlgItem(dialog, kRadioB), FALSE);
    };
    ::testing::internal::CaptureStderr();
    const INT_PTR result = Run(nullptr, {[](HWND dialog) {
        EXPECT_FALSE(user::control::PressDialogKey(dialog, VK_RETURN));
        EXPECT_FALSE(user::control::ClickDialogControl(dialog, IDOK));
        EXPECT_FALSE(user::control::SelectDialogItem(dialog, kFirstList, "Second"));
        EXPECT_FALSE(user::control::ClickDialogControl(dialog, kRadioB));
        EXPECT_FALSE(DialogControl(dialog, kRadioB)->checked);
        EXPECT_EQ(DialogControl(dialog, kFirstList)->selection, CB_ERR);
    }});
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(Commands().size() == 1 && LOWORD(Commands()[0].wParam) == IDCANCEL) << "only Escape got through";
    EXPECT_NE(errors.find("dialog click 201: refused, the control is disabled"), std::string::npos) << errors;
}

TEST_F(Dialogs, OnlyAUsersChoiceNotifiesAndItIsSentAtOnce) {
    g_onInit = [](HWND dialog) {
        SendDlgItemMessageA(dialog, kFirstList, CB_SETCURSEL, 2, 0);
        CheckRadioButton(dialog, kRadioA, kRadioC, kRadioA);
    };
    bool notifiedDuringSelect = false;
    Run(nullptr, {[&](HWND dialog) {
        EXPECT_TRUE(Commands().empty()) << "CB_SETCURSEL and CheckRadioButton notify nothing";
        EXPECT_EQ(DialogControl(dialog, kFirstList)->SelectedText(), "Third");
        EXPECT_TRUE(user::control::SelectDialogItem(dialog, kFirstList, "Second"));
        notifiedDuringSelect = Commands().size() == 1;
        EXPECT_FALSE(user::control::SelectDialogItem(dialog, kFirstList, "second")) << "item texts match exactly";
    }});
    ASSERT_TRUE(notifiedDuringSelect);
    const DialogCall change = Commands()[0];
    EXPECT_EQ(change.wParam, MAKEWPARAM(kFirstList, CBN_SELCHANGE));
    EXPECT_NE(change.lParam, 0) << "lParam is the combo box";
}

TEST_F(Dialogs, AListOpenedAndClosedWithoutAChoiceSaysSoAndKeepsItsSelection) {
    g_onInit = [](HWND dialog) { SendDlgItemMessageA(dialog, kFirstList, CB_SETCURSEL, 1, 0); };
    Run(nullptr, {[](HWND dialog) {
        HWND combo = GetDlgItem(dialog, kFirstList);
        EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);  // closed already: nothing more
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    }});
    std::vector<WPARAM> codes;
    for (const DialogCall& call : Commands())
        if (LOWORD(call.wParam) == kFirstList) codes.push_back(HIWORD(call.wParam));
    EXPECT_EQ(codes, (std::vector<WPARAM>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(Dialogs, ComboBoxesKeepTheirItemsInOrderWithPointerSizedValues) {
    Run(nullptr, {[](HWND dialog) {
        HWND combo = GetDlgItem(dialog, kSecondList);
        const LPARAM big = static_cast<LPARAM>(0x123456789ABCll);
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("zeta")), 0);
        EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alpha")), 1) << "not sorted";
        SendMessageA(combo, CB_SETITEMDATA, 1, big);
        EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 1, 0), big);
        EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 2, 0), CB_ERR);
        EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0), 4);
        char text[8] = {};
        EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 5);
        EXPECT_STREQ(text, "alpha");
        EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ALPHA")), 1);
        EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
        EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 5, 0), CB_ERR);
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "an index past the end clears the selection";
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    }});
}

TEST_F(Dialogs, PostedNotificationsRunInOrderAndThoseLeftAfterEndDialogAreDropped) {
    HWND owner = CreateMainWindow();
    g_onInit = [owner](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFirstList, CBN_SELCHANGE), 0);
        PostMessageA(owner, WM_USER, 7, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kSecondList, CBN_SELCHANGE), 0);
    };
    g_onCommand = [](HWND dialog, WORD id, WORD) {
        if (id != kSecondList) return;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFirstList, CBN_SELCHANGE), 0);
        EndDialog(dialog, 42);
    };
    test::g_log.clear();
    EXPECT_EQ(Run(owner, {}), 42);
    const auto commands = Commands();
    ASSERT_EQ(commands.size(), 2u) << "the notification posted after EndDialog never arrives";
    EXPECT_EQ(LOWORD(commands[0].wParam), kFirstList);
    EXPECT_EQ(LOWORD(commands[1].wParam), kSecondList);
    EXPECT_EQ(Messages({WM_USER}).size(), 1u) << "the loop dispatches the owner's posted messages too";
    for (const MSG& msg : Drain()) EXPECT_NE(msg.message, static_cast<UINT>(WM_COMMAND));
}

TEST_F(Dialogs, AutomaticRadioButtonsCheckWithinTheirGroup) {
    Run(nullptr, {[](HWND dialog) {
        CheckDlgButton(dialog, kRadioC, BST_CHECKED);
        EXPECT_TRUE(user::control::ClickDialogControl(dialog, kRadioA));
        EXPECT_TRUE(user::control::ClickDialogControl(dialog, kRadioB));
        EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioA), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioB), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, kRadioC), static_cast<UINT>(BST_CHECKED)) << "another group";
        CheckRadioButton(dialog, kRadioA, kRadioC, kRadioA);
        EXPECT_TRUE(DialogControl(dialog, kRadioA)->checked);
        EXPECT_FALSE(DialogControl(dialog, kRadioB)->checked || DialogControl(dialog, kRadioC)->checked);
    }});
    const auto commands = Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(kRadioA, BN_CLICKED));
    EXPECT_EQ(commands[1].wParam, MAKEWPARAM(kRadioB, BN_CLICKED));
    EXPECT_EQ(commands.size(), 3u) << "two clicks and Escape; CheckRadioButton notifies nothing";
}

TEST_F(Dialogs, TheInputScriptDrivesTheDialogInOrder) {
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("5 dialog select 100 Third\n"
                                                  "5 dialog click 999\n"
                                                  "6 dialog click 201\n"
                                                  "7 key RETURN press\n"
                                                  "9 dialog key escape\n",
                                                  error))
        << error;
    int selection = -2;
    g_onCommand = [&](HWND dialog, WORD id, WORD) {
        if (id == IDOK) selection = static_cast<int>(SendDlgItemMessageA(dialog, kFirstList, CB_GETCURSEL, 0, 0));
    };
    ::testing::internal::CaptureStderr();
    const INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDOK) << "the keyboard's Enter is the default button\n" << errors;
    const auto left = machine::control::ScheduledInput();
    ASSERT_EQ(left.size(), 2u) << "the key's release and the Escape after it are left";
    EXPECT_EQ(left.back().kind, machine::InputKind::Dialog);
    EXPECT_EQ(selection, 2);
    EXPECT_NE(errors.find("dialog click 999: refused, the dialog has no control 999"), std::string::npos) << errors;
    const auto commands = Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(kFirstList, CBN_SELCHANGE));
    EXPECT_EQ(commands[1].wParam, MAKEWPARAM(kRadioB, BN_CLICKED));
}

TEST_F(Dialogs, ADialogTheScriptHasNothingMoreForIsCancelled) {
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("3 dialog key enter\n20 key F2 press\n", error)) << error;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0), IDOK);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0), IDCANCEL)
        << "later input that is not for a dialog does not keep it open";
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("dialog \"Test Dialog\": no dialog input left; cancelled"), std::string::npos) << errors;
    EXPECT_EQ(machine::control::ScheduledInput().size(), 2u) << "the F2 press is left for the program";
}

TEST_F(Dialogs, DialogEventsAreReadFromTheScript) {
    std::vector<machine::InputEvent> events;
    std::string error;
    ASSERT_TRUE(machine::control::ParseInputScript("4 dialog select 1004 640  by 480\n5 dialog key escape\n", events, error));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, machine::InputKind::Dialog);
    EXPECT_EQ(events[0].dialogAction, machine::DialogAction::Select);
    EXPECT_EQ(events[0].controlId, 1004);
    EXPECT_EQ(events[0].itemText, "640 by 480");
    EXPECT_EQ(events[1].virtualKey, static_cast<uint32_t>(VK_ESCAPE));
    for (const char* bad : {"1 dialog key space", "1 dialog click", "1 dialog select 1004", "1 dialog press 1"})
        EXPECT_FALSE(machine::control::ParseInputScript(bad, events, error)) << bad;
}

TEST_F(Dialogs, ADialogEventWithNoDialogOpenIsIgnored) {
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("0 dialog key escape\n", error)) << error;
    ::testing::internal::CaptureStderr();
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("dialog key escape ignored: no dialog is open"), std::string::npos) << errors;
}

TEST_F(Dialogs, AQuitEndsTheDialogAndIsLeftForTheLoopOutside) {
    g_onInit = [](HWND) { PostQuitMessage(3); };
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(Dialogs, ADialogThatCannotBeMadeAnswersMinusOne) {
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, TestDialogProc, 0), -1) << "no such template";

    user::control::SetDialogCreationFails(true);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0), -1);
    user::control::SetDialogCreationFails(false);

    std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() - 7));
    Register(truncated);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0), -1);

    TemplateWriter unknownClass;
    unknownClass.Header(WS_POPUP | WS_CAPTION, 1, "Odd");
    unknownClass.Item(5, 0x0099, 0, "");
    Register(unknownClass.bytes);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), nullptr, TestDialogProc, 0), -1);
    EXPECT_EQ(machine::control::LiveObjects("window"), 0) << "a dialog that failed leaves no window behind";
    EXPECT_EQ(machine::DialogsShown(), 0u);
    for (const DialogCall& c : g_calls) EXPECT_NE(c.message, static_cast<UINT>(WM_INITDIALOG));
}

}  // namespace
