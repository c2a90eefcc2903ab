#include <algorithm>

#include "window_test_support.h"

namespace {

using test::g_log;

class WindowCreation : public test::WindowTest {};

TEST_F(WindowCreation, AVisibleOverlappedWindowGetsItsMessagesBeforeCreateReturns) {
    HWND window = CreateMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<UINT> expected = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SHOWWINDOW,
                                        WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                                        WM_SETFOCUS, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE};
    EXPECT_EQ(Messages(), expected);
    // Every one of them reached the procedure with the new handle.
    for (const test::Logged& l : g_log) EXPECT_EQ(l.window, window);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(WindowCreation, WmSizeComesWithTheClientRectangleAlreadyUpdated) {
    SIZE seen{-1, -1};
    LPARAM sizeParam = 0;
    test::g_handler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_SIZE) {
            EXPECT_EQ(wParam, static_cast<WPARAM>(SIZE_RESTORED));
            seen = ClientSize(hwnd);
            sizeParam = lParam;
        }
        return false;
    };
    CreateMainWindow();
    EXPECT_EQ(seen.cx, 400);
    EXPECT_EQ(seen.cy, 300);
    EXPECT_EQ(sizeParam, MAKELPARAM(400, 300));
}

TEST_F(WindowCreation, AHiddenWindowGetsSizeAndMoveRightAfterCreate) {
    HWND window = CreateWindowExA(0, test::kClassName, "", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const std::vector<UINT> expected = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(Messages(), expected);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(WindowCreation, DefaultPlacementCascadesOnTheDesktop) {
    HWND first = CreateMainWindow();
    HWND second = CreateMainWindow();
    RECT a, b;
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    EXPECT_EQ(a.left, 26);
    EXPECT_EQ(a.top, 26);
    EXPECT_EQ(b.left, 52);
    EXPECT_EQ(b.top, 52);
}

TEST_F(WindowCreation, TheProcedureCanRefuseCreation) {
    test::g_handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_CREATE) return false;
        result = -1;
        return true;
    };
    EXPECT_EQ(CreateMainWindow(), nullptr);
    EXPECT_EQ(Messages({WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(machine::control::LiveObjects("window"), 0);
}

TEST_F(WindowCreation, ClassNamesIgnoreCaseAndUnknownClassesFail) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = test::LoggingProc;
    wc.lpszClassName = "TEST WINDOW";
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_NE(CreateWindowExA(0, "test window", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "No Such Class", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(WindowCreation, GetClassLongHandsBackTheWholeCursorHandle) {
    static_assert(sizeof(GetClassLongA(nullptr, 0)) == sizeof(void*));
    WNDCLASSA wc{};
    wc.lpfnWndProc = test::LoggingProc;
    wc.lpszClassName = "With Cursor";
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(wc.hCursor, nullptr);
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "With Cursor", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongA(window, GCL_HCURSOR)), wc.hCursor);
    EXPECT_GT(reinterpret_cast<uintptr_t>(wc.hCursor), 0xFFFFFFFFull);  // would be cut by a 32-bit answer
}

TEST_F(WindowCreation, MinimumTrackingSizeFromTheProcedureBoundsADrag) {
    test::g_handler = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {100, 100};
        return false;
    };
    HWND window = CreateMainWindow();
    SendMessageA(window, WM_SYSCOMMAND, SC_SIZE, 0);  // a drag with no target size changes nothing
    machine::InputEvent resize;
    resize.kind = machine::InputKind::Window;
    resize.windowAction = machine::WindowAction::Resize;
    resize.x = 10;
    resize.y = 10;
    machine::control::ScheduleInput(resize);
    Drain();
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 100);
}

}  // namespace
