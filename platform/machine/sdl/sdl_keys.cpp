#include "sdl_keys.h"

#include "winuser.h"

namespace machine::sdl {
namespace {

struct Entry {
    SDL_Scancode key;
    uint32_t virtualKey, scanCode;
};

// The number pad: Num Lock on, Num Lock off.
struct PadEntry {
    SDL_Scancode key;
    uint32_t numberKey, movingKey, scanCode;
};

constexpr Entry kKeys[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01},     {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D},   {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F},           {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B}, {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D},     {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28},  {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A},      {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33},   {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35},       {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, VK_MENU, 0x38},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39},       {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45}, {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A}, {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E},
    {SDL_SCANCODE_F11, VK_F11, 0x57},           {SDL_SCANCODE_F12, VK_F12, 0x58},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x9C},   {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x9D},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0xB5},  {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0xB7},
    {SDL_SCANCODE_RALT, VK_MENU, 0xB8},         {SDL_SCANCODE_PAUSE, VK_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, VK_HOME, 0xC7},         {SDL_SCANCODE_UP, VK_UP, 0xC8},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0xC9},      {SDL_SCANCODE_LEFT, VK_LEFT, 0xCB},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0xCD},       {SDL_SCANCODE_END, VK_END, 0xCF},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0xD0},         {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0xD1},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0xD2},     {SDL_SCANCODE_DELETE, VK_DELETE, 0xD3},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0xDB},         {SDL_SCANCODE_RGUI, VK_RWIN, 0xDC},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0xDD},
};

constexpr PadEntry kPad[] = {
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, VK_HOME, 0x47},  {SDL_SCANCODE_KP_8, VK_NUMPAD8, VK_UP, 0x48},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, VK_PRIOR, 0x49}, {SDL_SCANCODE_KP_4, VK_NUMPAD4, VK_LEFT, 0x4B},
    {SDL_SCANCODE_KP_5, VK_NUMPAD5, VK_CLEAR, 0x4C}, {SDL_SCANCODE_KP_6, VK_NUMPAD6, VK_RIGHT, 0x4D},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, VK_END, 0x4F},   {SDL_SCANCODE_KP_2, VK_NUMPAD2, VK_DOWN, 0x50},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, VK_NEXT, 0x51},  {SDL_SCANCODE_KP_0, VK_NUMPAD0, VK_INSERT, 0x52},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE, 0x53},
};

// The letters' DirectInput codes, row by row of the keyboard.
constexpr uint8_t kLetterCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                      0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

}  // namespace

bool TranslateKey(SDL_Scancode key, bool numLock, KeyCodes& codes) {
    if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) {
        const int index = key - SDL_SCANCODE_A;
        codes = {static_cast<uint32_t>('A' + index), kLetterCodes[index]};
        return true;
    }
    if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_0) {  // 1 ... 9, then 0
        const int index = key - SDL_SCANCODE_1;
        codes = {static_cast<uint32_t>(index == 9 ? '0' : '1' + index), static_cast<uint32_t>(0x02 + index)};
        return true;
    }
    if (key >= SDL_SCANCODE_F1 && key <= SDL_SCANCODE_F10) {
        const int index = key - SDL_SCANCODE_F1;
        codes = {static_cast<uint32_t>(VK_F1 + index), static_cast<uint32_t>(0x3B + index)};
        return true;
    }
    for (const PadEntry& e : kPad)
        if (e.key == key) {
            codes = {numLock ? e.numberKey : e.movingKey, e.scanCode};
            return true;
        }
    for (const Entry& e : kKeys)
        if (e.key == key) {
            codes = {e.virtualKey, e.scanCode};
            return true;
        }
    return false;
}

}  // namespace machine::sdl
