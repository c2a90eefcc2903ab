// BMP and DDS files through the texture loader: once with every choice left to the file, once converted
// to A8R8G8B8 at a size of its own with a filter and a colour key; every level of what loads is read back.
#include "d3dx9.h"
#include "fuzz_support.h"

namespace {

void ReadLevels(IDirect3DTexture9* texture) {
    volatile uint8_t sink = 0;
    for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc{};
        D3DLOCKED_RECT locked{};
        if (texture->GetLevelDesc(level, &desc) != D3D_OK) std::abort();
        if (texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) continue;
        // The first and the last row of the level (rows of 4 x 4 blocks for the compressed formats).
        const bool blocks = desc.Format == D3DFMT_DXT1 || desc.Format == D3DFMT_DXT2 ||
                            desc.Format == D3DFMT_DXT3 || desc.Format == D3DFMT_DXT4 || desc.Format == D3DFMT_DXT5;
        const UINT rows = blocks ? (desc.Height + 3) / 4 : desc.Height;
        const auto* bytes = static_cast<const uint8_t*>(locked.pBits);
        sink = sink + bytes[0] + bytes[size_t(locked.Pitch) * (rows - 1)];
        texture->UnlockRect(level);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IDirect3DDevice9* device = fuzz::FuzzDevice();
    const std::string path = fuzz::WriteScratchFile(data, size, ".img");
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
    if (D3DXCreateTextureFromFileExA(device, path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                     D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, 0, &info,
                                     nullptr, &texture) == D3D_OK) {
        ReadLevels(texture);
        texture->Release();
        texture = nullptr;
        const UINT width = info.Width > 1 ? info.Width / 2 + 1 : 3, height = info.Height > 1 ? info.Height / 2 + 1 : 5;
        if (D3DXCreateTextureFromFileExA(device, path.c_str(), width, height, 0, 0, D3DFMT_A8R8G8B8,
                                         D3DPOOL_MANAGED, D3DX_FILTER_LINEAR, D3DX_FILTER_BOX, 0xFF000000,
                                         nullptr, nullptr, &texture) == D3D_OK) {
            ReadLevels(texture);
            texture->Release();
        }
    } else if (texture != nullptr) {
        std::abort();  // a failed load must leave the out pointer alone
    }
    return 0;
}
