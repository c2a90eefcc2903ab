#include "draw_stats.h"

#include <sstream>

#include "d3d9/control.h"

namespace d3d9 {

namespace {
control::DrawCounts& Counts() {
    static control::DrawCounts counts;
    return counts;
}
}  // namespace

void CountDraw(uint64_t primitives) {
    ++Counts().draws;
    Counts().primitives += primitives;
}

void CountFrame() { ++Counts().frames; }
void ResetDrawStats() { Counts() = control::DrawCounts{}; }

control::DrawCounts control::DrawCallCounts() { return Counts(); }

std::string DrawCallsJson() {
    const control::DrawCounts& c = Counts();
    const double frames = c.frames ? double(c.frames) : 1.0;
    std::ostringstream out;
    out.precision(6);
    out << "{\"frames\": " << c.frames << ", \"draws_per_frame\": " << (c.frames ? double(c.draws) / frames : 0.0)
        << ", \"primitives_per_frame\": " << (c.frames ? double(c.primitives) / frames : 0.0) << "}";
    return out.str();
}

}  // namespace d3d9
