// The kernel's 8-bit string functions. A null pointer never crashes them: copies answer null, lengths
// 0, and a null string compares below every other string.
#include <cstring>

#include "kernel/text_case.h"
#include "winbase.h"

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2) {
    if (lpString1 == nullptr || lpString2 == nullptr) return nullptr;
    return std::strcpy(lpString1, lpString2);
}

// Copies at most iMaxLength - 1 characters and always terminates.
LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
    if (lpString1 == nullptr || lpString2 == nullptr) return nullptr;
    if (iMaxLength <= 0) return lpString1;
    size_t count = 0;
    while (count + 1 < static_cast<size_t>(iMaxLength) && lpString2[count] != '\0') {
        lpString1[count] = lpString2[count];
        ++count;
    }
    lpString1[count] = '\0';
    return lpString1;
}

LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2) {
    if (lpString1 == nullptr || lpString2 == nullptr) return nullptr;
    return std::strcat(lpString1, lpString2);
}

int WINAPI lstrlenA(LPCSTR lpString) {
    return lpString == nullptr ? 0 : static_cast<int>(std::strlen(lpString));
}

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// The platform compares words alphabetically: letters ignoring case first; between strings that
// differ only in case, the lower-case letter comes first ("abc" < "ABC").
int Compare(LPCSTR a, LPCSTR b, bool ignoreCase) {
    if (a == nullptr || b == nullptr) return (a != nullptr) - (b != nullptr);
    int caseOrder = 0;
    for (size_t i = 0;; ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        auto fa = static_cast<unsigned char>(kernel::ToLowerAscii(static_cast<char>(ca)));
        auto fb = static_cast<unsigned char>(kernel::ToLowerAscii(static_cast<char>(cb)));
        if (fa != fb) return fa < fb ? -1 : 1;
        if (ca == '\0') break;
        if (caseOrder == 0 && ca != cb) caseOrder = (ca > cb) ? -1 : 1;  // 'a' (0x61) before 'A' (0x41)
    }
    return ignoreCase ? 0 : Sign(caseOrder);
}

}  // namespace

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) { return Compare(lpString1, lpString2, false); }

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) { return Compare(lpString1, lpString2, true); }
