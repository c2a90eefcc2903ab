// A secondary buffer: its voice in the device's mixer, with the notification and 3D interfaces it
// hands out when its creation flags ask for them.
#pragma once

#include <memory>

#include "com/com_object.h"
#include "device_core.h"

namespace dsound {

class SoundBuffer final : public com::ComObject<IDirectSoundBuffer, IID_IDirectSoundBuffer> {
public:
    // A new buffer in a checked description's format, holding silence.
    SoundBuffer(std::shared_ptr<DeviceCore> device, const DSBUFFERDESC& desc);
    // A duplicate sharing the original's memory.
    SoundBuffer(std::shared_ptr<DeviceCore> device, const Voice& original);
    ~SoundBuffer() override;

    HRESULT GetCaps(LPDSBCAPS pDSBufferCaps) override;
    HRESULT GetCurrentPosition(LPDWORD pdwCurrentPlayCursor, LPDWORD pdwCurrentWriteCursor) override;
    HRESULT GetFormat(LPWAVEFORMATEX pwfxFormat, DWORD dwSizeAllocated, LPDWORD pdwSizeWritten) override;
    HRESULT GetVolume(LPLONG plVolume) override;
    HRESULT GetPan(LPLONG plPan) override;
    HRESULT GetFrequency(LPDWORD pdwFrequency) override;
    HRESULT GetStatus(LPDWORD pdwStatus) override;
    HRESULT Initialize(IDirectSound8* pDirectSound, LPCDSBUFFERDESC pcDSBufferDesc) override;
    HRESULT Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* ppvAudioPtr1, LPDWORD pdwAudioBytes1, LPVOID* ppvAudioPtr2,
                 LPDWORD pdwAudioBytes2, DWORD dwFlags) override;
    HRESULT Play(DWORD dwReserved1, DWORD dwPriority, DWORD dwFlags) override;
    HRESULT SetCurrentPosition(DWORD dwNewPosition) override;
    HRESULT SetFormat(LPCWAVEFORMATEX pcfxFormat) override;
    HRESULT SetVolume(LONG lVolume) override;
    HRESULT SetPan(LONG lPan) override;
    HRESULT SetFrequency(DWORD dwFrequency) override;
    HRESULT Stop() override;
    HRESULT Unlock(LPVOID pvAudioPtr1, DWORD dwAudioBytes1, LPVOID pvAudioPtr2, DWORD dwAudioBytes2) override;
    HRESULT Restore() override;

    // Under the device's mutex.
    HRESULT SetNotifications(DWORD count, LPCDSBPOSITIONNOTIFY positions);
    Voice& VoiceState() { return voice_; }
    DeviceCore& Device() { return *device_; }
    bool Duplicable() const { return (voice_.flags & DSBCAPS_CTRLFX) == 0; }

private:
    // Fails where the machine injects a failure; the notification and 3D interfaces are new objects.
    HRESULT Query(REFIID riid, void** ppvObject) override;
    DWORD WriteCursor() const;

    std::shared_ptr<DeviceCore> device_;
    Voice voice_;
};

// The buffer behind an interface pointer handed out by this layer, or null.
SoundBuffer* AsSoundBuffer(IDirectSoundBuffer* buffer);

// The notification and 3D interfaces of a buffer; each holds a reference to it.
IDirectSoundNotify* NewNotifyInterface(SoundBuffer* buffer);
IDirectSound3DBuffer* New3DBufferInterface(SoundBuffer* buffer);

}  // namespace dsound
