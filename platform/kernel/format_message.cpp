// FormatMessageA from the system's message texts. The texts hold no inserts, so they come out the
// same with or without FORMAT_MESSAGE_IGNORE_INSERTS.
#include <cstring>

#include "system_messages.h"
#include "winbase.h"

namespace {

// The system's texts are English; neutral and English requests are answered.
bool LanguageAvailable(DWORD language) {
    WORD primary = PRIMARYLANGID(language);
    return primary == LANG_NEUTRAL || primary == LANG_ENGLISH;
}

}  // namespace

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                            LPSTR lpBuffer, DWORD nSize, va_list* Arguments) {
    // Only system texts, with their own line ends, into the caller's buffer.
    const DWORD supported = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if ((dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (dwFlags & ~supported) != 0 || lpBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!LanguageAvailable(dwLanguageId)) {
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
        return 0;
    }
    const char* text = kernel::SystemMessageText(dwMessageId);
    if (text == nullptr) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    size_t length = std::strlen(text);
    if (length + 1 > nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpBuffer, text, length);
    lpBuffer[length] = '\0';
    return static_cast<DWORD>(length);
}
