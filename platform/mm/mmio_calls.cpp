// mmioOpenA, mmioClose, mmioRead, mmioWrite, mmioSeek, mmioFlush and the I/O-buffer access calls.
// Each call can be made to fail through the machine's failure injection (under its own name).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "kernel/paths.h"
#include "machine/failures.h"
#include "mmio_file.h"

namespace {

HMMIO OpenFailed(LPMMIOINFO info, UINT error) {
    if (info != nullptr) info->wErrorRet = error;
    return nullptr;
}

HMMIO OpenMemory(LPMMIOINFO info, DWORD flags) {
    if (info->pchBuffer == nullptr || info->cchBuffer <= 0) return OpenFailed(info, MMSYSERR_INVALPARAM);
    const bool writable = (flags & (MMIO_WRITE | MMIO_READWRITE)) != 0;
    auto* file = new mm::MmioFile(info->pchBuffer, info->cchBuffer, writable);
    info->wErrorRet = MMSYSERR_NOERROR;
    return mm::AddFile(file);
}

HMMIO OpenDisk(const char* name, LPMMIOINFO info, DWORD flags) {
    const bool writable = (flags & (MMIO_WRITE | MMIO_READWRITE)) != 0;
    const bool create = (flags & MMIO_CREATE) != 0;
    kernel::ResolvedPath resolved = kernel::ResolvePath(name);
    if (!(resolved.Exists() || (create && resolved.ParentExists()))) return OpenFailed(info, MMIOERR_FILENOTFOUND);
    // Writable files are opened for reading too: the chunk functions read back what was written.
    int mode = O_CLOEXEC | (writable ? O_RDWR : O_RDONLY) | (create ? O_CREAT | O_TRUNC : 0);
    int fd = open(resolved.path.c_str(), mode, 0644);
    if (fd < 0) return OpenFailed(info, MMIOERR_CANNOTOPEN);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        // A folder of that name is no file (on Linux open() would take it).
        close(fd);
        return OpenFailed(info, MMIOERR_CANNOTOPEN);
    }
    LONG bufferSize = info != nullptr && info->cchBuffer > 0 ? info->cchBuffer : MMIO_DEFAULTBUFFER;
    char* callerBuffer = info != nullptr ? info->pchBuffer : nullptr;
    auto* file = new mm::MmioFile(fd, writable, bufferSize, callerBuffer);
    if (info != nullptr) info->wErrorRet = MMSYSERR_NOERROR;
    return mm::AddFile(file);
}

}  // namespace

HMMIO WINAPI mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen) {
    if (auto code = machine::InjectedFailure("mmioOpenA")) return OpenFailed(pmmioinfo, *code);
    if (pmmioinfo != nullptr && pmmioinfo->fccIOProc == FOURCC_MEM) return OpenMemory(pmmioinfo, fdwOpen);
    if (pmmioinfo != nullptr && pmmioinfo->fccIOProc != 0 && pmmioinfo->fccIOProc != FOURCC_DOS)
        return OpenFailed(pmmioinfo, MMSYSERR_INVALPARAM);  // no other I/O procedures here
    if (pszFileName == nullptr || *pszFileName == '\0') return OpenFailed(pmmioinfo, MMIOERR_FILENOTFOUND);
    return OpenDisk(pszFileName, pmmioinfo, fdwOpen);
}

MMRESULT WINAPI mmioClose(HMMIO hmmio, UINT fuClose) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    mm::RemoveFile(hmmio);
    MMRESULT result = file->Close();
    delete file;
    if (auto code = machine::InjectedFailure("mmioClose")) return *code;
    return result;
}

LONG WINAPI mmioRead(HMMIO hmmio, HPSTR pch, LONG cch) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr || (pch == nullptr && cch > 0)) return -1;
    if (auto code = machine::InjectedFailure("mmioRead")) {
        // A count below the one asked reads that many bytes; anything else is an error.
        const LONG count = static_cast<LONG>(*code);
        if (count < 0 || count >= cch) return -1;
        return file->Read(pch, count);
    }
    return file->Read(pch, cch);
}

LONG WINAPI mmioWrite(HMMIO hmmio, const char* pch, LONG cch) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr || (pch == nullptr && cch > 0)) return -1;
    if (auto code = machine::InjectedFailure("mmioWrite")) {
        // A full disk: only the injected count of bytes is written.
        const LONG count = static_cast<LONG>(*code);
        if (count < 0 || count >= cch) return -1;
        return file->Write(pch, count);
    }
    return file->Write(pch, cch);
}

LONG WINAPI mmioSeek(HMMIO hmmio, LONG lOffset, int iOrigin) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return -1;
    if (machine::InjectedFailure("mmioSeek")) return -1;
    int64_t base = 0;
    switch (iOrigin) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = file->Position(); break;
        case SEEK_END: base = file->Length(); break;
        default: return -1;
    }
    const int64_t target = base + lOffset;
    if (!file->SeekTo(target)) return -1;
    return static_cast<LONG>(target);
}

MMRESULT WINAPI mmioFlush(HMMIO hmmio, UINT fuFlush) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    return file->Flush();
}

MMRESULT WINAPI mmioGetInfo(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuInfo) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (pmmioinfo == nullptr) return MMSYSERR_INVALPARAM;
    if (auto code = machine::InjectedFailure("mmioGetInfo")) return *code;
    file->GetInfo(*pmmioinfo);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioSetInfo(HMMIO hmmio, LPCMMIOINFO pmmioinfo, UINT fuInfo) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (pmmioinfo == nullptr) return MMSYSERR_INVALPARAM;
    if (auto code = machine::InjectedFailure("mmioSetInfo")) return *code;
    return file->SetInfo(*pmmioinfo);
}

MMRESULT WINAPI mmioAdvance(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuAdvance) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (fuAdvance != MMIO_READ && fuAdvance != MMIO_WRITE) return MMSYSERR_INVALFLAG;
    if (auto code = machine::InjectedFailure("mmioAdvance")) return *code;
    return file->Advance(pmmioinfo, fuAdvance);
}
