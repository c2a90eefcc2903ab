// TranslateMessage: a key-down that gives a character posts WM_CHAR (WM_SYSCHAR with Alt), with the
// characters of the US keyboard layout.
#include "machine/machine.h"
#include "windows.h"

namespace {

// The character of a virtual key, or 0.
int CharacterOf(WPARAM vk, bool shift, bool ctrl) {
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<int>(vk - 'A' + 1);
        return static_cast<int>(shift ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9') {
        static const char kShifted[] = ")!@#$%^&*(";
        return shift ? kShifted[vk - '0'] : static_cast<int>(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>('0' + (vk - VK_NUMPAD0));
    struct Pair {
        WPARAM vk;
        char plain, shifted;
    };
    static const Pair kKeys[] = {
        {VK_SPACE, ' ', ' '}, {VK_RETURN, '\r', '\r'}, {VK_ESCAPE, 0x1B, 0x1B}, {VK_BACK, 0x08, 0x08},
        {VK_TAB, '\t', '\t'}, {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'}, {VK_SUBTRACT, '-', '-'},
        {VK_DECIMAL, '.', '.'}, {VK_DIVIDE, '/', '/'}, {VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
        {VK_OEM_3, '`', '~'}, {VK_OEM_4, '[', '{'}, {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'},
        {VK_OEM_7, '\'', '"'},
    };
    for (const Pair& p : kKeys)
        if (p.vk == vk) return static_cast<unsigned char>(shift ? p.shifted : p.plain);
    return 0;
}

}  // namespace

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (lpMsg == nullptr) return FALSE;
    const UINT m = lpMsg->message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_KEYUP && m != WM_SYSKEYUP) return FALSE;
    if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
        const bool shift = machine::IsVirtualKeyDown(VK_SHIFT);
        const bool ctrl = machine::IsVirtualKeyDown(VK_CONTROL);
        const int c = CharacterOf(lpMsg->wParam, shift, ctrl);
        if (c != 0)
            PostMessageA(lpMsg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(c), lpMsg->lParam);
    }
    return TRUE;
}
