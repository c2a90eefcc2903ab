// Reference counting of a device's children (resources and state blocks).
// A child with outside references holds one reference on its device. Bindings (a texture set on a stage,
// a buffer on a stream) do not count as references, but keep the object's memory until it is unbound,
// so a device never reads a destroyed object. Children the device or a container owns (the back buffer,
// a texture's levels) are never deleted by Release.
#pragma once

#include "d3d9.h"

namespace d3d9 {

class Device;

class ChildObject {
public:
    Device* OwnerDevice() const { return device_; }
    ULONG References() const { return refs_; }
    D3DPOOL Pool() const { return pool_; }

    void Bind() { ++binds_; }
    void Unbind();
    // The owner (device or container) destroys what it owns.
    void DestroyOwned() { delete this; }

protected:
    // Created objects start with one reference; owned ones with none.
    ChildObject(Device* device, D3DPOOL pool, bool ownedByDevice);
    virtual ~ChildObject();

    ULONG AddChildReference();
    ULONG ReleaseChildReference();

private:
    void DeleteIfUnused();

    Device* device_;
    D3DPOOL pool_;
    bool owned_;
    ULONG refs_;
    unsigned binds_ = 0;
};

}  // namespace d3d9
