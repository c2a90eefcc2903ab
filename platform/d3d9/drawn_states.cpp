#include "drawn_states.h"

#include <iterator>

namespace d3d9 {

namespace {

using pipeline::Address;
using pipeline::ArgSource;
using pipeline::BlendFactor;
using pipeline::TextureOp;

#define STATE(name) DWORD(name), #name

constexpr StateValue<TextureOp> kTextureOps[] = {
    {STATE(D3DTOP_DISABLE), D3DTEXOPCAPS_DISABLE, TextureOp::Disable},
    {STATE(D3DTOP_SELECTARG1), D3DTEXOPCAPS_SELECTARG1, TextureOp::SelectArg1},
    {STATE(D3DTOP_SELECTARG2), D3DTEXOPCAPS_SELECTARG2, TextureOp::SelectArg2},
    {STATE(D3DTOP_MODULATE), D3DTEXOPCAPS_MODULATE, TextureOp::Modulate},
    {STATE(D3DTOP_MODULATE2X), D3DTEXOPCAPS_MODULATE2X, TextureOp::Modulate2x},
    {STATE(D3DTOP_MODULATE4X), D3DTEXOPCAPS_MODULATE4X, TextureOp::Modulate4x},
    {STATE(D3DTOP_ADD), D3DTEXOPCAPS_ADD, TextureOp::Add},
    {STATE(D3DTOP_ADDSIGNED), D3DTEXOPCAPS_ADDSIGNED, TextureOp::AddSigned},
    {STATE(D3DTOP_ADDSIGNED2X), D3DTEXOPCAPS_ADDSIGNED2X, TextureOp::AddSigned2x},
    {STATE(D3DTOP_SUBTRACT), D3DTEXOPCAPS_SUBTRACT, TextureOp::Subtract},
    {STATE(D3DTOP_ADDSMOOTH), D3DTEXOPCAPS_ADDSMOOTH, TextureOp::AddSmooth},
    {STATE(D3DTOP_BLENDDIFFUSEALPHA), D3DTEXOPCAPS_BLENDDIFFUSEALPHA, TextureOp::BlendDiffuseAlpha},
    {STATE(D3DTOP_BLENDTEXTUREALPHA), D3DTEXOPCAPS_BLENDTEXTUREALPHA, TextureOp::BlendTextureAlpha},
    {STATE(D3DTOP_BLENDFACTORALPHA), D3DTEXOPCAPS_BLENDFACTORALPHA, TextureOp::BlendFactorAlpha},
    {STATE(D3DTOP_BLENDTEXTUREALPHAPM), D3DTEXOPCAPS_BLENDTEXTUREALPHAPM, std::nullopt},
    {STATE(D3DTOP_BLENDCURRENTALPHA), D3DTEXOPCAPS_BLENDCURRENTALPHA, TextureOp::BlendCurrentAlpha},
    {STATE(D3DTOP_PREMODULATE), D3DTEXOPCAPS_PREMODULATE, std::nullopt},
    {STATE(D3DTOP_MODULATEALPHA_ADDCOLOR), D3DTEXOPCAPS_MODULATEALPHA_ADDCOLOR, std::nullopt},
    {STATE(D3DTOP_MODULATECOLOR_ADDALPHA), D3DTEXOPCAPS_MODULATECOLOR_ADDALPHA, std::nullopt},
    {STATE(D3DTOP_MODULATEINVALPHA_ADDCOLOR), D3DTEXOPCAPS_MODULATEINVALPHA_ADDCOLOR, std::nullopt},
    {STATE(D3DTOP_MODULATEINVCOLOR_ADDALPHA), D3DTEXOPCAPS_MODULATEINVCOLOR_ADDALPHA, std::nullopt},
    {STATE(D3DTOP_BUMPENVMAP), D3DTEXOPCAPS_BUMPENVMAP, std::nullopt},
    {STATE(D3DTOP_BUMPENVMAPLUMINANCE), D3DTEXOPCAPS_BUMPENVMAPLUMINANCE, std::nullopt},
    {STATE(D3DTOP_DOTPRODUCT3), D3DTEXOPCAPS_DOTPRODUCT3, std::nullopt},
    {STATE(D3DTOP_MULTIPLYADD), D3DTEXOPCAPS_MULTIPLYADD, std::nullopt},
    {STATE(D3DTOP_LERP), D3DTEXOPCAPS_LERP, std::nullopt},
};

constexpr StateValue<ArgSource> kArgSources[] = {
    {STATE(D3DTA_DIFFUSE), 0, ArgSource::Diffuse},
    {STATE(D3DTA_CURRENT), 0, ArgSource::Current},
    {STATE(D3DTA_TEXTURE), 0, ArgSource::Texture},
    {STATE(D3DTA_TFACTOR), 0, ArgSource::TFactor},
    {STATE(D3DTA_SPECULAR), 0, ArgSource::Specular},
    {STATE(D3DTA_TEMP), D3DPMISCCAPS_TSSARGTEMP, std::nullopt},
    {STATE(D3DTA_CONSTANT), D3DPMISCCAPS_PERSTAGECONSTANT, std::nullopt},
};

constexpr BlendFactorValue kBlendFactors[] = {
    {{STATE(D3DBLEND_ZERO), D3DPBLENDCAPS_ZERO, BlendFactor::Zero}},
    {{STATE(D3DBLEND_ONE), D3DPBLENDCAPS_ONE, BlendFactor::One}},
    {{STATE(D3DBLEND_SRCCOLOR), D3DPBLENDCAPS_SRCCOLOR, BlendFactor::SrcColor}},
    {{STATE(D3DBLEND_INVSRCCOLOR), D3DPBLENDCAPS_INVSRCCOLOR, BlendFactor::InvSrcColor}},
    {{STATE(D3DBLEND_SRCALPHA), D3DPBLENDCAPS_SRCALPHA, BlendFactor::SrcAlpha}},
    {{STATE(D3DBLEND_INVSRCALPHA), D3DPBLENDCAPS_INVSRCALPHA, BlendFactor::InvSrcAlpha}},
    {{STATE(D3DBLEND_DESTALPHA), D3DPBLENDCAPS_DESTALPHA, BlendFactor::DestAlpha}},
    {{STATE(D3DBLEND_INVDESTALPHA), D3DPBLENDCAPS_INVDESTALPHA, BlendFactor::InvDestAlpha}},
    {{STATE(D3DBLEND_DESTCOLOR), D3DPBLENDCAPS_DESTCOLOR, BlendFactor::DestColor}},
    {{STATE(D3DBLEND_INVDESTCOLOR), D3DPBLENDCAPS_INVDESTCOLOR, BlendFactor::InvDestColor}},
    {{STATE(D3DBLEND_SRCALPHASAT), D3DPBLENDCAPS_SRCALPHASAT, BlendFactor::SrcAlphaSat}},
    {{STATE(D3DBLEND_BOTHSRCALPHA), D3DPBLENDCAPS_BOTHSRCALPHA, BlendFactor::SrcAlpha}, true},
    {{STATE(D3DBLEND_BOTHINVSRCALPHA), D3DPBLENDCAPS_BOTHINVSRCALPHA, BlendFactor::InvSrcAlpha}, true},
    {{STATE(D3DBLEND_BLENDFACTOR), D3DPBLENDCAPS_BLENDFACTOR, std::nullopt}},
    {{STATE(D3DBLEND_INVBLENDFACTOR), D3DPBLENDCAPS_BLENDFACTOR, std::nullopt}},
};

constexpr StateValue<Address> kAddressModes[] = {
    {STATE(D3DTADDRESS_WRAP), D3DPTADDRESSCAPS_WRAP, Address::Wrap},
    {STATE(D3DTADDRESS_MIRROR), D3DPTADDRESSCAPS_MIRROR, Address::Mirror},
    {STATE(D3DTADDRESS_CLAMP), D3DPTADDRESSCAPS_CLAMP, Address::Clamp},
    {STATE(D3DTADDRESS_BORDER), D3DPTADDRESSCAPS_BORDER, Address::Border},
    {STATE(D3DTADDRESS_MIRRORONCE), D3DPTADDRESSCAPS_MIRRORONCE, std::nullopt},
};

#undef STATE

// By RefusedState.
constexpr const char* kRefusedStates[] = {
    "D3DRS_STENCILENABLE",          "D3DRS_VERTEXBLEND",    "D3DRS_INDEXEDVERTEXBLENDENABLE",
    "D3DRS_FOGTABLEMODE",           "D3DZB_USEW",           "D3DRS_SEPARATEALPHABLENDENABLE",
    "D3DTSS_TEXTURETRANSFORMFLAGS", "D3DTSS_TEXCOORDINDEX",
};
static_assert(std::size(kRefusedStates) == size_t(RefusedState::GeneratedCoordinates) + 1);

}  // namespace

std::span<const StateValue<TextureOp>> TextureOps() { return kTextureOps; }
std::span<const StateValue<ArgSource>> ArgSources() { return kArgSources; }
std::span<const BlendFactorValue> BlendFactors() { return kBlendFactors; }
std::span<const StateValue<Address>> AddressModes() { return kAddressModes; }
const char* NameOf(RefusedState state) { return kRefusedStates[size_t(state)]; }
std::span<const char* const> RefusedStates() { return kRefusedStates; }

}  // namespace d3d9
