// What the devices drew, for the machine's report: draws and primitives per presented frame.
#pragma once

#include <cstdint>
#include <string>

namespace d3d9 {

void CountDraw(uint64_t primitives);
void CountFrame();
void ResetDrawStats();
// {"frames": n, "draws_per_frame": d, "primitives_per_frame": p}, averaged over the presented frames.
std::string DrawCallsJson();

}  // namespace d3d9
