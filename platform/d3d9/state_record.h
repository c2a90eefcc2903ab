// The states a state block holds: which ones, and their values. Recording fills it from the setters;
// capture refreshes the values from the device; apply sets them on the device.
#pragma once

#include <map>
#include <optional>
#include <utility>

#include "device_state.h"

namespace d3d9 {

struct StateRecord {
    std::map<DWORD, DWORD> render;
    std::map<std::pair<DWORD, DWORD>, DWORD> stages;    // (stage, type)
    std::map<std::pair<DWORD, DWORD>, DWORD> samplers;  // (sampler number, type)
    std::map<DWORD, D3DMATRIX> transforms;
    std::optional<D3DMATERIAL9> material;
    std::map<DWORD, D3DLIGHT9> lights;
    std::map<DWORD, BOOL> lightEnables;
    std::optional<D3DVIEWPORT9> viewport;
    std::optional<DWORD> fvf;
    std::map<UINT, StreamBinding> streams;
    std::optional<IDirect3DIndexBuffer9*> indices;
    std::map<DWORD, IDirect3DBaseTexture9*> textures;  // stage or sampler number
};

// Bindings a record holds keep their objects' memory (never a reference), like the device's own.
void BindRecordObjects(const StateRecord& record);
void UnbindRecordObjects(const StateRecord& record);

// The states of a block made by CreateStateBlock, with the device's current values.
StateRecord RecordOfType(D3DSTATEBLOCKTYPE type, const DeviceState& state);
// Replaces the values of the recorded states by the device's current ones.
void CaptureInto(StateRecord& record, const DeviceState& state);

}  // namespace d3d9
