// DirectInput 8: keyboard and mouse devices. The records and key codes the program reads, and the
// interfaces it holds.
#pragma once

#include "windef.h"
#include "unknwn.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif

struct IDirectInput8A;
struct IDirectInputDevice8A;
typedef IDirectInput8A IDirectInput8;
typedef IDirectInputDevice8A IDirectInputDevice8;
typedef IDirectInput8A* LPDIRECTINPUT8A;
typedef IDirectInputDevice8A* LPDIRECTINPUTDEVICE8A;
typedef LPDIRECTINPUT8A LPDIRECTINPUT8;
typedef LPDIRECTINPUTDEVICE8A LPDIRECTINPUTDEVICE8;

// Mouse state with eight buttons: relative axes and wheel, then one byte per button (0x80 while down).
typedef struct _DIMOUSESTATE2 {
    LONG lX;
    LONG lY;
    LONG lZ;
    BYTE rgbButtons[8];
} DIMOUSESTATE2, *LPDIMOUSESTATE2;

// Keyboard codes (indexes into the 256-byte keyboard state).
#define DIK_W 0x11
#define DIK_R 0x13
#define DIK_T 0x14
#define DIK_Y 0x15
#define DIK_U 0x16
#define DIK_I 0x17
#define DIK_O 0x18
#define DIK_A 0x1E
#define DIK_S 0x1F
#define DIK_D 0x20
#define DIK_F 0x21
#define DIK_G 0x22
#define DIK_H 0x23
#define DIK_J 0x24
#define DIK_K 0x25
#define DIK_L 0x26
#define DIK_F5 0x3F
#define DIK_F8 0x42
#define DIK_F9 0x43
#define DIK_NUMPAD4 0x4B
#define DIK_NUMPAD5 0x4C
#define DIK_NUMPAD1 0x4F
#define DIK_NUMPAD2 0x50
#define DIK_NUMPAD3 0x51
#define DIK_NUMPAD0 0x52
#define DIK_F11 0x57
#define DIK_F12 0x58
#define DIK_HOME 0xC7
#define DIK_UP 0xC8
#define DIK_LEFT 0xCB
#define DIK_RIGHT 0xCD
#define DIK_DOWN 0xD0
