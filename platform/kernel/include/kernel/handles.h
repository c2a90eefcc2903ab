// The kernel's handle table: files, events and the other kernel objects the program holds by HANDLE.
// A handle is a small number that is never reused, never null and never INVALID_HANDLE_VALUE, so a
// stale or made-up handle is refused instead of touching freed memory.
#pragma once

#include <memory>

#include "windef.h"

namespace kernel {

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

HANDLE AddHandle(std::shared_ptr<KernelObject> object);
// The object behind a live handle, or null.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}
// Removes the handle; the object goes when its last user lets go of it. False for a handle not live.
bool RemoveHandle(HANDLE handle);

}  // namespace kernel
