// Clear: colour, depth and stencil of the render target, within the viewport (and the scissor).
#include <cmath>
#include <vector>

#include "call_log.h"
#include "d3d9/format_info.h"
#include "device.h"
#include "pipeline/pipeline.h"
#include "surface.h"

namespace d3d9 {

HRESULT Device::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) {
    LogCall("Clear", Count, static_cast<const void*>(pRects), Flags, Color, Z, Stencil);
    const DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if (Flags == 0 || (Flags & ~known)) return D3DERR_INVALIDCALL;
    if ((Count > 0) != (pRects != nullptr)) return D3DERR_INVALIDCALL;
    if ((Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return D3DERR_INVALIDCALL;
    if ((Flags & D3DCLEAR_STENCIL) && !HasStencil(depthStencil_->Desc().format)) return D3DERR_INVALIDCALL;
    if (!(Z >= 0.0f && Z <= 1.0f)) return D3DERR_INVALIDCALL;

    pipeline::RenderTarget target = Target();

    std::vector<pipeline::Rect> rects;
    for (DWORD i = 0; i < Count; ++i) rects.push_back({pRects[i].x1, pRects[i].y1, pRects[i].x2, pRects[i].y2});
    uint32_t flags = 0;
    if (Flags & D3DCLEAR_TARGET) flags |= pipeline::kClearColor;
    if (Flags & D3DCLEAR_ZBUFFER) flags |= pipeline::kClearDepth;
    if (Flags & D3DCLEAR_STENCIL) flags |= pipeline::kClearStencil;
    // Nothing to clear is not an error: rectangles outside the viewport clear nothing.
    if (Count > 0 && rects.empty()) return D3D_OK;
    pipeline::Clear(target, rects.empty() ? nullptr : rects.data(), static_cast<int>(rects.size()), flags, Color, Z,
                    Stencil);
    return D3D_OK;
}

}  // namespace d3d9
