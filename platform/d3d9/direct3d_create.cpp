// Direct3DCreate9. This machine has no Direct3D 9 object of its own yet, so the call answers null, as it
// does on a machine without Direct3D; a test may stand in its own object.
#include "d3d9.h"
#include "d3d9/control.h"

namespace {
d3d9::control::CreateHook& createHook() {
    static d3d9::control::CreateHook hook;
    return hook;
}
}  // namespace

void d3d9::control::SetCreateHook(CreateHook hook) { createHook() = std::move(hook); }

IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion) {
    if (createHook()) return createHook()(SDKVersion);
    return nullptr;
}
