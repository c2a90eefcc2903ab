// The call log and the names it writes formats and device types with.
#include "call_log.h"

#include <vector>

namespace d3d9 {

namespace {
struct LogState {
    bool enabled = false;
    std::vector<std::string> lines;
};
LogState& Log() {
    static LogState state;
    return state;
}
}  // namespace

bool CallLogEnabled() { return Log().enabled; }
void AppendCall(std::string line) { Log().lines.push_back(std::move(line)); }

void control::EnableCallLog(bool enable) { Log().enabled = enable; }
std::vector<std::string> control::CallLog() { return Log().lines; }
void control::ClearCallLog() { Log().lines.clear(); }

std::vector<std::string> control::CallsNamed(const std::string& name) {
    std::vector<std::string> calls;
    for (const std::string& line : Log().lines)
        if (line.compare(0, name.size() + 1, name + "(") == 0) calls.push_back(line);
    return calls;
}

std::string control::FormatName(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_UNKNOWN: return "UNKNOWN";
    case D3DFMT_R8G8B8: return "R8G8B8";
    case D3DFMT_A8R8G8B8: return "A8R8G8B8";
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_X1R5G5B5: return "X1R5G5B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    case D3DFMT_A4R4G4B4: return "A4R4G4B4";
    case D3DFMT_A2R10G10B10: return "A2R10G10B10";
    case D3DFMT_A8: return "A8";
    case D3DFMT_DXT1: return "DXT1";
    case D3DFMT_DXT2: return "DXT2";
    case D3DFMT_DXT3: return "DXT3";
    case D3DFMT_DXT4: return "DXT4";
    case D3DFMT_DXT5: return "DXT5";
    case D3DFMT_D16_LOCKABLE: return "D16_LOCKABLE";
    case D3DFMT_D32: return "D32";
    case D3DFMT_D15S1: return "D15S1";
    case D3DFMT_D24S8: return "D24S8";
    case D3DFMT_D24X8: return "D24X8";
    case D3DFMT_D24X4S4: return "D24X4S4";
    case D3DFMT_D16: return "D16";
    case D3DFMT_INDEX16: return "INDEX16";
    case D3DFMT_INDEX32: return "INDEX32";
    case D3DFMT_VERTEXDATA: return "VERTEXDATA";
    default: return std::to_string(static_cast<long long>(format));
    }
}

std::string control::DeviceTypeName(D3DDEVTYPE type) {
    switch (type) {
    case D3DDEVTYPE_HAL: return "HAL";
    case D3DDEVTYPE_REF: return "REF";
    case D3DDEVTYPE_SW: return "SW";
    case D3DDEVTYPE_NULLREF: return "NULLREF";
    default: return std::to_string(static_cast<long long>(type));
    }
}

}  // namespace d3d9
