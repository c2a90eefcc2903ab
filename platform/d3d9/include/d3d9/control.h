// Test control of the Direct3D 9 area: a test may stand in its own Direct3D object for Direct3DCreate9.
#pragma once

#include <functional>

#include "d3d9.h"

namespace d3d9::control {
// While set, Direct3DCreate9 answers what the hook returns (which may be null); cleared by passing {}.
using CreateHook = std::function<IDirect3D9*(UINT sdkVersion)>;
void SetCreateHook(CreateHook hook);
}  // namespace d3d9::control
