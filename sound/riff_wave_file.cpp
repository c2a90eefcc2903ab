// CRiffWaveFile: RIFF/WAVE data read from a file, a program resource (through a memory file over a
// private copy) or a caller's memory image, and RIFF/WAVE files written, all through the mmio
// functions and their I/O buffer.
#include <cstring>
#include <new>

#include "dsutil.h"
#include "trace.h"

namespace {

const FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
const FOURCC kFormat = mmioFOURCC('f', 'm', 't', ' ');
const FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');
const FOURCC kFact = mmioFOURCC('f', 'a', 'c', 't');

}  // namespace

// Every record starts zeroed, the write state and open mode included, so a close after any failed
// open finds nothing it did not make.
CRiffWaveFile::CRiffWaveFile()
    : m_pwfx(nullptr),
      m_hFile(nullptr),
      m_dataChunk{},
      m_riffChunk{},
      m_cbData(0),
      m_writeInfo{},
      m_openMode(0),
      m_bFromMemory(FALSE),
      m_pbImage(nullptr),
      m_pbImageCursor(nullptr),
      m_cbImage(0),
      m_pResourceCopy(nullptr) {}

CRiffWaveFile::~CRiffWaveFile() {
    CloseStream();
    if (!m_bFromMemory) delete[] reinterpret_cast<BYTE*>(m_pwfx);
    m_pwfx = nullptr;
}

HRESULT CRiffWaveFile::OpenByName(const char* name, WAVEFORMATEX* format, DWORD mode) {
    // A second open releases what the first one opened.
    if (m_hFile != nullptr || m_pResourceCopy != nullptr) CloseStream();
    m_openMode = mode;
    m_bFromMemory = FALSE;
    if (mode == 1) {
        if (name == nullptr) return E_INVALIDARG;
        delete[] reinterpret_cast<BYTE*>(m_pwfx);
        m_pwfx = nullptr;
        m_cbData = 0;
        m_hFile = mmioOpenA(const_cast<LPSTR>(name), nullptr, MMIO_ALLOCBUF | MMIO_READ);
        if (m_hFile == nullptr) {
            HRSRC resource = FindResourceA(nullptr, name, "WAVE");
            if (resource == nullptr) resource = FindResourceA(nullptr, name, "WAV");
            if (resource == nullptr) return DSUTIL_TRACE("FindResource", E_FAIL);
            HGLOBAL loaded = LoadResource(nullptr, resource);
            if (loaded == nullptr) return DSUTIL_TRACE("LoadResource", E_FAIL);
            const DWORD size = SizeofResource(nullptr, resource);
            if (size == 0) return DSUTIL_TRACE("SizeofResource", E_FAIL);
            const void* bytes = LockResource(loaded);
            if (bytes == nullptr) return DSUTIL_TRACE("LockResource", E_FAIL);
            m_pResourceCopy = new (std::nothrow) BYTE[size];
            if (m_pResourceCopy == nullptr) return E_OUTOFMEMORY;
            std::memcpy(m_pResourceCopy, bytes, size);
            MMIOINFO info{};
            info.fccIOProc = FOURCC_MEM;
            info.cchBuffer = static_cast<LONG>(size);
            info.pchBuffer = reinterpret_cast<HPSTR>(m_pResourceCopy);
            m_hFile = mmioOpenA(nullptr, &info, MMIO_ALLOCBUF | MMIO_READ);
            if (m_hFile == nullptr) {
                delete[] m_pResourceCopy;
                m_pResourceCopy = nullptr;
                return DSUTIL_TRACE("mmioOpen", E_FAIL);
            }
        }
        if (HRESULT hr = ReadMMIO(); FAILED(hr)) {
            mmioClose(m_hFile, 0);
            m_hFile = nullptr;
            return DSUTIL_TRACE("ReadMMIO", hr);
        }
        if (HRESULT hr = ResetFile(); FAILED(hr)) return DSUTIL_TRACE("ResetFile", hr);
        // The data size counts only the bytes the file really has after the chunk's header.
        m_cbData = m_dataChunk.cksize;
        const LONG end = mmioSeek(m_hFile, 0, SEEK_END);
        if (end >= 0 && static_cast<DWORD>(end) >= m_dataChunk.dwDataOffset &&
            static_cast<DWORD>(end) - m_dataChunk.dwDataOffset < m_cbData)
            m_cbData = static_cast<DWORD>(end) - m_dataChunk.dwDataOffset;
        if (mmioSeek(m_hFile, static_cast<LONG>(m_dataChunk.dwDataOffset), SEEK_SET) == -1) {
            m_cbData = 0;
            return DSUTIL_TRACE("mmioSeek", E_FAIL);
        }
        return S_OK;
    }
    m_hFile = mmioOpenA(const_cast<LPSTR>(name), nullptr, MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_CREATE);
    if (m_hFile == nullptr) return DSUTIL_TRACE("mmioOpen", E_FAIL);
    if (HRESULT hr = WriteMMIO(format); FAILED(hr)) {
        mmioClose(m_hFile, 0);
        m_hFile = nullptr;
        return DSUTIL_TRACE("WriteMMIO", hr);
    }
    if (HRESULT hr = ResetFile(); FAILED(hr)) return DSUTIL_TRACE("ResetFile", hr);
    return S_OK;
}

HRESULT CRiffWaveFile::AttachMemoryImage(BYTE* data, DWORD size, WAVEFORMATEX* format, DWORD mode) {
    m_pwfx = format;
    m_cbImage = size;
    m_pbImage = data;
    m_pbImageCursor = data;
    m_bFromMemory = TRUE;
    return mode == 1 ? S_OK : E_NOTIMPL;
}

HRESULT CRiffWaveFile::ReadMMIO() {
    m_pwfx = nullptr;
    if (mmioDescend(m_hFile, &m_riffChunk, nullptr, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioDescend", E_FAIL);
    if (m_riffChunk.ckid != FOURCC_RIFF || m_riffChunk.fccType != kWave) return DSUTIL_TRACE("mmioFOURCC", E_FAIL);
    MMCKINFO chunk{};
    chunk.ckid = kFormat;
    if (mmioDescend(m_hFile, &chunk, &m_riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return DSUTIL_TRACE("mmioDescend", E_FAIL);
    if (chunk.cksize < sizeof(PCMWAVEFORMAT)) return DSUTIL_TRACE("sizeof(PCMWAVEFORMAT)", E_FAIL);
    PCMWAVEFORMAT pcm;
    if (mmioRead(m_hFile, reinterpret_cast<HPSTR>(&pcm), sizeof pcm) != static_cast<LONG>(sizeof pcm))
        return DSUTIL_TRACE("mmioRead", E_FAIL);
    if (pcm.wf.wFormatTag == WAVE_FORMAT_PCM) {
        m_pwfx = reinterpret_cast<WAVEFORMATEX*>(new (std::nothrow) BYTE[sizeof(WAVEFORMATEX)]);
        if (m_pwfx == nullptr) return DSUTIL_TRACE("m_pwfx", E_FAIL);
        std::memcpy(m_pwfx, &pcm, sizeof pcm);
        m_pwfx->cbSize = 0;
    } else {
        // The count of extra bytes and the bytes themselves must lie inside the "fmt " chunk.
        WORD extra = 0;
        if (chunk.cksize >= sizeof(WAVEFORMATEX) &&
            mmioRead(m_hFile, reinterpret_cast<HPSTR>(&extra), sizeof extra) != static_cast<LONG>(sizeof extra))
            return DSUTIL_TRACE("mmioRead", E_FAIL);
        if (sizeof(WAVEFORMATEX) + extra > chunk.cksize && extra > 0) return DSUTIL_TRACE("mmioRead", E_FAIL);
        BYTE* record = new (std::nothrow) BYTE[sizeof(WAVEFORMATEX) + extra];
        if (record == nullptr) return DSUTIL_TRACE("new", E_FAIL);
        m_pwfx = reinterpret_cast<WAVEFORMATEX*>(record);
        std::memcpy(m_pwfx, &pcm, sizeof pcm);
        m_pwfx->cbSize = extra;
        if (mmioRead(m_hFile, reinterpret_cast<HPSTR>(record + sizeof(WAVEFORMATEX)), extra) != extra) {
            delete[] record;
            m_pwfx = nullptr;
            return DSUTIL_TRACE("mmioRead", E_FAIL);
        }
    }
    if (mmioAscend(m_hFile, &chunk, 0) != MMSYSERR_NOERROR) {
        delete[] reinterpret_cast<BYTE*>(m_pwfx);
        m_pwfx = nullptr;
        return DSUTIL_TRACE("mmioAscend", E_FAIL);
    }
    return S_OK;
}

DWORD CRiffWaveFile::DataSize() { return m_cbData; }

HRESULT CRiffWaveFile::ResetFile() {
    if (m_bFromMemory) {
        m_pbImageCursor = m_pbImage;
        return S_OK;
    }
    if (m_hFile == nullptr) return CO_E_NOTINITIALIZED;
    if (m_openMode == 1) {
        if (mmioSeek(m_hFile, static_cast<LONG>(m_riffChunk.dwDataOffset + sizeof(FOURCC)), SEEK_SET) == -1)
            return DSUTIL_TRACE("mmioSeek", E_FAIL);
        m_dataChunk.ckid = kData;
        if (mmioDescend(m_hFile, &m_dataChunk, &m_riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
            return DSUTIL_TRACE("mmioDescend", E_FAIL);
    } else {
        m_dataChunk.ckid = kData;
        m_dataChunk.cksize = 0;
        if (mmioCreateChunk(m_hFile, &m_dataChunk, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioCreateChunk", E_FAIL);
        if (mmioGetInfo(m_hFile, &m_writeInfo, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioGetInfo", E_FAIL);
    }
    return S_OK;
}

HRESULT CRiffWaveFile::Read(BYTE* buffer, DWORD size, DWORD* read) {
    if (m_bFromMemory) {
        if (m_pbImageCursor == nullptr) return CO_E_NOTINITIALIZED;
        if (buffer == nullptr && size > 0) return E_INVALIDARG;
        if (read != nullptr) *read = 0;
        // Offsets, not pointer sums: a large size cannot wrap past the image's end.
        const DWORD offset = static_cast<DWORD>(m_pbImageCursor - m_pbImage);
        const DWORD remaining = offset < m_cbImage ? m_cbImage - offset : 0;
        const DWORD n = size < remaining ? size : remaining;
        if (n > 0) std::memcpy(buffer, m_pbImageCursor, n);
        m_pbImageCursor += n;
        if (read != nullptr) *read = n;
        return S_OK;
    }
    if (m_hFile == nullptr) return CO_E_NOTINITIALIZED;
    if (buffer == nullptr || read == nullptr) return E_INVALIDARG;
    *read = 0;
    MMIOINFO info;
    if (mmioGetInfo(m_hFile, &info, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioGetInfo", E_FAIL);
    const DWORD n = size < m_dataChunk.cksize ? size : m_dataChunk.cksize;
    DWORD copied = 0;
    const char* failure = nullptr;
    while (copied < n) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(m_hFile, &info, MMIO_READ) != MMSYSERR_NOERROR) {
                failure = "mmioAdvance";
                break;
            }
            if (info.pchNext == info.pchEndRead) {
                failure = "mmioinfoIn.pchNext";
                break;
            }
        }
        // Whole stretches of the I/O buffer at a time.
        DWORD chunk = static_cast<DWORD>(info.pchEndRead - info.pchNext);
        if (chunk > n - copied) chunk = n - copied;
        std::memcpy(buffer + copied, info.pchNext, chunk);
        info.pchNext += chunk;
        copied += chunk;
    }
    // The remaining count goes down by what was really copied, and the file gets its state back
    // even after a failure, so the two never disagree.
    m_dataChunk.cksize -= copied;
    const MMRESULT handedBack = mmioSetInfo(m_hFile, &info, 0);
    if (failure != nullptr) return DSUTIL_TRACE(failure, E_FAIL);
    if (handedBack != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioSetInfo", E_FAIL);
    *read = n;
    return S_OK;
}

HRESULT CRiffWaveFile::CloseStream() {
    if (m_bFromMemory || m_openMode == 1) {
        if (m_hFile != nullptr) mmioClose(m_hFile, 0);
        m_hFile = nullptr;
        delete[] m_pResourceCopy;
        m_pResourceCopy = nullptr;
        return S_OK;
    }
    m_writeInfo.dwFlags |= MMIO_DIRTY;
    if (m_hFile == nullptr) return CO_E_NOTINITIALIZED;
    HRESULT hr = S_OK;
    if (mmioSetInfo(m_hFile, &m_writeInfo, 0) != MMSYSERR_NOERROR) {
        hr = DSUTIL_TRACE("mmioSetInfo", E_FAIL);
    } else if (mmioAscend(m_hFile, &m_dataChunk, 0) != MMSYSERR_NOERROR) {
        hr = DSUTIL_TRACE("mmioAscend", E_FAIL);
    } else if (mmioAscend(m_hFile, &m_riffChunk, 0) != MMSYSERR_NOERROR) {
        hr = DSUTIL_TRACE("mmioAscend", E_FAIL);
    } else {
        mmioSeek(m_hFile, 0, SEEK_SET);
        if (mmioDescend(m_hFile, &m_riffChunk, nullptr, 0) != MMSYSERR_NOERROR) {
            hr = DSUTIL_TRACE("mmioDescend", E_FAIL);
        } else {
            m_dataChunk.ckid = kFact;
            if (mmioDescend(m_hFile, &m_dataChunk, &m_riffChunk, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
                DWORD samples = 0;
                mmioWrite(m_hFile, reinterpret_cast<const char*>(&samples), sizeof samples);
                mmioAscend(m_hFile, &m_dataChunk, 0);
            }
            if (mmioAscend(m_hFile, &m_riffChunk, 0) != MMSYSERR_NOERROR) hr = DSUTIL_TRACE("mmioAscend", E_FAIL);
        }
    }
    // The file is closed even after a failure: nothing else would close it.
    mmioClose(m_hFile, 0);
    m_hFile = nullptr;
    return hr;
}

HRESULT CRiffWaveFile::WriteMMIO(WAVEFORMATEX* format) {
    const DWORD factValue = 0xFFFFFFFF;
    m_riffChunk.fccType = kWave;
    m_riffChunk.cksize = 0;
    if (mmioCreateChunk(m_hFile, &m_riffChunk, MMIO_CREATERIFF) != MMSYSERR_NOERROR)
        return DSUTIL_TRACE("mmioCreateChunk", E_FAIL);
    m_dataChunk.ckid = kFormat;
    m_dataChunk.cksize = sizeof(PCMWAVEFORMAT);
    if (mmioCreateChunk(m_hFile, &m_dataChunk, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioCreateChunk", E_FAIL);
    const LONG formatBytes = format->wFormatTag == WAVE_FORMAT_PCM
                                 ? static_cast<LONG>(sizeof(PCMWAVEFORMAT))
                                 : static_cast<LONG>(sizeof(WAVEFORMATEX) + format->cbSize);
    if (mmioWrite(m_hFile, reinterpret_cast<const char*>(format), formatBytes) != formatBytes)
        return DSUTIL_TRACE("mmioWrite", E_FAIL);
    if (mmioAscend(m_hFile, &m_dataChunk, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioAscend", E_FAIL);
    MMCKINFO fact{};
    fact.ckid = kFact;
    fact.cksize = 0;
    if (mmioCreateChunk(m_hFile, &fact, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioCreateChunk", E_FAIL);
    if (mmioWrite(m_hFile, reinterpret_cast<const char*>(&factValue), sizeof factValue) != sizeof factValue)
        return DSUTIL_TRACE("mmioWrite", E_FAIL);
    if (mmioAscend(m_hFile, &fact, 0) != MMSYSERR_NOERROR) return DSUTIL_TRACE("mmioAscend", E_FAIL);
    return S_OK;
}

HRESULT CRiffWaveFile::WriteData(DWORD size, const BYTE* data, DWORD* written) {
    if (m_bFromMemory) return E_NOTIMPL;
    if (m_hFile == nullptr) return CO_E_NOTINITIALIZED;
    if (data == nullptr || written == nullptr) return E_INVALIDARG;
    *written = 0;
    for (DWORD i = 0; i < size; ++i) {
        if (m_writeInfo.pchNext == m_writeInfo.pchEndWrite) {
            m_writeInfo.dwFlags |= MMIO_DIRTY;
            if (mmioAdvance(m_hFile, &m_writeInfo, MMIO_WRITE) != MMSYSERR_NOERROR)
                return DSUTIL_TRACE("mmioAdvance", E_FAIL);
        }
        *m_writeInfo.pchNext++ = static_cast<char>(data[i]);
        ++*written;
    }
    return S_OK;
}
