// The window table and window creation: handles are never reused, so a destroyed handle stays
// invalid for the rest of the run.
#include <algorithm>
#include <map>

#include "machine/machine.h"
#include "user/coordinates.h"
#include "user/nonclient.h"
#include "user/positions.h"
#include "user/reset.h"
#include "user/window_objects.h"
#include "user/window_table.h"

namespace user {
namespace {

constexpr int kCascadeStep = 26;
constexpr int kCascadeSteps = 8;

void ResetWindows();

WindowTable& Table() {
    static WindowTable table;
    static bool registered = (detail::RegisterUserReset(&ResetWindows), true);
    (void)registered;
    return table;
}

void ResetWindows() {
    uintptr_t next = Table().nextHandle;  // handles stay unique across resets too
    Table() = WindowTable{};
    Table().nextHandle = next;
}

bool IsOverlappedTopLevel(DWORD style) { return (style & (WS_POPUP | WS_CHILD)) == 0; }

MINMAXINFO DefaultMinMaxInfo(const Window& window) {
    const machine::DisplayMode mode = machine::CurrentDisplayMode();
    const LONG width = static_cast<LONG>(mode.width), height = static_cast<LONG>(mode.height);
    const Insets n = NonClientInsets(window.style, window.exStyle, window.HasMenuBar());
    MINMAXINFO info{};
    if (window.style & WS_THICKFRAME) {
        // Maximized, the sizing frame lies just outside the desktop.
        info.ptMaxPosition = {-n.left, -n.left};
        info.ptMaxSize = {width + n.left + n.right, height + n.left + n.right};
    } else {
        info.ptMaxPosition = {0, 0};
        info.ptMaxSize = {width, height};
    }
    info.ptMinTrackSize = {112 + n.left + n.right, n.top + n.bottom};
    info.ptMaxTrackSize = {width + 12 + n.left + n.right, height + 12 + n.top + n.bottom};
    return info;
}

}  // namespace

WindowTable& Windows() { return Table(); }

MINMAXINFO QueryMinMaxInfo(HWND handle) {
    auto window = FindWindowObject(handle);
    if (!window) return {};
    MINMAXINFO info = DefaultMinMaxInfo(*window);
    CallWindowProcedure(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    // Whatever the procedure answered, positions and sizes the window manager can add up.
    for (POINT* p : {&info.ptMaxSize, &info.ptMinTrackSize, &info.ptMaxTrackSize}) *p = {ClampExtent(p->x), ClampExtent(p->y)};
    info.ptMaxPosition = {ClampCoordinate(info.ptMaxPosition.x), ClampCoordinate(info.ptMaxPosition.y)};
    return info;
}

std::shared_ptr<Window> FindWindowObject(HWND handle) {
    if (handle == nullptr) return nullptr;
    auto found = Table().windows.find(handle);
    return found == Table().windows.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<Window>> LiveWindows() {
    std::vector<std::shared_ptr<Window>> result;
    for (HWND handle : Table().order)
        if (auto window = FindWindowObject(handle)) result.push_back(window);
    return result;
}

HWND MainWindow() {
    WindowTable& t = Table();
    if (auto focus = FindWindowObject(t.focus); focus && !focus->IsChild()) return t.focus;
    for (HWND handle : t.mainCandidates)
        if (FindWindowObject(handle)) return handle;
    return nullptr;
}

HWND KeyboardWindow() {
    if (FindWindowObject(Table().focus)) return Table().focus;
    return MainWindow();
}

POINT ClientOriginOnScreen(const Window& window) {
    POINT origin{window.clientRect.left, window.clientRect.top};
    if (window.IsChild()) {
        if (auto parent = FindWindowObject(window.parent)) {
            POINT p = ClientOriginOnScreen(*parent);
            origin.x += p.x;
            origin.y += p.y;
        }
    }
    return origin;
}

RECT WindowRectOnScreen(const Window& window) {
    RECT r = window.windowRect;
    if (window.IsChild()) {
        if (auto parent = FindWindowObject(window.parent)) {
            POINT p = ClientOriginOnScreen(*parent);
            r.left += p.x;
            r.right += p.x;
            r.top += p.y;
            r.bottom += p.y;
        }
    }
    return r;
}

LRESULT CallWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto window = FindWindowObject(handle);
    if (!window || window->procedure == nullptr) return 0;
    WNDPROC procedure = window->procedure;
    return procedure(handle, message, wParam, lParam);
}

}  // namespace user

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    using namespace user;
    auto windowClass = FindWindowClass(lpClassName);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    const bool child = (dwStyle & WS_CHILD) != 0;
    if (child && !FindWindowObject(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (!child && hMenu == nullptr && !windowClass->menuName.empty())
        hMenu = LoadMenuA(windowClass->instance, windowClass->menuName.c_str());
    if (!child && hMenu != nullptr && !IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }

    WindowTable& table = Windows();
    auto window = std::make_shared<Window>();
    HWND handle = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += 0x10;
    window->handle = handle;
    window->windowClass = windowClass;
    window->procedure = windowClass->procedure;
    window->title = lpWindowName ? lpWindowName : "";
    window->style = dwStyle & ~WS_VISIBLE;  // shown below, with its messages
    window->exStyle = dwExStyle;
    window->parent = child ? hWndParent : nullptr;
    window->menu = hMenu;
    window->instance = hInstance;

    // Placement: the platform's default for overlapped windows is a cascade on the desktop.
    const machine::DisplayMode desktop = machine::CurrentDisplayMode();
    if (X == CW_USEDEFAULT) {
        if (IsOverlappedTopLevel(dwStyle)) {
            const int step = 1 + table.cascadeIndex++ % kCascadeSteps;
            X = Y = step * kCascadeStep;
        } else {
            X = Y = 0;
        }
    } else if (Y == CW_USEDEFAULT) {
        Y = 0;
    }
    if (nWidth == CW_USEDEFAULT) {
        if (IsOverlappedTopLevel(dwStyle)) {
            nWidth = static_cast<int>(desktop.width) * 3 / 4;
            nHeight = static_cast<int>(desktop.height) * 3 / 4;
        } else {
            nWidth = nHeight = 0;
        }
    }
    X = ClampCoordinate(X);
    Y = ClampCoordinate(Y);
    nWidth = ClampExtent(nWidth);
    nHeight = ClampExtent(nHeight);
    window->windowRect = {X, Y, X + nWidth, Y + nHeight};
    window->clientRect = ClientRectFor(window->windowRect, window->style, window->exStyle, window->HasMenuBar());
    table.windows[handle] = window;
    table.order.push_back(handle);
    machine::NoteObjectCreated("window");

    // An overlapped or sizable window is kept inside the tracking size its procedure allows.
    if (!child || (dwStyle & WS_THICKFRAME)) {
        MINMAXINFO info = QueryMinMaxInfo(handle);
        if (!FindWindowObject(handle)) return nullptr;
        nWidth = std::clamp<int>(nWidth, std::min(info.ptMinTrackSize.x, info.ptMaxTrackSize.x), info.ptMaxTrackSize.x);
        nHeight = std::clamp<int>(nHeight, std::min(info.ptMinTrackSize.y, info.ptMaxTrackSize.y), info.ptMaxTrackSize.y);
        window->windowRect = {X, Y, X + nWidth, Y + nHeight};
    }

    CREATESTRUCTA create{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X,
                         static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    if (!CallWindowProcedure(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!FindWindowObject(handle)) return nullptr;
    RECT client = window->windowRect;
    CallWindowProcedure(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    if (!FindWindowObject(handle)) return nullptr;
    window->clientRect = client;
    window->normalRect = window->windowRect;
    if (CallWindowProcedure(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!FindWindowObject(handle)) return nullptr;

    if (dwStyle & WS_VISIBLE) {
        ShowWindow(handle, SW_SHOW);
    } else {
        CallWindowProcedure(handle, WM_SIZE, SIZE_RESTORED,
                            MAKELPARAM(client.right - client.left, client.bottom - client.top));
        CallWindowProcedure(handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
        if (auto w = FindWindowObject(handle)) w->sizeAndMoveSent = true;
    }
    return FindWindowObject(handle) ? handle : nullptr;
}

BOOL WINAPI IsWindow(HWND hWnd) { return user::FindWindowObject(hWnd) ? TRUE : FALSE; }

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    return window && window->Visible() ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    return window && window->showState == user::ShowState::Minimized ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    return window && window->showState == user::ShowState::Maximized ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window->parent;
}
