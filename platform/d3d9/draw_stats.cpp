#include "draw_stats.h"

#include <cstdio>
#include <sstream>

#include "d3d9/control.h"
#include "machine/machine.h"

namespace d3d9 {

namespace {
struct Stats {
    control::DrawCounts counts;
    std::vector<DrawRecord> thisFrame, lastFrame;
};

Stats& State() {
    static Stats stats;
    return stats;
}

const char* TypeName(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST: return "POINTLIST";
    case D3DPT_LINELIST: return "LINELIST";
    case D3DPT_LINESTRIP: return "LINESTRIP";
    case D3DPT_TRIANGLELIST: return "TRIANGLELIST";
    case D3DPT_TRIANGLESTRIP: return "TRIANGLESTRIP";
    case D3DPT_TRIANGLEFAN: return "TRIANGLEFAN";
    default: return "?";
    }
}

std::string DrawJson(const DrawRecord& draw) {
    char fvf[16];
    std::snprintf(fvf, sizeof fvf, "0x%03X", static_cast<unsigned>(draw.fvf));
    std::string json = std::string("{\"type\": \"") + TypeName(draw.type) +
                       "\", \"primitives\": " + std::to_string(draw.primitives) + ", \"fvf\": \"" + fvf +
                       "\", \"textures\": [";
    for (size_t i = 0; i < draw.textureCount; ++i) {
        const BoundTexture& t = draw.textures[i];
        json += i ? ", " : "";
        json += t.width == 0 ? std::string("null")
                             : machine::JsonString(std::to_string(t.width) + "x" + std::to_string(t.height) + " " +
                                                   control::FormatName(t.format));
    }
    return json + "]}";
}
}  // namespace

void CountDraw(const DrawRecord& draw) {
    Stats& s = State();
    ++s.counts.draws;
    s.counts.primitives += draw.primitives;
    s.thisFrame.push_back(draw);
}

void CountFrame() {
    Stats& s = State();
    ++s.counts.frames;
    s.lastFrame.swap(s.thisFrame);
    s.thisFrame.clear();
}

void ResetDrawStats() { State() = Stats{}; }

control::DrawCounts control::DrawCallCounts() { return State().counts; }

std::string DrawCallsJson() {
    const Stats& s = State();
    const control::DrawCounts& c = s.counts;
    const double frames = c.frames ? double(c.frames) : 1.0;
    std::ostringstream out;
    out.precision(6);
    out << "{\"frames\": " << c.frames << ", \"draws_per_frame\": " << (c.frames ? double(c.draws) / frames : 0.0)
        << ", \"primitives_per_frame\": " << (c.frames ? double(c.primitives) / frames : 0.0) << ", \"last_frame\": [";
    for (size_t i = 0; i < s.lastFrame.size(); ++i) out << (i ? ", " : "") << DrawJson(s.lastFrame[i]);
    out << "]}";
    return out.str();
}

}  // namespace d3d9
