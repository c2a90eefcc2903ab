// Making state blocks: recorded between BeginStateBlock and EndStateBlock (the calls in between are
// recorded only, the device's state stays as it was), or captured whole by CreateStateBlock.
#include "call_log.h"
#include "device.h"
#include "state_block.h"

namespace d3d9 {

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) {
    LogCall("CreateStateBlock", Type);
    if (!ppSB) return D3DERR_INVALIDCALL;
    *ppSB = nullptr;
    if (recording_ || (Type != D3DSBT_ALL && Type != D3DSBT_PIXELSTATE && Type != D3DSBT_VERTEXSTATE))
        return D3DERR_INVALIDCALL;
    *ppSB = new StateBlock(this, RecordOfType(Type, state_));
    return D3D_OK;
}

HRESULT Device::BeginStateBlock() {
    LogCall("BeginStateBlock");
    if (recording_) return D3DERR_INVALIDCALL;
    recording_ = std::make_unique<StateRecord>();
    return D3D_OK;
}

HRESULT Device::EndStateBlock(IDirect3DStateBlock9** ppSB) {
    LogCall("EndStateBlock");
    if (!ppSB) return D3DERR_INVALIDCALL;
    *ppSB = nullptr;
    if (!recording_) return D3DERR_INVALIDCALL;
    StateRecord record = std::move(*recording_);
    recording_.reset();
    *ppSB = new StateBlock(this, std::move(record));
    return D3D_OK;
}

void Device::DropRecording() {
    if (!recording_) return;
    UnbindRecordObjects(*recording_);
    recording_.reset();
}

void Device::ApplyRecord(const StateRecord& record) {
    // Applying sets the device's state even while another block is being recorded.
    std::unique_ptr<StateRecord> recording = std::move(recording_);
    for (const auto& [id, value] : record.render) SetRenderState(D3DRENDERSTATETYPE(id), value);
    for (const auto& [key, value] : record.stages)
        SetTextureStageState(key.first, D3DTEXTURESTAGESTATETYPE(key.second), value);
    for (const auto& [key, value] : record.samplers) SetSamplerState(key.first, D3DSAMPLERSTATETYPE(key.second), value);
    for (const auto& [type, matrix] : record.transforms) SetTransform(D3DTRANSFORMSTATETYPE(type), &matrix);
    if (record.material) SetMaterial(&*record.material);
    for (const auto& [index, light] : record.lights) SetLight(index, &light);
    for (const auto& [index, enabled] : record.lightEnables) LightEnable(index, enabled);
    if (record.viewport) SetViewport(&*record.viewport);
    if (record.fvf) SetFVF(*record.fvf);
    for (const auto& [number, stream] : record.streams)
        SetStreamSource(number, stream.buffer, stream.offset, stream.stride);
    if (record.indices) SetIndices(*record.indices);
    for (const auto& [number, texture] : record.textures) SetTexture(number, texture);
    recording_ = std::move(recording);
}

}  // namespace d3d9
