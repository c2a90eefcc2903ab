// Textures from BMP and DDS files: decode, apply the colour key, scale to the texture's size, build
// the mip chain and write every level in the texture's format. DXT data is kept as its blocks when
// the texture takes the file's own DXT format at the file's size with the file's levels.
#include <algorithm>
#include <cstring>

#include "d3d9/format_info.h"
#include "d3dx9.h"
#include "d3dx9/image_file.h"
#include "injected_failure.h"
#include "image_resample.h"
#include "texel_packing.h"

namespace {

using d3dx9::DecodedImage;
using d3dx9::PixelImage;

UINT FullChain(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT size = std::max(width, height); size > 1; size /= 2) ++levels;
    return levels;
}

UINT NextPowerOfTwo(UINT value) {
    UINT p = 1;
    while (p < value && p < 0x80000000u) p <<= 1;
    return p;
}

bool HasAlpha(D3DFORMAT format) {
    const auto color = d3d9::ColorFormatOf(format);
    return color ? pipeline::HasAlpha(*color) : d3d9::IsBlockCompressed(format);
}

// The texture's size: the file's where the caller left it open, then as the device's caps require.
void ChooseSize(const D3DCAPS9& caps, UINT fileWidth, UINT fileHeight, UINT& width, UINT& height) {
    if (width == 0 || width == D3DX_DEFAULT) width = fileWidth;
    if (height == 0 || height == D3DX_DEFAULT) height = fileHeight;
    if (caps.TextureCaps & D3DPTEXTURECAPS_POW2) {
        width = NextPowerOfTwo(width);
        height = NextPowerOfTwo(height);
    }
    if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) width = height = std::max(width, height);
    if (caps.MaxTextureWidth > 0) width = std::min<UINT>(width, caps.MaxTextureWidth);
    if (caps.MaxTextureHeight > 0) height = std::min<UINT>(height, caps.MaxTextureHeight);
}

void ApplyColorKey(PixelImage& image, D3DCOLOR key) {
    if (key == 0) return;
    std::replace(image.argb.begin(), image.argb.end(), uint32_t(key), uint32_t(0));
}

HRESULT WriteBlocks(IDirect3DTexture9* texture, UINT level, D3DFORMAT format, const d3dx9::ImageLevel& source) {
    D3DLOCKED_RECT locked{};
    HRESULT hr = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    const d3d9::SurfaceLayout blocks = d3d9::LayoutOf(format, source.width, source.height);
    for (UINT row = 0; row < blocks.rows; ++row)
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(row) * locked.Pitch,
                    source.blocks.data() + size_t(row) * blocks.pitch, blocks.pitch);
    return texture->UnlockRect(level);
}

HRESULT WritePixels(IDirect3DTexture9* texture, UINT level, D3DFORMAT format, const PixelImage& source) {
    D3DLOCKED_RECT locked{};
    HRESULT hr = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    for (UINT row = 0; row < source.height; ++row)
        d3dx9::PackTexels(format, source.argb.data() + size_t(row) * source.width, source.width,
                          static_cast<uint8_t*>(locked.pBits) + size_t(row) * locked.Pitch);
    return texture->UnlockRect(level);
}

PixelImage LevelPixels(const d3dx9::ImageLevel& level) { return PixelImage{level.width, level.height, level.argb}; }

// Fills every level of a texture of the file's size and format from the stored blocks.
HRESULT FillFromBlocks(IDirect3DTexture9* texture, const DecodedImage& image, D3DFORMAT format, UINT levels) {
    for (UINT i = 0; i < levels; ++i) {
        HRESULT hr = WriteBlocks(texture, i, format, image.levels[i]);
        if (FAILED(hr)) return hr;
    }
    return D3D_OK;
}

// Level 0 is the keyed file image scaled with the image filter; each level below is the file's own
// level when the texture keeps the file's size, else the level above reduced with the mip filter.
HRESULT FillFromPixels(IDirect3DTexture9* texture, const DecodedImage& image, D3DFORMAT format, UINT width,
                       UINT height, UINT levels, DWORD filter, DWORD mipFilter, D3DCOLOR key) {
    const bool fileSize = width == image.levels[0].width && height == image.levels[0].height;
    // Without filtering a smaller level would be a corner of the one above; it is sampled instead.
    if (mipFilter == D3DX_DEFAULT) mipFilter = D3DX_FILTER_BOX;
    if ((mipFilter & 0xFF) == D3DX_FILTER_NONE) mipFilter = (mipFilter & ~0xFFu) | D3DX_FILTER_POINT;
    PixelImage current = LevelPixels(image.levels[0]);
    ApplyColorKey(current, key);
    current = d3dx9::Resample(current, width, height, filter);
    for (UINT i = 0; i < levels; ++i) {
        if (i > 0) {
            const UINT w = std::max(width >> i, 1u), h = std::max(height >> i, 1u);
            if (fileSize && i < image.levels.size()) {
                current = LevelPixels(image.levels[i]);
                ApplyColorKey(current, key);
            } else {
                current = d3dx9::Resample(current, w, h, mipFilter);
            }
        }
        HRESULT hr = WritePixels(texture, i, format, current);
        if (FAILED(hr)) return hr;
    }
    return D3D_OK;
}

D3DXIMAGE_INFO InfoOf(const DecodedImage& image) {
    D3DXIMAGE_INFO info{};
    info.Width = image.levels[0].width;
    info.Height = image.levels[0].height;
    info.Depth = 1;
    info.MipLevels = static_cast<UINT>(image.levels.size());
    info.Format = image.fileFormat;
    info.ResourceType = D3DRTYPE_TEXTURE;
    info.ImageFileFormat = image.fileKind;
    return info;
}

}  // namespace

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* pDevice, const char* pSrcFile, UINT Width,
                                            UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                            IDirect3DTexture9** ppTexture) {
    if (!pDevice || !pSrcFile || !ppTexture || !d3dx9::IsValidFilter(Filter) || !d3dx9::IsValidFilter(MipFilter))
        return D3DERR_INVALIDCALL;
    DecodedImage image;
    HRESULT hr = d3dx9::DecodeImageFile(pSrcFile, image);
    if (FAILED(hr)) return hr;

    D3DCAPS9 caps{};
    hr = pDevice->GetDeviceCaps(&caps);
    if (FAILED(hr)) return hr;
    UINT width = Width, height = Height;
    ChooseSize(caps, image.levels[0].width, image.levels[0].height, width, height);
    const UINT full = FullChain(width, height);
    const UINT levels = MipLevels == 0 || MipLevels == D3DX_DEFAULT ? full : std::min(MipLevels, full);

    // The file's blocks serve as they are only at its size, without a key, with all the levels asked for.
    const bool blocksFit = d3d9::IsBlockCompressed(image.fileFormat) && width == image.levels[0].width &&
                           height == image.levels[0].height && ColorKey == 0 && levels <= image.levels.size();
    D3DFORMAT format = Format;
    if (format == D3DFMT_UNKNOWN) {
        format = image.textureFormat;
        if (d3d9::IsBlockCompressed(format) && !blocksFit) format = D3DFMT_A8R8G8B8;
        // Keyed texels need somewhere to keep their transparency.
        if (ColorKey != 0 && !HasAlpha(format)) format = format == D3DFMT_X1R5G5B5 ? D3DFMT_A1R5G5B5 : D3DFMT_A8R8G8B8;
    }
    const bool keepBlocks = d3d9::IsBlockCompressed(format);
    // Pixels are not compressed here: a DXT texture is made only from the file's own blocks.
    if (keepBlocks ? !(blocksFit && format == image.fileFormat) : !d3d9::ColorFormatOf(format))
        return D3DERR_NOTAVAILABLE;

    IDirect3DTexture9* texture = nullptr;
    hr = pDevice->CreateTexture(width, height, levels, Usage, format, Pool, &texture, nullptr);
    if (FAILED(hr)) return hr;
    hr = keepBlocks ? FillFromBlocks(texture, image, format, levels)
                    : FillFromPixels(texture, image, format, width, height, levels, Filter, MipFilter, ColorKey);
    if (FAILED(hr)) {
        texture->Release();
        return hr;
    }
    if (pSrcInfo) *pSrcInfo = InfoOf(image);
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, const char* pSrcFile,
                                          IDirect3DTexture9** ppTexture) {
    if (HRESULT hr = d3dx9::InjectedFailure("D3DXCreateTextureFromFileA"); FAILED(hr)) {
        if (ppTexture) *ppTexture = nullptr;
        return hr;
    }
    return D3DXCreateTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                        nullptr, ppTexture);
}
