// Textures on stages, vertex buffers on streams, the index buffer: bindings hold no reference, but keep
// a released object's memory until it is unbound (child_object.h). Getters hand out a reference.
#include "call_log.h"
#include "child_object.h"
#include "device.h"

namespace d3d9 {

namespace {

// The device's own child behind an interface, or null for a foreign object.
ChildObject* ChildOf(IUnknown* object, const Device* device) {
    auto* child = object ? dynamic_cast<ChildObject*>(object) : nullptr;
    return child && child->OwnerDevice() == device ? child : nullptr;
}

template <typename T>
void Rebind(T*& slot, T* object, const Device* device) {
    if (ChildObject* child = ChildOf(object, device)) child->Bind();
    if (ChildObject* old = ChildOf(slot, device)) old->Unbind();
    slot = object;
}

template <typename T>
void HandOut(T* object, T** out) {
    if (object) object->AddRef();
    *out = object;
}

}  // namespace

HRESULT Device::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
    LogCall("SetTexture", Stage, static_cast<const void*>(pTexture));
    const int slot = SamplerSlot(Stage);
    if (slot < 0 || (pTexture && !ChildOf(pTexture, this))) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        auto [it, added] = r->textures.emplace(Stage, nullptr);
        Rebind(it->second, pTexture, this);
    } else if (state_.textures[size_t(slot)] != pTexture) {
        Rebind(state_.textures[size_t(slot)], pTexture, this);
        MarkDirty(kPixelStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) {
    LogCall("GetTexture", Stage);
    const int slot = SamplerSlot(Stage);
    if (!ppTexture || slot < 0) return D3DERR_INVALIDCALL;
    HandOut(state_.textures[size_t(slot)], ppTexture);
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                                UINT Stride) {
    LogCall("SetStreamSource", StreamNumber, static_cast<const void*>(pStreamData), OffsetInBytes, Stride);
    if (StreamNumber >= kStreams || (pStreamData && !ChildOf(pStreamData, this))) return D3DERR_INVALIDCALL;
    StateRecord* r = Recording();
    StreamBinding& stream = r ? r->streams[StreamNumber] : state_.streams[StreamNumber];
    Rebind(stream.buffer, pStreamData, this);
    stream.offset = OffsetInBytes;
    stream.stride = Stride;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* pOffsetInBytes,
                                UINT* pStride) {
    LogCall("GetStreamSource", StreamNumber);
    if (StreamNumber >= kStreams || !ppStreamData || !pOffsetInBytes || !pStride) return D3DERR_INVALIDCALL;
    const StreamBinding& stream = state_.streams[StreamNumber];
    HandOut(stream.buffer, ppStreamData);
    *pOffsetInBytes = stream.offset;
    *pStride = stream.stride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* pIndexData) {
    LogCall("SetIndices", static_cast<const void*>(pIndexData));
    if (pIndexData && !ChildOf(pIndexData, this)) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        if (!r->indices) r->indices = nullptr;
        Rebind(*r->indices, pIndexData, this);
    } else {
        Rebind(state_.indices, pIndexData, this);
    }
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** ppIndexData) {
    LogCall("GetIndices");
    if (!ppIndexData) return D3DERR_INVALIDCALL;
    HandOut(state_.indices, ppIndexData);
    return D3D_OK;
}

}  // namespace d3d9
