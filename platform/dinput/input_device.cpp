// Keyboard and mouse devices: acquisition under the cooperative level's foreground rule, and reads of
// the machine's keyboard state and of the mouse's motion since the last read.
#include "input_device.h"

#include <algorithm>
#include <cstring>

#include "machine/failures.h"
#include "user/window_objects.h"
#include "windows.h"

namespace dinput {
namespace {

LONG Clamped(int64_t value) {
    return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The top-level window a device's window belongs to.
HWND TopLevel(HWND window) {
    for (HWND parent = GetParent(window); parent != nullptr; parent = GetParent(window)) window = parent;
    return window;
}

bool ValidLevel(DWORD flags) {
    const DWORD sharing = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    const DWORD known = DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY;
    return (flags & ~known) == 0 && (sharing == DISCL_EXCLUSIVE || sharing == DISCL_NONEXCLUSIVE) &&
           (focus == DISCL_FOREGROUND || focus == DISCL_BACKGROUND);
}

}  // namespace

InputDevice::InputDevice(DeviceKind kind, IUnknown* owner) : kind_(kind), owner_(owner) {
    owner_->AddRef();
    machine::NoteObjectCreated("directinput device");
}

InputDevice::~InputDevice() {
    owner_->Release();
    machine::NoteObjectReleased("directinput device");
}

HRESULT InputDevice::SetDataFormat(LPCDIDATAFORMAT lpdf) {
    if (!lpdf) return DIERR_INVALIDPARAM;
    if (auto code = machine::InjectedFailure("IDirectInputDevice8::SetDataFormat")) return static_cast<HRESULT>(*code);
    if (acquired_) return DIERR_ACQUIRED;
    const bool fits = kind_ == DeviceKind::Keyboard ? lpdf == &c_dfDIKeyboard
                                                    : (lpdf == &c_dfDIMouse || lpdf == &c_dfDIMouse2);
    // Formats of the program's own making are not read by this layer.
    if (!fits) return DIERR_UNSUPPORTED;
    format_ = lpdf;
    return DI_OK;
}

HRESULT InputDevice::SetCooperativeLevel(HWND hwnd, DWORD dwFlags) {
    if (acquired_) return DIERR_ACQUIRED;
    if (auto code = machine::InjectedFailure("IDirectInputDevice8::SetCooperativeLevel"))
        return static_cast<HRESULT>(*code);
    if (!ValidLevel(dwFlags)) return DIERR_INVALIDPARAM;
    if ((dwFlags & DISCL_NOWINKEY) && kind_ != DeviceKind::Keyboard) return DIERR_INVALIDPARAM;
    if ((dwFlags & DISCL_FOREGROUND) || (dwFlags & DISCL_EXCLUSIVE)) {
        if (hwnd == nullptr || !IsWindow(hwnd)) return E_HANDLE;
    }
    // The system keyboard is never taken exclusively in the background.
    if (kind_ == DeviceKind::Keyboard && (dwFlags & DISCL_EXCLUSIVE) && (dwFlags & DISCL_BACKGROUND))
        return DIERR_UNSUPPORTED;
    window_ = hwnd;
    level_ = dwFlags;
    return DI_OK;
}

bool InputDevice::MayRead() const {
    if (!(level_ & DISCL_FOREGROUND)) return true;
    if (!IsWindow(window_)) return false;
    HWND foreground = GetForegroundWindow();
    return foreground != nullptr && foreground == TopLevel(window_);
}

HRESULT InputDevice::Acquire() {
    if (!format_) return DIERR_INVALIDPARAM;
    if (acquired_ && MayRead() && foregroundLossesAtAcquire_ == user::ForegroundLosses()) return DI_NOEFFECT;
    acquired_ = false;
    if (!MayRead()) return DIERR_OTHERAPPHASPRIO;
    acquired_ = true;
    foregroundLossesAtAcquire_ = user::ForegroundLosses();
    lastRead_ = machine::MouseMotionTotals();  // motion before the acquire is not the program's
    return DI_OK;
}

HRESULT InputDevice::Unacquire() {
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
}

HRESULT InputDevice::GetDeviceState(DWORD cbData, LPVOID lpvData) {
    if (!lpvData) return DIERR_INVALIDPARAM;
    if (auto code = machine::InjectedFailure("IDirectInputDevice8::GetDeviceState")) return static_cast<HRESULT>(*code);
    if (!acquired_) return DIERR_NOTACQUIRED;
    if (cbData != format_->dwDataSize) return DIERR_INVALIDPARAM;
    // A foreground device is given up when its window loses the foreground, even if it has it again.
    if ((level_ & DISCL_FOREGROUND) && (!MayRead() || foregroundLossesAtAcquire_ != user::ForegroundLosses())) {
        acquired_ = false;
        return DIERR_INPUTLOST;
    }
    if (kind_ == DeviceKind::Keyboard) ReadKeyboard(static_cast<BYTE*>(lpvData));
    else ReadMouse(cbData, static_cast<BYTE*>(lpvData));
    return DI_OK;
}

void InputDevice::ReadKeyboard(BYTE* keys) const {
    for (uint32_t code = 0; code < 256; ++code) keys[code] = machine::IsScanCodeDown(code) ? 0x80 : 0;
}

void InputDevice::ReadMouse(DWORD bytes, BYTE* record) {
    const machine::MouseMotion now = machine::MouseMotionTotals();
    DIMOUSESTATE2 state{};
    state.lX = Clamped(now.x - lastRead_.x);
    state.lY = Clamped(now.y - lastRead_.y);
    state.lZ = Clamped(now.wheel - lastRead_.wheel);
    lastRead_ = now;
    state.rgbButtons[0] = machine::IsMouseButtonDown(machine::MouseButtonId::Left) ? 0x80 : 0;
    state.rgbButtons[1] = machine::IsMouseButtonDown(machine::MouseButtonId::Right) ? 0x80 : 0;
    state.rgbButtons[2] = machine::IsMouseButtonDown(machine::MouseButtonId::Middle) ? 0x80 : 0;
    // DIMOUSESTATE is the first 16 bytes of DIMOUSESTATE2.
    std::memcpy(record, &state, bytes);
}

}  // namespace dinput
