// Creating resources: offscreen plain surfaces, textures, vertex and index buffers. Each holds the device.
#include <algorithm>
#include <new>

#include "buffers.h"
#include "call_log.h"
#include "d3d9/format_info.h"
#include "d3d9/fvf_layout.h"
#include "device.h"
#include "format_checks.h"
#include "machine/failures.h"
#include "pipeline/limits.h"
#include "surface.h"
#include "texture.h"

namespace d3d9 {

namespace {

constexpr UINT kMaxSurfaceSize = pipeline::kMaxSurfaceSize;

template <typename T>
HRESULT ClearOut(T** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    return D3D_OK;
}

}  // namespace

HRESULT Device::CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) {
    LogCall("CreateOffscreenPlainSurface", Width, Height, Format, Pool);
    if (FAILED(ClearOut(ppSurface)) || pSharedHandle) return D3DERR_INVALIDCALL;
    if (Width == 0 || Height == 0 || Width > kMaxSurfaceSize || Height > kMaxSurfaceSize) return D3DERR_INVALIDCALL;
    if (Pool != D3DPOOL_DEFAULT && Pool != D3DPOOL_SYSTEMMEM && Pool != D3DPOOL_SCRATCH) return D3DERR_INVALIDCALL;
    // Scratch surfaces take any format the device stores; the others only what the device draws with.
    const DeviceTypeProfile& profile = *d3d_->DeviceType(adapter_, type_);
    const bool known = std::find(profile.textureFormats.begin(), profile.textureFormats.end(), Format) !=
                       profile.textureFormats.end();
    if (LayoutOf(Format, Width, Height).pitch == 0 || (!known && Pool != D3DPOOL_SCRATCH)) return D3DERR_INVALIDCALL;
    SurfaceDesc desc;
    desc.width = Width;
    desc.height = Height;
    desc.format = Format;
    desc.pool = Pool;
    try {
        *ppSurface = new Surface(this, desc, Surface::Owner::Self);
    } catch (const std::bad_alloc&) {
        return Pool == D3DPOOL_DEFAULT ? D3DERR_OUTOFVIDEOMEMORY : E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) {
    LogCall("CreateTexture", Width, Height, Levels, Usage, Format, Pool);
    if (FAILED(ClearOut(ppTexture)) || pSharedHandle) return D3DERR_INVALIDCALL;
    const D3DCAPS9 caps = d3d_->Caps(adapter_, type_);
    const bool scratch = Pool == D3DPOOL_SCRATCH;
    if (Width == 0 || Height == 0 || (!scratch && (Width > caps.MaxTextureWidth || Height > caps.MaxTextureHeight)) ||
        Width > kMaxSurfaceSize || Height > kMaxSurfaceSize)
        return D3DERR_INVALIDCALL;
    if (Pool != D3DPOOL_DEFAULT && Pool != D3DPOOL_MANAGED && Pool != D3DPOOL_SYSTEMMEM && !scratch)
        return D3DERR_INVALIDCALL;
    // Render-target and depth textures need the pipeline to draw into them, which it does not.
    if ((Usage & ~DWORD(D3DUSAGE_DYNAMIC)) || ((Usage & D3DUSAGE_DYNAMIC) && Pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    const DeviceTypeProfile& profile = *d3d_->DeviceType(adapter_, type_);
    if (std::find(profile.textureFormats.begin(), profile.textureFormats.end(), Format) ==
            profile.textureFormats.end() ||
        LayoutOf(Format, Width, Height).pitch == 0)
        return D3DERR_INVALIDCALL;
    const UINT full = FullChainLevels(Width, Height);
    if (Levels == 0) Levels = full;
    if (Levels > full) return D3DERR_INVALIDCALL;
    try {
        *ppTexture = new Texture(this, Width, Height, Levels, Usage, Format, Pool);
    } catch (const std::bad_alloc&) {
        return Pool == D3DPOOL_DEFAULT ? D3DERR_OUTOFVIDEOMEMORY : E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT Device::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                   IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle) {
    LogCall("CreateVertexBuffer", Length, Usage, FVF, Pool);
    if (FAILED(ClearOut(ppVertexBuffer)) || pSharedHandle) return D3DERR_INVALIDCALL;
    if (auto code = machine::InjectedFailure("IDirect3DDevice9::CreateVertexBuffer")) return static_cast<HRESULT>(*code);
    const DWORD known = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING | D3DUSAGE_DONOTCLIP |
                        D3DUSAGE_POINTS;
    if (Length == 0 || (Usage & ~known) || (FVF != 0 && Length < DecodeFvf(FVF).stride)) return D3DERR_INVALIDCALL;
    if ((Pool != D3DPOOL_DEFAULT && Pool != D3DPOOL_MANAGED && Pool != D3DPOOL_SYSTEMMEM) ||
        ((Usage & D3DUSAGE_DYNAMIC) && Pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    D3DVERTEXBUFFER_DESC desc{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, Usage, Pool, Length, FVF};
    try {
        *ppVertexBuffer = new VertexBuffer(this, desc);
    } catch (const std::bad_alloc&) {
        return Pool == D3DPOOL_DEFAULT ? D3DERR_OUTOFVIDEOMEMORY : E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT Device::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                  IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle) {
    LogCall("CreateIndexBuffer", Length, Usage, Format, Pool);
    if (FAILED(ClearOut(ppIndexBuffer)) || pSharedHandle) return D3DERR_INVALIDCALL;
    if (auto code = machine::InjectedFailure("IDirect3DDevice9::CreateIndexBuffer")) return static_cast<HRESULT>(*code);
    const DWORD known = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING | D3DUSAGE_DONOTCLIP |
                        D3DUSAGE_POINTS;
    if (Length == 0 || (Usage & ~known) || (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    if ((Pool != D3DPOOL_DEFAULT && Pool != D3DPOOL_MANAGED && Pool != D3DPOOL_SYSTEMMEM) ||
        ((Usage & D3DUSAGE_DYNAMIC) && Pool == D3DPOOL_MANAGED))
        return D3DERR_INVALIDCALL;
    D3DINDEXBUFFER_DESC desc{Format, D3DRTYPE_INDEXBUFFER, Usage, Pool, Length};
    try {
        *ppIndexBuffer = new IndexBuffer(this, desc);
    } catch (const std::bad_alloc&) {
        return Pool == D3DPOOL_DEFAULT ? D3DERR_OUTOFVIDEOMEMORY : E_OUTOFMEMORY;
    }
    return D3D_OK;
}

}  // namespace d3d9
