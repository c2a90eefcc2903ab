#include "texture.h"

#include <algorithm>

#include "d3d9/format_info.h"
#include "device.h"
#include "surface.h"

namespace d3d9 {

UINT FullChainLevels(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT size = std::max(width, height); size > 1; size /= 2) ++levels;
    return levels;
}

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : ChildObject(device, pool, false) {
    levels_.reserve(levels);
    try {
        for (UINT level = 0; level < levels; ++level) {
            SurfaceDesc desc;
            desc.width = std::max(width >> level, 1u);
            desc.height = std::max(height >> level, 1u);
            desc.format = format;
            desc.usage = usage;
            desc.pool = pool;
            levels_.push_back(
                new Surface(device, desc, Surface::Owner::Container, static_cast<IDirect3DTexture9*>(this)));
        }
    } catch (...) {
        for (Surface* level : levels_) level->DestroyOwned();
        throw;
    }
}

Texture::~Texture() {
    for (Surface* level : levels_) level->DestroyOwned();
}

HRESULT Texture::GetDevice(IDirect3DDevice9** ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    OwnerDevice()->AddRef();
    *ppDevice = OwnerDevice();
    return D3D_OK;
}

// Priority and level of detail belong to managed textures; others answer 0 and keep nothing.
DWORD Texture::SetPriority(DWORD PriorityNew) {
    if (Pool() != D3DPOOL_MANAGED) return 0;
    DWORD previous = priority_;
    priority_ = PriorityNew;
    return previous;
}

DWORD Texture::SetLOD(DWORD LODNew) {
    if (Pool() != D3DPOOL_MANAGED) return 0;
    DWORD previous = lod_;
    lod_ = std::min<DWORD>(LODNew, GetLevelCount() - 1);
    return previous;
}

HRESULT Texture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    return levels_[Level]->GetDesc(pDesc);
}

HRESULT Texture::GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) {
    if (!ppSurfaceLevel) return D3DERR_INVALIDCALL;
    *ppSurfaceLevel = nullptr;
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    levels_[Level]->AddRef();
    *ppSurfaceLevel = levels_[Level];
    return D3D_OK;
}

const pipeline::Texture& Texture::Sampled() {
    sampled_.format = TextureFormatOf(levels_.front()->Desc().format).value_or(pipeline::TextureFormat::A8R8G8B8);
    sampled_.levels.resize(levels_.size());
    for (size_t i = 0; i < levels_.size(); ++i) {
        Surface& level = *levels_[i];
        pipeline::TextureLevel& out = sampled_.levels[i];
        out.width = static_cast<int>(level.Desc().width);
        out.height = static_cast<int>(level.Desc().height);
        out.pitch = static_cast<int>(level.Pitch());
        out.data = level.Bits();
        out.version = level.Version();
    }
    return sampled_;
}

HRESULT Texture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    return levels_[Level]->LockRect(pLockedRect, pRect, Flags);
}

HRESULT Texture::UnlockRect(UINT Level) {
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    return levels_[Level]->UnlockRect();
}

}  // namespace d3d9
