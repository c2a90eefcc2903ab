// A texture: a chain of levels, each a surface the texture owns. A level's references are the texture's.
#pragma once

#include <vector>

#include "child_object.h"
#include "com/com_object.h"
#include "pipeline/texture.h"

namespace d3d9 {

class Surface;

class Texture final : public com::InterfaceList<IDirect3DTexture9, IID_IDirect3DResource9, IID_IDirect3DBaseTexture9,
                                                IID_IDirect3DTexture9>,
                      public ChildObject {
public:
    // Levels are from the full size down, halving to 1 x 1; the creator checked the arguments.
    Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);

    ULONG AddRef() override { return AddChildReference(); }
    ULONG Release() override { return ReleaseChildReference(); }

    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
    DWORD SetPriority(DWORD PriorityNew) override;
    DWORD GetPriority() override { return priority_; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }

    DWORD SetLOD(DWORD LODNew) override;
    DWORD GetLOD() override { return lod_; }
    DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }

    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) override;
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect(UINT Level) override;

    const std::vector<Surface*>& Levels() const { return levels_; }
    // The texture as the pipeline samples it: its levels' bytes, with their current versions.
    const pipeline::Texture& Sampled();

private:
    ~Texture() override;

    std::vector<Surface*> levels_;
    pipeline::Texture sampled_;
    DWORD priority_ = 0;
    DWORD lod_ = 0;
};

// The number of levels of a full chain down to 1 x 1.
UINT FullChainLevels(UINT width, UINT height);

}  // namespace d3d9
