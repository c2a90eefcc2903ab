// The RIFF chunk functions: mmioDescend (at the position, or searching by id or form type within a
// parent), mmioAscend (past a chunk read, or fixing the size of a chunk written) and mmioCreateChunk.
// Chunk sizes come from the file, so every offset is computed in 64 bits and bounded by the parent's
// end and the file's end: a hostile size can end a search but never loop it or read past either.
#include <algorithm>

#include "machine/failures.h"
#include "mmio_file.h"

namespace {

bool HasFormType(FOURCC id) { return id == FOURCC_RIFF || id == FOURCC_LIST; }

bool ReadDword(mm::MmioFile& file, DWORD& value) {
    unsigned char bytes[4];
    if (file.Read(reinterpret_cast<char*>(bytes), 4) != 4) return false;
    value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    return true;
}

bool WriteDword(mm::MmioFile& file, DWORD value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    return file.Write(bytes, 4) == 4;
}

// Reads the chunk header at the position into ck, stopping at end (the parent's end or the file's).
bool ReadHeader(mm::MmioFile& file, MMCKINFO& ck, int64_t end) {
    const int64_t start = file.Position();
    if (start + 8 > end) return false;
    if (!ReadDword(file, ck.ckid) || !ReadDword(file, ck.cksize)) return false;
    ck.dwDataOffset = static_cast<DWORD>(start + 8);
    ck.fccType = 0;
    ck.dwFlags = 0;
    if (HasFormType(ck.ckid)) {
        if (start + 12 > end || !ReadDword(file, ck.fccType)) return false;
    }
    return true;
}

bool Wanted(const MMCKINFO& found, const MMCKINFO& wanted, UINT flags) {
    if (flags & MMIO_FINDCHUNK) return found.ckid == wanted.ckid;
    if (flags & MMIO_FINDRIFF) return found.ckid == FOURCC_RIFF && found.fccType == wanted.fccType;
    if (flags & MMIO_FINDLIST) return found.ckid == FOURCC_LIST && found.fccType == wanted.fccType;
    return true;
}

}  // namespace

MMRESULT WINAPI mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, const MMCKINFO* pmmckiParent, UINT fuDescend) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (pmmcki == nullptr) return MMSYSERR_INVALPARAM;
    if (auto code = machine::InjectedFailure("mmioDescend")) return *code;
    const int64_t origin = file->Position();
    int64_t end = file->Length();
    if (pmmckiParent != nullptr) end = std::min<int64_t>(end, int64_t{pmmckiParent->dwDataOffset} + pmmckiParent->cksize);
    const MMCKINFO wanted = *pmmcki;
    MMCKINFO found{};
    for (;;) {
        if (!ReadHeader(*file, found, end)) break;
        if (Wanted(found, wanted, fuDescend)) {
            *pmmcki = found;
            return MMSYSERR_NOERROR;
        }
        // Skip the chunk and its pad byte; past the end, the search is over.
        const int64_t next = int64_t{found.dwDataOffset} + found.cksize + (found.cksize & 1);
        if (next + 8 > end || !file->SeekTo(next)) break;
    }
    file->SeekTo(origin);
    return MMIOERR_CHUNKNOTFOUND;
}

MMRESULT WINAPI mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuAscend) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (pmmcki == nullptr) return MMSYSERR_INVALPARAM;
    if (auto code = machine::InjectedFailure("mmioAscend")) return *code;
    if (pmmcki->dwFlags & MMIO_DIRTY) {
        // A chunk written here: its size becomes what was written since its data began.
        const int64_t reached = file->Position();
        if (reached < pmmcki->dwDataOffset) return MMIOERR_CANNOTSEEK;
        const DWORD written = static_cast<DWORD>(reached - pmmcki->dwDataOffset);
        if (written != pmmcki->cksize) {
            if (!file->SeekTo(int64_t{pmmcki->dwDataOffset} - 4) || !WriteDword(*file, written))
                return MMIOERR_CANNOTWRITE;
            pmmcki->cksize = written;
        }
        if (!file->SeekTo(reached)) return MMIOERR_CANNOTSEEK;
        if (written & 1) {
            if (file->Write("", 1) != 1) return MMIOERR_CANNOTWRITE;
        }
        pmmcki->dwFlags &= ~MMIO_DIRTY;
        return MMSYSERR_NOERROR;
    }
    // A chunk read: past its data and pad byte. A chunk that claims more than the file holds cannot
    // be left (only a missing final pad byte is forgiven).
    const int64_t dataEnd = int64_t{pmmcki->dwDataOffset} + pmmcki->cksize;
    if (dataEnd > file->Length()) return MMIOERR_CANNOTSEEK;
    const int64_t next = std::min(dataEnd + (pmmcki->cksize & 1), file->Length());
    return file->SeekTo(next) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}

MMRESULT WINAPI mmioCreateChunk(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuCreate) {
    mm::MmioFile* file = mm::FileFor(hmmio);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (pmmcki == nullptr) return MMSYSERR_INVALPARAM;
    if (auto code = machine::InjectedFailure("mmioCreateChunk")) return *code;
    if (fuCreate & MMIO_CREATERIFF) pmmcki->ckid = FOURCC_RIFF;
    if (fuCreate & MMIO_CREATELIST) pmmcki->ckid = FOURCC_LIST;
    const int64_t start = file->Position();
    if (start + 8 > INT32_MAX) return MMIOERR_CANNOTWRITE;
    if (!WriteDword(*file, pmmcki->ckid) || !WriteDword(*file, pmmcki->cksize)) return MMIOERR_CANNOTWRITE;
    if (HasFormType(pmmcki->ckid) && !WriteDword(*file, pmmcki->fccType)) return MMIOERR_CANNOTWRITE;
    pmmcki->dwDataOffset = static_cast<DWORD>(start + 8);
    pmmcki->dwFlags = MMIO_DIRTY;
    return MMSYSERR_NOERROR;
}
