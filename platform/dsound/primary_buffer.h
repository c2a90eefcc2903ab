// The primary buffer: the device's output format (which stays the device's after the buffer goes),
// its master volume and pan, and the 3D listener when it was created with 3D control.
#pragma once

#include <memory>

#include "device_core.h"

namespace dsound {

IDirectSoundBuffer* NewPrimaryBuffer(std::shared_ptr<DeviceCore> device, DWORD flags);

}  // namespace dsound
