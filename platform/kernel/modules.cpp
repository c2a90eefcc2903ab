// Modules: the program itself and the system libraries the program may load by name.
// The only library is the shell, whose one entry point is ShellExecuteA.
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <string>

#include "kernel/module_control.h"
#include "kernel/modules.h"
#include "kernel/paths.h"
#include "kernel/text_case.h"
#include "shellapi.h"
#include "winbase.h"

namespace {

struct Export {
    const char* name;
    FARPROC address;
};

struct Module {
    const char* fileName;  // "shell32.dll"
    const Export* exports;
    size_t exportCount;
    int loadCount;  // guarded by g_mutex; the program module is always loaded
};

const Export kShellExports[] = {
    // Through void(*)(), the type every function pointer may be cast to and from.
    {"ShellExecuteA", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&ShellExecuteA))},
};

Module g_program{nullptr, nullptr, 0, 1};
Module g_libraries[] = {
    {"shell32.dll", kShellExports, sizeof(kShellExports) / sizeof(kShellExports[0]), 0},
};
std::mutex g_mutex;
// Test controls (kernel/module_control.h), guarded by g_mutex.
std::string g_programPathOverride;
bool g_shellLibraryAvailable = true;
bool g_shellExportAvailable = true;

HMODULE HandleOf(Module& module) { return reinterpret_cast<HMODULE>(&module); }

// The library a name refers to: its file name without folders, ignoring case, ".dll" optional.
Module* LibraryNamed(std::string_view name) {
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    for (Module& library : g_libraries) {
        std::string_view fileName = library.fileName;
        std::string_view stem = fileName.substr(0, fileName.size() - 4);
        if (kernel::EqualsIgnoreCase(name, fileName) || kernel::EqualsIgnoreCase(name, stem)) return &library;
    }
    return nullptr;
}

Module* LoadedLibrary(HMODULE handle) {
    for (Module& library : g_libraries)
        if (HandleOf(library) == handle && library.loadCount > 0) return &library;
    return nullptr;
}

std::string ProgramFilePath() {
    {
        std::lock_guard lock(g_mutex);
        if (!g_programPathOverride.empty()) return g_programPathOverride;
    }
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) return {};
    return kernel::ToProgramPath(std::string_view(buffer, static_cast<size_t>(length)));
}

// The program's file name without folders and without its extension, as a module name.
bool NamesProgram(std::string_view name) {
    std::string path = ProgramFilePath();
    std::string_view base = path;
    size_t slash = base.find_last_of('\\');
    if (slash != std::string_view::npos) base.remove_prefix(slash + 1);
    if (base.empty()) return false;
    return kernel::EqualsIgnoreCase(name, base) || kernel::EqualsIgnoreCase(name, std::string(base) + ".exe");
}

}  // namespace

namespace kernel {
HMODULE ProgramModule() { return HandleOf(g_program); }
}  // namespace kernel

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    if (lpModuleName == nullptr || NamesProgram(lpModuleName)) return kernel::ProgramModule();
    std::lock_guard lock(g_mutex);
    Module* library = LibraryNamed(lpModuleName);
    if (library != nullptr && library->loadCount > 0) return HandleOf(*library);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    std::string path;
    if (kernel::IsProgramModule(hModule)) {
        path = ProgramFilePath();
    } else {
        std::lock_guard lock(g_mutex);
        if (Module* library = LoadedLibrary(hModule)) path = library->fileName;
        else {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
    }
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    if (lpFilename == nullptr || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= nSize) {
        // Cut to fit and still terminated.
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
    if (lpLibFileName == nullptr || *lpLibFileName == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(g_mutex);
    Module* library = LibraryNamed(lpLibFileName);
    if (library != nullptr && !g_shellLibraryAvailable) library = nullptr;
    if (library == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++library->loadCount;
    return HandleOf(*library);
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    std::lock_guard lock(g_mutex);
    Module* library = LoadedLibrary(hModule);
    if (library == nullptr) {
        SetLastError(kernel::IsProgramModule(hModule) ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (lpProcName != nullptr && !IS_INTRESOURCE(lpProcName)) {
        for (size_t i = 0; i < library->exportCount && g_shellExportAvailable; ++i)
            if (std::strcmp(library->exports[i].name, lpProcName) == 0) return library->exports[i].address;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    if (hLibModule == kernel::ProgramModule()) return TRUE;
    std::lock_guard lock(g_mutex);
    Module* library = LoadedLibrary(hLibModule);
    if (library == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    --library->loadCount;
    return TRUE;
}

namespace kernel::module_control {

void SetProgramFilePath(const std::string& path) {
    std::lock_guard lock(g_mutex);
    g_programPathOverride = path;
}

void SetShellAvailable(bool libraryAvailable, bool exportAvailable) {
    std::lock_guard lock(g_mutex);
    g_shellLibraryAvailable = libraryAvailable;
    g_shellExportAvailable = exportAvailable;
}

void Reset() {
    std::lock_guard lock(g_mutex);
    g_programPathOverride.clear();
    g_shellLibraryAvailable = true;
    g_shellExportAvailable = true;
}

}  // namespace kernel::module_control
