// The platform C runtime's own functions, and where its behaviour differs from the Linux C library's.
// rand and srand need no declaration here: the layer replaces the C library's generator (<cstdlib>).
#pragma once

// The standard headers come first, so that the fopen redirect below leaves their declarations alone.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "windef.h"

// Bounded formatting with the platform's truncation: when the text does not fit in `count`
// characters, `count` characters are stored without a terminator and the result is -1; when it fits
// exactly, `count` characters without a terminator and the result `count`; otherwise the text with
// its terminator and its length. (No printf format checking: the platform's compilers accept forms
// such as "%0.8X" that the Linux compiler would warn about.)
int _snprintf(char* buffer, size_t count, const char* format, ...);
int _vsnprintf(char* buffer, size_t count, const char* format, va_list arguments);

// The working directory in the platform's form ("\tmp\run"). A null buffer is allocated with malloc
// (at least maxlen bytes); a buffer too small gives null and errno ERANGE.
char* _getcwd(char* buffer, int maxlen);

// Comparisons ignoring the letter case of A-Z.
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);

// fopen with the layer's path rules (`\` or `/` separators, letter case ignored per component):
// "<cwd>\ErrorLog.txt" is the file ErrorLog.txt inside the working directory. Text and binary modes
// are the same ("\n" is stored as a line feed); the mode letter 't' is accepted.
FILE* crt_fopen(const char* path, const char* mode);
namespace std {
using ::crt_fopen;
}
#define fopen(path, mode) crt_fopen(path, mode)
