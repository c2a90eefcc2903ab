// The loss states: operational -> lost (Present and TestCooperativeLevel answer D3DERR_DEVICELOST) ->
// resettable (TestCooperativeLevel answers D3DERR_DEVICENOTRESET) -> Reset -> operational.
// Reset fails while the device is lost and not yet resettable, and while references to its surfaces or
// default-pool resources are held; a failed Reset leaves the device resettable, to be tried again.
#include "call_log.h"
#include "device.h"
#include "device_events.h"
#include "device_registry.h"
#include "device_stats.h"
#include "machine/machine.h"
#include "reset_script.h"

namespace d3d9 {

namespace {
struct ResetScript {
    bool armed = false;
    HRESULT result = D3D_OK;
    bool loseDevice = false;
};
ResetScript& NextReset() {
    static ResetScript script;
    return script;
}
}  // namespace

HRESULT Device::TestCooperativeLevel() {
    LogCall("TestCooperativeLevel");
    if (loss_ == LossState::Lost) {
        if (!testsUntilResettable_ || *testsUntilResettable_ > 0) {
            if (testsUntilResettable_) --*testsUntilResettable_;
            // A lost device presents no frames, so time passes only while the program waits here:
            // the machine's next scheduled input (such as the script's "device restore") comes due.
            // A loss the script made ends with the script, so a run never waits for ever.
            if (machine::BringNextInputForward() || !lossEndsWithScript_) return D3DERR_DEVICELOST;
        }
        SetLoss(LossState::Resettable);
    }
    return loss_ == LossState::Resettable ? D3DERR_DEVICENOTRESET : D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) {
    LogCall("Reset");
    if (!pPresentationParameters) return D3DERR_INVALIDCALL;
    if (NextReset().armed) {
        const ResetScript script = NextReset();
        NextReset() = ResetScript{};
        SetLoss(script.loseDevice ? LossState::Lost : LossState::Resettable);
        return script.result;
    }
    if (loss_ == LossState::Lost) return D3DERR_DEVICELOST;
    if (HoldsVolatileReferences()) {
        SetLoss(LossState::Resettable);
        return D3DERR_INVALIDCALL;
    }
    ResolvedPresentation resolved;
    HRESULT hr = pPresentationParameters->Windowed || focusWindow_
                     ? ResolvePresentation(*d3d_, adapter_, type_, *pPresentationParameters, focusWindow_, resolved)
                     : D3DERR_INVALIDCALL;
    if (SUCCEEDED(hr)) hr = ApplyPresentation(resolved);
    if (FAILED(hr)) {
        SetLoss(LossState::Resettable);
        return hr;
    }
    *pPresentationParameters = resolved.params;
    SetLoss(LossState::Operational);
    CountDeviceReset();
    Describe();
    return D3D_OK;
}

void control::LoseDevices(std::optional<unsigned> testsUntilResettable) {
    for (Device* device : LiveDeviceList()) device->SetLoss(LossState::Lost, testsUntilResettable);
}

void LoseDevicesByScript() {
    for (Device* device : LiveDeviceList()) device->SetLoss(LossState::Lost, std::nullopt, true);
}

void control::RestoreDevices() {
    for (Device* device : LiveDeviceList())
        if (device->Loss() == LossState::Lost) device->SetLoss(LossState::Resettable);
}

void control::FailNextReset(HRESULT result, bool loseDevice) { NextReset() = {true, result, loseDevice}; }

void ForgetResetScript() { NextReset() = ResetScript{}; }

}  // namespace d3d9
