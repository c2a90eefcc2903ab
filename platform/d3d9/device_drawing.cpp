// The draw calls: the front end checks the call against the bound buffers, turns the device's state into
// the pipeline's and hands the draw over. Draws belong inside BeginScene / EndScene; fixed function only.
#include <cstdint>
#include <optional>
#include <string>

#include "buffers.h"
#include "call_log.h"
#include "child_object.h"
#include "device.h"
#include "draw_stats.h"
#include "machine/machine.h"
#include "machine/failures.h"
#include "pipeline/pipeline.h"
#include "pipeline_state.h"
#include "surface.h"
#include "texture.h"
#include "vertex_input.h"

namespace d3d9 {

namespace {

std::optional<pipeline::PrimitiveType> TypeOf(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST: return pipeline::PrimitiveType::PointList;
    case D3DPT_LINELIST: return pipeline::PrimitiveType::LineList;
    case D3DPT_LINESTRIP: return pipeline::PrimitiveType::LineStrip;
    case D3DPT_TRIANGLELIST: return pipeline::PrimitiveType::TriangleList;
    case D3DPT_TRIANGLESTRIP: return pipeline::PrimitiveType::TriangleStrip;
    case D3DPT_TRIANGLEFAN: return pipeline::PrimitiveType::TriangleFan;
    default: return std::nullopt;
    }
}

// The primitive type of a call and the vertices (or indices) its primitives take; none when either
// is not valid.
bool Prepare(D3DPRIMITIVETYPE type, UINT primitives, pipeline::DrawCall& call, uint64_t& elements) {
    auto t = TypeOf(type);
    if (!t || primitives == 0 || primitives > UINT(pipeline::kMaxPrimitiveCount)) return false;
    call.type = *t;
    call.primitiveCount = static_cast<int>(primitives);
    elements = static_cast<uint64_t>(pipeline::ElementsFor(*t, call.primitiveCount));
    return true;
}

std::optional<pipeline::IndexSize> IndexSizeOf(D3DFORMAT format) {
    if (format == D3DFMT_INDEX16) return pipeline::IndexSize::Bits16;
    if (format == D3DFMT_INDEX32) return pipeline::IndexSize::Bits32;
    return std::nullopt;
}

UINT IndexBytes(pipeline::IndexSize size) { return size == pipeline::IndexSize::Bits32 ? 4 : 2; }

// The draw as the report lists it, with the textures of the fixed-function stages up to the last one bound.
DrawRecord RecordOf(D3DPRIMITIVETYPE type, uint64_t primitives, const DeviceState& state) {
    DrawRecord record;
    record.type = type;
    record.primitives = primitives;
    record.fvf = state.fvf;
    for (size_t stage = 0; stage < record.textures.size(); ++stage) {
        auto* texture = state.textures[stage] ? dynamic_cast<Texture*>(state.textures[stage]) : nullptr;
        D3DSURFACE_DESC desc{};
        if (!texture || FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width == 0) continue;
        record.textures[stage] = {desc.Width, desc.Height, desc.Format};
        record.textureCount = stage + 1;
    }
    return record;
}

}  // namespace

bool Device::UpdateDrawStates(std::string& refused) {
    const bool hasDepth = depthStencil_ != nullptr;
    if (hasDepth != statesWithDepth_) dirtyStates_ |= kPixelStatesDirty;
    // A half that was refused stays marked, so the next draw converts it again and refuses it again.
    if (dirtyStates_ & kVertexStatesDirty) {
        if (!ConvertVertexStates(state_, vertexStates_, &refused)) return false;
        dirtyStates_ &= ~unsigned(kVertexStatesDirty);
    }
    if (dirtyStates_ & kPixelStatesDirty) {
        if (!ConvertPixelStates(state_, hasDepth, pixelStates_, &refused)) return false;
        dirtyStates_ &= ~unsigned(kPixelStatesDirty);
        statesWithDepth_ = hasDepth;
    } else {
        RefreshTextures(state_, pixelStates_);
    }
    return true;
}

HRESULT Device::Submit(D3DPRIMITIVETYPE type, pipeline::DrawCall& call, UINT stride) {
    const auto layout = PipelineLayoutOfFvf(state_.fvf, stride);
    if (!layout) return D3DERR_INVALIDCALL;
    call.layout = *layout;
    std::string refused;
    if (!UpdateDrawStates(refused)) {
        machine::DebugOutput(("Direct3D9: draw refused: the device does not draw " + refused + "\n").c_str());
        return D3DERR_INVALIDCALL;
    }
    pipeline::RenderTarget target = Target();
    pipeline::Draw(call, vertexStates_, pixelStates_, target);
    CountDraw(RecordOf(type, static_cast<uint64_t>(call.primitiveCount), state_));
    return D3D_OK;
}

void Device::UnsetUserStreams() {
    if (auto* child = dynamic_cast<ChildObject*>(state_.streams[0].buffer)) child->Unbind();
    state_.streams[0] = StreamBinding{};
    if (auto* child = dynamic_cast<ChildObject*>(state_.indices)) child->Unbind();
    state_.indices = nullptr;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    LogCall("DrawPrimitive", PrimitiveType, StartVertex, PrimitiveCount);
    if (auto code = machine::InjectedFailure("IDirect3DDevice9::DrawPrimitive")) return static_cast<HRESULT>(*code);
    pipeline::DrawCall call;
    uint64_t needed = 0;
    if (!inScene_ || !Prepare(PrimitiveType, PrimitiveCount, call, needed)) return D3DERR_INVALIDCALL;
    const StreamBinding& stream = state_.streams[0];
    auto* buffer = dynamic_cast<VertexBuffer*>(stream.buffer);
    if (!buffer || stream.stride == 0 || stream.offset > buffer->Description().Size) return D3DERR_INVALIDCALL;
    const uint64_t available = (buffer->Description().Size - stream.offset) / stream.stride;
    if (uint64_t(StartVertex) + needed > available) return D3DERR_INVALIDCALL;
    call.vertices = buffer->Bytes() + stream.offset;
    call.vertexCount = static_cast<int>(available > INT32_MAX ? INT32_MAX : available);
    call.firstVertex = static_cast<int>(StartVertex);
    return Submit(PrimitiveType, call, stream.stride);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT MinVertexIndex,
                                     UINT NumVertices, UINT startIndex, UINT primCount) {
    LogCall("DrawIndexedPrimitive", PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex,
            primCount);
    pipeline::DrawCall call;
    uint64_t needed = 0;
    if (!inScene_ || !Prepare(PrimitiveType, primCount, call, needed) || NumVertices == 0) return D3DERR_INVALIDCALL;
    const StreamBinding& stream = state_.streams[0];
    auto* buffer = dynamic_cast<VertexBuffer*>(stream.buffer);
    auto* indices = dynamic_cast<IndexBuffer*>(state_.indices);
    if (!buffer || !indices || stream.stride == 0 || stream.offset > buffer->Description().Size)
        return D3DERR_INVALIDCALL;
    const auto indexSize = IndexSizeOf(indices->Description().Format);
    if (!indexSize) return D3DERR_INVALIDCALL;
    const uint64_t indexCount = indices->Description().Size / IndexBytes(*indexSize);
    if (uint64_t(startIndex) + needed > indexCount) return D3DERR_INVALIDCALL;
    // The vertices the indices may name must lie in the stream.
    const uint64_t available = (buffer->Description().Size - stream.offset) / stream.stride;
    const int64_t first = int64_t(BaseVertexIndex) + int64_t(MinVertexIndex);
    if (first < 0 || uint64_t(first) + NumVertices > available) return D3DERR_INVALIDCALL;
    call.vertices = buffer->Bytes() + stream.offset;
    call.vertexCount = static_cast<int>(available > INT32_MAX ? INT32_MAX : available);
    call.firstVertex = static_cast<int>(first);
    call.usedVertexCount = static_cast<int>(NumVertices);
    call.indices = indices->Bytes() + size_t(startIndex) * IndexBytes(*indexSize);
    call.indexSize = *indexSize;
    call.indexCount = static_cast<int>(needed);
    call.baseVertex = BaseVertexIndex;
    return Submit(PrimitiveType, call, stream.stride);
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    LogCall("DrawPrimitiveUP", PrimitiveType, PrimitiveCount, pVertexStreamZeroData, VertexStreamZeroStride);
    pipeline::DrawCall call;
    uint64_t needed = 0;
    if (!inScene_ || !Prepare(PrimitiveType, PrimitiveCount, call, needed) || !pVertexStreamZeroData ||
        VertexStreamZeroStride == 0)
        return D3DERR_INVALIDCALL;
    call.vertices = static_cast<const uint8_t*>(pVertexStreamZeroData);
    call.vertexCount = static_cast<int>(needed);
    call.firstVertex = 0;
    const HRESULT hr = Submit(PrimitiveType, call, VertexStreamZeroStride);
    if (SUCCEEDED(hr)) UnsetUserStreams();
    return hr;
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex, UINT NumVertices,
                                       UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                                       const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    LogCall("DrawIndexedPrimitiveUP", PrimitiveType, MinVertexIndex, NumVertices, PrimitiveCount, pIndexData,
            IndexDataFormat, pVertexStreamZeroData, VertexStreamZeroStride);
    pipeline::DrawCall call;
    uint64_t needed = 0;
    const auto indexSize = IndexSizeOf(IndexDataFormat);
    if (!inScene_ || !Prepare(PrimitiveType, PrimitiveCount, call, needed) || !indexSize || !pIndexData ||
        !pVertexStreamZeroData || VertexStreamZeroStride == 0 || NumVertices == 0 ||
        uint64_t(MinVertexIndex) + NumVertices > uint64_t(INT32_MAX))
        return D3DERR_INVALIDCALL;
    // The program's vertices are those the indices may name: up to MinVertexIndex + NumVertices.
    call.vertices = static_cast<const uint8_t*>(pVertexStreamZeroData);
    call.vertexCount = static_cast<int>(MinVertexIndex + NumVertices);
    call.firstVertex = static_cast<int>(MinVertexIndex);
    call.usedVertexCount = static_cast<int>(NumVertices);
    call.indices = pIndexData;
    call.indexSize = *indexSize;
    call.indexCount = static_cast<int>(needed);
    const HRESULT hr = Submit(PrimitiveType, call, VertexStreamZeroStride);
    if (SUCCEEDED(hr)) UnsetUserStreams();
    return hr;
}

}  // namespace d3d9
