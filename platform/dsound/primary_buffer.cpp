#include "primary_buffer.h"

#include <algorithm>
#include <cstring>

#include "com/com_object.h"
#include "machine/failures.h"
#include "machine/machine.h"
#include "wave_formats.h"

namespace dsound {
namespace {

class Listener final : public com::ComObject<IDirectSound3DListener, IID_IDirectSound3DListener> {
public:
    Listener(std::shared_ptr<DeviceCore> device) : device_(std::move(device)) {}
    HRESULT GetAllParameters(LPDS3DLISTENER p) override {
        if (p == nullptr || p->dwSize != sizeof(DS3DLISTENER)) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        *p = device_->listener;
        return DS_OK;
    }
    HRESULT GetPosition(D3DVECTOR* v) override {
        if (v == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        *v = device_->listener.vPosition;
        return DS_OK;
    }
    HRESULT SetAllParameters(LPCDS3DLISTENER p, DWORD apply) override {
        if (p == nullptr || p->dwSize != sizeof(DS3DLISTENER) || apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        device_->listener = *p;
        return DS_OK;
    }
    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override {
        if (apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        device_->listener.vPosition = {x, y, z};
        return DS_OK;
    }
    // Settings apply at once here, so there is nothing deferred to commit.
    HRESULT CommitDeferredSettings() override { return DS_OK; }

private:
    std::shared_ptr<DeviceCore> device_;
};

class PrimaryBuffer final : public com::ComObject<IDirectSoundBuffer, IID_IDirectSoundBuffer> {
public:
    PrimaryBuffer(std::shared_ptr<DeviceCore> device, DWORD flags) : device_(std::move(device)), flags_(flags) {
        machine::NoteObjectCreated("sound buffer");
    }
    ~PrimaryBuffer() override { machine::NoteObjectReleased("sound buffer"); }

    HRESULT GetCaps(LPDSBCAPS caps) override {
        if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
        // A tenth of a second of output, the mixer's block.
        caps->dwBufferBytes = device_->primaryFormat.nAvgBytesPerSec / 10;
        caps->dwUnlockTransferRate = caps->dwPlayCpuOverhead = 0;
        return DS_OK;
    }
    HRESULT GetCurrentPosition(LPDWORD play, LPDWORD write) override {
        if (play == nullptr && write == nullptr) return DSERR_INVALIDPARAM;
        if (play) *play = 0;
        if (write) *write = 0;
        return DS_OK;
    }
    HRESULT GetFormat(LPWAVEFORMATEX format, DWORD allocated, LPDWORD written) override {
        if (format == nullptr && written == nullptr) return DSERR_INVALIDPARAM;
        if (format == nullptr) {
            *written = sizeof(WAVEFORMATEX);
            return DS_OK;
        }
        std::lock_guard lock(device_->mutex);
        const DWORD n = std::min<DWORD>(allocated, sizeof(WAVEFORMATEX));
        std::memcpy(format, &device_->primaryFormat, n);
        if (written) *written = n;
        return DS_OK;
    }
    HRESULT GetVolume(LPLONG volume) override {
        if (volume == nullptr) return DSERR_INVALIDPARAM;
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        std::lock_guard lock(device_->mutex);
        *volume = device_->masterVolume;
        return DS_OK;
    }
    HRESULT GetPan(LPLONG pan) override {
        if (pan == nullptr) return DSERR_INVALIDPARAM;
        if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        std::lock_guard lock(device_->mutex);
        *pan = device_->masterPan;
        return DS_OK;
    }
    HRESULT GetFrequency(LPDWORD) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT GetStatus(LPDWORD status) override {
        if (status == nullptr) return DSERR_INVALIDPARAM;
        // The device mixes all the time.
        *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
        return DS_OK;
    }
    HRESULT Initialize(IDirectSound8*, LPCDSBUFFERDESC) override { return DSERR_ALREADYINITIALIZED; }
    // The program writes into secondary buffers only; the layer does not offer the write-primary level.
    HRESULT Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override { return DSERR_PRIOLEVELNEEDED; }
    HRESULT Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override {
        if (reserved != 0 || priority != 0 || !(flags & DSBPLAY_LOOPING)) return DSERR_INVALIDPARAM;
        return DS_OK;
    }
    HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT SetFormat(LPCWAVEFORMATEX format) override {
        if (auto code = machine::InjectedFailure("IDirectSoundBuffer::SetFormat")) return static_cast<HRESULT>(*code);
        if (HRESULT check = CheckFormat(format); check != DS_OK) return check;
        WAVEFORMATEX copy = *format;
        copy.cbSize = 0;
        copy.nAvgBytesPerSec = copy.nBlockAlign * copy.nSamplesPerSec;
        {
            std::lock_guard lock(device_->mutex);
            if (device_->cooperativeLevel < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
            device_->primaryFormat = copy;
        }
        device_->ApplyPrimaryFormat(copy);
        return DS_OK;
    }
    HRESULT SetVolume(LONG volume) override {
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        device_->masterVolume = volume;
        return DS_OK;
    }
    HRESULT SetPan(LONG pan) override {
        if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        device_->masterPan = pan;
        return DS_OK;
    }
    HRESULT SetFrequency(DWORD) override { return DSERR_CONTROLUNAVAIL; }
    HRESULT Stop() override { return DS_OK; }
    HRESULT Restore() override { return DS_OK; }

private:
    // Fails where the machine injects a failure; the 3D listener is a new object.
    HRESULT Query(REFIID riid, void** ppvObject) override {
        if (auto code = machine::InjectedFailure("IDirectSoundBuffer::QueryInterface"))
            return static_cast<HRESULT>(*code);
        if (riid == IID_IDirectSound3DListener && (flags_ & DSBCAPS_CTRL3D)) {
            *ppvObject = static_cast<IDirectSound3DListener*>(new Listener(device_));
            return S_OK;
        }
        return ComObject::Query(riid, ppvObject);
    }

    std::shared_ptr<DeviceCore> device_;
    const DWORD flags_;
};

}  // namespace

IDirectSoundBuffer* NewPrimaryBuffer(std::shared_ptr<DeviceCore> device, DWORD flags) {
    return new PrimaryBuffer(std::move(device), flags);
}

}  // namespace dsound
