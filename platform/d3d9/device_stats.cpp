#include "device_stats.h"

#include <sstream>

#include "machine/machine.h"

namespace d3d9 {

namespace {
struct Stats {
    unsigned creations = 0, resets = 0, modeChanges = 0;
    control::DeviceDescription last;
};
Stats& TheStats() {
    static Stats stats;
    return stats;
}

}  // namespace

void CountDeviceCreation() { ++TheStats().creations; }
void CountDeviceReset() { ++TheStats().resets; }
void CountDisplayModeChange() { ++TheStats().modeChanges; }
void RecordDevice(const control::DeviceDescription& description) { TheStats().last = description; }
void ResetDeviceStats() { TheStats() = Stats{}; }

control::DeviceDescription control::LastDevice() { return TheStats().last; }
unsigned control::DeviceCreations() { return TheStats().creations; }
unsigned control::DeviceResets() { return TheStats().resets; }
unsigned control::DisplayModeChanges() { return TheStats().modeChanges; }

std::string DeviceJson() {
    const control::DeviceDescription& d = TheStats().last;
    if (!d.exists) return "null";
    std::ostringstream out;
    out << "{\"type\": " << machine::JsonString(d.type) << ", \"windowed\": " << (d.windowed ? "true" : "false")
        << ", \"adapter\": " << d.adapter << ", \"width\": " << d.width << ", \"height\": " << d.height
        << ", \"format\": " << machine::JsonString(d.format)
        << ", \"depth_format\": " << machine::JsonString(d.depthFormat)
        << ", \"present_interval\": " << machine::JsonString(d.presentInterval) << "}";
    return out.str();
}

}  // namespace d3d9
