// Vertex sizes and component offsets of flexible vertex formats.
#include <algorithm>
#include <cstring>

#include "mesh_layout.h"

namespace d3dx9 {

VertexLayout LayoutOfFvf(DWORD fvf) {
    VertexLayout l;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ:
            l.positionSize = 12;
            break;
        case D3DFVF_XYZRHW:
            l.positionSize = 16;
            break;
        case D3DFVF_XYZW:
            l.positionSize = 16;
            break;
        case D3DFVF_XYZB1:
            l.positionSize = 16;
            break;
        case D3DFVF_XYZB2:
            l.positionSize = 20;
            break;
        case D3DFVF_XYZB3:
            l.positionSize = 24;
            break;
        case D3DFVF_XYZB4:
            l.positionSize = 28;
            break;
        case D3DFVF_XYZB5:
            l.positionSize = 32;
            break;
        default:
            return l;
    }
    UINT at = l.positionSize;
    if (fvf & D3DFVF_NORMAL) l.normal = int(at), at += 12;
    if (fvf & D3DFVF_PSIZE) l.pointSize = int(at), at += 4;
    if (fvf & D3DFVF_DIFFUSE) l.diffuse = int(at), at += 4;
    if (fvf & D3DFVF_SPECULAR) l.specular = int(at), at += 4;
    l.texSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (l.texSets > 8) return VertexLayout{};
    for (UINT i = 0; i < l.texSets; ++i) {
        static constexpr UINT kSizes[4] = {8, 12, 16, 4};  // by the set's two format bits
        l.texOffset[i] = int(at);
        l.texSize[i] = kSizes[(fvf >> (16 + 2 * i)) & 3];
        at += l.texSize[i];
    }
    l.stride = at;
    return l;
}

void ConvertVertex(const uint8_t* from, const VertexLayout& f, uint8_t* to, const VertexLayout& t) {
    std::memcpy(to, from, std::min(f.positionSize, t.positionSize));
    auto copy = [&](int fo, int to_, UINT size) {
        if (fo >= 0 && to_ >= 0) std::memcpy(to + to_, from + fo, size);
    };
    copy(f.normal, t.normal, 12);
    copy(f.pointSize, t.pointSize, 4);
    copy(f.diffuse, t.diffuse, 4);
    copy(f.specular, t.specular, 4);
    for (UINT i = 0; i < std::min(f.texSets, t.texSets); ++i)
        copy(f.texOffset[i], t.texOffset[i], std::min(f.texSize[i], t.texSize[i]));
}

}  // namespace d3dx9

UINT WINAPI D3DXGetFVFVertexSize(DWORD FVF) { return d3dx9::LayoutOfFvf(FVF).stride; }
