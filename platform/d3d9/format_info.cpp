#include "d3d9/format_info.h"

#include "pipeline/dxt.h"

namespace d3d9 {

std::optional<pipeline::ColorFormat> ColorFormatOf(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_X8R8G8B8: return pipeline::ColorFormat::X8R8G8B8;
    case D3DFMT_A8R8G8B8: return pipeline::ColorFormat::A8R8G8B8;
    case D3DFMT_R5G6B5: return pipeline::ColorFormat::R5G6B5;
    case D3DFMT_X1R5G5B5: return pipeline::ColorFormat::X1R5G5B5;
    case D3DFMT_A1R5G5B5: return pipeline::ColorFormat::A1R5G5B5;
    case D3DFMT_A4R4G4B4: return pipeline::ColorFormat::A4R4G4B4;
    default: return std::nullopt;
    }
}

std::optional<pipeline::DepthFormat> DepthFormatOf(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE: return pipeline::DepthFormat::D16;
    case D3DFMT_D24X8: return pipeline::DepthFormat::D24X8;
    case D3DFMT_D24S8: return pipeline::DepthFormat::D24S8;
    case D3DFMT_D32: return pipeline::DepthFormat::D32;
    case D3DFMT_D32F_LOCKABLE: return pipeline::DepthFormat::D32F;
    default: return std::nullopt;
    }
}

std::optional<pipeline::TextureFormat> TextureFormatOf(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_X8R8G8B8: return pipeline::TextureFormat::X8R8G8B8;
    case D3DFMT_A8R8G8B8: return pipeline::TextureFormat::A8R8G8B8;
    case D3DFMT_R5G6B5: return pipeline::TextureFormat::R5G6B5;
    case D3DFMT_X1R5G5B5: return pipeline::TextureFormat::X1R5G5B5;
    case D3DFMT_A1R5G5B5: return pipeline::TextureFormat::A1R5G5B5;
    case D3DFMT_A4R4G4B4: return pipeline::TextureFormat::A4R4G4B4;
    case D3DFMT_DXT1: return pipeline::TextureFormat::DXT1;
    case D3DFMT_DXT2: return pipeline::TextureFormat::DXT2;
    case D3DFMT_DXT3: return pipeline::TextureFormat::DXT3;
    case D3DFMT_DXT4: return pipeline::TextureFormat::DXT4;
    case D3DFMT_DXT5: return pipeline::TextureFormat::DXT5;
    default: return std::nullopt;
    }
}

bool HasStencil(D3DFORMAT format) { return format == D3DFMT_D24S8; }

UINT BytesPerPixel(D3DFORMAT format) {
    if (auto color = ColorFormatOf(format)) return static_cast<UINT>(pipeline::BytesPerPixel(*color));
    if (auto depth = DepthFormatOf(format)) return static_cast<UINT>(pipeline::BytesPerPixel(*depth));
    return 0;
}

UINT BlockBytes(D3DFORMAT format) {
    const auto texture = TextureFormatOf(format);
    return texture ? static_cast<UINT>(pipeline::DxtBlockBytes(*texture)) : 0;
}

bool IsBlockCompressed(D3DFORMAT format) { return BlockBytes(format) != 0; }

SurfaceLayout LayoutOf(D3DFORMAT format, UINT width, UINT height) {
    if (const UINT blockBytes = BlockBytes(format)) return {((width + 3) / 4) * blockBytes, (height + 3) / 4};
    return {width * BytesPerPixel(format), height};
}

}  // namespace d3d9
