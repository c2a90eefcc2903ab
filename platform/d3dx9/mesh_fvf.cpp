// Mesh vertices of flexible vertex formats: their layout and conversion between layouts.
#include <algorithm>
#include <cstring>

#include "mesh_layout.h"

namespace d3dx9 {

d3d9::FvfLayout LayoutOfFvf(DWORD fvf) {
    const d3d9::FvfLayout layout = d3d9::DecodeFvf(fvf);
    return layout.position != 0 ? layout : d3d9::FvfLayout{};
}

void ConvertVertex(const uint8_t* from, const d3d9::FvfLayout& f, uint8_t* to, const d3d9::FvfLayout& t) {
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
