#include "window_test_support.h"

namespace {

using test::g_log;

class MessageBoxes : public test::WindowTest {};

TEST_F(MessageBoxes, AreRecordedAndAnsweredWithTheirDefaultButton) {
    EXPECT_EQ(MessageBoxA(nullptr, "Disk full", "Morvath", MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Morvath", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    const auto boxes = machine::control::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Disk full");
    EXPECT_EQ(boxes[0].caption, "Morvath");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].answer, IDOK);
    EXPECT_EQ(boxes[1].answer, IDNO);
}

TEST_F(MessageBoxes, ItsLoopDispatchesPendingMessagesWhileUp) {
    HWND window = CreateMainWindow();
    Drain();
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_USER, 0, 0);
    std::vector<UINT> beforeAnswer;
    machine::control::SetMessageBoxHook([&](const machine::MessageBoxRecord&) {
        beforeAnswer = Messages({WM_USER, WM_PAINT});
        return 0;
    });
    g_log.clear();
    MessageBoxA(nullptr, "text", "caption", MB_OK);
    EXPECT_EQ(beforeAnswer, (std::vector<UINT>{WM_USER, WM_PAINT}));
}

TEST_F(MessageBoxes, ItsLoopLeavesInputAndQuitForTheProgram) {
    HWND window = CreateMainWindow();
    Drain();
    machine::InputEvent key;
    key.virtualKey = VK_ESCAPE;
    key.scanCode = 1;
    machine::control::ScheduleInput(key);
    PostQuitMessage(3);
    MessageBoxA(window, "text", "caption", MB_OK);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

// The framework's fault case: the user closes the main window while a warning with no owner is up.
TEST_F(MessageBoxes, AHookCanCloseTheMainWindowWhileTheBoxIsUp) {
    HWND window = CreateMainWindow();
    bool enabledWhileUp = false;
    machine::control::SetMessageBoxHook([&](const machine::MessageBoxRecord&) {
        enabledWhileUp = IsWindowEnabled(window) != FALSE;
        SendMessageA(window, WM_CLOSE, 0, 0);
        return IDCANCEL;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "Switching to the reference rasterizer", "Morvath", MB_ICONWARNING), IDCANCEL);
    EXPECT_TRUE(enabledWhileUp);  // a null owner leaves every window enabled
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(machine::control::MessageBoxes().at(0).answer, IDCANCEL);
}

TEST_F(MessageBoxes, AnOwnerIsDisabledWhileUp) {
    HWND window = CreateMainWindow();
    bool enabledWhileUp = true;
    machine::control::SetMessageBoxHook([&](const machine::MessageBoxRecord&) {
        enabledWhileUp = IsWindowEnabled(window) != FALSE;
        return 0;
    });
    MessageBoxA(window, "Could not find readme.txt", "DirectX SDK Sample", MB_ICONWARNING);
    EXPECT_FALSE(enabledWhileUp);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(Messages({WM_ENABLE}), (std::vector<UINT>{WM_ENABLE, WM_ENABLE}));
}

TEST_F(MessageBoxes, ABoxShownFromInsideABoxIsRecordedAfterIt) {
    machine::control::SetMessageBoxHook([](const machine::MessageBoxRecord& box) {
        if (box.text == "outer") MessageBoxA(nullptr, "inner", "c", MB_OK);
        return 0;
    });
    MessageBoxA(nullptr, "outer", "c", MB_OKCANCEL);
    const auto boxes = machine::control::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "outer");
    EXPECT_EQ(boxes[1].text, "inner");
}

}  // namespace
