// Finding media files (as given, by bare name in the working directory, in the SDK's media folder)
// and the framework's bounded text copies and conversions. Capacities count the destination's own
// characters, terminator included; the ...Bytes forms take the buffer size in bytes. A missing
// pointer or a capacity below 1 gives E_INVALIDARG with nothing written; otherwise the destination
// is always left terminated.
#pragma once

#include "windef.h"
#include "winerror.h"

// S_OK with the path to open in destination; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) with the
// unchanged name when no try finds the file; E_FAIL when the full path does not fit.
HRESULT LocateMediaFile(char* destination, int capacity, const char* fileName);
HRESULT LocateMediaFileBytes(char* destination, int capacityBytes, const char* fileName);

// The SDK media folder from the registry, ending in "\Media\".
HRESULT ReadSdkMediaFolder(char* buffer, int capacity);
HRESULT ReadSdkMediaFolderBytes(char* buffer, int capacityBytes);

// Conversions through the system code page.
HRESULT AnsiToWide(WCHAR* destination, const char* source, int capacity);
HRESULT WideToAnsi(char* destination, const WCHAR* source, int capacity);
// Bounded copies; a source that does not fit is cut to capacity - 1 characters.
HRESULT TextToAnsi(char* destination, const char* source, int capacity);
HRESULT AnsiToText(char* destination, const char* source, int capacity);
HRESULT TextToWide(WCHAR* destination, const char* source, int capacity);
HRESULT WideToText(char* destination, const WCHAR* source, int capacity);

// Byte-count forms: a wide destination holds half as many characters as bytes.
HRESULT AnsiToWideBytes(WCHAR* destination, const char* source, int capacityBytes);
HRESULT TextToWideBytes(WCHAR* destination, const char* source, int capacityBytes);
HRESULT WideToAnsiBytes(char* destination, const WCHAR* source, int capacityBytes);
HRESULT TextToAnsiBytes(char* destination, const char* source, int capacityBytes);
HRESULT AnsiToTextBytes(char* destination, const char* source, int capacityBytes);
HRESULT WideToTextBytes(char* destination, const WCHAR* source, int capacityBytes);
