// CSoundStream: one buffer of equal segments, each refilled from the wave after the play cursor has
// passed it, with the play cursor's progress counted to stop once the whole wave has been heard.
#include <cstring>

#include "dsutil.h"
#include "trace.h"

CSoundStream::CSoundStream(IDirectSoundBuffer* buffer, DWORD bufferSize, CRiffWaveFile* wave, DWORD segmentSize)
    : CSoundSample(&buffer, bufferSize, 1, wave, 0),
      m_lastPlayCursor(0),
      m_cbPlayed(0),
      m_cbSegment(segmentSize),
      m_nextWriteOffset(0),
      m_bDataEnded(FALSE) {}

CSoundStream::~CSoundStream() {}

HRESULT CSoundStream::RefillNextSegment(BOOL loop) {
    if (m_apBuffers == nullptr || m_apBuffers[0] == nullptr || m_pWave == nullptr) return CO_E_NOTINITIALIZED;
    // A stream built without a size to divide (possible only through this public constructor).
    if (m_cbBuffer == 0 || m_cbSegment == 0) return E_INVALIDARG;
    IDirectSoundBuffer* buffer = m_apBuffers[0];
    BOOL restored = FALSE;
    if (HRESULT hr = RestoreBuffer(buffer, &restored); FAILED(hr)) return DSUTIL_TRACE("RestoreBuffer", hr);
    if (restored) {
        if (HRESULT hr = FillBufferWithSound(buffer, FALSE); FAILED(hr)) return DSUTIL_TRACE("FillBufferWithSound", hr);
        return S_OK;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD size1 = 0, size2 = 0;
    if (HRESULT hr = buffer->Lock(m_nextWriteOffset, m_cbSegment, &part1, &size1, &part2, &size2, 0); FAILED(hr))
        return DSUTIL_TRACE("Lock", hr);
    if (part2 != nullptr) {
        buffer->Unlock(part1, size1, part2, size2);
        return E_UNEXPECTED;
    }
    BYTE* segment = static_cast<BYTE*>(part1);
    DWORD read = 0;
    if (!m_bDataEnded) {
        if (HRESULT hr = m_pWave->Read(segment, m_cbSegment, &read); FAILED(hr)) {
            buffer->Unlock(part1, size1, nullptr, 0);
            return DSUTIL_TRACE("Read", hr);
        }
    } else {
        std::memset(segment, SilenceByte(), m_cbSegment);
        read = m_cbSegment;
    }
    if (read < m_cbSegment) {
        if (!loop) {
            std::memset(segment + read, SilenceByte(), m_cbSegment - read);
            m_bDataEnded = TRUE;
        } else {
            DWORD filled = read;
            while (filled < m_cbSegment) {
                if (HRESULT hr = m_pWave->ResetFile(); FAILED(hr)) {
                    buffer->Unlock(part1, size1, nullptr, 0);
                    return DSUTIL_TRACE("ResetFile", hr);
                }
                if (HRESULT hr = m_pWave->Read(segment + filled, m_cbSegment - filled, &read); FAILED(hr)) {
                    buffer->Unlock(part1, size1, nullptr, 0);
                    return DSUTIL_TRACE("Read", hr);
                }
                if (read == 0) {
                    // An empty wave: nothing to loop, the rest of the segment is silence.
                    std::memset(segment + filled, SilenceByte(), m_cbSegment - filled);
                    break;
                }
                filled += read;
            }
        }
    }
    buffer->Unlock(part1, size1, nullptr, 0);
    DWORD playCursor = 0;
    if (HRESULT hr = buffer->GetCurrentPosition(&playCursor, nullptr); FAILED(hr))
        return DSUTIL_TRACE("GetCurrentPosition", hr);
    const DWORD advance = playCursor < m_lastPlayCursor ? m_cbBuffer - m_lastPlayCursor + playCursor
                                                        : playCursor - m_lastPlayCursor;
    m_cbPlayed += advance;
    m_lastPlayCursor = playCursor;
    if (m_bDataEnded && m_cbPlayed >= m_pWave->DataSize()) buffer->Stop();
    m_nextWriteOffset = (m_nextWriteOffset + m_cbSegment) % m_cbBuffer;
    return S_OK;
}

HRESULT CSoundStream::Restart() {
    if (m_apBuffers == nullptr || m_apBuffers[0] == nullptr || m_pWave == nullptr) return CO_E_NOTINITIALIZED;
    IDirectSoundBuffer* buffer = m_apBuffers[0];
    m_lastPlayCursor = 0;
    m_cbPlayed = 0;
    m_nextWriteOffset = 0;
    m_bDataEnded = FALSE;
    BOOL restored = FALSE;
    if (HRESULT hr = RestoreBuffer(buffer, &restored); FAILED(hr)) return DSUTIL_TRACE("RestoreBuffer", hr);
    if (restored) {
        if (HRESULT hr = FillBufferWithSound(buffer, FALSE); FAILED(hr)) return DSUTIL_TRACE("FillBufferWithSound", hr);
    }
    m_pWave->ResetFile();
    return buffer->SetCurrentPosition(0);
}
