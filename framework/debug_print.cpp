// Formats into a fixed buffer and sends the text to the debugger.
#include "debug_print.h"

#include <cstdarg>
#include <cstdio>

#include "winbase.h"

namespace {
constexpr int kDebugTextCapacity = 512;
}  // namespace

void DebugPrint(const char* format, ...) {
    if (format == nullptr) return;
    char text[kDebugTextCapacity];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    text[kDebugTextCapacity - 1] = 0;
    OutputDebugStringA(text);
}
