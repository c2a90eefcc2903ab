// Drawing is the pipeline's: until it is plugged in here the calls fail, rather than claim work they
// did not do.
#include "call_log.h"
#include "device.h"

namespace d3d9 {

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    LogCall("DrawPrimitive", PrimitiveType, StartVertex, PrimitiveCount);
    return E_NOTIMPL;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT MinVertexIndex,
                                     UINT NumVertices, UINT startIndex, UINT primCount) {
    LogCall("DrawIndexedPrimitive", PrimitiveType, BaseVertexIndex, MinVertexIndex, NumVertices, startIndex,
            primCount);
    return E_NOTIMPL;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    LogCall("DrawPrimitiveUP", PrimitiveType, PrimitiveCount, pVertexStreamZeroData, VertexStreamZeroStride);
    return E_NOTIMPL;
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex, UINT NumVertices,
                                       UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                                       const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    LogCall("DrawIndexedPrimitiveUP", PrimitiveType, MinVertexIndex, NumVertices, PrimitiveCount, pIndexData,
            IndexDataFormat, pVertexStreamZeroData, VertexStreamZeroStride);
    return E_NOTIMPL;
}

}  // namespace d3d9
