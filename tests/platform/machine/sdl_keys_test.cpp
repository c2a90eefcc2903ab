// SDL's keys as the platform's key codes: the number pad keeps its own DirectInput codes apart from
// the arrows and moving keys, whatever the Num Lock state; its virtual keys follow Num Lock.
#include <gtest/gtest.h>

#include "sdl/sdl_keys.h"
#include "winuser.h"

namespace {

struct KeyCase {
    SDL_Scancode key;
    bool numLock;
    uint32_t virtualKey, scanCode;
};

TEST(SdlKeys, TranslateToVirtualKeysAndDirectInputCodes) {
    const KeyCase cases[] = {
        {SDL_SCANCODE_A, true, 'A', 0x1E},           {SDL_SCANCODE_Z, false, 'Z', 0x2C},
        {SDL_SCANCODE_1, true, '1', 0x02},           {SDL_SCANCODE_0, true, '0', 0x0B},
        {SDL_SCANCODE_F1, true, VK_F1, 0x3B},        {SDL_SCANCODE_F2, true, VK_F2, 0x3C},
        {SDL_SCANCODE_F12, true, VK_F12, 0x58},      {SDL_SCANCODE_ESCAPE, true, VK_ESCAPE, 0x01},
        {SDL_SCANCODE_RETURN, true, VK_RETURN, 0x1C}, {SDL_SCANCODE_KP_ENTER, true, VK_RETURN, 0x9C},
        {SDL_SCANCODE_LALT, true, VK_MENU, 0x38},    {SDL_SCANCODE_RALT, true, VK_MENU, 0xB8},
        {SDL_SCANCODE_LSHIFT, true, VK_SHIFT, 0x2A}, {SDL_SCANCODE_RCTRL, true, VK_CONTROL, 0x9D},
        {SDL_SCANCODE_UP, true, VK_UP, 0xC8},        {SDL_SCANCODE_UP, false, VK_UP, 0xC8},
        {SDL_SCANCODE_KP_8, true, VK_NUMPAD8, 0x48}, {SDL_SCANCODE_KP_8, false, VK_UP, 0x48},
        {SDL_SCANCODE_LEFT, true, VK_LEFT, 0xCB},    {SDL_SCANCODE_KP_4, false, VK_LEFT, 0x4B},
        {SDL_SCANCODE_KP_0, true, VK_NUMPAD0, 0x52}, {SDL_SCANCODE_INSERT, true, VK_INSERT, 0xD2},
        {SDL_SCANCODE_KP_PLUS, false, VK_ADD, 0x4E}, {SDL_SCANCODE_SPACE, true, VK_SPACE, 0x39},
    };
    for (const KeyCase& c : cases) {
        machine::sdl::KeyCodes codes;
        ASSERT_TRUE(machine::sdl::TranslateKey(c.key, c.numLock, codes)) << SDL_GetScancodeName(c.key);
        EXPECT_EQ(codes.virtualKey, c.virtualKey) << SDL_GetScancodeName(c.key) << " num lock " << c.numLock;
        EXPECT_EQ(codes.scanCode, c.scanCode) << SDL_GetScancodeName(c.key) << " num lock " << c.numLock;
    }
}

TEST(SdlKeys, KeysThePlatformLacksAreRefused) {
    machine::sdl::KeyCodes codes;
    EXPECT_FALSE(machine::sdl::TranslateKey(SDL_SCANCODE_F20, true, codes));
    EXPECT_FALSE(machine::sdl::TranslateKey(SDL_SCANCODE_UNKNOWN, true, codes));
}

}  // namespace
