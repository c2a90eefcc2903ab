// The notification and 3D-buffer interfaces of a secondary buffer. Each holds a reference to its
// buffer; positions and parameters are copied into the buffer, so they outlive the interface.
#include "machine/failures.h"
#include "sound_buffer.h"

namespace dsound {
namespace {

template <class Interface, const IID& Iid>
class BufferPart : public com::ComObject<Interface, Iid> {
public:
    explicit BufferPart(SoundBuffer* buffer) : buffer_(buffer) { buffer_->AddRef(); }
    ~BufferPart() override { buffer_->Release(); }

protected:
    // Other ids are the buffer's to answer.
    HRESULT Query(REFIID riid, void** ppvObject) override {
        if (this->Answers(riid)) return com::ComObject<Interface, Iid>::Query(riid, ppvObject);
        return buffer_->QueryInterface(riid, ppvObject);
    }

    SoundBuffer* buffer_;
};

class Notify final : public BufferPart<IDirectSoundNotify, IID_IDirectSoundNotify> {
public:
    using BufferPart::BufferPart;
    HRESULT SetNotificationPositions(DWORD count, LPCDSBPOSITIONNOTIFY positions) override {
        if (auto code = machine::InjectedFailure("IDirectSoundNotify::SetNotificationPositions"))
            return static_cast<HRESULT>(*code);
        std::lock_guard lock(buffer_->Device().mutex);
        return buffer_->SetNotifications(count, positions);
    }
};

class Buffer3D final : public BufferPart<IDirectSound3DBuffer, IID_IDirectSound3DBuffer> {
public:
    using BufferPart::BufferPart;
    HRESULT GetAllParameters(LPDS3DBUFFER p) override {
        if (p == nullptr || p->dwSize != sizeof(DS3DBUFFER)) return DSERR_INVALIDPARAM;
        std::lock_guard lock(buffer_->Device().mutex);
        *p = buffer_->VoiceState().params3d;
        return DS_OK;
    }
    HRESULT GetPosition(D3DVECTOR* v) override {
        if (v == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard lock(buffer_->Device().mutex);
        *v = buffer_->VoiceState().params3d.vPosition;
        return DS_OK;
    }
    HRESULT GetMode(LPDWORD mode) override {
        if (mode == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard lock(buffer_->Device().mutex);
        *mode = buffer_->VoiceState().params3d.dwMode;
        return DS_OK;
    }
    HRESULT SetAllParameters(LPCDS3DBUFFER p, DWORD apply) override {
        if (p == nullptr || p->dwSize != sizeof(DS3DBUFFER) || apply > DS3D_DEFERRED || p->dwMode > DS3DMODE_DISABLE)
            return DSERR_INVALIDPARAM;
        if (auto code = machine::InjectedFailure("IDirectSound3DBuffer::SetAllParameters"))
            return static_cast<HRESULT>(*code);
        std::lock_guard lock(buffer_->Device().mutex);
        buffer_->VoiceState().params3d = *p;
        return DS_OK;
    }
    HRESULT SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override {
        if (apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
        std::lock_guard lock(buffer_->Device().mutex);
        buffer_->VoiceState().params3d.vPosition = {x, y, z};
        return DS_OK;
    }
    HRESULT SetMode(DWORD mode, DWORD apply) override {
        if (mode > DS3DMODE_DISABLE || apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
        std::lock_guard lock(buffer_->Device().mutex);
        buffer_->VoiceState().params3d.dwMode = mode;
        return DS_OK;
    }
};

}  // namespace

IDirectSoundNotify* NewNotifyInterface(SoundBuffer* buffer) { return new Notify(buffer); }
IDirectSound3DBuffer* New3DBufferInterface(SoundBuffer* buffer) { return new Buffer3D(buffer); }

}  // namespace dsound
