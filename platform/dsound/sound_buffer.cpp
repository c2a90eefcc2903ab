// Secondary buffers: locks (two parts at the wrap), play state and cursors, volume, pan and
// frequency within the controls their flags asked for, and loss and restore.
#include "sound_buffer.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>

#include "machine/audio.h"
#include "machine/failures.h"
#include "machine/machine.h"

namespace dsound {
namespace {

// A platform call made to fail: a failure code answers at once; a success code lets the call do its
// work and answers that code.
#define INJECTED(name)                                                                         \
    std::optional<HRESULT> injected;                                                           \
    if (auto code = machine::InjectedFailure(name)) {                                          \
        if (static_cast<HRESULT>(*code) < 0) return static_cast<HRESULT>(*code);               \
        injected = static_cast<HRESULT>(*code);                                                \
    }
#define ANSWER(result) (injected ? *injected : (result))

uint8_t SilenceByte(const WAVEFORMATEX& f) { return f.wBitsPerSample == 8 ? 0x80 : 0x00; }

}  // namespace

SoundBuffer* AsSoundBuffer(IDirectSoundBuffer* buffer) { return dynamic_cast<SoundBuffer*>(buffer); }

SoundBuffer::SoundBuffer(std::shared_ptr<DeviceCore> device, const DSBUFFERDESC& desc) : device_(std::move(device)) {
    voice_.memory = std::make_shared<SampleMemory>();
    voice_.format = *desc.lpwfxFormat;
    voice_.format.cbSize = 0;
    voice_.flags = desc.dwFlags;
    voice_.size = desc.dwBufferBytes;
    voice_.memory->bytes.assign(desc.dwBufferBytes, SilenceByte(voice_.format));
    voice_.params3d.dwSize = sizeof(DS3DBUFFER);
    voice_.params3d.dwInsideConeAngle = voice_.params3d.dwOutsideConeAngle = 360;
    voice_.params3d.vConeOrientation = {0, 0, 1};
    voice_.params3d.flMinDistance = 1.0f;
    voice_.params3d.flMaxDistance = 1e9f;
    std::lock_guard lock(device_->mutex);
    device_->voices.push_back(&voice_);
    machine::NoteObjectCreated("sound buffer");
}

SoundBuffer::SoundBuffer(std::shared_ptr<DeviceCore> device, const Voice& original) : device_(std::move(device)) {
    voice_.memory = original.memory;
    voice_.format = original.format;
    voice_.flags = original.flags;
    voice_.size = original.size;
    voice_.frequency = original.frequency;
    voice_.volume = original.volume;
    voice_.pan = original.pan;
    voice_.restoredLoss = original.restoredLoss;
    voice_.params3d = original.params3d;
    // The caller holds the device's mutex.
    device_->voices.push_back(&voice_);
    machine::NoteObjectCreated("sound buffer");
}

SoundBuffer::~SoundBuffer() {
    std::lock_guard lock(device_->mutex);
    auto& voices = device_->voices;
    voices.erase(std::remove(voices.begin(), voices.end(), &voice_), voices.end());
    machine::NoteObjectReleased("sound buffer");
}

HRESULT SoundBuffer::Query(REFIID riid, void** ppvObject) {
    if (auto code = machine::InjectedFailure("IDirectSoundBuffer::QueryInterface")) return static_cast<HRESULT>(*code);
    if (riid == IID_IDirectSoundNotify && (voice_.flags & DSBCAPS_CTRLPOSITIONNOTIFY)) {
        *ppvObject = NewNotifyInterface(this);
        return S_OK;
    }
    if (riid == IID_IDirectSound3DBuffer && (voice_.flags & DSBCAPS_CTRL3D)) {
        *ppvObject = New3DBufferInterface(this);
        return S_OK;
    }
    return ComObject::Query(riid, ppvObject);
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    std::lock_guard lock(device_->mutex);
    caps->dwFlags = voice_.flags | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = voice_.size;
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

DWORD SoundBuffer::WriteCursor() const {
    // Writing is safe 10 ms ahead of a playing cursor.
    const DWORD play = voice_.PlayCursor();
    if (!voice_.playing) return play;
    const DWORD rate = voice_.frequency != DSBFREQUENCY_ORIGINAL ? voice_.frequency : voice_.format.nSamplesPerSec;
    const DWORD ahead = std::max<DWORD>(1, rate / 100) * voice_.format.nBlockAlign;
    return static_cast<DWORD>((static_cast<uint64_t>(play) + ahead) % voice_.size);
}

HRESULT SoundBuffer::GetCurrentPosition(LPDWORD play, LPDWORD write) {
    if (play == nullptr && write == nullptr) return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::GetCurrentPosition");
    std::lock_guard lock(device_->mutex);
    if (play) *play = voice_.PlayCursor();
    if (write) *write = WriteCursor();
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD allocated, LPDWORD written) {
    if (format == nullptr && written == nullptr) return DSERR_INVALIDPARAM;
    if (format == nullptr) {
        *written = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    std::lock_guard lock(device_->mutex);
    const DWORD n = std::min<DWORD>(allocated, sizeof(WAVEFORMATEX));
    std::memcpy(format, &voice_.format, n);
    if (written) *written = n;
    return DS_OK;
}

HRESULT SoundBuffer::GetVolume(LPLONG volume) {
    if (volume == nullptr) return DSERR_INVALIDPARAM;
    if (!(voice_.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    std::lock_guard lock(device_->mutex);
    *volume = voice_.volume;
    return DS_OK;
}

HRESULT SoundBuffer::GetPan(LPLONG pan) {
    if (pan == nullptr) return DSERR_INVALIDPARAM;
    if (!(voice_.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    std::lock_guard lock(device_->mutex);
    *pan = voice_.pan;
    return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(LPDWORD frequency) {
    if (frequency == nullptr) return DSERR_INVALIDPARAM;
    if (!(voice_.flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    std::lock_guard lock(device_->mutex);
    *frequency = voice_.frequency != DSBFREQUENCY_ORIGINAL ? voice_.frequency : voice_.format.nSamplesPerSec;
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::GetStatus");
    std::lock_guard lock(device_->mutex);
    *status = (voice_.playing ? DSBSTATUS_PLAYING : 0) | (voice_.playing && voice_.looping ? DSBSTATUS_LOOPING : 0) |
              (voice_.Lost() ? DSBSTATUS_BUFFERLOST : 0);
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::Initialize(IDirectSound8*, LPCDSBUFFERDESC) { return DSERR_ALREADYINITIALIZED; }

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2, DWORD flags) {
    if (p1 == nullptr || n1 == nullptr) return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::Lock");
    std::lock_guard lock(device_->mutex);
    if (voice_.Lost()) return DSERR_BUFFERLOST;
    if (flags & DSBLOCK_FROMWRITECURSOR) offset = WriteCursor();
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = voice_.size;
    if (offset >= voice_.size || bytes == 0 || bytes > voice_.size) return DSERR_INVALIDPARAM;
    uint8_t* memory = voice_.memory->bytes.data();
    Voice::LockedPart part{memory + offset, bytes, nullptr, 0};
    if (static_cast<uint64_t>(offset) + bytes > voice_.size) {
        // The range runs past the end: its second part is at the start of the buffer.
        if (p2 == nullptr || n2 == nullptr) return DSERR_INVALIDPARAM;
        part.n1 = voice_.size - offset;
        part.p2 = memory;
        part.n2 = bytes - part.n1;
    }
    *p1 = part.p1;
    *n1 = part.n1;
    if (p2) *p2 = part.p2;
    if (n2) *n2 = part.n2;
    voice_.locks.push_back(part);
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::Unlock(LPVOID p1, DWORD n1, LPVOID p2, DWORD n2) {
    INJECTED("IDirectSoundBuffer::Unlock");
    std::lock_guard lock(device_->mutex);
    auto& locks = voice_.locks;
    auto found = std::find_if(locks.begin(), locks.end(), [&](const Voice::LockedPart& l) {
        return l.p1 == p1 && n1 <= l.n1 && (p2 == nullptr ? n2 == 0 : (l.p2 == p2 && n2 <= l.n2));
    });
    if (found == locks.end()) return DSERR_INVALIDPARAM;
    locks.erase(found);
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0) return DSERR_INVALIDPARAM;
    if (priority != 0 && !(voice_.flags & DSBCAPS_LOCDEFER)) return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::Play");
    bool started = false;
    {
        std::lock_guard lock(device_->mutex);
        if (voice_.Lost()) return DSERR_BUFFERLOST;
        // A buffer already playing goes on from where it is.
        started = !voice_.playing;
        voice_.playing = true;
        voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
    }
    if (started) machine::NoteAudioPlayStarted();
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
    INJECTED("IDirectSoundBuffer::SetCurrentPosition");
    std::lock_guard lock(device_->mutex);
    if (position >= voice_.size) return DSERR_INVALIDPARAM;
    voice_.position = static_cast<uint64_t>(position / voice_.format.nBlockAlign) << 32;
    return ANSWER(DS_OK);
}

// A secondary buffer's format is fixed at its creation.
HRESULT SoundBuffer::SetFormat(LPCWAVEFORMATEX) { return DSERR_INVALIDCALL; }

HRESULT SoundBuffer::SetVolume(LONG volume) {
    if (!(voice_.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::SetVolume");
    std::lock_guard lock(device_->mutex);
    voice_.volume = volume;
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::SetPan(LONG pan) {
    if (!(voice_.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::SetPan");
    std::lock_guard lock(device_->mutex);
    voice_.pan = pan;
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::SetFrequency(DWORD frequency) {
    if (!(voice_.flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (frequency != DSBFREQUENCY_ORIGINAL && (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX))
        return DSERR_INVALIDPARAM;
    INJECTED("IDirectSoundBuffer::SetFrequency");
    std::lock_guard lock(device_->mutex);
    voice_.frequency = frequency;
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::Stop() {
    INJECTED("IDirectSoundBuffer::Stop");
    std::lock_guard lock(device_->mutex);
    voice_.playing = false;  // the cursor stays where it is
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::Restore() {
    INJECTED("IDirectSoundBuffer::Restore");
    std::lock_guard lock(device_->mutex);
    SampleMemory& memory = *voice_.memory;
    if (voice_.Lost()) {
        if (memory.scrambledFor != memory.lossCount) {
            // The memory comes back without its contents: a recognisable pattern, not the old sound.
            for (size_t i = 0; i < memory.bytes.size(); ++i) memory.bytes[i] = static_cast<uint8_t>(i & 1 ? 0x5A : 0xA5);
            memory.scrambledFor = memory.lossCount;
        }
        voice_.restoredLoss = memory.lossCount;
        voice_.locks.clear();
    }
    return ANSWER(DS_OK);
}

HRESULT SoundBuffer::SetNotifications(DWORD count, LPCDSBPOSITIONNOTIFY positions) {
    if (count > 0 && positions == nullptr) return DSERR_INVALIDPARAM;
    if (voice_.playing) return DSERR_INVALIDCALL;
    std::vector<DSBPOSITIONNOTIFY> copy(positions, positions + count);
    for (const DSBPOSITIONNOTIFY& n : copy)
        if (n.dwOffset >= voice_.size || n.hEventNotify == nullptr) return DSERR_INVALIDPARAM;
    std::sort(copy.begin(), copy.end(), [](auto& a, auto& b) { return a.dwOffset < b.dwOffset; });
    voice_.notifications = std::move(copy);
    return DS_OK;
}

}  // namespace dsound
