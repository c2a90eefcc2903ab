#include "vertex_input.h"

#include "fvf_size.h"

namespace d3d9 {

std::optional<pipeline::VertexLayout> LayoutOfFvf(DWORD fvf, UINT stride) {
    const UINT size = FvfVertexSize(fvf);
    if (size == 0 || stride < size || stride > 0x7FFFFFFF) return std::nullopt;
    pipeline::VertexLayout layout;
    layout.stride = static_cast<int>(stride);
    int offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: offset = 12; break;
    case D3DFVF_XYZRHW:
        layout.pretransformed = true;
        offset = 16;
        break;
    case D3DFVF_XYZB1: offset = 16; break;
    case D3DFVF_XYZB2: offset = 20; break;
    case D3DFVF_XYZB3: offset = 24; break;
    case D3DFVF_XYZB4: offset = 28; break;
    case D3DFVF_XYZB5: offset = 32; break;
    default: return std::nullopt;  // XYZW or none
    }
    if (fvf & D3DFVF_NORMAL) {
        layout.normalOffset = offset;
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuseOffset = offset;
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout.specularOffset = offset;
        offset += 4;
    }
    const DWORD sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    for (DWORD i = 0; i < sets; ++i) {
        // Sets of three or four coordinates are sampled by their first two.
        int floats = 2;
        switch ((fvf >> (16 + 2 * i)) & 3) {
        case D3DFVF_TEXTUREFORMAT1: return std::nullopt;
        case D3DFVF_TEXTUREFORMAT2: floats = 2; break;
        case D3DFVF_TEXTUREFORMAT3: floats = 3; break;
        case D3DFVF_TEXTUREFORMAT4: floats = 4; break;
        }
        layout.texCoordOffset[i] = offset;
        offset += 4 * floats;
    }
    return layout;
}

}  // namespace d3d9
