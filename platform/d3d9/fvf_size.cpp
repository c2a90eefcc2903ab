#include "fvf_size.h"

namespace d3d9 {

UINT FvfVertexSize(DWORD fvf) {
    UINT size = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case 0: break;
    case D3DFVF_XYZ: size = 12; break;
    case D3DFVF_XYZRHW: size = 16; break;
    case D3DFVF_XYZW: size = 16; break;
    case D3DFVF_XYZB1: size = 16; break;
    case D3DFVF_XYZB2: size = 20; break;
    case D3DFVF_XYZB3: size = 24; break;
    case D3DFVF_XYZB4: size = 28; break;
    case D3DFVF_XYZB5: size = 32; break;
    default: return 0;
    }
    if (fvf & D3DFVF_NORMAL) size += 12;
    if (fvf & D3DFVF_PSIZE) size += 4;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    if (fvf & D3DFVF_SPECULAR) size += 4;
    const DWORD sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8) return 0;
    for (DWORD i = 0; i < sets; ++i) {
        switch ((fvf >> (16 + 2 * i)) & 3) {
        case D3DFVF_TEXTUREFORMAT1: size += 4; break;
        case D3DFVF_TEXTUREFORMAT2: size += 8; break;
        case D3DFVF_TEXTUREFORMAT3: size += 12; break;
        case D3DFVF_TEXTUREFORMAT4: size += 16; break;
        }
    }
    return size;
}

}  // namespace d3d9
