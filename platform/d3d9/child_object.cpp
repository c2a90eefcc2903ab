#include "child_object.h"

#include "device.h"
#include "live_objects.h"

namespace d3d9 {

ChildObject::ChildObject(Device* device, D3DPOOL pool, bool ownedByDevice)
    : device_(device), pool_(pool), owned_(ownedByDevice), refs_(ownedByDevice ? 0 : 1) {
    CountObjectCreated();
    if (refs_ > 0) device_->ChildReferenced(this);
}

ChildObject::~ChildObject() {
    // Only a constructor that failed after this base was made leaves its reference here.
    if (refs_ > 0) {
        device_->ChildUnreferenced(this);
        device_->Release();
    }
    CountObjectDestroyed();
}

ULONG ChildObject::AddChildReference() {
    if (refs_++ == 0) device_->ChildReferenced(this);
    return refs_;
}

ULONG ChildObject::ReleaseChildReference() {
    if (refs_ == 0) return 0;
    ULONG left = --refs_;
    if (left == 0) {
        Device* device = device_;
        device->ChildUnreferenced(this);
        DeleteIfUnused();
        device->Release();  // may destroy the device, which destroys what it owns
    }
    return left;
}

void ChildObject::Unbind() {
    if (binds_ > 0 && --binds_ == 0) DeleteIfUnused();
}

void ChildObject::DeleteIfUnused() {
    if (!owned_ && refs_ == 0 && binds_ == 0) delete this;
}

}  // namespace d3d9
