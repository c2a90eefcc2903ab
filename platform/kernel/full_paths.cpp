// GetFullPathNameA, GetCurrentDirectoryA and GetFileAttributesA.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "kernel/paths.h"
#include "winbase.h"

namespace {

// Copies `text` with its terminator when it fits: answers its length; otherwise the size needed
// (terminator included) and the buffer is left alone.
DWORD CopyWhenItFits(const std::string& text, DWORD capacity, LPSTR buffer) {
    if (buffer == nullptr || text.size() >= capacity) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace

DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
    if (lpFilePart != nullptr) *lpFilePart = nullptr;
    if (lpFileName == nullptr || *lpFileName == '\0') {
        SetLastError(lpFileName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_NAME);
        return 0;
    }
    std::string full = kernel::FullProgramPath(lpFileName);
    if (full.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    DWORD result = CopyWhenItFits(full, nBufferLength, lpBuffer);
    if (result < nBufferLength && lpFilePart != nullptr && full.back() != '\\')
        *lpFilePart = lpBuffer + full.rfind('\\') + 1;
    return result;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    std::string full = kernel::FullProgramPath(".");
    if (full.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyWhenItFits(full, nBufferLength, lpBuffer);
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
    if (lpFileName == nullptr || *lpFileName == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    kernel::ResolvedPath resolved = kernel::ResolvePath(lpFileName);
    struct stat info {};
    if (!resolved.Exists() || stat(resolved.path.c_str(), &info) != 0) {
        SetLastError(resolved.ParentExists() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else if (access(resolved.path.c_str(), W_OK) != 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}
