// Vertex and index buffers: bytes in memory with the platform's description and locks. Their contents
// stay across locks and, for the managed pool, across Reset.
#pragma once

#include <type_traits>
#include <vector>

#include "child_object.h"
#include "com/com_object.h"

namespace d3d9 {

// The id a vertex or an index buffer answers besides its resource's.
template <typename Interface>
constexpr const IID& kBufferId = std::is_same_v<Interface, IDirect3DVertexBuffer9> ? IID_IDirect3DVertexBuffer9
                                                                                   : IID_IDirect3DIndexBuffer9;

template <typename Interface, typename Desc>
class Buffer final : public com::InterfaceList<Interface, IID_IDirect3DResource9, kBufferId<Interface>>,
                     public ChildObject {
public:
    Buffer(Device* device, const Desc& desc) : ChildObject(device, desc.Pool, false), desc_(desc), bytes_(desc.Size) {}

    ULONG AddRef() override { return AddChildReference(); }
    ULONG Release() override { return ReleaseChildReference(); }

    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
    DWORD SetPriority(DWORD PriorityNew) override {
        DWORD previous = priority_;
        priority_ = PriorityNew;
        return previous;
    }
    DWORD GetPriority() override { return priority_; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return desc_.Type; }

    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(Desc* pDesc) override;

    const Desc& Description() const { return desc_; }
    const uint8_t* Bytes() const { return bytes_.data(); }
    bool Locked() const { return locks_ > 0; }

private:
    ~Buffer() override = default;

    Desc desc_;
    std::vector<uint8_t> bytes_;
    unsigned locks_ = 0;
    DWORD priority_ = 0;
};

using VertexBuffer = Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using IndexBuffer = Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

}  // namespace d3d9
