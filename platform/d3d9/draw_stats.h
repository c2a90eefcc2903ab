// What the devices drew, for the machine's report: draws and primitives per presented frame, and the
// draws of the last presented frame one by one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "d3d9.h"
#include "pipeline/limits.h"

namespace d3d9 {

// A texture stage's texture as the report names it; width 0 for an unbound stage.
struct BoundTexture {
    UINT width = 0, height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
};

// One draw as the report lists it: the primitive type and count, the vertex format and, per texture
// stage up to the last one bound, the texture's size and format. Plain values, so counting a draw
// allocates nothing once the frame's list has grown.
struct DrawRecord {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    uint64_t primitives = 0;
    DWORD fvf = 0;
    std::array<BoundTexture, pipeline::kMaxStages> textures{};
    size_t textureCount = 0;  // stages up to the last one bound
};

void CountDraw(const DrawRecord& draw);
void CountFrame();
void ResetDrawStats();
// {"frames": n, "draws_per_frame": d, "primitives_per_frame": p, "last_frame": [draws]}, the figures
// averaged over the presented frames.
std::string DrawCallsJson();

}  // namespace d3d9
