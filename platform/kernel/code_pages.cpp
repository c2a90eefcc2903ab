// The system code page: Windows-1252, a fixed single-byte mapping. Bytes 0x00-0x7F and 0xA0-0xFF are
// the same code points; 0x80-0x9F hold the code page's punctuation and letters, and its five unused
// bytes stand for the control characters of the same value.
#include <algorithm>
#include <cstring>

#include "winbase.h"

namespace {

constexpr char16_t kHighControls[32] = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

char16_t ToWide(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
}

// The byte for a code point; false when the code page has none.
bool ToByte(char16_t wide, unsigned char& byte) {
    if (wide < 0x80 || (wide >= 0xA0 && wide <= 0xFF)) {
        byte = static_cast<unsigned char>(wide);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == wide) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool IsSystemCodePage(UINT codePage) { return codePage == CP_ACP || codePage == 1252; }

size_t WideLength(LPCWSTR text) {
    size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

}  // namespace

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    if (!IsSystemCodePage(CodePage) || lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 ||
        cchWideChar < 0 || (lpWideCharStr == nullptr && cchWideChar > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwFlags != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // -1: the whole string with its terminator.
    size_t count = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    if (cchWideChar == 0) return static_cast<int>(count);
    size_t written = std::min(count, static_cast<size_t>(cchWideChar));
    for (size_t i = 0; i < written; ++i) lpWideCharStr[i] = ToWide(static_cast<unsigned char>(lpMultiByteStr[i]));
    if (written < count) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);  // the prefix that fitted stays written
        return 0;
    }
    return static_cast<int>(count);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    if (!IsSystemCodePage(CodePage) || lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 ||
        cbMultiByte < 0 || (lpMultiByteStr == nullptr && cbMultiByte > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwFlags != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    size_t count = cchWideChar == -1 ? WideLength(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    const unsigned char fallback = static_cast<unsigned char>(lpDefaultChar != nullptr ? *lpDefaultChar : '?');
    bool usedDefault = false;
    size_t written = cbMultiByte == 0 ? 0 : std::min(count, static_cast<size_t>(cbMultiByte));
    for (size_t i = 0; i < count; ++i) {
        unsigned char byte = 0;
        if (!ToByte(lpWideCharStr[i], byte)) {
            byte = fallback;
            usedDefault = true;
        }
        if (i < written) lpMultiByteStr[i] = static_cast<char>(byte);
    }
    if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    if (cbMultiByte == 0) return static_cast<int>(count);
    if (written < count) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return static_cast<int>(count);
}
