// Which states each kind of state block covers, and capture from the device's state.
#include "state_record.h"

#include "child_object.h"

namespace d3d9 {

namespace {

void ForEachObject(const StateRecord& record, void (*action)(ChildObject*)) {
    auto visit = [&](IUnknown* object) {
        if (auto* child = object ? dynamic_cast<ChildObject*>(object) : nullptr) action(child);
    };
    for (const auto& [slot, texture] : record.textures) visit(texture);
    for (const auto& [number, stream] : record.streams) visit(stream.buffer);
    if (record.indices) visit(*record.indices);
}

// The platform's pixel-state and vertex-state render states.
constexpr D3DRENDERSTATETYPE kPixelRenderStates[] = {
    D3DRS_ZENABLE, D3DRS_FILLMODE, D3DRS_SHADEMODE, D3DRS_ZWRITEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_LASTPIXEL,
    D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_ZFUNC, D3DRS_ALPHAREF, D3DRS_ALPHAFUNC, D3DRS_DITHERENABLE,
    D3DRS_ALPHABLENDENABLE, D3DRS_FOGCOLOR, D3DRS_FOGTABLEMODE, D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY,
    D3DRS_STENCILENABLE, D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL, D3DRS_STENCILPASS, D3DRS_STENCILFUNC,
    D3DRS_STENCILREF, D3DRS_STENCILMASK, D3DRS_STENCILWRITEMASK, D3DRS_TEXTUREFACTOR, D3DRS_WRAP0, D3DRS_WRAP1,
    D3DRS_WRAP2, D3DRS_WRAP3, D3DRS_WRAP4, D3DRS_WRAP5, D3DRS_WRAP6, D3DRS_WRAP7, D3DRS_COLORWRITEENABLE,
    D3DRS_BLENDOP, D3DRS_SCISSORTESTENABLE, D3DRS_SLOPESCALEDEPTHBIAS, D3DRS_ANTIALIASEDLINEENABLE,
    D3DRS_TWOSIDEDSTENCILMODE, D3DRS_CCW_STENCILFAIL, D3DRS_CCW_STENCILZFAIL, D3DRS_CCW_STENCILPASS,
    D3DRS_CCW_STENCILFUNC, D3DRS_COLORWRITEENABLE1, D3DRS_COLORWRITEENABLE2, D3DRS_COLORWRITEENABLE3,
    D3DRS_BLENDFACTOR, D3DRS_SRGBWRITEENABLE, D3DRS_DEPTHBIAS, D3DRS_WRAP8, D3DRS_WRAP9, D3DRS_WRAP10,
    D3DRS_WRAP11, D3DRS_WRAP12, D3DRS_WRAP13, D3DRS_WRAP14, D3DRS_WRAP15, D3DRS_SEPARATEALPHABLENDENABLE,
    D3DRS_SRCBLENDALPHA, D3DRS_DESTBLENDALPHA, D3DRS_BLENDOPALPHA};
constexpr D3DRENDERSTATETYPE kVertexRenderStates[] = {
    D3DRS_CULLMODE, D3DRS_FOGENABLE, D3DRS_FOGCOLOR, D3DRS_FOGTABLEMODE, D3DRS_FOGSTART, D3DRS_FOGEND,
    D3DRS_FOGDENSITY, D3DRS_RANGEFOGENABLE, D3DRS_AMBIENT, D3DRS_COLORVERTEX, D3DRS_FOGVERTEXMODE,
    D3DRS_CLIPPING, D3DRS_LIGHTING, D3DRS_NORMALIZENORMALS, D3DRS_LOCALVIEWER, D3DRS_EMISSIVEMATERIALSOURCE,
    D3DRS_AMBIENTMATERIALSOURCE, D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_SPECULARMATERIALSOURCE, D3DRS_VERTEXBLEND,
    D3DRS_CLIPPLANEENABLE, D3DRS_POINTSIZE, D3DRS_POINTSIZE_MIN, D3DRS_POINTSPRITEENABLE, D3DRS_POINTSCALEENABLE,
    D3DRS_POINTSCALE_A, D3DRS_POINTSCALE_B, D3DRS_POINTSCALE_C, D3DRS_MULTISAMPLEANTIALIAS, D3DRS_MULTISAMPLEMASK,
    D3DRS_PATCHEDGESTYLE, D3DRS_POINTSIZE_MAX, D3DRS_INDEXEDVERTEXBLENDENABLE, D3DRS_TWEENFACTOR,
    D3DRS_POSITIONDEGREE, D3DRS_NORMALDEGREE, D3DRS_MINTESSELLATIONLEVEL, D3DRS_MAXTESSELLATIONLEVEL,
    D3DRS_ADAPTIVETESS_X, D3DRS_ADAPTIVETESS_Y, D3DRS_ADAPTIVETESS_Z, D3DRS_ADAPTIVETESS_W,
    D3DRS_ENABLEADAPTIVETESSELLATION, D3DRS_SPECULARENABLE, D3DRS_SHADEMODE};

constexpr D3DTEXTURESTAGESTATETYPE kStageStates[] = {
    D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2,
    D3DTSS_BUMPENVMAT00, D3DTSS_BUMPENVMAT01, D3DTSS_BUMPENVMAT10, D3DTSS_BUMPENVMAT11, D3DTSS_TEXCOORDINDEX,
    D3DTSS_BUMPENVLSCALE, D3DTSS_BUMPENVLOFFSET, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTSS_COLORARG0, D3DTSS_ALPHAARG0,
    D3DTSS_RESULTARG, D3DTSS_CONSTANT};
bool IsVertexStageState(DWORD type) {
    return type == D3DTSS_TEXCOORDINDEX || type == D3DTSS_TEXTURETRANSFORMFLAGS;
}

// Sampler numbers by slot (the inverse of SamplerSlot).
DWORD SamplerNumber(DWORD slot) {
    if (slot < 16) return slot;
    if (slot == 16) return kDisplacementMapSampler;
    return kVertexSampler0 + (slot - 17);
}

}  // namespace

void BindRecordObjects(const StateRecord& record) {
    ForEachObject(record, [](ChildObject* child) { child->Bind(); });
}

void UnbindRecordObjects(const StateRecord& record) {
    ForEachObject(record, [](ChildObject* child) { child->Unbind(); });
}

StateRecord RecordOfType(D3DSTATEBLOCKTYPE type, const DeviceState& state) {
    const bool all = type == D3DSBT_ALL;
    const bool pixel = all || type == D3DSBT_PIXELSTATE;
    const bool vertex = all || type == D3DSBT_VERTEXSTATE;
    StateRecord record;
    if (pixel)
        for (D3DRENDERSTATETYPE rs : kPixelRenderStates) record.render[rs] = 0;
    if (vertex)
        for (D3DRENDERSTATETYPE rs : kVertexRenderStates) record.render[rs] = 0;
    for (DWORD stage = 0; stage < kStages; ++stage)
        for (D3DTEXTURESTAGESTATETYPE t : kStageStates)
            if (IsVertexStageState(t) ? vertex : pixel) record.stages[{stage, t}] = 0;
    for (DWORD slot = 0; slot < kSamplerSlots; ++slot)
        for (DWORD t = D3DSAMP_ADDRESSU; t <= D3DSAMP_DMAPOFFSET; ++t)
            if (t == D3DSAMP_DMAPOFFSET ? vertex : pixel) record.samplers[{SamplerNumber(slot), t}] = 0;
    if (vertex) {
        for (const auto& [index, slot] : state.lights) {
            record.lights[index] = slot.light;
            record.lightEnables[index] = slot.enabled;
        }
        record.fvf = 0;
    }
    if (all) {
        for (DWORD t = 0; t < kTransformSlots; ++t)
            if (IsTransformType(t)) record.transforms[t] = {};
        record.material = D3DMATERIAL9{};
        record.viewport = D3DVIEWPORT9{};
        for (UINT s = 0; s < kStreams; ++s) record.streams[s] = {};
        record.indices = nullptr;
        for (DWORD slot = 0; slot < kSamplerSlots; ++slot) record.textures[SamplerNumber(slot)] = nullptr;
    }
    CaptureInto(record, state);
    return record;
}

void CaptureInto(StateRecord& record, const DeviceState& state) {
    UnbindRecordObjects(record);
    for (auto& [id, value] : record.render) value = state.render.Get(id);
    for (auto& [key, value] : record.stages) value = state.stages[key.first].Get(key.second);
    for (auto& [key, value] : record.samplers) value = state.samplers[size_t(SamplerSlot(key.first))].Get(key.second);
    for (auto& [type, matrix] : record.transforms) matrix = state.transforms[type];
    if (record.material) record.material = state.material;
    for (auto& [index, light] : record.lights) {
        auto it = state.lights.find(index);
        if (it != state.lights.end()) light = it->second.light;
    }
    for (auto& [index, enabled] : record.lightEnables) {
        auto it = state.lights.find(index);
        if (it != state.lights.end()) enabled = it->second.enabled ? TRUE : FALSE;
    }
    if (record.viewport) record.viewport = state.viewport;
    if (record.fvf) record.fvf = state.fvf;
    for (auto& [number, stream] : record.streams) stream = state.streams[number];
    if (record.indices) record.indices = state.indices;
    for (auto& [number, texture] : record.textures) texture = state.textures[size_t(SamplerSlot(number))];
    BindRecordObjects(record);
}

}  // namespace d3d9
