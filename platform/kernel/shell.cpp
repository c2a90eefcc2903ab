// ShellExecuteA: the machine has no desktop programs, so "open" of an existing document is recorded
// in the machine (its tests read it back) and answered as the platform answers a success.
#include <string>

#include "kernel/paths.h"
#include "kernel/text_case.h"
#include "machine/shell.h"
#include "shellapi.h"
#include "winbase.h"

namespace {

constexpr INT_PTR kOpened = 42;  // any value above 32 means success

HINSTANCE Result(INT_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

std::string TextOrEmpty(LPCSTR text) { return text == nullptr ? std::string() : std::string(text); }

}  // namespace

HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT nShowCmd) {
    if (lpFile == nullptr || *lpFile == '\0') return Result(SE_ERR_FNF);
    if (lpOperation != nullptr && !kernel::EqualsIgnoreCase(lpOperation, "open")) return Result(SE_ERR_NOASSOC);

    // A relative document is looked for in the given folder, else in the working directory.
    std::string path = lpFile;
    bool relative = !kernel::IsPathSeparator(path.front());
    if (relative && lpDirectory != nullptr && *lpDirectory != '\0') path = std::string(lpDirectory) + "\\" + path;
    kernel::ResolvedPath resolved = kernel::ResolvePath(path);
    if (!resolved.Exists()) return Result(resolved.ParentExists() ? SE_ERR_FNF : SE_ERR_PNF);

    machine::RecordShellRequest({lpOperation == nullptr ? "open" : lpOperation, lpFile, TextOrEmpty(lpParameters),
                                 TextOrEmpty(lpDirectory), nShowCmd});
    return Result(kOpened);
}
