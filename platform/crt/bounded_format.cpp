// _snprintf and _vsnprintf with the platform's truncation: a text that does not fit is cut at
// `count` characters with no terminator and the result is -1.
#include <cstdio>
#include <cstring>
#include <vector>

#include "crtcompat.h"

int _vsnprintf(char* buffer, size_t count, const char* format, va_list arguments) {
    if (format == nullptr) return -1;
    va_list measure;
    va_copy(measure, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) return -1;
    if (buffer == nullptr) return count == 0 ? length : -1;
    const auto needed = static_cast<size_t>(length);
    if (needed < count) return std::vsnprintf(buffer, count, format, arguments);
    // The text fills the buffer or more: copy what fits, without a terminator.
    std::vector<char> whole(needed + 1);
    std::vsnprintf(whole.data(), whole.size(), format, arguments);
    std::memcpy(buffer, whole.data(), count);
    return needed == count ? length : -1;
}

int _snprintf(char* buffer, size_t count, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int result = _vsnprintf(buffer, count, format, arguments);
    va_end(arguments);
    return result;
}
