// IDirectSound8 and DirectSoundCreate8: the cooperative level, buffer creation with the checks of
// every description, duplicates that share their original's memory, and the device's caps.
#include <memory>

#include "com/com_object.h"
#include "device_core.h"
#include "machine/failures.h"
#include "machine/machine.h"
#include "primary_buffer.h"
#include "sound_buffer.h"
#include "wave_formats.h"

namespace dsound {
namespace {

constexpr DWORD kPrimaryFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN |
                                DSBCAPS_STICKYFOCUS | DSBCAPS_GLOBALFOCUS | DSBCAPS_LOCSOFTWARE | DSBCAPS_LOCHARDWARE;

// Whether a secondary buffer's description is one the layer makes; sets the success code to answer.
HRESULT CheckSecondary(const DSBUFFERDESC& desc, HRESULT& success) {
    if (HRESULT f = CheckFormat(desc.lpwfxFormat); f != DS_OK) return f;
    if (desc.dwBufferBytes < DSBSIZE_MIN || desc.dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    if (desc.dwBufferBytes < desc.lpwfxFormat->nBlockAlign) return DSERR_INVALIDPARAM;
    if ((desc.dwFlags & DSBCAPS_LOCHARDWARE) && (desc.dwFlags & DSBCAPS_LOCSOFTWARE)) return DSERR_INVALIDPARAM;
    success = DS_OK;
    if (desc.dwFlags & DSBCAPS_CTRL3D) {
        if (desc.lpwfxFormat->nChannels != 1) return DSERR_INVALIDPARAM;  // 3D sounds are mono
        const GUID& algorithm = desc.guid3DAlgorithm;
        if (algorithm == DS3DALG_HRTF_FULL || algorithm == DS3DALG_HRTF_LIGHT) success = DS_NO_VIRTUALIZATION;
        else if (!(algorithm == GUID_NULL || algorithm == DS3DALG_NO_VIRTUALIZATION)) return DSERR_INVALIDPARAM;
    } else if (!(desc.guid3DAlgorithm == GUID_NULL)) {
        return DSERR_INVALIDPARAM;
    }
    return DS_OK;
}

class DirectSound final : public com::ComObject<IDirectSound8, IID_IDirectSound, IID_IDirectSound8> {
public:
    explicit DirectSound(std::shared_ptr<DeviceCore> device) : device_(std::move(device)) {
        machine::NoteObjectCreated("directsound");
    }
    ~DirectSound() override { machine::NoteObjectReleased("directsound"); }

    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* out, LPUNKNOWN outer) override {
        if (out == nullptr) return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (outer != nullptr) return DSERR_NOAGGREGATION;
        if (desc == nullptr || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
        std::optional<HRESULT> forced;
        if (auto code = machine::InjectedFailure("IDirectSound8::CreateSoundBuffer")) {
            if (static_cast<HRESULT>(*code) < 0) return static_cast<HRESULT>(*code);
            forced = static_cast<HRESULT>(*code);
        }
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr || (desc->dwFlags & ~kPrimaryFlags) ||
                !(desc->guid3DAlgorithm == GUID_NULL))
                return DSERR_INVALIDPARAM;
            *out = NewPrimaryBuffer(device_, desc->dwFlags);
            return forced.value_or(DS_OK);
        }
        HRESULT success = DS_OK;
        if (HRESULT check = CheckSecondary(*desc, success); check != DS_OK) return check;
        if (machine::InjectedFailure("alloc:dsound")) return DSERR_OUTOFMEMORY;
        *out = new SoundBuffer(device_, *desc);
        return forced.value_or(success);
    }

    HRESULT GetCaps(LPDSCAPS caps) override {
        if (caps == nullptr || caps->dwSize != sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
        const DWORD size = caps->dwSize;
        *caps = DSCAPS{};
        caps->dwSize = size;
        caps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT | DSCAPS_PRIMARY16BIT |
                        DSCAPS_CONTINUOUSRATE | DSCAPS_EMULDRIVER | DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO |
                        DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
        caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
        caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
        caps->dwPrimaryBuffers = 1;
        return DS_OK;
    }

    HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* out) override {
        if (out == nullptr) return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (auto code = machine::InjectedFailure("IDirectSound8::DuplicateSoundBuffer")) return static_cast<HRESULT>(*code);
        SoundBuffer* source = original ? AsSoundBuffer(original) : nullptr;
        if (source == nullptr) return original ? DSERR_INVALIDCALL : DSERR_INVALIDPARAM;  // primary or none
        if (!source->Duplicable()) return DSERR_INVALIDCALL;
        if (&source->Device() != device_.get()) return DSERR_INVALIDCALL;
        std::lock_guard lock(device_->mutex);
        *out = new SoundBuffer(device_, source->VoiceState());
        return DS_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        if (auto code = machine::InjectedFailure("IDirectSound8::SetCooperativeLevel")) return static_cast<HRESULT>(*code);
        if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        device_->window = window;
        device_->cooperativeLevel = level;
        return DS_OK;
    }

    HRESULT Compact() override {
        std::lock_guard lock(device_->mutex);
        return device_->cooperativeLevel >= DSSCL_PRIORITY ? DS_OK : DSERR_PRIOLEVELNEEDED;
    }
    HRESULT GetSpeakerConfig(LPDWORD config) override {
        if (config == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard lock(device_->mutex);
        *config = device_->speakerConfig;
        return DS_OK;
    }
    HRESULT SetSpeakerConfig(DWORD config) override {
        std::lock_guard lock(device_->mutex);
        device_->speakerConfig = config;
        return DS_OK;
    }
    HRESULT Initialize(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }
    HRESULT VerifyCertification(LPDWORD certified) override {
        if (certified == nullptr) return DSERR_INVALIDPARAM;
        *certified = 1;  // DS_UNCERTIFIED: a software device
        return DS_OK;
    }

private:
    std::shared_ptr<DeviceCore> device_;
};

}  // namespace
}  // namespace dsound

HRESULT WINAPI DirectSoundCreate8(LPCGUID pcGuidDevice, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter) {
    if (ppDS8 == nullptr) return DSERR_INVALIDPARAM;
    *ppDS8 = nullptr;
    if (pUnkOuter != nullptr) return DSERR_NOAGGREGATION;
    if (pcGuidDevice != nullptr && !(*pcGuidDevice == GUID_NULL)) return DSERR_NODRIVER;
    if (auto code = machine::InjectedFailure("DirectSoundCreate8")) return static_cast<HRESULT>(*code);
    auto device = std::make_shared<dsound::DeviceCore>();
    device->OpenOutput();
    *ppDS8 = new dsound::DirectSound(std::move(device));
    return DS_OK;
}
