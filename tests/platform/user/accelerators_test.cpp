// The program's accelerator shapes through the whole input path: machine keys -> messages ->
// TranslateAcceleratorA -> WM_COMMAND.
#include "window_test_support.h"

namespace {

// Esc -> 40006, F2 -> 40002, Alt+Enter -> 40003, Alt+X -> 40006, Ctrl+Shift+F5 -> 40010.
const uint8_t kTable[] = {
    0x03, 0, VK_ESCAPE, 0, 0x46, 0x9C, 0, 0,  // FVIRTKEY | FNOINVERT
    0x03, 0, VK_F2, 0, 0x42, 0x9C, 0, 0,
    0x13, 0, VK_RETURN, 0, 0x43, 0x9C, 0, 0,  // | FALT
    0x13, 0, 'X', 0, 0x46, 0x9C, 0, 0,
    0x8F, 0, VK_F5, 0, 0x4A, 0x9C, 0, 0,      // FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL, the last entry
};
const RESOURCE_TABLE_ENTRY kResources[] = {{RT_ACCELERATOR, MAKEINTRESOURCEA(113), 0, kTable, sizeof kTable}};

struct KeyCase {
    const char* name;
    std::vector<const char*> held;  // key names held down around the key
    const char* key;
    int command;                    // 0: no accelerator
};

class Accelerators : public test::WindowTest, public ::testing::WithParamInterface<KeyCase> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterProgramResources(kResources, 1);
        window = CreateMainWindow();
        table = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(113));
        ASSERT_NE(table, nullptr);
        Drain();
        test::g_log.clear();
    }
    void Schedule(const char* name, machine::KeyAction action) {
        machine::InputEvent e;
        e.kind = machine::InputKind::Key;
        ASSERT_TRUE(machine::control::LookUpKeyName(name, e.virtualKey, e.scanCode)) << name;
        e.keyAction = action;
        machine::control::ScheduleInput(e);
    }
    // The framework's loop: accelerators first, then translation and dispatch.
    std::vector<int> RunLoop() {
        std::vector<int> commands;
        test::g_handler = [&](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
            if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
            return message == WM_COMMAND;
        };
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorA(window, table, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return commands;
    }
    HWND window = nullptr;
    HACCEL table = nullptr;
};

TEST_P(Accelerators, MatchExactlyTheEntrysModifiers) {
    const KeyCase& c = GetParam();
    for (const char* held : c.held) Schedule(held, machine::KeyAction::Down);
    Schedule(c.key, machine::KeyAction::Down);
    Schedule(c.key, machine::KeyAction::Up);
    for (const char* held : c.held) Schedule(held, machine::KeyAction::Up);
    const std::vector<int> commands = RunLoop();
    if (c.command == 0) EXPECT_TRUE(commands.empty());
    else EXPECT_EQ(commands, std::vector<int>{c.command});
}

INSTANTIATE_TEST_SUITE_P(
    , Accelerators,
    ::testing::Values(KeyCase{"Escape", {}, "ESCAPE", 40006}, KeyCase{"F2", {}, "F2", 40002},
                      KeyCase{"AltEnter", {"MENU"}, "RETURN", 40003}, KeyCase{"AltX", {"MENU"}, "X", 40006},
                      KeyCase{"CtrlShiftF5", {"CONTROL", "SHIFT"}, "F5", 40010},
                      KeyCase{"EnterWithoutAlt", {}, "RETURN", 0}, KeyCase{"XWithoutAlt", {}, "X", 0},
                      KeyCase{"CtrlEscape", {"CONTROL"}, "ESCAPE", 0}, KeyCase{"AltF2", {"MENU"}, "F2", 0},
                      KeyCase{"F5WithCtrlOnly", {"CONTROL"}, "F5", 0}, KeyCase{"RightAltEnter", {"RMENU"}, "RETURN", 40003}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Accelerators, TheCommandIsSentSynchronouslyWithHighWordOne) {
    WPARAM seen = 0;
    LPARAM seenL = -1;
    test::g_handler = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_COMMAND) {
            seen = wParam;
            seenL = lParam;
        }
        return false;
    };
    MSG msg{window, WM_KEYDOWN, VK_F2, 0x003C0001, 0, {0, 0}};
    EXPECT_NE(TranslateAcceleratorA(window, table, &msg), 0);
    EXPECT_EQ(seen, MAKEWPARAM(40002, 1));
    EXPECT_EQ(seenL, 0);
    msg.message = WM_KEYUP;
    EXPECT_EQ(TranslateAcceleratorA(window, table, &msg), 0);  // only key-downs match
}

TEST_F(Accelerators, TablesAreCountedAndBadOnesRefused) {
    EXPECT_EQ(machine::control::LiveObjects("accelerator table"), 1);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_EQ(machine::control::LiveObjects("accelerator table"), 0);
    MSG msg{window, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorA(window, table, &msg), 0);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(114)), nullptr);  // absent
    // Cut short: no entry marks the end.
    static const RESOURCE_TABLE_ENTRY kCut[] = {{RT_ACCELERATOR, MAKEINTRESOURCEA(1), 0, kTable, 12}};
    RegisterProgramResources(kCut, 1);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}

}  // namespace
