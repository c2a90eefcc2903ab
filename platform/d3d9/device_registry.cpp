#include "device_registry.h"

#include <algorithm>

#include "d3d9/control.h"
#include "device.h"

namespace d3d9 {

namespace {
std::vector<Device*>& Devices() {
    static std::vector<Device*> devices;
    return devices;
}
}  // namespace

void RegisterDevice(Device* device) { Devices().push_back(device); }

void UnregisterDevice(Device* device) {
    auto& devices = Devices();
    devices.erase(std::remove(devices.begin(), devices.end(), device), devices.end());
}

std::vector<Device*> LiveDeviceList() { return Devices(); }

std::vector<IDirect3DDevice9*> control::LiveDevices() {
    return std::vector<IDirect3DDevice9*>(Devices().begin(), Devices().end());
}

void control::AddDeviceReferences(IDirect3DDevice9* device, unsigned k) {
    for (unsigned i = 0; i < k; ++i) device->AddRef();
}

}  // namespace d3d9
