// The machine's device events (an input script's "device lose" and "device restore") reach the devices.
#pragma once

namespace d3d9 {
void ListenForDeviceEvents();
}  // namespace d3d9
