#include "d3d9/fvf_layout.h"

namespace d3d9 {

FvfLayout DecodeFvf(DWORD fvf) {
    FvfLayout l;
    l.position = fvf & D3DFVF_POSITION_MASK;
    switch (l.position) {
    case 0: break;
    case D3DFVF_XYZ: l.positionSize = 12; break;
    case D3DFVF_XYZRHW:
    case D3DFVF_XYZW:
    case D3DFVF_XYZB1: l.positionSize = 16; break;
    case D3DFVF_XYZB2: l.positionSize = 20; break;
    case D3DFVF_XYZB3: l.positionSize = 24; break;
    case D3DFVF_XYZB4: l.positionSize = 28; break;
    case D3DFVF_XYZB5: l.positionSize = 32; break;
    default: return FvfLayout{};
    }
    UINT at = l.positionSize;
    auto take = [&](DWORD bit, int& offset, UINT size) {
        if (!(fvf & bit)) return;
        offset = static_cast<int>(at);
        at += size;
    };
    take(D3DFVF_NORMAL, l.normal, 12);
    take(D3DFVF_PSIZE, l.pointSize, 4);
    take(D3DFVF_DIFFUSE, l.diffuse, 4);
    take(D3DFVF_SPECULAR, l.specular, 4);
    l.texSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (l.texSets > D3DDP_MAXTEXCOORD) return FvfLayout{};
    for (UINT i = 0; i < l.texSets; ++i) {
        static constexpr UINT kSizes[4] = {8, 12, 16, 4};  // by the set's two format bits
        l.texOffset[i] = static_cast<int>(at);
        l.texSize[i] = kSizes[(fvf >> (16 + 2 * i)) & 3];
        at += l.texSize[i];
    }
    l.stride = at;
    return l;
}

}  // namespace d3d9
