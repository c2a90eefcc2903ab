// _stricmp and _strnicmp: compare as lower case, A-Z only.
#include "crtcompat.h"
#include "kernel/text_case.h"

int _strnicmp(const char* a, const char* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        int ca = static_cast<unsigned char>(kernel::ToLowerAscii(a[i]));
        int cb = static_cast<unsigned char>(kernel::ToLowerAscii(b[i]));
        if (ca != cb) return ca - cb;
        if (ca == 0) break;
    }
    return 0;
}

int _stricmp(const char* a, const char* b) { return _strnicmp(a, b, static_cast<size_t>(-1)); }
