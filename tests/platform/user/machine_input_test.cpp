// Machine input as window messages, and the window actions of the input script.
#include <limits>

#include "window_test_support.h"

namespace {

using test::g_log;

class MachineInput : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = CreateMainWindow();
        Drain();
        g_log.clear();
    }
    static void Key(const char* name, machine::KeyAction action) {
        machine::InputEvent e;
        ASSERT_TRUE(machine::control::LookUpKeyName(name, e.virtualKey, e.scanCode));
        e.keyAction = action;
        machine::control::ScheduleInput(e);
    }
    static void Window(machine::WindowAction action, int w = 0, int h = 0) {
        machine::InputEvent e;
        e.kind = machine::InputKind::Window;
        e.windowAction = action;
        e.x = w;
        e.y = h;
        machine::control::ScheduleInput(e);
    }
    // The messages that reached the procedure, without the cursor's and painting's.
    static std::vector<UINT> Seen() {
        std::vector<UINT> result;
        for (UINT m : Messages())
            if (m != WM_NCHITTEST && m != WM_SETCURSOR && m != WM_PAINT && m != WM_NCCALCSIZE &&
                m != WM_WINDOWPOSCHANGING && m != WM_WINDOWPOSCHANGED && m != WM_MOVE && m != WM_GETMINMAXINFO)
                result.push_back(m);
        return result;
    }
    HWND window = nullptr;
};

TEST_F(MachineInput, KeysBecomeKeyMessagesWithThePlatformsParameter) {
    Key("F2", machine::KeyAction::Down);
    Key("F2", machine::KeyAction::Down);  // held: a repeat
    Key("F2", machine::KeyAction::Up);
    const std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(VK_F2));
    EXPECT_EQ(taken[0].hwnd, window);
    EXPECT_EQ(static_cast<uint32_t>(taken[0].lParam), 0x003C0001u);
    EXPECT_EQ(static_cast<uint32_t>(taken[1].lParam), 0x403C0001u);  // previously down
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<uint32_t>(taken[2].lParam), 0xC03C0001u);
    EXPECT_FALSE(machine::IsVirtualKeyDown(VK_F2));
}

TEST_F(MachineInput, AltMakesSystemKeysAndAloneOpensTheMenuLoop) {
    Key("MENU", machine::KeyAction::Down);
    Key("RETURN", machine::KeyAction::Down);
    Key("RETURN", machine::KeyAction::Up);
    Key("MENU", machine::KeyAction::Up);
    std::vector<MSG> taken;
    for (const MSG& m : Drain())
        if (m.message != WM_SYSCHAR) taken.push_back(m);  // Alt+Enter's character goes to the default handling
    ASSERT_EQ(taken.size(), 4u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(static_cast<uint32_t>(taken[0].lParam), 0x20380001u);  // Alt context bit
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(static_cast<uint32_t>(taken[1].lParam), 0x201C0001u);
    EXPECT_EQ(taken[3].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(static_cast<uint32_t>(taken[3].lParam), 0xC0380001u);
    // Another key came between: no menu. Alt alone (and F10) opens it.
    EXPECT_EQ(Messages({WM_ENTERMENULOOP}).size(), 0u);
    Key("MENU", machine::KeyAction::Press);
    machine::FramePresented();  // the press's release is one frame later
    Drain();
    Key("F10", machine::KeyAction::Press);
    machine::FramePresented();
    Drain();
    EXPECT_EQ(Messages({WM_ENTERMENULOOP, WM_EXITMENULOOP}),
              (std::vector<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_ENTERMENULOOP, WM_EXITMENULOOP}));
}

TEST_F(MachineInput, TranslateMessageGivesCharacters) {
    Key("SHIFT", machine::KeyAction::Down);
    Key("A", machine::KeyAction::Press);
    Key("SHIFT", machine::KeyAction::Up);
    machine::FramePresented();
    Key("A", machine::KeyAction::Press);
    machine::FramePresented();
    Key("MENU", machine::KeyAction::Down);
    Key("Q", machine::KeyAction::Down);
    std::vector<std::pair<UINT, WPARAM>> chars;
    for (const MSG& m : Drain())
        if (m.message == WM_CHAR || m.message == WM_SYSCHAR) chars.emplace_back(m.message, m.wParam);
    EXPECT_EQ(chars, (std::vector<std::pair<UINT, WPARAM>>{{WM_CHAR, 'A'}, {WM_CHAR, 'a'}, {WM_SYSCHAR, 'q'}}));
}

TEST_F(MachineInput, MouseMessagesUseClientCoordinatesAndKeyFlags) {
    machine::InputEvent move;
    move.kind = machine::InputKind::MouseMove;
    move.x = 10;
    move.y = 20;
    machine::control::ScheduleInput(move);
    machine::InputEvent button;
    button.kind = machine::InputKind::MouseButton;
    button.button = machine::MouseButtonId::Left;
    button.buttonDown = true;
    machine::control::ScheduleInput(button);
    machine::InputEvent wheel;
    wheel.kind = machine::InputKind::MouseWheel;
    wheel.wheelDelta = -120;
    machine::control::ScheduleInput(wheel);
    const std::vector<MSG> taken = Drain();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(taken[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(taken[2].wParam), -120);
    // The cursor is where the client point is on the screen, and the system asked about it.
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 20);
    EXPECT_EQ(GET_X_LPARAM(taken[2].lParam), p.x + 26 + 4);  // the wheel's point is on the screen
    EXPECT_EQ(Messages({WM_NCHITTEST, WM_SETCURSOR}).size(), 4u);
}

TEST_F(MachineInput, MinimizeAndRestoreGoThroughWmSize) {
    std::vector<std::pair<WPARAM, SIZE>> sizes;
    test::g_handler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_SIZE) sizes.push_back({wParam, ClientSize(hwnd)});
        return false;
    };
    Window(machine::WindowAction::Minimize);
    Drain();
    EXPECT_TRUE(IsIconic(window));
    Window(machine::WindowAction::Maximize);
    Drain();
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_MAXIMIZE);
    Window(machine::WindowAction::Restore);
    Drain();
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0].first, static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(sizes[0].second.cx, 0);
    EXPECT_EQ(sizes[1].first, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(sizes[1].second.cx, 1280);
    EXPECT_EQ(sizes[1].second.cy, 1024 - 19);  // the caption; the frame lies outside
    EXPECT_EQ(sizes[2].first, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(sizes[2].second.cx, 400);
    EXPECT_EQ(sizes[2].second.cy, 300);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 26);
}

TEST_F(MachineInput, AResizeIsADragOfTheFrame) {
    Window(machine::WindowAction::Resize, 640, 480);
    Drain();
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_SIZE, WM_EXITSIZEMOVE}));
    EXPECT_EQ(ClientSize(window).cx, 640);
    EXPECT_EQ(ClientSize(window).cy, 480);
}

TEST_F(MachineInput, AFullScreenProgramCanRefuseTheDrag) {
    test::g_handler = [](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_SIZE) return false;
        result = 1;
        return true;
    };
    Window(machine::WindowAction::Resize, 640, 480);
    Drain();
    EXPECT_EQ(ClientSize(window).cx, 400);
}

// Extreme sizes and positions, from events that did not come through the script's checks and from a
// procedure that answers the extremes itself: the rectangles stay in range (the sanitizer build
// catches any overflow on the way).
TEST_F(MachineInput, ExtremeSizesAndPositionsKeepTheRectanglesInRange) {
    constexpr int kHuge = std::numeric_limits<int>::max();
    test::g_handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMaxTrackSize = {kHuge, kHuge};
            info->ptMaxPosition = {kHuge, kHuge};
            info->ptMaxSize = {kHuge, kHuge};
        }
        return false;
    };
    Window(machine::WindowAction::Resize, kHuge, kHuge);
    machine::InputEvent move;
    move.kind = machine::InputKind::MouseMove;
    move.x = kHuge;
    move.y = std::numeric_limits<int>::min();
    machine::control::ScheduleInput(move);
    Drain();
    SetWindowPos(window, nullptr, kHuge, kHuge, kHuge, kHuge, SWP_NOZORDER);
    ShowWindow(window, SW_MAXIMIZE);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_GE(r.left, -(1 << 24));
    EXPECT_LE(r.right, 1 << 25);
    EXPECT_GE(r.right, r.left);
    GetClientRect(window, &r);
    EXPECT_GE(r.right, 0);
    RECT adjusted{-kHuge, -kHuge, kHuge, kHuge};
    EXPECT_TRUE(AdjustWindowRect(&adjusted, WS_OVERLAPPEDWINDOW, TRUE));
    EXPECT_EQ(adjusted.left, std::numeric_limits<LONG>::min());
    EXPECT_EQ(adjusted.right, std::numeric_limits<LONG>::max());
}

TEST_F(MachineInput, CloseIsTheCaptionsCloseButton) {
    Window(machine::WindowAction::Close);
    Drain();
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(g_log.front().wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MachineInput, InputForLaterFramesWaitsForThem) {
    machine::InputEvent e;
    e.virtualKey = VK_SPACE;
    e.scanCode = 0x39;
    e.frame = 2;
    machine::control::ScheduleInput(e);
    EXPECT_TRUE(Drain().empty());
    machine::FramePresented();
    EXPECT_TRUE(Drain().empty());
    machine::FramePresented();
    EXPECT_EQ(Drain().size(), 2u);  // the key-down and its character
}

}  // namespace
