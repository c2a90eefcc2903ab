// Files: CreateFileA, ReadFile, WriteFile, SetFilePointer, GetFileSize over POSIX descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kernel/handles.h"
#include "kernel/paths.h"
#include "winbase.h"

namespace {

class File final : public kernel::KernelObject {
public:
    File(int descriptor, bool canRead, bool canWrite) : fd(descriptor), readable(canRead), writable(canWrite) {}
    ~File() override { close(fd); }
    const int fd;
    const bool readable;
    const bool writable;
};

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EEXIST: return ERROR_FILE_EXISTS;
        case EMFILE:
        case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case ENOSPC: return ERROR_DISK_FULL;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        default: return ERROR_ACCESS_DENIED;  // EACCES, EPERM, EISDIR, EROFS, ...
    }
}

std::shared_ptr<File> FileFor(HANDLE handle) {
    auto file = kernel::LookupHandleAs<File>(handle);
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

}  // namespace

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    if (lpFileName == nullptr || *lpFileName == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const bool canRead = (dwDesiredAccess & (GENERIC_READ | GENERIC_ALL)) != 0;
    const bool canWrite = (dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    int flags = O_CLOEXEC | (canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY);
    switch (dwCreationDisposition) {
        case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
        case OPEN_EXISTING: break;
        case OPEN_ALWAYS: flags |= O_CREAT; break;
        case TRUNCATE_EXISTING:
            if (!canWrite) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return INVALID_HANDLE_VALUE;
            }
            flags |= O_TRUNC;
            break;
        default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
    }
    const bool creates = (flags & O_CREAT) != 0;

    kernel::ResolvedPath resolved = kernel::ResolvePath(lpFileName);
    if (!resolved.ParentExists()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (!resolved.Exists() && !creates) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const bool existed = resolved.Exists();
    int fd = open(resolved.path.c_str(), flags, 0666);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        // Folders (and devices) are not files the program can open.
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = kernel::AddHandle(std::make_shared<File>(fd, canRead, canWrite));
    bool reportsExisting = existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    auto file = FileFor(hFile);
    if (!file) return FALSE;
    if (lpOverlapped != nullptr || lpNumberOfBytesRead == nullptr ||
        (lpBuffer == nullptr && nNumberOfBytesToRead > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpNumberOfBytesRead = 0;
    if (!file->readable) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    auto* bytes = static_cast<char*>(lpBuffer);
    DWORD total = 0;
    while (total < nNumberOfBytesToRead) {
        ssize_t got = read(file->fd, bytes + total, nNumberOfBytesToRead - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            *lpNumberOfBytesRead = total;
            SetLastError(ErrorFromErrno(errno));
            return FALSE;
        }
        if (got == 0) break;  // end of file: success with fewer bytes
        total += static_cast<DWORD>(got);
    }
    *lpNumberOfBytesRead = total;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    auto file = FileFor(hFile);
    if (!file) return FALSE;
    if (lpOverlapped != nullptr || lpNumberOfBytesWritten == nullptr ||
        (lpBuffer == nullptr && nNumberOfBytesToWrite > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpNumberOfBytesWritten = 0;
    if (!file->writable) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const auto* bytes = static_cast<const char*>(lpBuffer);
    DWORD total = 0;
    while (total < nNumberOfBytesToWrite) {
        ssize_t put = write(file->fd, bytes + total, nNumberOfBytesToWrite - total);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            *lpNumberOfBytesWritten = total;
            SetLastError(put < 0 ? ErrorFromErrno(errno) : ERROR_DISK_FULL);
            return FALSE;
        }
        total += static_cast<DWORD>(put);
    }
    *lpNumberOfBytesWritten = total;
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LPLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    auto file = FileFor(hFile);
    if (!file) return INVALID_SET_FILE_POINTER;
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr)
        distance = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                                        static_cast<uint32_t>(lDistanceToMove));
    int64_t base = 0;
    switch (dwMoveMethod) {
        case FILE_BEGIN: break;
        case FILE_CURRENT: base = lseek(file->fd, 0, SEEK_CUR); break;
        case FILE_END: base = lseek(file->fd, 0, SEEK_END); break;
        default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    // Written so that it cannot overflow: a target below 0 is refused.
    if ((distance < 0 && base < -distance) || (distance > 0 && base > INT64_MAX - distance)) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t position = lseek(file->fd, base + distance, SEEK_SET);
    if (position < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh != nullptr) *lpDistanceToMoveHigh = static_cast<LONG>(position >> 32);
    SetLastError(ERROR_SUCCESS);  // a position whose low part is 0xFFFFFFFF is told apart by this
    return static_cast<DWORD>(position);
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    auto file = FileFor(hFile);
    if (!file) return INVALID_FILE_SIZE;
    struct stat info {};
    if (fstat(file->fd, &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    uint64_t size = static_cast<uint64_t>(info.st_size);
    if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}
