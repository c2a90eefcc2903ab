// _getcwd: the working directory in the platform's form.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "crtcompat.h"
#include "winbase.h"

char* _getcwd(char* buffer, int maxlen) {
    DWORD needed = GetCurrentDirectoryA(0, nullptr);  // the size with its terminator
    if (needed == 0) {
        errno = ENOENT;
        return nullptr;
    }
    if (buffer == nullptr) {
        size_t size = maxlen > 0 && static_cast<DWORD>(maxlen) > needed ? static_cast<size_t>(maxlen) : needed;
        buffer = static_cast<char*>(std::malloc(size));
        if (buffer == nullptr) {
            errno = ENOMEM;
            return nullptr;
        }
        GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
        return buffer;
    }
    if (maxlen <= 0 || static_cast<DWORD>(maxlen) < needed) {
        errno = ERANGE;
        return nullptr;
    }
    GetCurrentDirectoryA(static_cast<DWORD>(maxlen), buffer);
    return buffer;
}
