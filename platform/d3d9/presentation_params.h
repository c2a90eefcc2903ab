// Validation of present parameters against the adapter profile, shared by CreateDevice and Reset.
#pragma once

#include "direct3d.h"

namespace d3d9 {

struct ResolvedPresentation {
    D3DPRESENT_PARAMETERS params{};  // with the platform's defaults filled in (sizes, format, count)
    D3DDISPLAYMODE fullScreenMode{};  // full screen: the display mode to switch to
};

// D3D_OK with resolved filled in, or D3DERR_INVALIDCALL for anything the profile does not offer.
HRESULT ResolvePresentation(const Direct3D& d3d, UINT adapter, D3DDEVTYPE type, const D3DPRESENT_PARAMETERS& params,
                            HWND focusWindow, ResolvedPresentation& resolved);

}  // namespace d3d9
