// The machine's device events (an input script's "device lose" and "device restore") reach the devices.
#pragma once

namespace d3d9 {
void ListenForDeviceEvents();
// The script's "device lose": every live device is lost until "device restore", or until the script
// has nothing left to deliver.
void LoseDevicesByScript();
}  // namespace d3d9
