#include <gtest/gtest.h>

#include "machine/control.h"
#include "windows.h"

namespace {

class InputQueue : public ::testing::Test {
protected:
    void SetUp() override { machine::control::Reset(); }
    void TearDown() override { machine::control::Reset(); }
    static void Schedule(uint64_t frame, const char* key, machine::KeyAction action) {
        machine::InputEvent e;
        e.frame = frame;
        ASSERT_TRUE(machine::control::LookUpKeyName(key, e.virtualKey, e.scanCode));
        e.keyAction = action;
        machine::control::ScheduleInput(e);
    }
};

TEST_F(InputQueue, EventsComeDueWithTheirFrameAndSetTheKeyboard) {
    Schedule(1, "LSHIFT", machine::KeyAction::Down);
    Schedule(1, "A", machine::KeyAction::Press);
    machine::InputEvent e;
    EXPECT_FALSE(machine::TakeDueInput(e));
    EXPECT_TRUE(machine::InputPending());
    machine::FramePresented();
    ASSERT_TRUE(machine::TakeDueInput(e));
    EXPECT_TRUE(machine::IsVirtualKeyDown(VK_SHIFT));
    EXPECT_TRUE(machine::IsVirtualKeyDown(VK_LSHIFT));
    EXPECT_FALSE(machine::IsVirtualKeyDown(VK_RSHIFT));
    EXPECT_TRUE(machine::IsScanCodeDown(0x2A));
    ASSERT_TRUE(machine::TakeDueInput(e));
    EXPECT_TRUE(machine::IsVirtualKeyDown('A'));
    EXPECT_FALSE(e.previouslyDown);
    EXPECT_FALSE(machine::TakeDueInput(e));  // A's release is one frame later
    machine::FramePresented();
    ASSERT_TRUE(machine::TakeDueInput(e));
    EXPECT_TRUE(e.previouslyDown);
    EXPECT_FALSE(machine::IsVirtualKeyDown('A'));
    EXPECT_FALSE(machine::InputPending());
}

TEST_F(InputQueue, WaitingBringsTheNextEventForwardOneAtATime) {
    Schedule(100, "F1", machine::KeyAction::Down);
    Schedule(200, "F2", machine::KeyAction::Down);
    machine::InputEvent e;
    ASSERT_TRUE(machine::BringNextInputForward());
    ASSERT_TRUE(machine::TakeDueInput(e));
    EXPECT_EQ(e.virtualKey, static_cast<uint32_t>(VK_F1));
    EXPECT_FALSE(machine::TakeDueInput(e));
    ASSERT_TRUE(machine::BringNextInputForward());
    ASSERT_TRUE(machine::TakeDueInput(e));
    EXPECT_EQ(e.virtualKey, static_cast<uint32_t>(VK_F2));
    EXPECT_FALSE(machine::BringNextInputForward());
}

TEST_F(InputQueue, TheCursorStaysInsideItsClipRectangle) {
    machine::ScreenRect clip{10, 10, 20, 20};
    machine::SetCursorClip(&clip);
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    EXPECT_EQ(x, 19);  // the middle of the desktop moved into the rectangle
    machine::SetCursorScreenPosition(-5, 15);
    machine::CursorScreenPosition(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 15);
    machine::SetCursorClip(nullptr);
    machine::SetCursorScreenPosition(5000, 5000);
    machine::CursorScreenPosition(x, y);
    EXPECT_EQ(x, 1279);
    EXPECT_EQ(y, 1023);
}

TEST(Displays, TheDefaultDesktopAndItsModes) {
    machine::control::Reset();
    const machine::DisplayMode desktop = machine::DesktopMode();
    EXPECT_EQ(desktop.width, 1280u);
    EXPECT_EQ(desktop.height, 1024u);
    EXPECT_EQ(desktop.refreshRate, 60u);
    EXPECT_EQ(desktop.format, 22);
    const auto modes = machine::DisplayModes();
    EXPECT_EQ(modes.size(), 16u);
    EXPECT_TRUE(machine::SetDisplayMode({800, 600, 75, 23}));
    EXPECT_EQ(machine::CurrentDisplayMode().width, 800u);
    EXPECT_FALSE(machine::SetDisplayMode({801, 600, 75, 23}));
    machine::RestoreDesktopMode();
    EXPECT_EQ(machine::CurrentDisplayMode().width, 1280u);
    machine::control::SetDesktop({1024, 768, 85, 22}, {{640, 480, 60, 22}});
    EXPECT_EQ(machine::DisplayModes().size(), 2u);  // the desktop's own mode is always offered
    machine::control::Reset();
}

}  // namespace
