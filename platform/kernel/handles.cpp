// The handle table and CloseHandle.
#include "kernel/handles.h"

#include <mutex>
#include <unordered_map>

#include "winbase.h"

namespace kernel {
namespace {

std::mutex g_mutex;
std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> g_objects;
uintptr_t g_nextHandle = 0x100;  // handles are multiples of 4, as on the platform

}  // namespace

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
    std::lock_guard lock(g_mutex);
    uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    g_objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
    std::lock_guard lock(g_mutex);
    auto it = g_objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == g_objects.end() ? nullptr : it->second;
}

bool RemoveHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;  // released after the lock
    std::lock_guard lock(g_mutex);
    auto it = g_objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == g_objects.end()) return false;
    object = std::move(it->second);
    g_objects.erase(it);
    return true;
}

}  // namespace kernel

BOOL WINAPI CloseHandle(HANDLE hObject) {
    if (!kernel::RemoveHandle(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
