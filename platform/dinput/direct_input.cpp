// DirectInput8Create and the DirectInput object, which makes the system keyboard and mouse devices.
#include <new>

#include "com/com_object.h"
#include "dinput.h"
#include "input_device.h"
#include "machine/failures.h"
#include "machine/machine.h"

namespace dinput {
namespace {

class DirectInput final : public com::ComObject<IDirectInput8A, IID_IDirectInput8A> {
public:
    DirectInput() { machine::NoteObjectCreated("directinput"); }

    HRESULT CreateDevice(REFGUID rguid, IDirectInputDevice8A** device, LPUNKNOWN outer) override {
        if (!device) return E_POINTER;
        *device = nullptr;
        if (outer) return DIERR_NOAGGREGATION;
        DeviceKind kind;
        if (IsEqualGUID(rguid, GUID_SysKeyboard)) kind = DeviceKind::Keyboard;
        else if (IsEqualGUID(rguid, GUID_SysMouse)) kind = DeviceKind::Mouse;
        else return DIERR_DEVICENOTREG;
        if (auto code = machine::InjectedFailure("IDirectInput8::CreateDevice")) return static_cast<HRESULT>(*code);
        if (machine::InjectedFailure("alloc:dinput")) return DIERR_OUTOFMEMORY;
        auto* made = new (std::nothrow) InputDevice(kind, this);
        if (!made) return DIERR_OUTOFMEMORY;
        *device = made;
        return DI_OK;
    }

private:
    ~DirectInput() override { machine::NoteObjectReleased("directinput"); }
};

}  // namespace
}  // namespace dinput

HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                  LPUNKNOWN punkOuter) {
    if (!ppvOut) return DIERR_INVALIDPARAM;
    *ppvOut = nullptr;
    if (!hinst) return DIERR_INVALIDPARAM;
    if (dwVersion < 0x0800) return DIERR_OLDDIRECTINPUTVERSION;
    if (dwVersion > 0x0800) return DIERR_BETADIRECTINPUTVERSION;
    if (punkOuter) return DIERR_NOAGGREGATION;
    if (!IsEqualIID(riidltf, IID_IDirectInput8A) && !IsEqualIID(riidltf, IID_IUnknown)) return DIERR_NOINTERFACE;
    // A machine without DirectInput, or one that cannot make it now.
    if (auto code = machine::InjectedFailure("DirectInput8Create")) return static_cast<HRESULT>(*code);
    if (machine::InjectedFailure("alloc:dinput")) return DIERR_OUTOFMEMORY;
    auto* made = new (std::nothrow) dinput::DirectInput();
    if (!made) return DIERR_OUTOFMEMORY;
    *ppvOut = static_cast<IDirectInput8A*>(made);
    return DI_OK;
}
