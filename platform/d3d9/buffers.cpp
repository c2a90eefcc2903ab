#include "buffers.h"

#include <algorithm>
#include <type_traits>

#include "device.h"
#include "machine/failures.h"

namespace d3d9 {

template <typename Interface, typename Desc>
HRESULT Buffer<Interface, Desc>::GetDevice(IDirect3DDevice9** ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    OwnerDevice()->AddRef();
    *ppDevice = OwnerDevice();
    return D3D_OK;
}

// Offset and size 0 lock the whole buffer; size 0 with an offset locks from there to the end.
template <typename Interface, typename Desc>
HRESULT Buffer<Interface, Desc>::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) {
    if (!ppbData) return D3DERR_INVALIDCALL;
    *ppbData = nullptr;
    constexpr const char* call = std::is_same_v<Interface, IDirect3DVertexBuffer9> ? "IDirect3DVertexBuffer9::Lock"
                                                                                   : "IDirect3DIndexBuffer9::Lock";
    if (auto code = machine::InjectedFailure(call)) return static_cast<HRESULT>(*code);
    const uint64_t end = uint64_t(OffsetToLock) + (SizeToLock ? SizeToLock : desc_.Size - std::min(OffsetToLock, desc_.Size));
    if (OffsetToLock >= desc_.Size || end > desc_.Size) return D3DERR_INVALIDCALL;
    ++locks_;
    *ppbData = bytes_.data() + OffsetToLock;
    return D3D_OK;
}

template <typename Interface, typename Desc>
HRESULT Buffer<Interface, Desc>::Unlock() {
    if (locks_ == 0) return D3DERR_INVALIDCALL;
    --locks_;
    return D3D_OK;
}

template <typename Interface, typename Desc>
HRESULT Buffer<Interface, Desc>::GetDesc(Desc* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    return D3D_OK;
}

template class Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
template class Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

}  // namespace d3d9
