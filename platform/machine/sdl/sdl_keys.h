// SDL's keys as the platform's virtual keys and DirectInput key codes.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace machine::sdl {

struct KeyCodes {
    uint32_t virtualKey = 0;
    uint32_t scanCode = 0;  // DIK_ code, from the key's place on the keyboard
};

// False for a key the platform's keyboard does not have. The number pad's keys keep their own key
// codes whatever the Num Lock state; their virtual keys are the digits' with Num Lock on and the
// moving keys' with it off, as on the platform.
bool TranslateKey(SDL_Scancode key, bool numLock, KeyCodes& codes);

}  // namespace machine::sdl
