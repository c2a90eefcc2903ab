// DirectInput 8: the system keyboard and mouse as devices read by polling. The object, its devices,
// their data formats and cooperative levels, the records and key codes the program reads.
#pragma once

#include "unknwn.h"
#include "windef.h"
#include "winerror.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif

// ---- Identifiers ---------------------------------------------------------------------------------
DEFINE_GUID(IID_IDirectInput8A, 0xBF798030, 0x483A, 0x4DA2, 0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00);
DEFINE_GUID(IID_IDirectInputDevice8A, 0x54D41080, 0xDC15, 0x4833, 0xA4, 0x1B, 0x74, 0x8F, 0x73, 0xA3, 0x81, 0x79);
DEFINE_GUID(GUID_SysMouse, 0x6F1D2B60, 0xD5A0, 0x11CF, 0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00);
DEFINE_GUID(GUID_SysKeyboard, 0x6F1D2B61, 0xD5A0, 0x11CF, 0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00);
#define IID_IDirectInput8 IID_IDirectInput8A
#define IID_IDirectInputDevice8 IID_IDirectInputDevice8A

// ---- Result codes --------------------------------------------------------------------------------
#define DI_OK S_OK
#define DI_NOEFFECT S_FALSE
#define DIERR_OLDDIRECTINPUTVERSION HRESULT_FROM_WIN32(1150L)
#define DIERR_BETADIRECTINPUTVERSION HRESULT_FROM_WIN32(1153L)
#define DIERR_INVALIDPARAM E_INVALIDARG
#define DIERR_NOINTERFACE E_NOINTERFACE
#define DIERR_NOAGGREGATION CLASS_E_NOAGGREGATION
#define DIERR_DEVICENOTREG REGDB_E_CLASSNOTREG
#define DIERR_NOTINITIALIZED HRESULT_FROM_WIN32(21L)
#define DIERR_INPUTLOST HRESULT_FROM_WIN32(30L)
#define DIERR_ACQUIRED HRESULT_FROM_WIN32(170L)
#define DIERR_NOTACQUIRED HRESULT_FROM_WIN32(12L)
#define DIERR_OTHERAPPHASPRIO E_ACCESSDENIED
#define DIERR_UNSUPPORTED E_NOTIMPL
#define DIERR_OUTOFMEMORY E_OUTOFMEMORY

// ---- Cooperative levels --------------------------------------------------------------------------
#define DISCL_EXCLUSIVE 0x00000001
#define DISCL_NONEXCLUSIVE 0x00000002
#define DISCL_FOREGROUND 0x00000004
#define DISCL_BACKGROUND 0x00000008
#define DISCL_NOWINKEY 0x00000010

// ---- Data formats --------------------------------------------------------------------------------
typedef struct _DIOBJECTDATAFORMAT {
    const GUID* pguid;
    DWORD dwOfs;
    DWORD dwType;
    DWORD dwFlags;
} DIOBJECTDATAFORMAT, *LPDIOBJECTDATAFORMAT;
typedef const DIOBJECTDATAFORMAT* LPCDIOBJECTDATAFORMAT;

typedef struct _DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;  // bytes of the record GetDeviceState fills
    DWORD dwNumObjs;
    LPDIOBJECTDATAFORMAT rgodf;
} DIDATAFORMAT, *LPDIDATAFORMAT;
typedef const DIDATAFORMAT* LPCDIDATAFORMAT;

#define DIDF_ABSAXIS 0x00000001
#define DIDF_RELAXIS 0x00000002

// The predefined formats: the keyboard's 256 key bytes, the mouse with 4 buttons (DIMOUSESTATE) and
// with 8 (DIMOUSESTATE2). Devices accept these formats only.
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse;
extern const DIDATAFORMAT c_dfDIMouse2;

// Mouse states: axes relative to the last read (x right-positive, y down-positive, z the wheel in
// its own units, 120 a notch), then one byte per button (0 left, 1 right, 2 middle), 0x80 while down.
typedef struct _DIMOUSESTATE {
    LONG lX;
    LONG lY;
    LONG lZ;
    BYTE rgbButtons[4];
} DIMOUSESTATE, *LPDIMOUSESTATE;

typedef struct _DIMOUSESTATE2 {
    LONG lX;
    LONG lY;
    LONG lZ;
    BYTE rgbButtons[8];
} DIMOUSESTATE2, *LPDIMOUSESTATE2;

// ---- Interfaces ----------------------------------------------------------------------------------
struct IDirectInputDevice8A : public IUnknown {
    // Starts reading. With DISCL_FOREGROUND it fails with DIERR_OTHERAPPHASPRIO while the device's
    // window is not the foreground window; DI_NOEFFECT when already acquired; DIERR_INVALIDPARAM
    // before a data format is set.
    virtual HRESULT Acquire() = 0;
    // Stops reading; DI_NOEFFECT when not acquired.
    virtual HRESULT Unacquire() = 0;
    // Fills cbData bytes (the data format's size) with the device's state. DIERR_NOTACQUIRED when the
    // device is not acquired; DIERR_INPUTLOST once when a foreground device lost its window's
    // foreground (the device is then no longer acquired).
    virtual HRESULT GetDeviceState(DWORD cbData, LPVOID lpvData) = 0;
    virtual HRESULT SetDataFormat(LPCDIDATAFORMAT lpdf) = 0;
    // One of EXCLUSIVE / NONEXCLUSIVE and one of FOREGROUND / BACKGROUND, NOWINKEY for a keyboard.
    virtual HRESULT SetCooperativeLevel(HWND hwnd, DWORD dwFlags) = 0;
};

struct IDirectInput8A : public IUnknown {
    // GUID_SysKeyboard or GUID_SysMouse; DIERR_DEVICENOTREG for any other.
    virtual HRESULT CreateDevice(REFGUID rguid, IDirectInputDevice8A** lplpDirectInputDevice,
                                 LPUNKNOWN pUnkOuter) = 0;
};

typedef IDirectInput8A IDirectInput8;
typedef IDirectInputDevice8A IDirectInputDevice8;
typedef IDirectInput8A* LPDIRECTINPUT8A;
typedef IDirectInputDevice8A* LPDIRECTINPUTDEVICE8A;
typedef LPDIRECTINPUT8A LPDIRECTINPUT8;
typedef LPDIRECTINPUTDEVICE8A LPDIRECTINPUTDEVICE8;

// Creates the DirectInput object of version 0x0800 for the module.
HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                  LPUNKNOWN punkOuter);

// ---- Keyboard codes (indexes into the 256-byte keyboard state) -----------------------------------
#define DIK_ESCAPE 0x01
#define DIK_Q 0x10
#define DIK_W 0x11
#define DIK_E 0x12
#define DIK_R 0x13
#define DIK_T 0x14
#define DIK_Y 0x15
#define DIK_U 0x16
#define DIK_I 0x17
#define DIK_O 0x18
#define DIK_P 0x19
#define DIK_RETURN 0x1C
#define DIK_LCONTROL 0x1D
#define DIK_A 0x1E
#define DIK_S 0x1F
#define DIK_D 0x20
#define DIK_F 0x21
#define DIK_G 0x22
#define DIK_H 0x23
#define DIK_J 0x24
#define DIK_K 0x25
#define DIK_L 0x26
#define DIK_LSHIFT 0x2A
#define DIK_Z 0x2C
#define DIK_X 0x2D
#define DIK_C 0x2E
#define DIK_V 0x2F
#define DIK_B 0x30
#define DIK_N 0x31
#define DIK_M 0x32
#define DIK_RSHIFT 0x36
#define DIK_LMENU 0x38
#define DIK_SPACE 0x39
#define DIK_F1 0x3B
#define DIK_F2 0x3C
#define DIK_F3 0x3D
#define DIK_F4 0x3E
#define DIK_F5 0x3F
#define DIK_F6 0x40
#define DIK_F7 0x41
#define DIK_F8 0x42
#define DIK_F9 0x43
#define DIK_F10 0x44
#define DIK_NUMPAD7 0x47
#define DIK_NUMPAD8 0x48
#define DIK_NUMPAD9 0x49
#define DIK_NUMPAD4 0x4B
#define DIK_NUMPAD5 0x4C
#define DIK_NUMPAD6 0x4D
#define DIK_NUMPAD1 0x4F
#define DIK_NUMPAD2 0x50
#define DIK_NUMPAD3 0x51
#define DIK_NUMPAD0 0x52
#define DIK_F11 0x57
#define DIK_F12 0x58
#define DIK_RCONTROL 0x9D
#define DIK_RMENU 0xB8
#define DIK_HOME 0xC7
#define DIK_UP 0xC8
#define DIK_PRIOR 0xC9
#define DIK_LEFT 0xCB
#define DIK_RIGHT 0xCD
#define DIK_END 0xCF
#define DIK_DOWN 0xD0
#define DIK_NEXT 0xD1
#define DIK_INSERT 0xD2
#define DIK_DELETE 0xD3
#define DIK_LWIN 0xDB
#define DIK_RWIN 0xDC
