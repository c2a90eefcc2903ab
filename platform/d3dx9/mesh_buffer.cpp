// ID3DXBuffer: a block of bytes, zeroed when made.
#include <new>
#include <vector>

#include "com/com_object.h"
#include "d3dx9.h"

namespace {

class Buffer final : public com::ComObject<ID3DXBuffer, IID_ID3DXBuffer> {
public:
    explicit Buffer(DWORD size) : bytes_(size, 0) {}

    LPVOID GetBufferPointer() override { return bytes_.empty() ? static_cast<void*>(&empty_) : bytes_.data(); }
    DWORD GetBufferSize() override { return DWORD(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
    uint64_t empty_ = 0;  // what an empty buffer points at: never null
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
