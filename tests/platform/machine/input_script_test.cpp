#include <gtest/gtest.h>

#include "machine/control.h"
#include "windows.h"

namespace {

using machine::InputEvent;
using machine::InputKind;

struct GoodLine {
    const char* line;
    InputEvent expected;
};

InputEvent Key(uint64_t frame, uint32_t vk, uint32_t dik, machine::KeyAction action) {
    InputEvent e;
    e.frame = frame;
    e.kind = InputKind::Key;
    e.virtualKey = vk;
    e.scanCode = dik;
    e.keyAction = action;
    return e;
}

InputEvent Other(uint64_t frame, InputKind kind) {
    InputEvent e;
    e.frame = frame;
    e.kind = kind;
    return e;
}

class InputScriptGoodLines : public ::testing::TestWithParam<GoodLine> {};

TEST_P(InputScriptGoodLines, ParseToTheirEvent) {
    std::vector<InputEvent> events;
    std::string error;
    ASSERT_TRUE(machine::control::ParseInputScript(GetParam().line, events, error)) << error;
    ASSERT_EQ(events.size(), 1u);
    const InputEvent& got = events[0];
    const InputEvent& want = GetParam().expected;
    EXPECT_EQ(got.frame, want.frame);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.virtualKey, want.virtualKey);
    EXPECT_EQ(got.scanCode, want.scanCode);
    EXPECT_EQ(got.keyAction, want.keyAction);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.button, want.button);
    EXPECT_EQ(got.buttonDown, want.buttonDown);
    EXPECT_EQ(got.wheelDelta, want.wheelDelta);
    EXPECT_EQ(got.windowAction, want.windowAction);
    EXPECT_EQ(got.dialogAction, want.dialogAction);
    EXPECT_EQ(got.controlId, want.controlId);
    EXPECT_EQ(got.itemText, want.itemText);
    EXPECT_EQ(got.pointTenths, want.pointTenths);
}

InputEvent Move(uint64_t f, int x, int y) {
    InputEvent e = Other(f, InputKind::MouseMove);
    e.x = x;
    e.y = y;
    return e;
}
InputEvent Button(uint64_t f, machine::MouseButtonId b, bool down) {
    InputEvent e = Other(f, InputKind::MouseButton);
    e.button = b;
    e.buttonDown = down;
    return e;
}
InputEvent Wheel(uint64_t f, int d) {
    InputEvent e = Other(f, InputKind::MouseWheel);
    e.wheelDelta = d;
    return e;
}
InputEvent Win(uint64_t f, machine::WindowAction a, int w = 0, int h = 0) {
    InputEvent e = Other(f, InputKind::Window);
    e.windowAction = a;
    e.x = w;
    e.y = h;
    return e;
}

InputEvent Command(uint64_t f, int id) {
    InputEvent e = Win(f, machine::WindowAction::Command);
    e.controlId = id;
    return e;
}

InputEvent Font(uint64_t f, const char* face, int tenths) {
    InputEvent e = Other(f, InputKind::Dialog);
    e.dialogAction = machine::DialogAction::Font;
    e.itemText = face;
    e.pointTenths = tenths;
    return e;
}

using machine::KeyAction;
using machine::MouseButtonId;
using machine::WindowAction;

INSTANTIATE_TEST_SUITE_P(
    , InputScriptGoodLines,
    ::testing::Values(GoodLine{"10 key F2 press", Key(10, VK_F2, 0x3C, KeyAction::Press)},
                      GoodLine{"0 key ESCAPE down", Key(0, VK_ESCAPE, 0x01, KeyAction::Down)},
                      GoodLine{"5 key MENU down", Key(5, VK_MENU, 0x38, KeyAction::Down)},
                      GoodLine{"5 key return up  # Enter", Key(5, VK_RETURN, 0x1C, KeyAction::Up)},
                      GoodLine{"1 key NUMPAD5 press", Key(1, VK_NUMPAD5, 0x4C, KeyAction::Press)},
                      GoodLine{"1 key DIK_UP press", Key(1, VK_UP, 0xC8, KeyAction::Press)},
                      GoodLine{"1 key VK_LEFT press", Key(1, VK_LEFT, 0xCB, KeyAction::Press)},
                      GoodLine{"1 key LBRACKET press", Key(1, VK_OEM_4, 0x1A, KeyAction::Press)},
                      GoodLine{"1 key X down", Key(1, 'X', 0x2D, KeyAction::Down)},
                      GoodLine{"1 key 7 down", Key(1, '7', 0x08, KeyAction::Down)},
                      GoodLine{"1 key RMENU down", Key(1, VK_MENU, 0xB8, KeyAction::Down)},
                      GoodLine{"3 mouse move 100 -20", Move(3, 100, -20)},
                      GoodLine{"3 mouse button right down", Button(3, MouseButtonId::Right, true)},
                      GoodLine{"3 mouse button middle up", Button(3, MouseButtonId::Middle, false)},
                      GoodLine{"3 mouse wheel -240", Wheel(3, -240)},
                      GoodLine{"9 window minimize", Win(9, WindowAction::Minimize)},
                      GoodLine{"9 window maximize", Win(9, WindowAction::Maximize)},
                      GoodLine{"9 window restore", Win(9, WindowAction::Restore)},
                      GoodLine{"9 window resize 640 480", Win(9, WindowAction::Resize, 640, 480)},
                      GoodLine{"  99   window   close  ", Win(99, WindowAction::Close)},
                      GoodLine{"9 window focus lost", Win(9, WindowAction::FocusLost)},
                      GoodLine{"9 window focus gained", Win(9, WindowAction::FocusGained)},
                      GoodLine{"9 window command 40011", Command(9, 40011)},
                      GoodLine{"4 dialog font Arial 12", Font(4, "Arial", 120)},
                      GoodLine{"4 dialog font Times New Roman 10.5", Font(4, "Times New Roman", 105)}));

TEST(InputScript, BadLinesAreReportedWithTheirNumbers) {
    struct Bad {
        const char* line;
        const char* message;
    };
    const Bad cases[] = {
        {"x key F2 press", "line 3: bad frame number \"x\""},
        {"-1 key F2 press", "line 3: bad frame number \"-1\""},
        {"10", "line 3: missing event"},
        {"10 jump", "line 3: unknown event \"jump\""},
        {"10 key NOSUCHKEY down", "line 3: unknown key \"NOSUCHKEY\""},
        {"10 key F2 hold", "line 3: unknown key action \"hold\" (down, up or press)"},
        {"10 key F2", "line 3: expected \"key <name> down|up|press\""},
        {"10 key F2 down now", "line 3: expected \"key <name> down|up|press\""},
        {"10 mouse move 1", "line 3: expected \"mouse move <x> <y>\""},
        {"10 mouse move a b", "line 3: bad mouse position"},
        {"10 mouse button left sideways", "line 3: unknown button action \"sideways\" (down or up)"},
        {"10 mouse button thumb down", "line 3: unknown mouse button \"thumb\""},
        {"10 mouse wheel up", "line 3: bad wheel delta \"up\""},
        {"10 window explode", "line 3: unknown window action \"explode\""},
        {"10 window resize 0 480", "line 3: bad window size"},
        {"10 window close now", "line 3: expected \"window minimize|maximize|restore|close\""},
        {"10 window command menu", "line 3: bad command id \"menu\""},
        {"10 window focus elsewhere", "line 3: unknown focus change \"elsewhere\" (lost or gained)"},
        {"10 dialog font 12", "line 3: expected \"dialog font <face> <points>\""},
        {"10 dialog font Arial big", "line 3: bad point size \"big\""},
        {"10 dialog font Arial 10.25", "line 3: bad point size \"10.25\""},
        {"10 dialog font Arial 0", "line 3: bad point size \"0\""},
    };
    for (const Bad& c : cases) {
        const std::string script = std::string("# a comment\n\n") + c.line + "\n1 key F2 press\n";
        std::string error;
        EXPECT_FALSE(machine::control::LoadInputScript(script, error)) << c.line;
        EXPECT_EQ(error.substr(0, std::string(c.message).size()), c.message);
        EXPECT_TRUE(machine::control::ScheduledInput().empty()) << "a bad script schedules nothing";
    }
}

TEST(InputScript, APressIsADownAndAnUpOneFrameLater) {
    machine::control::Reset();
    std::string error;
    ASSERT_TRUE(machine::control::LoadInputScript("20 key F5 press\n10 mouse wheel 120\n", error)) << error;
    const std::vector<InputEvent> events = machine::control::ScheduledInput();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, InputKind::MouseWheel);  // delivery order is frame order
    EXPECT_EQ(events[1].keyAction, KeyAction::Down);
    EXPECT_EQ(events[1].frame, 20u);
    EXPECT_EQ(events[2].keyAction, KeyAction::Up);
    EXPECT_EQ(events[2].frame, 21u);
    machine::control::Reset();
}

}  // namespace
