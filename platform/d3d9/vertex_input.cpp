#include "vertex_input.h"

#include "d3d9/fvf_layout.h"

namespace d3d9 {

static_assert(D3DDP_MAXTEXCOORD <= pipeline::kMaxTexCoordSets, "every set a vertex format holds is drawn");

std::optional<pipeline::VertexLayout> PipelineLayoutOfFvf(DWORD fvf, UINT stride) {
    const FvfLayout fvfLayout = DecodeFvf(fvf);
    if (fvfLayout.stride == 0 || stride < fvfLayout.stride || stride > 0x7FFFFFFF) return std::nullopt;
    // XYZW, or no position at all, is nothing the fixed-function pipeline can place.
    if (fvfLayout.position == 0 || fvfLayout.position == D3DFVF_XYZW) return std::nullopt;
    pipeline::VertexLayout layout;
    layout.stride = static_cast<int>(stride);
    layout.pretransformed = fvfLayout.position == D3DFVF_XYZRHW;
    layout.normalOffset = fvfLayout.normal;
    layout.diffuseOffset = fvfLayout.diffuse;
    layout.specularOffset = fvfLayout.specular;
    for (UINT i = 0; i < fvfLayout.texSets; ++i) {
        // Sets of three or four coordinates are sampled by their first two; one is not enough.
        if (fvfLayout.texSize[i] < 8) return std::nullopt;
        layout.texCoordOffset[i] = fvfLayout.texOffset[i];
    }
    return layout;
}

}  // namespace d3d9
