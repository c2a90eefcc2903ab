// Direct3DCreate9: a Direct3D object answering from the active adapter profile, or a test's own object.
#include "d3d9.h"
#include "call_log.h"
#include "d3d9/control.h"
#include "device_events.h"
#include "direct3d.h"
#include "machine/machine.h"

namespace {
d3d9::control::CreateHook& InstalledHook() {
    static d3d9::control::CreateHook hook;
    return hook;
}
}  // namespace

void d3d9::control::SetCreateHook(CreateHook hook) { InstalledHook() = std::move(hook); }

IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion) {
    d3d9::LogCall("Direct3DCreate9", SDKVersion);
    if (InstalledHook()) return InstalledHook()(SDKVersion);
    // A machine without Direct3D 9 has no object to give; only the version the headers describe is
    // offered.
    if (!machine::HasDirect3D9() || SDKVersion != D3D_SDK_VERSION) return nullptr;
    d3d9::ListenForDeviceEvents();
    return new d3d9::Direct3D(d3d9::control::ActiveProfile());
}
