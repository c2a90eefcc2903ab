// ID3DXBuffer: a block of bytes, zeroed when made.
#include <atomic>
#include <new>
#include <vector>

#include "d3dx9.h"

namespace {

class Buffer final : public ID3DXBuffer {
public:
    explicit Buffer(DWORD size) : bytes_(size, 0) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ID3DXBuffer)) {
            *ppv = static_cast<ID3DXBuffer*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    LPVOID GetBufferPointer() override { return bytes_.empty() ? static_cast<void*>(&empty_) : bytes_.data(); }
    DWORD GetBufferSize() override { return DWORD(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
    uint64_t empty_ = 0;  // what an empty buffer points at: never null
    std::atomic<ULONG> references_{1};
};

}  // namespace

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (!ppBuffer) return D3DERR_INVALIDCALL;
    try {
        *ppBuffer = new Buffer(NumBytes);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
