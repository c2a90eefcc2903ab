// The device's state as the program sets it: render, texture stage and sampler states, transforms,
// material, lights, viewport, vertex format, streams, indices and textures. The front end stores and
// answers it; the pipeline reads it at each draw. Bindings are plain pointers (see child_object.h).
#pragma once

#include <array>
#include <map>

#include "d3d9.h"
#include "pipeline/limits.h"

namespace d3d9 {

class ChildObject;

// States by number: the platform's numbers fit the dense part; any other number is stored aside, so an
// unknown state set is answered back.
template <size_t Dense>
class StateTable {
public:
    DWORD Get(DWORD id) const {
        if (id < Dense) return dense_[id];
        auto it = other_.find(id);
        return it == other_.end() ? 0 : it->second;
    }
    void Set(DWORD id, DWORD value) {
        if (id < Dense)
            dense_[id] = value;
        else
            other_[id] = value;
    }

private:
    std::array<DWORD, Dense> dense_{};
    std::map<DWORD, DWORD> other_;
};

constexpr DWORD kStages = pipeline::kMaxStages;  // the stages the pipeline draws
constexpr DWORD kStreams = 16;
// Samplers 0-15, the displacement-map sampler and the four vertex samplers, in one array.
constexpr DWORD kSamplerSlots = 21;
constexpr DWORD kDisplacementMapSampler = 256;
constexpr DWORD kVertexSampler0 = 257;
// Transform slots by the platform's numbers: view 2, projection 3, texture 16-23, world 256-511.
constexpr DWORD kTransformSlots = 512;

// The slot of a sampler or texture stage number, or -1 when the number names none.
int SamplerSlot(DWORD sampler);
bool IsTransformType(DWORD type);

struct LightSlot {
    D3DLIGHT9 light{};
    bool enabled = false;
};

struct StreamBinding {
    IDirect3DVertexBuffer9* buffer = nullptr;
    UINT offset = 0;
    UINT stride = 0;
};

struct DeviceState {
    StateTable<256> render;
    std::array<StateTable<33>, kStages> stages;
    std::array<StateTable<14>, kSamplerSlots> samplers;
    std::array<D3DMATRIX, kTransformSlots> transforms{};
    D3DMATERIAL9 material{};
    std::map<DWORD, LightSlot> lights;
    D3DVIEWPORT9 viewport{};
    DWORD fvf = 0;
    std::array<StreamBinding, kStreams> streams{};
    IDirect3DIndexBuffer9* indices = nullptr;
    std::array<IDirect3DBaseTexture9*, kSamplerSlots> textures{};
};

// The platform's defaults for a device whose render target is width x height; ZENABLE is on exactly
// when the device has an automatic depth buffer.
void ResetToDefaults(DeviceState& state, bool autoDepthStencil, UINT width, UINT height);

// The light LightEnable creates at an index never set: white directional light along +z.
D3DLIGHT9 DefaultLight();

}  // namespace d3d9
