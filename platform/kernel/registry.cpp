// The registry: hives held in memory, empty when the program starts. Key names and value names are
// found ignoring letter case; key paths use `\`.
// Key handles remember the path they were opened with, so a handle whose key is gone is refused
// rather than left pointing at freed memory.
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/registry_control.h"
#include "kernel/text_case.h"
#include "winreg.h"

namespace {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::map<std::string, std::unique_ptr<Key>> subkeys;  // by lower-case name
    std::map<std::string, Value> values;                 // by lower-case name
};

struct OpenKey {
    uintptr_t hive = 0;
    std::vector<std::string> path;  // lower-case names below the hive
    REGSAM access = 0;
};

std::mutex g_mutex;
std::map<uintptr_t, Key> g_hives;  // created on first use
std::map<uintptr_t, OpenKey> g_openKeys;
uintptr_t g_nextHandle = 0x2000;

const uintptr_t kHives[] = {
    reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT), reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER),
    reinterpret_cast<uintptr_t>(HKEY_LOCAL_MACHINE), reinterpret_cast<uintptr_t>(HKEY_USERS),
    reinterpret_cast<uintptr_t>(HKEY_CURRENT_CONFIG)};

bool IsHive(uintptr_t value) {
    for (uintptr_t hive : kHives)
        if (hive == value) return true;
    return false;
}

std::vector<std::string> SplitKeyPath(LPCSTR path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = path == nullptr ? "" : path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!part.empty()) parts.push_back(kernel::LowerAscii(part));
            part.clear();
            if (*p == '\0') break;
        } else {
            part += *p;
        }
    }
    return parts;
}

Key* Walk(Key* key, const std::vector<std::string>& path) {
    for (const std::string& name : path) {
        if (key == nullptr) return nullptr;
        auto it = key->subkeys.find(name);
        key = it == key->subkeys.end() ? nullptr : it->second.get();
    }
    return key;
}

// What a handle stands for: a hive or an open key. Caller holds g_mutex.
bool Describe(HKEY handle, OpenKey& described) {
    auto value = reinterpret_cast<uintptr_t>(handle);
    if (IsHive(value)) {
        described = OpenKey{value, {}, KEY_ALL_ACCESS};
        return true;
    }
    auto it = g_openKeys.find(value);
    if (it == g_openKeys.end()) return false;
    described = it->second;
    return true;
}

// The key behind a handle, checked for the access the call needs. Caller holds g_mutex.
LONG KeyFor(HKEY handle, REGSAM needed, Key*& key, OpenKey* described = nullptr) {
    OpenKey open;
    if (!Describe(handle, open)) return ERROR_INVALID_HANDLE;
    if ((open.access & needed) != needed) return ERROR_ACCESS_DENIED;
    key = Walk(&g_hives[open.hive], open.path);
    if (key == nullptr) return ERROR_KEY_DELETED;
    if (described != nullptr) *described = open;
    return ERROR_SUCCESS;
}

HKEY AddOpenKey(OpenKey open) {
    uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    g_openKeys.emplace(value, std::move(open));
    return reinterpret_cast<HKEY>(value);
}

std::string ValueKey(LPCSTR name) { return kernel::LowerAscii(name == nullptr ? "" : name); }

}  // namespace

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::lock_guard lock(g_mutex);
    Key* base = nullptr;
    OpenKey open;
    if (LONG result = KeyFor(hKey, 0, base, &open); result != ERROR_SUCCESS) return result;
    std::vector<std::string> path = SplitKeyPath(lpSubKey);
    if (Walk(base, path) == nullptr) return ERROR_FILE_NOT_FOUND;
    open.path.insert(open.path.end(), path.begin(), path.end());
    open.access = samDesired;
    *phkResult = AddOpenKey(std::move(open));
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                            REGSAM samDesired, struct _SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::lock_guard lock(g_mutex);
    Key* key = nullptr;
    OpenKey open;
    std::vector<std::string> path = SplitKeyPath(lpSubKey);
    REGSAM needed = path.empty() ? 0 : KEY_CREATE_SUB_KEY;
    if (LONG result = KeyFor(hKey, needed, key, &open); result != ERROR_SUCCESS) return result;
    bool created = false;
    for (const std::string& name : path) {
        std::unique_ptr<Key>& child = key->subkeys[name];
        if (!child) {
            child = std::make_unique<Key>();
            created = true;
        }
        key = child.get();
    }
    if (lpdwDisposition != nullptr) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    open.path.insert(open.path.end(), path.begin(), path.end());
    open.access = samDesired;
    *phkResult = AddOpenKey(std::move(open));
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(g_mutex);
    Key* key = nullptr;
    if (LONG result = KeyFor(hKey, KEY_QUERY_VALUE, key); result != ERROR_SUCCESS) return result;
    auto it = key->values.find(ValueKey(lpValueName));
    if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const Value& value = it->second;
    if (lpType != nullptr) *lpType = value.type;
    const auto size = static_cast<DWORD>(value.data.size());
    if (lpcbData == nullptr) return ERROR_SUCCESS;  // the type only
    if (lpData == nullptr) {
        *lpcbData = size;
        return ERROR_SUCCESS;
    }
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(lpData, value.data.data(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                           DWORD cbData) {
    if (lpData == nullptr && cbData > 0) return ERROR_NOACCESS;
    std::lock_guard lock(g_mutex);
    Key* key = nullptr;
    if (LONG result = KeyFor(hKey, KEY_SET_VALUE, key); result != ERROR_SUCCESS) return result;
    Value& value = key->values[ValueKey(lpValueName)];
    value.type = dwType;
    value.data.assign(lpData, lpData + cbData);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    std::lock_guard lock(g_mutex);
    if (IsHive(reinterpret_cast<uintptr_t>(hKey))) return ERROR_SUCCESS;
    return g_openKeys.erase(reinterpret_cast<uintptr_t>(hKey)) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

namespace kernel::registry_control {
void ClearHives() {
    std::lock_guard lock(g_mutex);
    g_hives.clear();
}
}  // namespace kernel::registry_control
