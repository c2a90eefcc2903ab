// Window classes: registered by name (compared ignoring case) and found by name or atom.
#include <vector>

#include "kernel/text_case.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user {
namespace {

constexpr ATOM kFirstAtom = 0xC000;  // the platform's range for registered names

struct ClassState {
    std::vector<std::shared_ptr<WindowClass>> classes;
    ATOM nextAtom = kFirstAtom;
};

void ResetClasses();

ClassState& State() {
    static ClassState state;
    static bool registered = (detail::RegisterUserReset(&ResetClasses), true);
    (void)registered;
    return state;
}

void ResetClasses() { State() = ClassState{}; }

}  // namespace

std::shared_ptr<const WindowClass> FindWindowClass(LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr) return nullptr;
    for (const auto& windowClass : State().classes) {
        if (IS_INTRESOURCE(nameOrAtom)) {
            if (windowClass->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom))) return windowClass;
        } else if (kernel::EqualsIgnoreCase(windowClass->name, nameOrAtom)) {
            return windowClass;
        }
    }
    return nullptr;
}

}  // namespace user

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || IS_INTRESOURCE(lpWndClass->lpszClassName) ||
        *lpWndClass->lpszClassName == '\0' || lpWndClass->lpfnWndProc == nullptr || lpWndClass->cbClsExtra < 0 ||
        lpWndClass->cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (user::FindWindowClass(lpWndClass->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto windowClass = std::make_shared<user::WindowClass>();
    windowClass->atom = user::State().nextAtom++;
    windowClass->name = lpWndClass->lpszClassName;
    windowClass->style = lpWndClass->style;
    windowClass->procedure = lpWndClass->lpfnWndProc;
    windowClass->classExtra = lpWndClass->cbClsExtra;
    windowClass->windowExtra = lpWndClass->cbWndExtra;
    windowClass->instance = lpWndClass->hInstance;
    windowClass->icon = lpWndClass->hIcon;
    windowClass->cursor = lpWndClass->hCursor;
    windowClass->background = lpWndClass->hbrBackground;
    if (lpWndClass->lpszMenuName && !IS_INTRESOURCE(lpWndClass->lpszMenuName))
        windowClass->menuName = lpWndClass->lpszMenuName;
    user::State().classes.push_back(windowClass);
    return windowClass->atom;
}

ULONG_PTR WINAPI GetClassLongA(HWND hWnd, int nIndex) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const user::WindowClass& c = *window->windowClass;
    switch (nIndex) {
        case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
        case GCL_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
        case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
        case GCL_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
        case GCL_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.procedure);
        case GCL_STYLE: return c.style;
        case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.windowExtra);
        case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c.classExtra);
        case GCW_ATOM: return c.atom;
        default:
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
    }
}
