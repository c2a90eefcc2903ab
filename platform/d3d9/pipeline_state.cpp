#include "pipeline_state.h"

#include <cstring>
#include <optional>

#include "pipeline/formats.h"
#include "texture.h"

namespace d3d9 {

namespace {

using pipeline::Color;

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

std::optional<pipeline::TextureOp> OpOf(DWORD op) {
    using pipeline::TextureOp;
    switch (op) {
    case D3DTOP_DISABLE: return TextureOp::Disable;
    case D3DTOP_SELECTARG1: return TextureOp::SelectArg1;
    case D3DTOP_SELECTARG2: return TextureOp::SelectArg2;
    case D3DTOP_MODULATE: return TextureOp::Modulate;
    case D3DTOP_MODULATE2X: return TextureOp::Modulate2x;
    case D3DTOP_MODULATE4X: return TextureOp::Modulate4x;
    case D3DTOP_ADD: return TextureOp::Add;
    case D3DTOP_ADDSIGNED: return TextureOp::AddSigned;
    case D3DTOP_ADDSIGNED2X: return TextureOp::AddSigned2x;
    case D3DTOP_SUBTRACT: return TextureOp::Subtract;
    case D3DTOP_ADDSMOOTH: return TextureOp::AddSmooth;
    case D3DTOP_BLENDDIFFUSEALPHA: return TextureOp::BlendDiffuseAlpha;
    case D3DTOP_BLENDTEXTUREALPHA: return TextureOp::BlendTextureAlpha;
    case D3DTOP_BLENDFACTORALPHA: return TextureOp::BlendFactorAlpha;
    case D3DTOP_BLENDCURRENTALPHA: return TextureOp::BlendCurrentAlpha;
    default: return std::nullopt;
    }
}

std::optional<pipeline::TextureArg> ArgOf(DWORD arg) {
    if (arg & ~DWORD(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) return std::nullopt;
    pipeline::TextureArg out;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: out.source = pipeline::ArgSource::Diffuse; break;
    case D3DTA_CURRENT: out.source = pipeline::ArgSource::Current; break;
    case D3DTA_TEXTURE: out.source = pipeline::ArgSource::Texture; break;
    case D3DTA_TFACTOR: out.source = pipeline::ArgSource::TFactor; break;
    case D3DTA_SPECULAR: out.source = pipeline::ArgSource::Specular; break;
    default: return std::nullopt;  // TEMP, CONSTANT
    }
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

std::optional<pipeline::Address> AddressOf(DWORD address) {
    switch (address) {
    case D3DTADDRESS_WRAP: return pipeline::Address::Wrap;
    case D3DTADDRESS_MIRROR: return pipeline::Address::Mirror;
    case D3DTADDRESS_CLAMP: return pipeline::Address::Clamp;
    case D3DTADDRESS_BORDER: return pipeline::Address::Border;
    default: return std::nullopt;  // MIRRORONCE
    }
}

std::optional<pipeline::BlendFactor> FactorOf(DWORD blend) {
    using pipeline::BlendFactor;
    switch (blend) {
    case D3DBLEND_ZERO: return BlendFactor::Zero;
    case D3DBLEND_ONE: return BlendFactor::One;
    case D3DBLEND_SRCCOLOR: return BlendFactor::SrcColor;
    case D3DBLEND_INVSRCCOLOR: return BlendFactor::InvSrcColor;
    case D3DBLEND_SRCALPHA: return BlendFactor::SrcAlpha;
    case D3DBLEND_INVSRCALPHA: return BlendFactor::InvSrcAlpha;
    case D3DBLEND_DESTALPHA: return BlendFactor::DestAlpha;
    case D3DBLEND_INVDESTALPHA: return BlendFactor::InvDestAlpha;
    case D3DBLEND_DESTCOLOR: return BlendFactor::DestColor;
    case D3DBLEND_INVDESTCOLOR: return BlendFactor::InvDestColor;
    case D3DBLEND_SRCALPHASAT: return BlendFactor::SrcAlphaSat;
    default: return std::nullopt;
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

bool ConvertVertexState(const DeviceState& state, pipeline::VertexState& v) {
    const auto& rs = state.render;
    if (rs.Get(D3DRS_VERTEXBLEND) != D3DVBF_DISABLE || rs.Get(D3DRS_INDEXEDVERTEXBLENDENABLE)) return false;
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
    v.globalAmbient = pipeline::argbToColor(rs.Get(D3DRS_AMBIENT));
    v.material = {ColorOf(state.material.Diffuse), ColorOf(state.material.Ambient),
                  ColorOf(state.material.Specular), ColorOf(state.material.Emissive), state.material.Power};
    if (v.lighting) {
        size_t count = 0;
        for (const auto& [index, slot] : state.lights) {
            if (!slot.enabled) continue;
            if (count == v.lights.size()) return false;  // more lights on than the device draws
            v.lights[count++] = LightOf(slot.light);
        }
    }
    if (rs.Get(D3DRS_FOGENABLE)) {
        if (rs.Get(D3DRS_FOGTABLEMODE) != D3DFOG_NONE) return false;  // per-pixel fog
        auto mode = FogOf(rs.Get(D3DRS_FOGVERTEXMODE));
        if (!mode) return false;
        v.fogMode = *mode;
        v.rangeFog = rs.Get(D3DRS_RANGEFOGENABLE) != FALSE;
        v.fogStart = FloatOf(rs.Get(D3DRS_FOGSTART));
        v.fogEnd = FloatOf(rs.Get(D3DRS_FOGEND));
        v.fogDensity = FloatOf(rs.Get(D3DRS_FOGDENSITY));
    }
    return true;
}

bool ConvertStage(const DeviceState& state, DWORD s, pipeline::StageState& out) {
    const auto& ts = state.stages[s];
    auto colorOp = OpOf(ts.Get(D3DTSS_COLOROP)), alphaOp = OpOf(ts.Get(D3DTSS_ALPHAOP));
    auto c1 = ArgOf(ts.Get(D3DTSS_COLORARG1)), c2 = ArgOf(ts.Get(D3DTSS_COLORARG2));
    auto a1 = ArgOf(ts.Get(D3DTSS_ALPHAARG1)), a2 = ArgOf(ts.Get(D3DTSS_ALPHAARG2));
    if (!colorOp || !alphaOp || !c1 || !c2 || !a1 || !a2) return false;
    const DWORD coordinates = ts.Get(D3DTSS_TEXCOORDINDEX);
    if (coordinates >= 8 || ts.Get(D3DTSS_TEXTURETRANSFORMFLAGS) != D3DTTFF_DISABLE) return false;
    out.colorOp = *colorOp;
    out.alphaOp = *alphaOp;
    out.colorArg1 = *c1;
    out.colorArg2 = *c2;
    out.alphaArg1 = *a1;
    out.alphaArg2 = *a2;
    out.texCoordIndex = static_cast<int>(coordinates);

    // A stage reads the sampler of its own number.
    auto* texture = state.textures[s] ? dynamic_cast<Texture*>(state.textures[s]) : nullptr;
    out.texture = texture ? &texture->Sampled() : nullptr;
    const auto& ss = state.samplers[s];
    auto addressU = AddressOf(ss.Get(D3DSAMP_ADDRESSU)), addressV = AddressOf(ss.Get(D3DSAMP_ADDRESSV));
    if (!addressU || !addressV) return false;
    pipeline::SamplerState& sampler = out.sampler;
    sampler.minFilter = FilterOf(ss.Get(D3DSAMP_MINFILTER));
    sampler.magFilter = FilterOf(ss.Get(D3DSAMP_MAGFILTER));
    sampler.mipFilter = MipFilterOf(ss.Get(D3DSAMP_MIPFILTER));
    sampler.addressU = *addressU;
    sampler.addressV = *addressV;
    sampler.border = pipeline::argbToColor(ss.Get(D3DSAMP_BORDERCOLOR));
    sampler.lodBias = FloatOf(ss.Get(D3DSAMP_MIPMAPLODBIAS));
    // The most detailed level used: the sampler's or the managed texture's, whichever is coarser.
    DWORD maxLevel = ss.Get(D3DSAMP_MAXMIPLEVEL);
    if (texture && texture->GetLOD() > maxLevel) maxLevel = texture->GetLOD();
    sampler.maxMipLevel = static_cast<int>(maxLevel > 15 ? 15 : maxLevel);
    return true;
}

bool ConvertPixelState(const DeviceState& state, bool hasDepth, pipeline::PixelState& p) {
    const auto& rs = state.render;
    if (rs.Get(D3DRS_STENCILENABLE) || rs.Get(D3DRS_ZENABLE) == D3DZB_USEW) return false;
    for (DWORD s = 0; s < kStages; ++s) {
        if (state.stages[s].Get(D3DTSS_COLOROP) == D3DTOP_DISABLE) break;  // the cascade ends here
        if (!ConvertStage(state, s, p.stages[s])) return false;
    }
    p.textureFactor = pipeline::argbToColor(rs.Get(D3DRS_TEXTUREFACTOR));
    p.specular = rs.Get(D3DRS_SPECULARENABLE) != FALSE;
    p.fog = rs.Get(D3DRS_FOGENABLE) != FALSE;
    p.fogColor = pipeline::argbToColor(rs.Get(D3DRS_FOGCOLOR));
    switch (rs.Get(D3DRS_CULLMODE)) {
    case D3DCULL_NONE: p.cull = pipeline::CullMode::None; break;
    case D3DCULL_CW: p.cull = pipeline::CullMode::Clockwise; break;
    case D3DCULL_CCW: p.cull = pipeline::CullMode::CounterClockwise; break;
    default: return false;
    }
    switch (rs.Get(D3DRS_FILLMODE)) {
    case D3DFILL_POINT: p.fill = pipeline::FillMode::Point; break;
    case D3DFILL_WIREFRAME: p.fill = pipeline::FillMode::Wireframe; break;
    case D3DFILL_SOLID: p.fill = pipeline::FillMode::Solid; break;
    default: return false;
    }
    // Phong shading is drawn as Gouraud.
    p.shade = rs.Get(D3DRS_SHADEMODE) == D3DSHADE_FLAT ? pipeline::ShadeMode::Flat : pipeline::ShadeMode::Gouraud;
    p.lastPixel = rs.Get(D3DRS_LASTPIXEL) != FALSE;

    p.alphaTest.enable = rs.Get(D3DRS_ALPHATESTENABLE) != FALSE;
    if (p.alphaTest.enable) {
        auto func = CompareOf(rs.Get(D3DRS_ALPHAFUNC));
        if (!func) return false;
        p.alphaTest.func = *func;
        p.alphaTest.reference = static_cast<uint8_t>(rs.Get(D3DRS_ALPHAREF) & 0xFF);
    }
    p.depth.enable = hasDepth && rs.Get(D3DRS_ZENABLE) != D3DZB_FALSE;
    if (p.depth.enable) {
        auto func = CompareOf(rs.Get(D3DRS_ZFUNC));
        if (!func) return false;
        p.depth.func = *func;
        p.depth.write = rs.Get(D3DRS_ZWRITEENABLE) != FALSE;
    }
    p.blend.enable = rs.Get(D3DRS_ALPHABLENDENABLE) != FALSE;
    if (p.blend.enable) {
        if (rs.Get(D3DRS_SEPARATEALPHABLENDENABLE)) return false;
        const DWORD src = rs.Get(D3DRS_SRCBLEND), dst = rs.Get(D3DRS_DESTBLEND);
        std::optional<pipeline::BlendFactor> s, d;
        // The "both" factors set the source and its inverse for the destination.
        if (src == D3DBLEND_BOTHSRCALPHA) {
            s = pipeline::BlendFactor::SrcAlpha;
            d = pipeline::BlendFactor::InvSrcAlpha;
        } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
            s = pipeline::BlendFactor::InvSrcAlpha;
            d = pipeline::BlendFactor::SrcAlpha;
        } else {
            s = FactorOf(src);
            d = FactorOf(dst);
        }
        auto op = BlendOpOf(rs.Get(D3DRS_BLENDOP));
        if (!s || !d || !op) return false;
        p.blend.src = *s;
        p.blend.dst = *d;
        p.blend.op = *op;
    }
    p.colorWriteMask = rs.Get(D3DRS_COLORWRITEENABLE) & 0xF;  // red, green, blue, alpha: the same bits
    return true;
}

}  // namespace

bool ConvertStates(const DeviceState& state, bool hasDepth, DrawStates& out) {
    out = DrawStates{};
    return ConvertVertexState(state, out.vertex) && ConvertPixelState(state, hasDepth, out.pixel);
}

}  // namespace d3d9
