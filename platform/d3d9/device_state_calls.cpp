// The state setters and getters: they validate, store and answer; the pipeline reads the stored state.
#include <cmath>
#include <cstring>

#include "call_log.h"
#include "device.h"

namespace d3d9 {

namespace {
// Setters compare the bits: a value set again unchanged leaves the converted state as it is.
template <typename T>
bool SameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}
}  // namespace

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    LogCall("SetTransform", State);
    if (!pMatrix || !IsTransformType(State)) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        r->transforms[State] = *pMatrix;
    } else if (!SameBytes(state_.transforms[State], *pMatrix)) {
        state_.transforms[State] = *pMatrix;
        MarkDirty(kVertexStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) {
    LogCall("GetTransform", State);
    if (!pMatrix || !IsTransformType(State)) return D3DERR_INVALIDCALL;
    *pMatrix = state_.transforms[State];
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* pViewport) {
    LogCall("SetViewport");
    if (!pViewport) return D3DERR_INVALIDCALL;
    const D3DVIEWPORT9& v = *pViewport;
    // Within the render target, with a depth range inside 0..1.
    const uint64_t right = uint64_t(v.X) + v.Width, bottom = uint64_t(v.Y) + v.Height;
    if (v.Width == 0 || v.Height == 0 || right > params_.BackBufferWidth || bottom > params_.BackBufferHeight ||
        !(v.MinZ >= 0.0f && v.MinZ <= 1.0f) || !(v.MaxZ >= 0.0f && v.MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) r->viewport = v;
    else state_.viewport = v;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* pViewport) {
    LogCall("GetViewport");
    if (!pViewport) return D3DERR_INVALIDCALL;
    *pViewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* pMaterial) {
    LogCall("SetMaterial");
    if (!pMaterial) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        r->material = *pMaterial;
    } else if (!SameBytes(state_.material, *pMaterial)) {
        state_.material = *pMaterial;
        MarkDirty(kVertexStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* pMaterial) {
    LogCall("GetMaterial");
    if (!pMaterial) return D3DERR_INVALIDCALL;
    *pMaterial = state_.material;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD Index, const D3DLIGHT9* pLight) {
    LogCall("SetLight", Index);
    if (!pLight) return D3DERR_INVALIDCALL;
    if (pLight->Type != D3DLIGHT_POINT && pLight->Type != D3DLIGHT_SPOT && pLight->Type != D3DLIGHT_DIRECTIONAL)
        return D3DERR_INVALIDCALL;
    if (!(pLight->Range >= 0.0f) || std::isinf(pLight->Range)) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        r->lights[Index] = *pLight;
    } else {
        D3DLIGHT9& light = state_.lights[Index].light;
        if (!SameBytes(light, *pLight)) {
            light = *pLight;
            MarkDirty(kVertexStatesDirty);
        }
    }
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD Index, D3DLIGHT9* pLight) {
    LogCall("GetLight", Index);
    auto it = state_.lights.find(Index);
    if (!pLight || it == state_.lights.end()) return D3DERR_INVALIDCALL;
    *pLight = it->second.light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD Index, BOOL Enable) {
    LogCall("LightEnable", Index, Enable);
    if (StateRecord* r = Recording()) {
        r->lightEnables[Index] = Enable;
        return D3D_OK;
    }
    auto it = state_.lights.find(Index);
    // Enabling a light never set makes the default light there.
    if (it == state_.lights.end()) it = state_.lights.emplace(Index, LightSlot{DefaultLight(), false}).first;
    if (it->second.enabled != (Enable != FALSE)) {
        it->second.enabled = Enable != FALSE;
        MarkDirty(kVertexStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD Index, BOOL* pEnable) {
    LogCall("GetLightEnable", Index);
    auto it = state_.lights.find(Index);
    if (!pEnable || it == state_.lights.end()) return D3DERR_INVALIDCALL;
    *pEnable = it->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    LogCall("SetRenderState", State, Value);
    if (StateRecord* r = Recording()) {
        r->render[State] = Value;
    } else if (state_.render.Get(State) != Value) {
        state_.render.Set(State, Value);
        MarkDirty(kVertexStatesDirty | kPixelStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
    LogCall("GetRenderState", State);
    if (!pValue) return D3DERR_INVALIDCALL;
    *pValue = state_.render.Get(State);
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) {
    LogCall("GetTextureStageState", Stage, Type);
    if (!pValue || Stage >= kStages) return D3DERR_INVALIDCALL;
    *pValue = state_.stages[Stage].Get(Type);
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
    LogCall("SetTextureStageState", Stage, Type, Value);
    if (Stage >= kStages) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        r->stages[{Stage, Type}] = Value;
    } else if (state_.stages[Stage].Get(Type) != Value) {
        state_.stages[Stage].Set(Type, Value);
        MarkDirty(kPixelStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) {
    LogCall("GetSamplerState", Sampler, Type);
    const int slot = SamplerSlot(Sampler);
    if (!pValue || slot < 0) return D3DERR_INVALIDCALL;
    *pValue = state_.samplers[size_t(slot)].Get(Type);
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
    LogCall("SetSamplerState", Sampler, Type, Value);
    const int slot = SamplerSlot(Sampler);
    if (slot < 0) return D3DERR_INVALIDCALL;
    if (StateRecord* r = Recording()) {
        r->samplers[{Sampler, Type}] = Value;
    } else if (state_.samplers[size_t(slot)].Get(Type) != Value) {
        state_.samplers[size_t(slot)].Set(Type, Value);
        MarkDirty(kPixelStatesDirty);
    }
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD FVF) {
    LogCall("SetFVF", FVF);
    if (StateRecord* r = Recording()) r->fvf = FVF;
    else state_.fvf = FVF;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* pFVF) {
    LogCall("GetFVF");
    if (!pFVF) return D3DERR_INVALIDCALL;
    *pFVF = state_.fvf;
    return D3D_OK;
}

// The device runs the fixed-function pipeline only: no shader can be made, so only null is accepted.
HRESULT Device::SetVertexShader(IDirect3DVertexShader9* pShader) {
    LogCall("SetVertexShader", static_cast<const void*>(pShader));
    return pShader ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT Device::GetVertexShader(IDirect3DVertexShader9** ppShader) {
    LogCall("GetVertexShader");
    if (!ppShader) return D3DERR_INVALIDCALL;
    *ppShader = nullptr;
    return D3D_OK;
}

HRESULT Device::SetPixelShader(IDirect3DPixelShader9* pShader) {
    LogCall("SetPixelShader", static_cast<const void*>(pShader));
    return pShader ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT Device::GetPixelShader(IDirect3DPixelShader9** ppShader) {
    LogCall("GetPixelShader");
    if (!ppShader) return D3DERR_INVALIDCALL;
    *ppShader = nullptr;
    return D3D_OK;
}

}  // namespace d3d9
