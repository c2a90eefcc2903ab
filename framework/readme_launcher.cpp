// The readme search: the SDK sample folder, then the folders around the program's own.
#include "readme_launcher.h"

#include <cstring>

#include "crtcompat.h"
#include "shellapi.h"
#include "winbase.h"
#include "winreg.h"
#include "winuser.h"

namespace {

constexpr int kPathCapacity = MAX_PATH;
constexpr int kCandidateCapacity = 1024;

typedef HINSTANCE(WINAPI* ShellExecuteFunction)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Cuts the text at its last backslash; unchanged when it has none.
void CutAtLastBackslash(char* text) {
    char* separator = std::strrchr(text, '\\');
    if (separator != nullptr) *separator = 0;
}

// Builds "<folder>\readme.txt" (or "<folder>\<name>\readme.txt") into the candidate buffer.
bool TryCandidate(char* candidate, const char* folder, const char* name) {
    if (name != nullptr)
        _snprintf(candidate, kCandidateCapacity - 1, "%s\\%s\\readme.txt", folder, name);
    else
        _snprintf(candidate, kCandidateCapacity - 1, "%s\\readme.txt", folder);
    candidate[kCandidateCapacity - 1] = 0;
    return FileExists(candidate);
}

bool FindInSdk(char* candidate, const char* sampleName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char sdkPath[kPathCapacity] = {};
    DWORD type = 0;
    DWORD size = sizeof(sdkPath);
    LONG result = RegQueryValueExA(key, "DX9SDK Samples Path", nullptr, &type, reinterpret_cast<BYTE*>(sdkPath),
                                   &size);
    if (result == ERROR_SUCCESS && size < sizeof(sdkPath)) sdkPath[size] = 0;
    sdkPath[kPathCapacity - 1] = 0;
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return false;

    _snprintf(candidate, kCandidateCapacity - 1, "%s\\C++\\%s\\readme.txt", sdkPath, sampleName);
    candidate[kCandidateCapacity - 1] = 0;
    return FileExists(candidate);
}

bool FindBesideProgram(char* candidate) {
    char folder[kPathCapacity] = {};
    char programName[kPathCapacity] = {};
    GetModuleFileNameA(nullptr, folder, kPathCapacity);
    folder[kPathCapacity - 1] = 0;
    if (char* separator = std::strrchr(folder, '\\')) {
        std::strncpy(programName, separator + 1, kPathCapacity - 1);
        *separator = 0;
        if (char* dot = std::strrchr(programName, '.')) *dot = 0;
    }

    char parent[kPathCapacity];
    std::memcpy(parent, folder, sizeof(parent));
    CutAtLastBackslash(parent);
    char grandparent[kPathCapacity];
    std::memcpy(grandparent, parent, sizeof(grandparent));
    CutAtLastBackslash(grandparent);

    return TryCandidate(candidate, parent, programName) || TryCandidate(candidate, folder, nullptr) ||
           TryCandidate(candidate, parent, nullptr) || TryCandidate(candidate, grandparent, nullptr);
}

bool OpenWithShell(HWND window, const char* path) {
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (shell == nullptr) return false;
    bool opened = false;
    // An export comes back as a generic function pointer; go through void (*)() to take its real type.
    FARPROC proc = GetProcAddress(shell, "ShellExecuteA");
    auto shellExecute = reinterpret_cast<ShellExecuteFunction>(reinterpret_cast<void (*)()>(proc));
    if (shellExecute != nullptr) {
        HINSTANCE result = shellExecute(window, "open", path, nullptr, nullptr, SW_SHOW);
        opened = reinterpret_cast<INT_PTR>(result) > 32;
    }
    FreeLibrary(shell);
    return opened;
}

}  // namespace

void OpenReadme(HWND window, const char* sampleName) {
    char candidate[kCandidateCapacity] = {};
    bool found = (sampleName != nullptr && FindInSdk(candidate, sampleName)) || FindBesideProgram(candidate);
    if (!found || !OpenWithShell(window, candidate))
        MessageBoxA(window, "Could not find readme.txt", "DirectX SDK Sample", MB_ICONWARNING);
}
