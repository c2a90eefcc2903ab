// What the devices drew, for the machine's report: draws and primitives per presented frame, and the
// draws of the last presented frame one by one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "d3d9.h"

namespace d3d9 {

// One draw as the report lists it: the primitive type and count, the vertex format and, per texture
// stage up to the last one bound, the texture's size and format (empty for an unbound stage).
struct DrawRecord {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    uint64_t primitives = 0;
    DWORD fvf = 0;
    std::vector<std::string> textures;
};

void CountDraw(DrawRecord draw);
void CountFrame();
void ResetDrawStats();
// {"frames": n, "draws_per_frame": d, "primitives_per_frame": p, "last_frame": [draws]}, the figures
// averaged over the presented frames.
std::string DrawCallsJson();

}  // namespace d3d9
