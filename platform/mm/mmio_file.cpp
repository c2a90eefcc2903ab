// The buffered file model behind the mmio functions.
#include "mmio_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

namespace mm {
namespace {

std::mutex g_tableMutex;
std::set<MmioFile*>& Table() {
    static std::set<MmioFile*> table;
    return table;
}

}  // namespace

HMMIO AddFile(MmioFile* file) {
    std::lock_guard lock(g_tableMutex);
    Table().insert(file);
    file->handle = reinterpret_cast<HMMIO>(file);
    return file->handle;
}

MmioFile* FileFor(HMMIO handle) {
    std::lock_guard lock(g_tableMutex);
    auto* file = reinterpret_cast<MmioFile*>(handle);
    return Table().count(file) ? file : nullptr;
}

void RemoveFile(HMMIO handle) {
    std::lock_guard lock(g_tableMutex);
    Table().erase(reinterpret_cast<MmioFile*>(handle));
}

MmioFile::MmioFile(int fd, bool writable, LONG bufferSize, char* callerBuffer)
    : fd_(fd), writable_(writable), size_(bufferSize) {
    if (callerBuffer != nullptr) {
        buffer_ = callerBuffer;
    } else {
        ownBuffer_.assign(static_cast<size_t>(bufferSize), 0);
        buffer_ = ownBuffer_.data();
    }
    struct stat info {};
    diskLength_ = fstat(fd_, &info) == 0 ? info.st_size : 0;
    MoveWindow(0);
}

MmioFile::MmioFile(char* block, LONG size, bool writable) : writable_(writable), buffer_(block), size_(size), valid_(size) {
    diskLength_ = size;
}

MmioFile::~MmioFile() { Close(); }

int64_t MmioFile::Length() const {
    return IsMemory() ? size_ : std::max<int64_t>(diskLength_, bufferOffset_ + valid_);
}

void MmioFile::MarkWritten(LONG from, LONG to) {
    if (to <= from) return;
    if (dirtyStart_ == dirtyEnd_) {
        dirtyStart_ = from;
        dirtyEnd_ = to;
    } else {
        dirtyStart_ = std::min(dirtyStart_, from);
        dirtyEnd_ = std::max(dirtyEnd_, to);
    }
    valid_ = std::max(valid_, to);
}

MMRESULT MmioFile::Flush() {
    if (IsMemory() || dirtyStart_ == dirtyEnd_) {
        dirtyStart_ = dirtyEnd_ = 0;
        return MMSYSERR_NOERROR;
    }
    const char* from = buffer_ + dirtyStart_;
    size_t left = static_cast<size_t>(dirtyEnd_ - dirtyStart_);
    off_t at = static_cast<off_t>(bufferOffset_ + dirtyStart_);
    while (left > 0) {
        ssize_t n = pwrite(fd_, from, left, at);
        if (n <= 0) return MMIOERR_CANNOTWRITE;
        from += n;
        left -= static_cast<size_t>(n);
        at += n;
    }
    diskLength_ = std::max<int64_t>(diskLength_, bufferOffset_ + dirtyEnd_);
    dirtyStart_ = dirtyEnd_ = 0;
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::MoveWindow(int64_t offset) {
    if (MMRESULT r = Flush(); r != MMSYSERR_NOERROR) return r;
    bufferOffset_ = offset;
    next_ = 0;
    valid_ = 0;
    infoBase_ = 0;
    while (valid_ < size_) {
        ssize_t n = pread(fd_, buffer_ + valid_, static_cast<size_t>(size_ - valid_), static_cast<off_t>(offset + valid_));
        if (n < 0) return MMIOERR_CANNOTREAD;
        if (n == 0) break;
        valid_ += static_cast<LONG>(n);
    }
    return MMSYSERR_NOERROR;
}

LONG MmioFile::Read(char* out, LONG count) {
    if (count < 0) return -1;
    LONG done = 0;
    while (done < count) {
        if (next_ >= valid_) {
            // A memory file has nothing more; a disk file refills from where the buffer ends.
            if (IsMemory() || Position() >= Length()) break;
            if (MoveWindow(Position()) != MMSYSERR_NOERROR) return done > 0 ? done : -1;
            if (valid_ == 0) break;
        }
        LONG n = std::min(count - done, valid_ - next_);
        std::memcpy(out + done, buffer_ + next_, static_cast<size_t>(n));
        next_ += n;
        done += n;
    }
    return done;
}

LONG MmioFile::Write(const char* in, LONG count) {
    if (count < 0 || !writable_) return -1;
    LONG done = 0;
    while (done < count) {
        if (next_ >= size_) {
            if (IsMemory()) break;
            if (MoveWindow(Position()) != MMSYSERR_NOERROR) return done > 0 ? done : -1;
        }
        LONG n = std::min(count - done, size_ - next_);
        std::memcpy(buffer_ + next_, in + done, static_cast<size_t>(n));
        MarkWritten(next_, next_ + n);
        next_ += n;
        done += n;
    }
    // Short only when the disk refuses: bytes that reach the disk later are checked at flush.
    return done;
}

bool MmioFile::SeekTo(int64_t offset) {
    if (offset < 0 || offset > INT32_MAX) return false;
    if (IsMemory()) {
        if (offset > size_) return false;
        next_ = static_cast<LONG>(offset);
        return true;
    }
    // Inside the bytes the buffer holds: move there (dirty bytes stay put until they are written).
    if (offset >= bufferOffset_ && offset <= bufferOffset_ + valid_) {
        next_ = static_cast<LONG>(offset - bufferOffset_);
        return true;
    }
    return MoveWindow(offset) == MMSYSERR_NOERROR;
}

MMRESULT MmioFile::Close() {
    MMRESULT result = MMSYSERR_NOERROR;
    if (fd_ >= 0) {
        result = Flush();
        if (close(fd_) != 0 && result == MMSYSERR_NOERROR) result = MMIOERR_CANNOTCLOSE;
        fd_ = -1;
    }
    buffer_ = nullptr;
    return result;
}

void MmioFile::GetInfo(MMIOINFO& info) {
    std::memset(&info, 0, sizeof info);
    info.dwFlags = (writable_ ? MMIO_READWRITE : MMIO_READ) | MMIO_ALLOCBUF | (dirtyStart_ != dirtyEnd_ ? MMIO_DIRTY : 0);
    info.fccIOProc = IsMemory() ? FOURCC_MEM : FOURCC_DOS;
    info.cchBuffer = size_;
    info.pchBuffer = buffer_;
    info.pchNext = buffer_ + next_;
    info.pchEndRead = buffer_ + valid_;
    info.pchEndWrite = buffer_ + (writable_ ? size_ : 0);
    info.lBufOffset = static_cast<LONG>(bufferOffset_);
    info.lDiskOffset = static_cast<LONG>(bufferOffset_ + valid_);
    info.hmmio = handle;
    infoBase_ = next_;
}

bool MmioFile::Owns(const MMIOINFO& info) const {
    const char* end = buffer_ + size_;
    auto inside = [&](const char* p) { return p != nullptr && p >= buffer_ && p <= end; };
    return buffer_ != nullptr && info.pchBuffer == buffer_ && info.cchBuffer == size_ && inside(info.pchNext) &&
           inside(info.pchEndRead) && inside(info.pchEndWrite);
}

void MmioFile::Adopt(const MMIOINFO& info) {
    const LONG reached = static_cast<LONG>(info.pchNext - buffer_);
    if ((info.dwFlags & MMIO_DIRTY) != 0 && writable_) MarkWritten(std::min(infoBase_, reached), reached);
    // A reader cannot move past the bytes the buffer holds.
    next_ = std::min(reached, valid_);
    infoBase_ = next_;
}

MMRESULT MmioFile::SetInfo(const MMIOINFO& info) {
    if (!Owns(info)) return MMSYSERR_INVALPARAM;
    Adopt(info);
    return MMSYSERR_NOERROR;
}

MMRESULT MmioFile::Advance(MMIOINFO* info, UINT direction) {
    if (info != nullptr) {
        if (!Owns(*info)) return MMSYSERR_INVALPARAM;
        Adopt(*info);
    }
    if (direction == MMIO_WRITE && !writable_) return MMIOERR_CANNOTWRITE;
    if (IsMemory()) {
        // The block is the whole file: there is nothing to read into it and no room to grow.
        if (direction == MMIO_WRITE && next_ >= size_) return MMIOERR_CANNOTEXPAND;
    } else if (MMRESULT r = MoveWindow(Position()); r != MMSYSERR_NOERROR) {
        return direction == MMIO_WRITE ? MMIOERR_CANNOTWRITE : MMIOERR_CANNOTREAD;
    }
    if (info != nullptr) GetInfo(*info);
    return MMSYSERR_NOERROR;
}

}  // namespace mm
