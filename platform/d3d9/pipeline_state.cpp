#include "pipeline_state.h"

#include <cstring>
#include <optional>
#include <string>

#include "drawn_states.h"
#include "pipeline/formats.h"
#include "pipeline/limits.h"
#include "texture.h"

namespace d3d9 {

namespace {

using pipeline::Color;

// Says which state a refused draw asks for; always false, so a check can return it.
class Refusal {
public:
    explicit Refusal(std::string* text) : text_(text) {}
    bool operator()(const std::string& what) const {
        if (text_) *text_ = what;
        return false;
    }
    // A state whose value is not drawn: its name and the value's name from the table, or the number.
    template <typename Entry>
    bool operator()(const std::string& state, DWORD value, std::span<const Entry> table) const {
        const Entry* entry = FindState(table, value);
        return (*this)(state + " " + (entry ? std::string(entry->name) : std::to_string(value)));
    }

private:
    std::string* text_;
};

float FloatOf(DWORD bits) {
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

Color ColorOf(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }
pipeline::Vec3 VectorOf(const D3DVECTOR& v) { return {v.x, v.y, v.z}; }

pipeline::Mat4 MatrixOf(const D3DMATRIX& m) {
    pipeline::Mat4 out;
    std::memcpy(out.m, m.m, sizeof(out.m));
    return out;
}

std::optional<pipeline::Compare> CompareOf(DWORD func) {
    if (func < D3DCMP_NEVER || func > D3DCMP_ALWAYS) return std::nullopt;
    return static_cast<pipeline::Compare>(func - D3DCMP_NEVER);  // the same order
}

pipeline::MaterialSource SourceOf(DWORD source) {
    switch (source) {
    case D3DMCS_COLOR1: return pipeline::MaterialSource::Diffuse;
    case D3DMCS_COLOR2: return pipeline::MaterialSource::Specular;
    default: return pipeline::MaterialSource::Material;
    }
}

std::optional<pipeline::FogMode> FogOf(DWORD mode) {
    switch (mode) {
    case D3DFOG_NONE: return pipeline::FogMode::None;
    case D3DFOG_EXP: return pipeline::FogMode::Exp;
    case D3DFOG_EXP2: return pipeline::FogMode::Exp2;
    case D3DFOG_LINEAR: return pipeline::FogMode::Linear;
    default: return std::nullopt;
    }
}

template <typename Entry>
auto DrawnOf(std::span<const Entry> table, DWORD value) -> decltype(table[0].drawn) {
    const Entry* entry = FindState(table, value);
    return entry ? entry->drawn : std::nullopt;
}

std::optional<pipeline::TextureArg> ArgOf(DWORD arg) {
    if (arg & ~DWORD(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) return std::nullopt;
    const auto source = DrawnOf(ArgSources(), arg & D3DTA_SELECTMASK);
    if (!source) return std::nullopt;
    pipeline::TextureArg out;
    out.source = *source;
    out.complement = (arg & D3DTA_COMPLEMENT) != 0;
    out.alphaReplicate = (arg & D3DTA_ALPHAREPLICATE) != 0;
    return out;
}

// Anisotropic and the quad filters sample linearly; NONE on min or mag samples the nearest texel.
pipeline::Filter FilterOf(DWORD filter) {
    switch (filter) {
    case D3DTEXF_NONE:
    case D3DTEXF_POINT: return pipeline::Filter::Point;
    default: return pipeline::Filter::Linear;
    }
}

pipeline::Filter MipFilterOf(DWORD filter) {
    switch (filter) {
    case D3DTEXF_NONE: return pipeline::Filter::None;
    case D3DTEXF_POINT: return pipeline::Filter::Point;
    default: return pipeline::Filter::Linear;
    }
}

std::optional<pipeline::BlendOp> BlendOpOf(DWORD op) {
    if (op < D3DBLENDOP_ADD || op > D3DBLENDOP_MAX) return std::nullopt;
    return static_cast<pipeline::BlendOp>(op - D3DBLENDOP_ADD);  // the same order
}

pipeline::LightSource LightOf(const D3DLIGHT9& light) {
    pipeline::LightSource out;
    out.kind = light.Type == D3DLIGHT_POINT ? pipeline::LightKind::Point
               : light.Type == D3DLIGHT_SPOT ? pipeline::LightKind::Spot
                                             : pipeline::LightKind::Directional;
    out.diffuse = ColorOf(light.Diffuse);
    out.specular = ColorOf(light.Specular);
    out.ambient = ColorOf(light.Ambient);
    out.position = VectorOf(light.Position);
    out.direction = VectorOf(light.Direction);
    out.range = light.Range;
    out.attenuation[0] = light.Attenuation0;
    out.attenuation[1] = light.Attenuation1;
    out.attenuation[2] = light.Attenuation2;
    out.falloff = light.Falloff;
    out.theta = light.Theta;
    out.phi = light.Phi;
    return out;
}

bool ConvertVertexState(const DeviceState& state, pipeline::VertexState& v, const Refusal& refuse) {
    const auto& rs = state.render;
    if (rs.Get(D3DRS_VERTEXBLEND) != D3DVBF_DISABLE) return refuse(NameOf(RefusedState::VertexBlend));
    if (rs.Get(D3DRS_INDEXEDVERTEXBLENDENABLE)) return refuse(NameOf(RefusedState::IndexedVertexBlend));
    v.world = MatrixOf(state.transforms[256]);
    v.view = MatrixOf(state.transforms[D3DTS_VIEW]);
    v.projection = MatrixOf(state.transforms[D3DTS_PROJECTION]);
    v.lighting = rs.Get(D3DRS_LIGHTING) != FALSE;
    v.specular = rs.Get(D3DRS_SPECULARENABLE) != FALSE;
    v.localViewer = rs.Get(D3DRS_LOCALVIEWER) != FALSE;
    v.normalizeNormals = rs.Get(D3DRS_NORMALIZENORMALS) != FALSE;
    v.colorVertex = rs.Get(D3DRS_COLORVERTEX) != FALSE;
    v.diffuseSource = SourceOf(rs.Get(D3DRS_DIFFUSEMATERIALSOURCE));
    v.ambientSource = SourceOf(rs.Get(D3DRS_AMBIENTMATERIALSOURCE));
    v.specularSource = SourceOf(rs.Get(D3DRS_SPECULARMATERIALSOURCE));
    v.emissiveSource = SourceOf(rs.Get(D3DRS_EMISSIVEMATERIALSOURCE));
    v.globalAmbient = pipeline::ArgbToColor(rs.Get(D3DRS_AMBIENT));
    v.material = {ColorOf(state.material.Diffuse), ColorOf(state.material.Ambient),
                  ColorOf(state.material.Specular), ColorOf(state.material.Emissive), state.material.Power};
    if (v.lighting) {
        size_t count = 0;
        for (const auto& [index, slot] : state.lights) {
            if (!slot.enabled) continue;
            if (count == v.lights.size()) return refuse("more than " + std::to_string(count) + " lights enabled");
            v.lights[count++] = LightOf(slot.light);
        }
    }
    if (rs.Get(D3DRS_FOGENABLE)) {
        if (rs.Get(D3DRS_FOGTABLEMODE) != D3DFOG_NONE) return refuse(NameOf(RefusedState::TableFog));
        auto mode = FogOf(rs.Get(D3DRS_FOGVERTEXMODE));
        if (!mode) return refuse("D3DRS_FOGVERTEXMODE " + std::to_string(rs.Get(D3DRS_FOGVERTEXMODE)));
        v.fogMode = *mode;
        v.rangeFog = rs.Get(D3DRS_RANGEFOGENABLE) != FALSE;
        v.fogStart = FloatOf(rs.Get(D3DRS_FOGSTART));
        v.fogEnd = FloatOf(rs.Get(D3DRS_FOGEND));
        v.fogDensity = FloatOf(rs.Get(D3DRS_FOGDENSITY));
    }
    return true;
}

// A stage reads the texture and the sampler of its own number. The most detailed level used is the
// sampler's or the managed texture's, whichever is coarser.
void SetStageTexture(const DeviceState& state, DWORD s, pipeline::StageState& out) {
    auto* texture = state.textures[s] ? dynamic_cast<Texture*>(state.textures[s]) : nullptr;
    out.texture = texture ? &texture->Sampled() : nullptr;
    DWORD maxLevel = state.samplers[s].Get(D3DSAMP_MAXMIPLEVEL);
    if (texture && texture->GetLOD() > maxLevel) maxLevel = texture->GetLOD();
    out.sampler.maxMipLevel = static_cast<int>(maxLevel > 15 ? 15 : maxLevel);
}

bool ConvertStage(const DeviceState& state, DWORD s, pipeline::StageState& out, const Refusal& refuse) {
    const auto& ts = state.stages[s];
    const std::string stage = "stage " + std::to_string(s) + " ";
    auto colorOp = DrawnOf(TextureOps(), ts.Get(D3DTSS_COLOROP));
    auto alphaOp = DrawnOf(TextureOps(), ts.Get(D3DTSS_ALPHAOP));
    if (!colorOp) return refuse(stage + "D3DTSS_COLOROP", ts.Get(D3DTSS_COLOROP), TextureOps());
    if (!alphaOp) return refuse(stage + "D3DTSS_ALPHAOP", ts.Get(D3DTSS_ALPHAOP), TextureOps());
    static constexpr struct {
        D3DTEXTURESTAGESTATETYPE type;
        const char* name;
    } kArgs[] = {{D3DTSS_COLORARG1, "D3DTSS_COLORARG1"},
                 {D3DTSS_COLORARG2, "D3DTSS_COLORARG2"},
                 {D3DTSS_ALPHAARG1, "D3DTSS_ALPHAARG1"},
                 {D3DTSS_ALPHAARG2, "D3DTSS_ALPHAARG2"}};
    std::optional<pipeline::TextureArg> args[4];
    for (int i = 0; i < 4; ++i) {
        args[i] = ArgOf(ts.Get(kArgs[i].type));
        if (!args[i]) return refuse(stage + kArgs[i].name, ts.Get(kArgs[i].type), ArgSources());
    }
    const DWORD coordinates = ts.Get(D3DTSS_TEXCOORDINDEX);
    if (coordinates >= pipeline::kMaxTexCoordSets) return refuse(stage + NameOf(RefusedState::GeneratedCoordinates));
    if (ts.Get(D3DTSS_TEXTURETRANSFORMFLAGS) != D3DTTFF_DISABLE)
        return refuse(stage + NameOf(RefusedState::TextureTransform));
    out.colorOp = *colorOp;
    out.alphaOp = *alphaOp;
    out.colorArg1 = *args[0];
    out.colorArg2 = *args[1];
    out.alphaArg1 = *args[2];
    out.alphaArg2 = *args[3];
    out.texCoordIndex = static_cast<int>(coordinates);

    const auto& ss = state.samplers[s];
    auto addressU = DrawnOf(AddressModes(), ss.Get(D3DSAMP_ADDRESSU));
    auto addressV = DrawnOf(AddressModes(), ss.Get(D3DSAMP_ADDRESSV));
    if (!addressU)
        return refuse("sampler " + std::to_string(s) + " D3DSAMP_ADDRESSU", ss.Get(D3DSAMP_ADDRESSU), AddressModes());
    if (!addressV)
        return refuse("sampler " + std::to_string(s) + " D3DSAMP_ADDRESSV", ss.Get(D3DSAMP_ADDRESSV), AddressModes());
    pipeline::SamplerState& sampler = out.sampler;
    sampler.minFilter = FilterOf(ss.Get(D3DSAMP_MINFILTER));
    sampler.magFilter = FilterOf(ss.Get(D3DSAMP_MAGFILTER));
    sampler.mipFilter = MipFilterOf(ss.Get(D3DSAMP_MIPFILTER));
    sampler.addressU = *addressU;
    sampler.addressV = *addressV;
    sampler.border = pipeline::ArgbToColor(ss.Get(D3DSAMP_BORDERCOLOR));
    sampler.lodBias = FloatOf(ss.Get(D3DSAMP_MIPMAPLODBIAS));
    SetStageTexture(state, s, out);
    // With no texture set for the stage an alpha argument of D3DTA_TEXTURE is D3DTA_DIFFUSE (its modifiers
    // kept), so an untextured translucent material blends. Colour arguments read the texture as opaque white.
    if (!out.texture) {
        for (pipeline::TextureArg* arg : {&out.alphaArg1, &out.alphaArg2})
            if (arg->source == pipeline::ArgSource::Texture) arg->source = pipeline::ArgSource::Diffuse;
    }
    return true;
}

bool ConvertPixelState(const DeviceState& state, bool hasDepth, pipeline::PixelState& p, const Refusal& refuse) {
    const auto& rs = state.render;
    if (rs.Get(D3DRS_STENCILENABLE)) return refuse(NameOf(RefusedState::Stencil));
    if (rs.Get(D3DRS_ZENABLE) == D3DZB_USEW)
        return refuse(std::string("D3DRS_ZENABLE ") + NameOf(RefusedState::WBuffer));
    for (DWORD s = 0; s < kStages; ++s) {
        if (state.stages[s].Get(D3DTSS_COLOROP) == D3DTOP_DISABLE) break;  // the cascade ends here
        if (!ConvertStage(state, s, p.stages[s], refuse)) return false;
    }
    p.textureFactor = pipeline::ArgbToColor(rs.Get(D3DRS_TEXTUREFACTOR));
    p.specular = rs.Get(D3DRS_SPECULARENABLE) != FALSE;
    p.fog = rs.Get(D3DRS_FOGENABLE) != FALSE;
    p.fogColor = pipeline::ArgbToColor(rs.Get(D3DRS_FOGCOLOR));
    switch (rs.Get(D3DRS_CULLMODE)) {
    case D3DCULL_NONE: p.cull = pipeline::CullMode::None; break;
    case D3DCULL_CW: p.cull = pipeline::CullMode::Clockwise; break;
    case D3DCULL_CCW: p.cull = pipeline::CullMode::CounterClockwise; break;
    default: return refuse("D3DRS_CULLMODE " + std::to_string(rs.Get(D3DRS_CULLMODE)));
    }
    switch (rs.Get(D3DRS_FILLMODE)) {
    case D3DFILL_POINT: p.fill = pipeline::FillMode::Point; break;
    case D3DFILL_WIREFRAME: p.fill = pipeline::FillMode::Wireframe; break;
    case D3DFILL_SOLID: p.fill = pipeline::FillMode::Solid; break;
    default: return refuse("D3DRS_FILLMODE " + std::to_string(rs.Get(D3DRS_FILLMODE)));
    }
    // Phong shading is drawn as Gouraud.
    p.shade = rs.Get(D3DRS_SHADEMODE) == D3DSHADE_FLAT ? pipeline::ShadeMode::Flat : pipeline::ShadeMode::Gouraud;
    p.lastPixel = rs.Get(D3DRS_LASTPIXEL) != FALSE;

    p.alphaTest.enable = rs.Get(D3DRS_ALPHATESTENABLE) != FALSE;
    if (p.alphaTest.enable) {
        auto func = CompareOf(rs.Get(D3DRS_ALPHAFUNC));
        if (!func) return refuse("D3DRS_ALPHAFUNC " + std::to_string(rs.Get(D3DRS_ALPHAFUNC)));
        p.alphaTest.func = *func;
        p.alphaTest.reference = static_cast<uint8_t>(rs.Get(D3DRS_ALPHAREF) & 0xFF);
    }
    p.depth.enable = hasDepth && rs.Get(D3DRS_ZENABLE) != D3DZB_FALSE;
    if (p.depth.enable) {
        auto func = CompareOf(rs.Get(D3DRS_ZFUNC));
        if (!func) return refuse("D3DRS_ZFUNC " + std::to_string(rs.Get(D3DRS_ZFUNC)));
        p.depth.func = *func;
        p.depth.write = rs.Get(D3DRS_ZWRITEENABLE) != FALSE;
    }
    p.blend.enable = rs.Get(D3DRS_ALPHABLENDENABLE) != FALSE;
    if (p.blend.enable) {
        if (rs.Get(D3DRS_SEPARATEALPHABLENDENABLE)) return refuse(NameOf(RefusedState::SeparateAlphaBlend));
        const DWORD src = rs.Get(D3DRS_SRCBLEND), dst = rs.Get(D3DRS_DESTBLEND);
        const BlendFactorValue* from = FindState(BlendFactors(), src);
        const BlendFactorValue* to = FindState(BlendFactors(), dst);
        if (!from || !from->drawn) return refuse("D3DRS_SRCBLEND", src, BlendFactors());
        std::optional<pipeline::BlendFactor> s = from->drawn, d;
        // The "both" factors set the source and its inverse for the destination; they are source only.
        if (from->both)
            d = *s == pipeline::BlendFactor::SrcAlpha ? pipeline::BlendFactor::InvSrcAlpha
                                                      : pipeline::BlendFactor::SrcAlpha;
        else if (to && !to->both)
            d = to->drawn;
        if (!d) return refuse("D3DRS_DESTBLEND", dst, BlendFactors());
        auto op = BlendOpOf(rs.Get(D3DRS_BLENDOP));
        if (!op) return refuse("D3DRS_BLENDOP " + std::to_string(rs.Get(D3DRS_BLENDOP)));
        p.blend.src = *s;
        p.blend.dst = *d;
        p.blend.op = *op;
    }
    p.colorWriteMask = rs.Get(D3DRS_COLORWRITEENABLE) & 0xF;  // red, green, blue, alpha: the same bits
    return true;
}

}  // namespace

bool ConvertStates(const DeviceState& state, bool hasDepth, DrawStates& out, std::string* refused) {
    return ConvertVertexStates(state, out.vertex, refused) && ConvertPixelStates(state, hasDepth, out.pixel, refused);
}

bool ConvertVertexStates(const DeviceState& state, pipeline::VertexState& out, std::string* refused) {
    out = pipeline::VertexState{};
    return ConvertVertexState(state, out, Refusal(refused));
}

bool ConvertPixelStates(const DeviceState& state, bool hasDepth, pipeline::PixelState& out, std::string* refused) {
    out = pipeline::PixelState{};
    return ConvertPixelState(state, hasDepth, out, Refusal(refused));
}

void RefreshTextures(const DeviceState& state, pipeline::PixelState& out) {
    for (DWORD s = 0; s < kStages && out.stages[s].colorOp != pipeline::TextureOp::Disable; ++s)
        SetStageTexture(state, s, out.stages[s]);
}

}  // namespace d3d9
