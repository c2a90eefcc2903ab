// Registry readers and writers. Only a value of the expected type and size is taken as read;
// anything else is replaced by the default.
#include "registry_values.h"

#include <cstring>

#include "winreg.h"

namespace {

// The platform takes a null or an empty name as the key's unnamed value; pass it on as "".
const char* NameOrUnnamed(const char* valueName) { return valueName != nullptr ? valueName : ""; }

HRESULT SetValue(HKEY key, const char* valueName, DWORD type, const void* data, DWORD size) {
    LONG result = RegSetValueExA(key, NameOrUnnamed(valueName), 0, type, static_cast<const BYTE*>(data), size);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

// Reads a value of exactly `type` and `size` bytes into data; false leaves data undefined.
bool GetFixedValue(HKEY key, const char* valueName, DWORD type, void* data, DWORD size) {
    DWORD storedType = 0;
    DWORD storedSize = size;
    LONG result = RegQueryValueExA(key, NameOrUnnamed(valueName), nullptr, &storedType,
                                   static_cast<BYTE*>(data), &storedSize);
    return result == ERROR_SUCCESS && storedType == type && storedSize == size;
}

}  // namespace

HRESULT RegistryGetText(HKEY key, const char* valueName, char* buffer, DWORD capacity, const char* defaultText) {
    if (buffer == nullptr || capacity < 1) return E_INVALIDARG;
    DWORD type = 0;
    DWORD size = capacity;
    LONG result = RegQueryValueExA(key, NameOrUnnamed(valueName), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    if (result == ERROR_SUCCESS && type == REG_SZ) {
        if (size < capacity) buffer[size] = 0;
        buffer[capacity - 1] = 0;
        return S_OK;
    }
    std::strncpy(buffer, defaultText != nullptr ? defaultText : "", capacity);
    buffer[capacity - 1] = 0;
    return S_FALSE;
}

HRESULT RegistryGetTextBytes(HKEY key, const char* valueName, char* buffer, DWORD capacityBytes,
                             const char* defaultText) {
    return RegistryGetText(key, valueName, buffer, capacityBytes, defaultText);
}

HRESULT RegistrySetText(HKEY key, const char* valueName, const char* value) {
    if (value == nullptr) return E_INVALIDARG;
    return SetValue(key, valueName, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1));
}

HRESULT RegistryGetDword(HKEY key, const char* valueName, DWORD* pValue, DWORD defaultValue) {
    if (pValue == nullptr) return E_INVALIDARG;
    if (GetFixedValue(key, valueName, REG_DWORD, pValue, sizeof(DWORD))) return S_OK;
    *pValue = defaultValue;
    return S_FALSE;
}

HRESULT RegistrySetDword(HKEY key, const char* valueName, DWORD value) {
    return SetValue(key, valueName, REG_DWORD, &value, sizeof(DWORD));
}

HRESULT RegistryGetDwordTwin(HKEY key, const char* valueName, DWORD* pValue, DWORD defaultValue) {
    return RegistryGetDword(key, valueName, pValue, defaultValue);
}

HRESULT RegistrySetDwordTwin(HKEY key, const char* valueName, DWORD value) {
    return RegistrySetDword(key, valueName, value);
}

HRESULT RegistryGetBinary16(HKEY key, const char* valueName, GUID* pValue, const GUID* pDefault) {
    if (pValue == nullptr) return E_INVALIDARG;
    if (GetFixedValue(key, valueName, REG_BINARY, pValue, sizeof(GUID))) return S_OK;
    if (pDefault != nullptr)
        std::memmove(pValue, pDefault, sizeof(GUID));
    else
        std::memset(pValue, 0, sizeof(GUID));
    return S_FALSE;
}

HRESULT RegistrySetBinary16(HKEY key, const char* valueName, GUID value) {
    return SetValue(key, valueName, REG_BINARY, &value, sizeof(GUID));
}
