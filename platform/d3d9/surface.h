// A surface: pixels in memory with the platform's description, lock and reference rules.
// The device's back buffer and depth buffer are owned by the device; an offscreen plain surface is
// owned by its outside references; a texture level forwards its references to its texture.
#pragma once

#include <vector>

#include "child_object.h"
#include "com/com_object.h"
#include "pipeline/render_target.h"

namespace d3d9 {

struct SurfaceDesc {
    UINT width = 0, height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    DWORD usage = 0;
    D3DPOOL pool = D3DPOOL_DEFAULT;
    D3DMULTISAMPLE_TYPE multisample = D3DMULTISAMPLE_NONE;
    DWORD multisampleQuality = 0;
    bool lockable = true;
};

class Surface final : public com::InterfaceList<IDirect3DSurface9, IID_IDirect3DResource9, IID_IDirect3DSurface9>,
                      public ChildObject {
public:
    enum class Owner { Device, Self, Container };
    // The format must be one BytesPerPixel knows; sizes are checked by the creator.
    Surface(Device* device, const SurfaceDesc& desc, Owner owner, IUnknown* container = nullptr);

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
    DWORD SetPriority(DWORD PriorityNew) override;
    DWORD GetPriority() override;
    void PreLoad() override;
    D3DRESOURCETYPE GetType() override;

    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect() override;

    const SurfaceDesc& Desc() const { return desc_; }
    bool Locked() const { return locked_; }
    // Changes whenever a lock ends, so copies made from the bytes know to be made again.
    uint64_t Version() const { return version_; }
    UINT Pitch() const { return pitch_; }
    uint8_t* Bits() { return bytes_.data(); }
    const uint8_t* Bits() const { return bytes_.data(); }
    // The pixel at (x, y) as 0xAARRGGBB (colour formats only; 0 otherwise).
    uint32_t ReadArgb(UINT x, UINT y) const;
    // count pixels of row y from column x as 0xAARRGGBB; the span must lie on the surface.
    void ReadRowArgb(UINT x, UINT y, UINT count, uint32_t* out) const;
    // The same with alpha 255, as a window shows the pixels: one pass over the row.
    void ReadRowOpaque(UINT x, UINT y, UINT count, uint32_t* out) const;
    // The same without waiting for the pipeline: for rows its queued work has finished.
    void ReadFinishedRowOpaque(UINT x, UINT y, UINT count, uint32_t* out) const;

    pipeline::ColorSurface ColorView();
    pipeline::DepthSurface DepthView();
    // Is this memory the pipeline draws into (a render target or a depth buffer)?
    bool DrawnInto() const;
    // Runs the pipeline's queued work when it may still write this surface: call before the bytes are
    // read, written or freed outside the pipeline.
    void WaitForPipeline() const;

private:
    ~Surface() override;
    // The row as ReadRowArgb gives it with `alpha` set in every pixel (0xFF000000: opaque); `alpha` alone
    // for a span off the surface or a format that is not a colour format. Does not wait for the pipeline.
    void ReadRow(UINT x, UINT y, UINT count, uint32_t alpha, uint32_t* out) const;

    SurfaceDesc desc_;
    Owner owner_;
    IUnknown* container_;
    UINT pitch_ = 0;
    std::vector<uint8_t> bytes_;
    bool locked_ = false;
    uint64_t version_ = 0;
    DWORD priority_ = 0;
};

}  // namespace d3d9
