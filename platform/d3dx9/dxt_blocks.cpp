#include "dxt_blocks.h"

#include "pipeline/dxt.h"

namespace d3dx9 {

bool IsDxtFormat(D3DFORMAT format) { return DxtBlockBytes(format) != 0; }

UINT DxtBlockBytes(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_DXT1: return 8;
    case D3DFMT_DXT2:
    case D3DFMT_DXT3:
    case D3DFMT_DXT4:
    case D3DFMT_DXT5: return 16;
    default: return 0;
    }
}

uint64_t DxtLevelBytes(D3DFORMAT format, UINT width, UINT height) {
    return uint64_t((width + 3) / 4) * ((height + 3) / 4) * DxtBlockBytes(format);
}

void DecodeDxtLevel(D3DFORMAT format, const uint8_t* blocks, UINT width, UINT height, uint32_t* argb) {
    pipeline::TextureFormat decoded = pipeline::TextureFormat::DXT1;
    switch (format) {
    case D3DFMT_DXT1: break;
    case D3DFMT_DXT2: decoded = pipeline::TextureFormat::DXT2; break;
    case D3DFMT_DXT3: decoded = pipeline::TextureFormat::DXT3; break;
    case D3DFMT_DXT4: decoded = pipeline::TextureFormat::DXT4; break;
    case D3DFMT_DXT5: decoded = pipeline::TextureFormat::DXT5; break;
    default: return;
    }
    const size_t pitch = size_t((width + 3) / 4) * DxtBlockBytes(format);
    pipeline::DecodeDxtLevel(decoded, blocks, pitch, int(width), int(height), argb);
}

}  // namespace d3dx9
