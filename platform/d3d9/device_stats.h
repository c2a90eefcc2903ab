// The figures of a run the machine's report shows: device creations, resets, display-mode changes and
// the last device's description.
#pragma once

#include "d3d9/control.h"

namespace d3d9 {

void CountDeviceCreation();
void CountDeviceReset();
void CountDisplayModeChange();
void RecordDevice(const control::DeviceDescription& description);
void ResetDeviceStats();
// The last device's description as a JSON object, or null before the first device.
std::string DeviceJson();

}  // namespace d3d9
