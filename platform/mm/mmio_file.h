// An open multimedia file: a disk file or a memory block seen through one I/O buffer. The buffer
// holds the file's bytes [bufferOffset, bufferOffset + valid); bytes written into it and not yet on
// disk lie in [dirtyStart, dirtyEnd). A memory file's block is the whole file and the whole buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "mmsystem.h"

namespace mm {

class MmioFile {
public:
    // A disk file already opened (descriptor), read-only or writable, with a buffer of that size
    // (the caller's block when given).
    MmioFile(int fd, bool writable, LONG bufferSize, char* callerBuffer);
    // A memory file over the caller's block of that size.
    MmioFile(char* block, LONG size, bool writable);
    ~MmioFile();
    MmioFile(const MmioFile&) = delete;
    MmioFile& operator=(const MmioFile&) = delete;

    bool IsMemory() const { return fd_ < 0; }
    int64_t Position() const { return bufferOffset_ + next_; }
    // The file's length, bytes still in the buffer included.
    int64_t Length() const;

    LONG Read(char* out, LONG count);
    LONG Write(const char* in, LONG count);  // the count written; fewer when the disk is full
    // Moves to an absolute offset; false when it lies before the start or past a memory file's end.
    bool SeekTo(int64_t offset);
    MMRESULT Flush();
    MMRESULT Close();

    // Direct access to the I/O buffer.
    void GetInfo(MMIOINFO& info);
    // Takes the caller's record back; refuses one whose pointers are not this file's buffer.
    MMRESULT SetInfo(const MMIOINFO& info);
    MMRESULT Advance(MMIOINFO* info, UINT direction);

    HMMIO handle = nullptr;

private:
    bool Owns(const MMIOINFO& info) const;
    void Adopt(const MMIOINFO& info);
    // Writes out dirty bytes, then puts the buffer's start at offset and loads what the file has there.
    MMRESULT MoveWindow(int64_t offset);
    void MarkWritten(LONG from, LONG to);

    int fd_ = -1;
    bool writable_ = false;
    std::vector<char> ownBuffer_;
    char* buffer_ = nullptr;
    LONG size_ = 0;            // buffer size
    int64_t bufferOffset_ = 0;
    LONG next_ = 0;
    LONG valid_ = 0;
    LONG dirtyStart_ = 0, dirtyEnd_ = 0;  // empty when equal
    LONG infoBase_ = 0;  // where the caller's direct access began (mmioGetInfo / mmioAdvance)
    int64_t diskLength_ = 0;
};

// The handle table: live files only, so a closed or made-up handle is refused.
HMMIO AddFile(MmioFile* file);
MmioFile* FileFor(HMMIO handle);
void RemoveFile(HMMIO handle);

}  // namespace mm
