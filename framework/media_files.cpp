// Media-file search: the name as given, then its bare name in the working directory, then the bare
// name in the SDK's media folder. Each try only opens and closes the file.
#include "media_files.h"

#include <cstring>

#include "winbase.h"
#include "winreg.h"

namespace {

constexpr char kSdkKey[] = "Software\\Microsoft\\DirectX SDK";
constexpr char kSdkValue[] = "DX9SDK Samples Path";
constexpr char kMediaSuffix[] = "\\Media\\";
constexpr int kBareNameCapacity = MAX_PATH;

bool FileOpens(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void CopyBounded(char* destination, const char* source, int capacity) {
    // As strncpy: at most capacity characters, the rest padded with zeros; then always terminated.
    const size_t size = static_cast<size_t>(capacity);
    const size_t count = strnlen(source, size);
    std::memcpy(destination, source, count);
    std::memset(destination + count, 0, size - count);
    destination[size - 1] = 0;
}

}  // namespace

HRESULT ReadSdkMediaFolder(char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return E_INVALIDARG;
    buffer[0] = 0;

    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSdkKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return E_FAIL;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    LONG result = RegQueryValueExA(key, kSdkValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    // A text stored without its terminator ends where the value ends, not at whatever follows it.
    if (result == ERROR_SUCCESS && size < static_cast<DWORD>(capacity)) buffer[size] = 0;
    buffer[capacity - 1] = 0;
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return E_FAIL;

    size_t length = std::strlen(buffer);
    if (length + std::strlen(kMediaSuffix) >= static_cast<size_t>(capacity)) return E_INVALIDARG;
    std::strcat(buffer, kMediaSuffix);
    return S_OK;
}

HRESULT ReadSdkMediaFolderBytes(char* buffer, int capacityBytes) {
    return ReadSdkMediaFolder(buffer, capacityBytes);
}

HRESULT LocateMediaFile(char* destination, int capacity, const char* fileName) {
    if (destination == nullptr || fileName == nullptr || capacity < 1) return E_INVALIDARG;

    char bareName[kBareNameCapacity];
    destination[0] = 0;
    bareName[0] = 0;

    char* finalComponent = nullptr;
    DWORD length = GetFullPathNameA(fileName, static_cast<DWORD>(capacity), destination, &finalComponent);
    if (length == 0 || length >= static_cast<DWORD>(capacity)) {
        destination[0] = 0;
        return E_FAIL;
    }
    if (finalComponent != nullptr) CopyBounded(bareName, finalComponent, kBareNameCapacity);

    // Try 1: the full path of the name as given.
    if (FileOpens(destination)) return S_OK;

    // A name ending in a separator has no bare name, so tries 2 and 3 have nothing to look for.
    if (bareName[0] != 0) {
        // Try 2: the bare name in the working directory.
        if (FileOpens(bareName)) {
            CopyBounded(destination, bareName, capacity);
            return S_OK;
        }

        // Try 3: the bare name in the SDK's media folder. A machine without the SDK, or an SDK path
        // that does not fit, only means there is nowhere else to look: the file is still not found.
        if (SUCCEEDED(ReadSdkMediaFolder(destination, capacity)) &&
            std::strlen(destination) + std::strlen(bareName) < static_cast<size_t>(capacity)) {
            std::strcat(destination, bareName);
            if (FileOpens(destination)) return S_OK;
        }
    }

    CopyBounded(destination, fileName, capacity);
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

HRESULT LocateMediaFileBytes(char* destination, int capacityBytes, const char* fileName) {
    return LocateMediaFile(destination, capacityBytes, fileName);
}
