// What the fuzz targets share: the fuzzed bytes as a file or as program resources, and a window with a
// device on the headless machine, made once per process as a program would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "d3d9.h"
#include "fuzz_parts.h"
#include "windows.h"

namespace fuzz {

// Writes the bytes to this process's own scratch file (under the temporary folder) and answers its path.
std::string WriteScratchFile(const uint8_t* data, size_t size, const char* extension);

// Registers the bytes as the program's only resource, for the loaders that read resources; the bytes
// must stay alive until ClearResources, which every target calls before it returns.
void RegisterResource(LPCSTR type, LPCSTR name, const uint8_t* data, size_t size);
void ClearResources();

// The window and device every device-using target draws with (64 x 64, windowed, X8R8G8B8).
HWND FuzzWindow();
IDirect3DDevice9* FuzzDevice();

}  // namespace fuzz
