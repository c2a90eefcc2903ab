// Bounded text copies and conversions between 8-bit and wide text.
#include <cstring>

#include "media_files.h"
#include "winbase.h"

HRESULT AnsiToWide(WCHAR* destination, const char* source, int capacity) {
    if (destination == nullptr || source == nullptr || capacity < 1) return E_INVALIDARG;
    int converted = MultiByteToWideChar(CP_ACP, 0, source, -1, destination, capacity);
    destination[capacity - 1] = 0;
    return converted == 0 ? E_FAIL : S_OK;
}

HRESULT WideToAnsi(char* destination, const WCHAR* source, int capacity) {
    if (destination == nullptr || source == nullptr || capacity < 1) return E_INVALIDARG;
    int converted = WideCharToMultiByte(CP_ACP, 0, source, -1, destination, capacity, nullptr, nullptr);
    destination[capacity - 1] = 0;
    return converted == 0 ? E_FAIL : S_OK;
}

HRESULT TextToAnsi(char* destination, const char* source, int capacity) {
    if (destination == nullptr || source == nullptr || capacity < 1) return E_INVALIDARG;
    std::strncpy(destination, source, static_cast<size_t>(capacity));
    destination[capacity - 1] = 0;
    return S_OK;
}

HRESULT AnsiToText(char* destination, const char* source, int capacity) {
    return TextToAnsi(destination, source, capacity);
}

HRESULT TextToWide(WCHAR* destination, const char* source, int capacity) {
    if (destination == nullptr || source == nullptr || capacity < 1) return E_INVALIDARG;
    return AnsiToWide(destination, source, capacity);
}

HRESULT WideToText(char* destination, const WCHAR* source, int capacity) {
    if (destination == nullptr || source == nullptr || capacity < 1) return E_INVALIDARG;
    return WideToAnsi(destination, source, capacity);
}

HRESULT AnsiToWideBytes(WCHAR* destination, const char* source, int capacityBytes) {
    return AnsiToWide(destination, source, capacityBytes / 2);
}

HRESULT TextToWideBytes(WCHAR* destination, const char* source, int capacityBytes) {
    return TextToWide(destination, source, capacityBytes / 2);
}

HRESULT WideToAnsiBytes(char* destination, const WCHAR* source, int capacityBytes) {
    return WideToAnsi(destination, source, capacityBytes);
}

HRESULT TextToAnsiBytes(char* destination, const char* source, int capacityBytes) {
    return TextToAnsi(destination, source, capacityBytes);
}

HRESULT AnsiToTextBytes(char* destination, const char* source, int capacityBytes) {
    return AnsiToText(destination, source, capacityBytes);
}

HRESULT WideToTextBytes(char* destination, const WCHAR* source, int capacityBytes) {
    return WideToText(destination, source, capacityBytes);
}
