// The message queue: posted messages first in first out, then the quit message, then keyboard and
// mouse input from the machine, then WM_PAINT for a window with an invalid region. Sent messages
// never queue: SendMessageA calls the procedure at once.
#include <algorithm>
#include <deque>
#include <vector>

#include "machine/machine.h"
#include "user/machine_input.h"
#include "user/painting.h"
#include "user/queue.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user {
namespace {

struct QueueState {
    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitCode = 0;
    bool machineClosedMainWindow = false;
};

void ResetQueue();

QueueState& State() {
    static QueueState state;
    static bool registered = (detail::RegisterUserReset(&ResetQueue), true);
    (void)registered;
    return state;
}

void ResetQueue() { State() = QueueState{}; }

bool InRange(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (first <= message && message <= last);
}

// A window filter takes that window's messages and its children's; (HWND)-1 takes the thread's own.
bool ForWindow(HWND target, HWND filter) {
    if (filter == nullptr) return true;
    if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
    for (HWND h = target; h != nullptr;) {
        if (h == filter) return true;
        auto window = FindWindowObject(h);
        h = window ? window->parent : nullptr;
    }
    return false;
}

void Stamp(MSG& msg) {
    msg.time = machine::ReadMilliseconds();
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    msg.pt = {x, y};
}

bool TakePosted(MSG& msg, HWND window, UINT first, UINT last, bool remove) {
    auto& posted = State().posted;
    for (auto it = posted.begin(); it != posted.end();) {
        if (it->hwnd != nullptr && !FindWindowObject(it->hwnd)) {
            it = posted.erase(it);  // its window is gone: dropped, never delivered
            continue;
        }
        if (ForWindow(it->hwnd, window) && InRange(it->message, first, last)) {
            msg = *it;
            if (remove) posted.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

bool TakeQuit(MSG& msg, UINT first, UINT last, bool remove) {
    QueueState& s = State();
    if (!s.quitPosted || !InRange(WM_QUIT, first, last)) return false;
    msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, 0, {0, 0}};
    Stamp(msg);
    if (remove) s.quitPosted = false;
    return true;
}

bool TakePaint(MSG& msg, HWND window, UINT first, UINT last) {
    if (!InRange(WM_PAINT, first, last)) return false;
    HWND target = WindowNeedingPaint(window);
    if (target == nullptr) return false;
    msg = MSG{target, WM_PAINT, 0, 0, 0, {0, 0}};
    Stamp(msg);
    return true;
}

}  // namespace

bool TakeMessage(MSG& msg, HWND window, UINT first, UINT last, bool remove) {
    if (TakePosted(msg, window, first, last, remove)) return true;
    if (TakeQuit(msg, first, last, remove)) return true;
    if (TakeInputMessage(msg, window, first, last, remove)) return true;
    return TakePaint(msg, window, first, last);  // WM_PAINT stays until the region is validated
}

void WaitForMessage(MSG& msg, HWND window, UINT first, UINT last) {
    QueueState& s = State();
    for (;;) {
        if (TakeMessage(msg, window, first, last, true)) {
            machine::NoteProgress();
            return;
        }
        if (machine::RunIdleHook()) {
            MSG peek;
            if (TakeMessage(peek, window, first, last, false)) continue;
            if (machine::BringNextInputForward()) continue;
            if (machine::NoteIdleWithoutProgress()) PostQuitMessage(0);
            continue;
        }
        if (machine::WaitForDisplayEvents(0)) continue;
        // Time passes while the program waits: the next scheduled input arrives now.
        if (machine::BringNextInputForward()) continue;
        // A real display: the user acts when the user acts.
        if (machine::HasRealDisplay() && MainWindow() != nullptr) {
            machine::WaitForDisplayEvents(100);
            machine::NoteProgress();
            continue;
        }
        // Nothing will ever come: the user closes the main window, once; then the run ends.
        HWND main = MainWindow();
        if (!s.machineClosedMainWindow && main != nullptr) {
            s.machineClosedMainWindow = true;
            PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            continue;
        }
        if (!s.quitPosted) {
            PostQuitMessage(0);
            continue;
        }
        // The filter keeps even WM_QUIT out: only the watchdog can end this.
        if (machine::NoteIdleWithoutProgress()) return;
    }
}

void DropMessagesOf(HWND window) {
    auto& posted = State().posted;
    for (auto it = posted.begin(); it != posted.end();) it = it->hwnd == window ? posted.erase(it) : it + 1;
}

void DispatchPendingWithoutInput() {
    // Bounded: a procedure that keeps posting to itself cannot hold the box up for ever.
    constexpr int kMaxMessages = 100'000;
    std::vector<HWND> painted;
    for (int i = 0; i < kMaxMessages; ++i) {
        MSG msg;
        if (TakePosted(msg, nullptr, 0, 0, true)) {
            DispatchMessageA(&msg);
            continue;
        }
        HWND target = WindowNeedingPaint(nullptr);
        if (target == nullptr || std::find(painted.begin(), painted.end(), target) != painted.end()) return;
        painted.push_back(target);
        msg = MSG{target, WM_PAINT, 0, 0, 0, {0, 0}};
        Stamp(msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace user

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!user::TakeMessage(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)) return FALSE;
    machine::NoteProgress();
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    user::WaitForMessage(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != nullptr && !user::FindWindowObject(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MSG msg{hWnd, Msg, wParam, lParam, 0, {0, 0}};
    user::Stamp(msg);
    user::State().posted.push_back(msg);
    return TRUE;
}

VOID WINAPI PostQuitMessage(int nExitCode) {
    user::State().quitPosted = true;
    user::State().quitCode = nExitCode;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!user::FindWindowObject(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return user::CallWindowProcedure(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr) return 0;
    return user::CallWindowProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
