// crt_fopen, which the program's fopen calls reach: the layer's path rules, then the C library.
#include <cerrno>
#include <string>

#include "crtcompat.h"
#include "kernel/paths.h"

FILE* crt_fopen(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr || *path == '\0') {
        errno = EINVAL;
        return nullptr;
    }
    kernel::ResolvedPath resolved = kernel::ResolvePath(path);
    const bool creates = mode[0] == 'w' || mode[0] == 'a';
    if (!(resolved.Exists() || (creates && resolved.ParentExists()))) {
        errno = ENOENT;
        return nullptr;
    }
    // Text and binary are the same here; the platform's 't' is not a Linux mode letter.
    std::string linuxMode;
    for (const char* m = mode; *m != '\0'; ++m)
        if (*m != 't') linuxMode += *m;
    return (std::fopen)(resolved.path.c_str(), linuxMode.c_str());  // the C library's, not the redirect
}
