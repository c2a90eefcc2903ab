// CSoundSystem: the DirectSound object, the primary format and listener, and the creation of the
// module's sounds. A failed creation leaves nothing behind.
#include "dsutil.h"

#include <new>

#include "trace.h"

namespace {

// Releases the buffers made so far and frees their array.
void ReleaseBuffers(IDirectSoundBuffer** buffers, DWORD count) {
    for (DWORD i = 0; i < count; ++i)
        if (buffers[i] != nullptr) buffers[i]->Release();
    delete[] buffers;
}

DSBUFFERDESC Description(DWORD flags, DWORD bytes, WAVEFORMATEX* format, const GUID& algorithm) {
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = format;
    desc.guid3DAlgorithm = algorithm;
    return desc;
}

// The steps both sample creations share: the pointer array, then the wave, which `open` fills and
// which answers the buffer size and format; the first buffer, the others duplicated from it (or
// created alike when effects are asked for); the sample, which takes over buffers and wave. A failure
// leaves nothing behind. keepNoVirtualization: a first buffer's DS_NO_VIRTUALIZATION is the answer.
template <typename Open>
HRESULT MakeSample(IDirectSound8* directSound, CSoundSample** out, DWORD creationFlags, const GUID& algorithm3D,
                   DWORD bufferCount, Open open, bool keepNoVirtualization) {
    IDirectSoundBuffer** buffers = new (std::nothrow) IDirectSoundBuffer*[bufferCount]();
    if (buffers == nullptr) return E_OUTOFMEMORY;
    CRiffWaveFile* wave = new (std::nothrow) CRiffWaveFile();
    if (wave == nullptr) {
        delete[] buffers;
        return E_OUTOFMEMORY;
    }
    auto fail = [&](HRESULT hr) {
        ReleaseBuffers(buffers, bufferCount);
        delete wave;
        return hr;
    };
    DWORD bytes = 0;
    WAVEFORMATEX* format = nullptr;
    if (HRESULT hr = open(wave, &bytes, &format); FAILED(hr)) return fail(hr);
    DSBUFFERDESC desc = Description(creationFlags, bytes, format, algorithm3D);
    HRESULT answer = directSound->CreateSoundBuffer(&desc, &buffers[0], nullptr);
    if (FAILED(answer)) return fail(DSUTIL_TRACE("CreateSoundBuffer", answer));
    if (!keepNoVirtualization || answer != DS_NO_VIRTUALIZATION) answer = S_OK;
    for (DWORD i = 1; i < bufferCount; ++i) {
        if (!(creationFlags & DSBCAPS_CTRLFX)) {
            if (HRESULT hr = directSound->DuplicateSoundBuffer(buffers[0], &buffers[i]); FAILED(hr)) {
                buffers[i] = nullptr;
                return fail(DSUTIL_TRACE("DuplicateSoundBuffer", hr));
            }
        } else if (HRESULT hr = directSound->CreateSoundBuffer(&desc, &buffers[i], nullptr); FAILED(hr)) {
            buffers[i] = nullptr;
            return fail(DSUTIL_TRACE("CreateSoundBuffer", hr));
        }
    }
    CSoundSample* sample = new (std::nothrow) CSoundSample(buffers, bytes, bufferCount, wave, creationFlags);
    if (sample == nullptr) return fail(E_OUTOFMEMORY);
    delete[] buffers;  // the sample holds the references now
    if (sample->BufferAt(0) == nullptr) {
        // The sample could not keep its buffers (it gave them back itself).
        delete sample;
        return E_OUTOFMEMORY;
    }
    // A sample whose sound could not be written into its buffer is no sound.
    if (HRESULT filled = sample->FirstFillResult(); FAILED(filled)) {
        delete sample;
        return filled;
    }
    *out = sample;
    return answer;
}

}  // namespace

CSoundSystem::CSoundSystem() : m_pDirectSound(nullptr) {}

CSoundSystem::~CSoundSystem() {
    if (m_pDirectSound != nullptr) m_pDirectSound->Release();
    m_pDirectSound = nullptr;
}

HRESULT CSoundSystem::Initialize(HWND window, DWORD cooperativeLevel) {
    if (m_pDirectSound != nullptr) m_pDirectSound->Release();
    m_pDirectSound = nullptr;
    if (HRESULT hr = DirectSoundCreate8(nullptr, &m_pDirectSound, nullptr); FAILED(hr)) {
        m_pDirectSound = nullptr;
        return DSUTIL_TRACE("DirectSoundCreate8", hr);
    }
    if (HRESULT hr = m_pDirectSound->SetCooperativeLevel(window, cooperativeLevel); FAILED(hr))
        return DSUTIL_TRACE("SetCooperativeLevel", hr);
    return S_OK;
}

HRESULT CSoundSystem::SetPrimaryBufferFormat(DWORD channels, DWORD samplesPerSec, DWORD bitsPerSample) {
    if (m_pDirectSound == nullptr) return CO_E_NOTINITIALIZED;
    DSBUFFERDESC desc = Description(DSBCAPS_PRIMARYBUFFER, 0, nullptr, GUID_NULL);
    IDirectSoundBuffer* primary = nullptr;
    if (HRESULT hr = m_pDirectSound->CreateSoundBuffer(&desc, &primary, nullptr); FAILED(hr))
        return DSUTIL_TRACE("CreateSoundBuffer", hr);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = samplesPerSec;
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
    format.nBlockAlign = static_cast<WORD>(bitsPerSample / 8 * channels);
    format.nAvgBytesPerSec = format.nBlockAlign * samplesPerSec;
    if (HRESULT hr = primary->SetFormat(&format); FAILED(hr)) {
        primary->Release();
        return DSUTIL_TRACE("SetFormat", hr);
    }
    primary->Release();
    return S_OK;
}

HRESULT CSoundSystem::QueryListener(IDirectSound3DListener** out) {
    if (out == nullptr) return E_INVALIDARG;
    if (m_pDirectSound == nullptr) return CO_E_NOTINITIALIZED;
    *out = nullptr;
    DSBUFFERDESC desc = Description(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D, 0, nullptr, GUID_NULL);
    IDirectSoundBuffer* primary = nullptr;
    if (HRESULT hr = m_pDirectSound->CreateSoundBuffer(&desc, &primary, nullptr); FAILED(hr))
        return DSUTIL_TRACE("CreateSoundBuffer", hr);
    if (HRESULT hr = primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(out)); FAILED(hr)) {
        primary->Release();
        return DSUTIL_TRACE("QueryInterface", hr);
    }
    primary->Release();
    return S_OK;
}

HRESULT CSoundSystem::CreateSample(CSoundSample** out, const char* waveName, DWORD creationFlags, GUID algorithm3D,
                                   DWORD bufferCount) {
    if (m_pDirectSound == nullptr) return CO_E_NOTINITIALIZED;
    if (waveName == nullptr || out == nullptr || bufferCount == 0) return E_INVALIDARG;
    auto open = [waveName](CRiffWaveFile* wave, DWORD* bytes, WAVEFORMATEX** format) {
        wave->OpenByName(waveName, nullptr, 1);
        // The open has traced its own failure; an empty "data" chunk is refused alike.
        if (wave->DataSize() == 0) return E_FAIL;
        *bytes = wave->DataSize();
        *format = wave->m_pwfx;
        return S_OK;
    };
    return MakeSample(m_pDirectSound, out, creationFlags, algorithm3D, bufferCount, open, true);
}

HRESULT CSoundSystem::CreateSampleFromMemory(CSoundSample** out, BYTE* data, DWORD dataSize, WAVEFORMATEX* format,
                                             DWORD creationFlags, GUID algorithm3D, DWORD bufferCount) {
    if (m_pDirectSound == nullptr) return CO_E_NOTINITIALIZED;
    if (data == nullptr || out == nullptr || bufferCount == 0) return E_INVALIDARG;
    auto attach = [&](CRiffWaveFile* wave, DWORD* bytes, WAVEFORMATEX** described) {
        wave->AttachMemoryImage(data, dataSize, format, 1);
        *bytes = dataSize;
        *described = format;
        return S_OK;
    };
    return MakeSample(m_pDirectSound, out, creationFlags, algorithm3D, bufferCount, attach, false);
}

HRESULT CSoundSystem::CreateStream(CSoundStream** out, const char* waveName, DWORD creationFlags, GUID algorithm3D,
                                   DWORD segmentCount, DWORD segmentSize, HANDLE event) {
    if (m_pDirectSound == nullptr) return CO_E_NOTINITIALIZED;
    if (waveName == nullptr || out == nullptr || event == nullptr) return E_INVALIDARG;
    // A buffer of no segments, or more bytes than 32 bits count, cannot be divided into segments.
    const uint64_t bufferBytes = static_cast<uint64_t>(segmentSize) * segmentCount;
    if (bufferBytes == 0 || bufferBytes > 0xFFFFFFFFu) return E_INVALIDARG;
    CRiffWaveFile* wave = new (std::nothrow) CRiffWaveFile();
    if (wave == nullptr) return E_OUTOFMEMORY;
    if (HRESULT hr = wave->OpenByName(waveName, nullptr, 1); FAILED(hr)) {
        delete wave;
        return hr;
    }
    IDirectSoundBuffer* buffer = nullptr;
    auto fail = [&](HRESULT hr) {
        if (buffer != nullptr) buffer->Release();
        delete wave;
        return hr;
    };
    DSBUFFERDESC desc = Description(creationFlags | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GETCURRENTPOSITION2,
                                    static_cast<DWORD>(bufferBytes), wave->m_pwfx, algorithm3D);
    if (HRESULT hr = m_pDirectSound->CreateSoundBuffer(&desc, &buffer, nullptr); FAILED(hr)) {
        buffer = nullptr;
        return fail(DSUTIL_TRACE("CreateSoundBuffer", hr));
    }
    IDirectSoundNotify* notify = nullptr;
    if (HRESULT hr = buffer->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)); FAILED(hr))
        return fail(DSUTIL_TRACE("QueryInterface", hr));
    DSBPOSITIONNOTIFY* positions = new (std::nothrow) DSBPOSITIONNOTIFY[segmentCount];
    if (positions == nullptr) {
        notify->Release();
        return fail(E_OUTOFMEMORY);
    }
    for (DWORD i = 0; i < segmentCount; ++i) {
        positions[i].dwOffset = segmentSize * i + segmentSize - 1;
        positions[i].hEventNotify = event;
    }
    if (HRESULT hr = notify->SetNotificationPositions(segmentCount, positions); FAILED(hr)) {
        notify->Release();
        delete[] positions;
        return fail(DSUTIL_TRACE("SetNotificationPositions", hr));
    }
    notify->Release();
    delete[] positions;
    CSoundStream* stream = new (std::nothrow) CSoundStream(buffer, static_cast<DWORD>(bufferBytes), wave, segmentSize);
    if (stream == nullptr) return fail(E_OUTOFMEMORY);
    if (stream->BufferAt(0) == nullptr) {
        delete stream;  // it gave back the buffer and the wave itself
        return E_OUTOFMEMORY;
    }
    *out = stream;
    return S_OK;
}
