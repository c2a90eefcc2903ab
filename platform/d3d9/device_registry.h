// The devices alive now, for the controls that act on every device (loss) and for tests.
#pragma once

#include <vector>

namespace d3d9 {

class Device;
void RegisterDevice(Device* device);
void UnregisterDevice(Device* device);
std::vector<Device*> LiveDeviceList();

}  // namespace d3d9
