// Direct3DCreate9: this machine has no Direct3D 9 object yet, so the call answers null, as it does on
// a machine without Direct3D.
#include "d3d9.h"

IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion) {
    (void)SDKVersion;
    return nullptr;
}
