// CSoundSample: one sound in several buffers (normally duplicates sharing one memory), filled from
// its wave, restored when the platform took a buffer away, and played on a free buffer.
#include <cstdlib>
#include <cstring>
#include <new>

#include "dsutil.h"
#include "trace.h"

namespace {
// A loss that outlasts a second of restore attempts (100 waits of 10 ms) is given up on.
constexpr int kRestoreWaits = 100;
}  // namespace

CSoundSample::CSoundSample(IDirectSoundBuffer** buffers, DWORD bufferSize, DWORD count, CRiffWaveFile* wave,
                           DWORD creationFlags)
    : m_apBuffers(nullptr), m_cbBuffer(bufferSize), m_pWave(wave), m_nBuffers(count), m_creationFlags(creationFlags),
      m_firstFill(CO_E_NOTINITIALIZED) {
    m_apBuffers = count > 0 ? new (std::nothrow) IDirectSoundBuffer*[count] : nullptr;
    if (m_apBuffers == nullptr) {
        // Without its array the sample has no buffers: it gives back what it was handed at once, and
        // every operation answers as for a sample without buffers.
        for (DWORD i = 0; i < count; ++i)
            if (buffers != nullptr && buffers[i] != nullptr) buffers[i]->Release();
        delete m_pWave;
        m_pWave = nullptr;
        m_nBuffers = 0;
        return;
    }
    for (DWORD i = 0; i < count; ++i) m_apBuffers[i] = buffers[i];
    m_firstFill = FillBufferWithSound(m_apBuffers[0], FALSE);
}

CSoundSample::~CSoundSample() {
    for (DWORD i = 0; m_apBuffers != nullptr && i < m_nBuffers; ++i) {
        if (m_apBuffers[i] != nullptr) m_apBuffers[i]->Release();
        m_apBuffers[i] = nullptr;
    }
    delete[] m_apBuffers;
    m_apBuffers = nullptr;
    delete m_pWave;
    m_pWave = nullptr;
}

BYTE CSoundSample::SilenceByte() const {
    return m_pWave != nullptr && m_pWave->m_pwfx != nullptr && m_pWave->m_pwfx->wBitsPerSample == 8 ? 128 : 0;
}

HRESULT CSoundSample::FillBufferWithSound(IDirectSoundBuffer* buffer, BOOL repeat) {
    if (buffer == nullptr || m_pWave == nullptr) return CO_E_NOTINITIALIZED;
    if (HRESULT hr = RestoreBuffer(buffer, nullptr); FAILED(hr)) return DSUTIL_TRACE("RestoreBuffer", hr);
    void* locked = nullptr;
    DWORD lockedSize = 0;
    if (HRESULT hr = buffer->Lock(0, m_cbBuffer, &locked, &lockedSize, nullptr, nullptr, 0); FAILED(hr))
        return DSUTIL_TRACE("Lock", hr);
    BYTE* p = static_cast<BYTE*>(locked);
    m_pWave->ResetFile();
    DWORD read = 0;
    if (HRESULT hr = m_pWave->Read(p, lockedSize, &read); FAILED(hr)) {
        buffer->Unlock(locked, lockedSize, nullptr, 0);
        return DSUTIL_TRACE("Read", hr);
    }
    if (read == 0) {
        std::memset(p, SilenceByte(), lockedSize);
    } else if (read < lockedSize) {
        if (repeat) {
            DWORD filled = read;
            while (filled < lockedSize) {
                if (HRESULT hr = m_pWave->ResetFile(); FAILED(hr)) {
                    buffer->Unlock(locked, lockedSize, nullptr, 0);
                    return DSUTIL_TRACE("ResetFile", hr);
                }
                if (HRESULT hr = m_pWave->Read(p + filled, lockedSize - filled, &read); FAILED(hr)) {
                    buffer->Unlock(locked, lockedSize, nullptr, 0);
                    return DSUTIL_TRACE("Read", hr);
                }
                if (read == 0) break;  // the wave delivers nothing more: the rest stays silent
                filled += read;
            }
            if (filled < lockedSize) std::memset(p + filled, SilenceByte(), lockedSize - filled);
        } else {
            std::memset(p + read, SilenceByte(), lockedSize - read);
        }
    }
    buffer->Unlock(locked, lockedSize, nullptr, 0);
    return S_OK;
}

HRESULT CSoundSample::RestoreBuffer(IDirectSoundBuffer* buffer, BOOL* restored) {
    if (buffer == nullptr) return CO_E_NOTINITIALIZED;
    if (restored != nullptr) *restored = FALSE;
    DWORD status = 0;
    if (HRESULT hr = buffer->GetStatus(&status); FAILED(hr)) return DSUTIL_TRACE("GetStatus", hr);
    if (!(status & DSBSTATUS_BUFFERLOST)) return S_FALSE;
    int waits = 0;
    HRESULT hr;
    do {
        hr = buffer->Restore();
        if (hr == DSERR_BUFFERLOST) {
            if (++waits > kRestoreWaits) return DSERR_BUFFERLOST;
            Sleep(10);
        }
        hr = buffer->Restore();
    } while (hr == DSERR_BUFFERLOST);
    if (restored != nullptr) *restored = TRUE;
    return S_OK;
}

IDirectSoundBuffer* CSoundSample::GetFreeBuffer() {
    if (m_apBuffers == nullptr) return nullptr;
    bool any = false;
    for (DWORD i = 0; i < m_nBuffers; ++i) {
        if (m_apBuffers[i] == nullptr) continue;
        any = true;
        DWORD status = 0;
        m_apBuffers[i]->GetStatus(&status);
        if (!(status & DSBSTATUS_PLAYING)) return m_apBuffers[i];
    }
    if (!any) return nullptr;
    return m_apBuffers[static_cast<DWORD>(rand()) % m_nBuffers];
}

IDirectSoundBuffer* CSoundSample::BufferAt(DWORD index) {
    if (m_apBuffers == nullptr || index >= m_nBuffers) return nullptr;
    return m_apBuffers[index];
}

HRESULT CSoundSample::Query3DBuffer(DWORD index, IDirectSound3DBuffer** out) {
    if (m_apBuffers == nullptr) return CO_E_NOTINITIALIZED;
    if (index >= m_nBuffers || out == nullptr || m_apBuffers[index] == nullptr) return E_INVALIDARG;
    *out = nullptr;
    return m_apBuffers[index]->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(out));
}

HRESULT CSoundSample::PrepareBuffer(IDirectSoundBuffer** chosen) {
    if (m_apBuffers == nullptr) return CO_E_NOTINITIALIZED;
    IDirectSoundBuffer* buffer = GetFreeBuffer();
    if (buffer == nullptr) return DSUTIL_TRACE("GetFreeBuffer", E_FAIL);
    BOOL restored = FALSE;
    if (HRESULT hr = RestoreBuffer(buffer, &restored); FAILED(hr)) return DSUTIL_TRACE("RestoreBuffer", hr);
    if (restored) {
        if (HRESULT hr = FillBufferWithSound(buffer, FALSE); FAILED(hr)) return DSUTIL_TRACE("FillBufferWithSound", hr);
    }
    *chosen = buffer;
    return S_OK;
}

HRESULT CSoundSample::Play(DWORD priority, DWORD playFlags, LONG volume, LONG frequency, LONG pan) {
    IDirectSoundBuffer* buffer = nullptr;
    if (HRESULT hr = PrepareBuffer(&buffer); FAILED(hr)) return hr;
    if (m_creationFlags & DSBCAPS_CTRLVOLUME) buffer->SetVolume(volume);
    if (frequency != -1 && (m_creationFlags & DSBCAPS_CTRLFREQUENCY)) buffer->SetFrequency(static_cast<DWORD>(frequency));
    if (m_creationFlags & DSBCAPS_CTRLPAN) buffer->SetPan(pan);
    return buffer->Play(0, priority, playFlags);
}

HRESULT CSoundSample::PlayPositioned(const DS3DBUFFER* parameters, DWORD priority, DWORD playFlags,
                                     LONG frequencyOffset) {
    IDirectSoundBuffer* buffer = nullptr;
    if (HRESULT hr = PrepareBuffer(&buffer); FAILED(hr)) return hr;
    if (m_creationFlags & DSBCAPS_CTRLFREQUENCY) {
        DWORD frequency = 0;
        buffer->GetFrequency(&frequency);
        buffer->SetFrequency(frequency + static_cast<DWORD>(frequencyOffset));
    }
    IDirectSound3DBuffer* buffer3D = nullptr;
    HRESULT hr = buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&buffer3D));
    if (FAILED(hr)) return hr;
    hr = buffer3D->SetAllParameters(parameters, DS3D_IMMEDIATE);
    if (SUCCEEDED(hr)) hr = buffer->Play(0, priority, playFlags);
    buffer3D->Release();
    return hr;
}

// Every buffer is asked; empty entries are skipped, and the first failure is the answer.
HRESULT CSoundSample::StopAll() {
    if (m_apBuffers == nullptr) return CO_E_NOTINITIALIZED;
    HRESULT answer = S_OK;
    for (DWORD i = 0; i < m_nBuffers; ++i) {
        if (m_apBuffers[i] == nullptr) continue;
        HRESULT hr = m_apBuffers[i]->Stop();
        if (FAILED(hr) && SUCCEEDED(answer)) answer = hr;
    }
    return answer;
}

HRESULT CSoundSample::RewindAll() {
    if (m_apBuffers == nullptr) return CO_E_NOTINITIALIZED;
    HRESULT answer = S_OK;
    for (DWORD i = 0; i < m_nBuffers; ++i) {
        if (m_apBuffers[i] == nullptr) continue;
        HRESULT hr = m_apBuffers[i]->SetCurrentPosition(0);
        if (FAILED(hr) && SUCCEEDED(answer)) answer = hr;
    }
    return answer;
}

BOOL CSoundSample::IsAnyPlaying() {
    if (m_apBuffers == nullptr) return FALSE;
    BOOL playing = FALSE;
    for (DWORD i = 0; i < m_nBuffers; ++i) {
        if (m_apBuffers[i] == nullptr) continue;
        DWORD status = 0;
        m_apBuffers[i]->GetStatus(&status);
        if (status & DSBSTATUS_PLAYING) playing = TRUE;
    }
    return playing;
}
