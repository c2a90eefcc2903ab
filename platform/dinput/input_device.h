// A keyboard or mouse device over the machine's keyboard and mouse.
#pragma once

#include <cstdint>

#include "com/com_object.h"
#include "dinput.h"
#include "machine/machine.h"

namespace dinput {

enum class DeviceKind { Keyboard, Mouse };

class InputDevice final : public com::ComObject<IDirectInputDevice8A, IID_IDirectInputDevice8A> {
public:
    // Holds a reference to the DirectInput object that made it.
    InputDevice(DeviceKind kind, IUnknown* owner);

    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(DWORD cbData, LPVOID lpvData) override;
    HRESULT SetDataFormat(LPCDIDATAFORMAT lpdf) override;
    HRESULT SetCooperativeLevel(HWND hwnd, DWORD dwFlags) override;

private:
    ~InputDevice() override;
    bool MayRead() const;  // the cooperative level allows reading now
    void ReadKeyboard(BYTE* keys) const;
    void ReadMouse(DWORD bytes, BYTE* record);

    DeviceKind kind_;
    IUnknown* owner_;
    const DIDATAFORMAT* format_ = nullptr;
    HWND window_ = nullptr;
    DWORD level_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
    bool acquired_ = false;
    uint64_t foregroundLossesAtAcquire_ = 0;
    machine::MouseMotion lastRead_;  // the mouse's running totals at the last read (or the acquire)
};

}  // namespace dinput
