// The platform's default device state.
#include "device_state.h"

#include <cstring>

namespace d3d9 {

namespace {

DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

void DefaultRenderStates(StateTable<256>& rs, bool autoDepthStencil) {
    rs = StateTable<256>{};
    rs.Set(D3DRS_ZENABLE, autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE);
    rs.Set(D3DRS_FILLMODE, D3DFILL_SOLID);
    rs.Set(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    rs.Set(D3DRS_ZWRITEENABLE, TRUE);
    rs.Set(D3DRS_ALPHATESTENABLE, FALSE);
    rs.Set(D3DRS_LASTPIXEL, TRUE);
    rs.Set(D3DRS_SRCBLEND, D3DBLEND_ONE);
    rs.Set(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    rs.Set(D3DRS_CULLMODE, D3DCULL_CCW);
    rs.Set(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    rs.Set(D3DRS_ALPHAREF, 0);
    rs.Set(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
    rs.Set(D3DRS_DITHERENABLE, FALSE);
    rs.Set(D3DRS_ALPHABLENDENABLE, FALSE);
    rs.Set(D3DRS_FOGENABLE, FALSE);
    rs.Set(D3DRS_SPECULARENABLE, FALSE);
    rs.Set(D3DRS_FOGCOLOR, 0);
    rs.Set(D3DRS_FOGTABLEMODE, D3DFOG_NONE);
    rs.Set(D3DRS_FOGSTART, FloatBits(0.0f));
    rs.Set(D3DRS_FOGEND, FloatBits(1.0f));
    rs.Set(D3DRS_FOGDENSITY, FloatBits(1.0f));
    rs.Set(D3DRS_RANGEFOGENABLE, FALSE);
    rs.Set(D3DRS_STENCILENABLE, FALSE);
    rs.Set(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
    rs.Set(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
    rs.Set(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    rs.Set(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    rs.Set(D3DRS_STENCILREF, 0);
    rs.Set(D3DRS_STENCILMASK, 0xFFFFFFFF);
    rs.Set(D3DRS_STENCILWRITEMASK, 0xFFFFFFFF);
    rs.Set(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
    for (DWORD wrap = D3DRS_WRAP0; wrap <= D3DRS_WRAP7; ++wrap) rs.Set(wrap, 0);
    rs.Set(D3DRS_CLIPPING, TRUE);
    rs.Set(D3DRS_LIGHTING, TRUE);
    rs.Set(D3DRS_AMBIENT, 0);
    rs.Set(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
    rs.Set(D3DRS_COLORVERTEX, TRUE);
    rs.Set(D3DRS_LOCALVIEWER, TRUE);
    rs.Set(D3DRS_NORMALIZENORMALS, FALSE);
    rs.Set(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    rs.Set(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2);
    rs.Set(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    rs.Set(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    rs.Set(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
    rs.Set(D3DRS_CLIPPLANEENABLE, 0);
    rs.Set(D3DRS_POINTSIZE, FloatBits(1.0f));
    rs.Set(D3DRS_POINTSIZE_MIN, FloatBits(1.0f));
    rs.Set(D3DRS_POINTSPRITEENABLE, FALSE);
    rs.Set(D3DRS_POINTSCALEENABLE, FALSE);
    rs.Set(D3DRS_POINTSCALE_A, FloatBits(1.0f));
    rs.Set(D3DRS_POINTSCALE_B, FloatBits(0.0f));
    rs.Set(D3DRS_POINTSCALE_C, FloatBits(0.0f));
    rs.Set(D3DRS_MULTISAMPLEANTIALIAS, TRUE);
    rs.Set(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    rs.Set(D3DRS_PATCHEDGESTYLE, 0);
    rs.Set(D3DRS_DEBUGMONITORTOKEN, 0);
    rs.Set(D3DRS_POINTSIZE_MAX, FloatBits(1.0f));  // the device's MaxPointSize
    rs.Set(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    rs.Set(D3DRS_COLORWRITEENABLE, 0x0F);
    rs.Set(D3DRS_TWEENFACTOR, FloatBits(0.0f));
    rs.Set(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    rs.Set(D3DRS_POSITIONDEGREE, 3);  // cubic
    rs.Set(D3DRS_NORMALDEGREE, 1);    // linear
    rs.Set(D3DRS_SCISSORTESTENABLE, FALSE);
    rs.Set(D3DRS_SLOPESCALEDEPTHBIAS, 0);
    rs.Set(D3DRS_ANTIALIASEDLINEENABLE, FALSE);
    rs.Set(D3DRS_MINTESSELLATIONLEVEL, FloatBits(1.0f));
    rs.Set(D3DRS_MAXTESSELLATIONLEVEL, FloatBits(1.0f));
    rs.Set(D3DRS_ADAPTIVETESS_X, FloatBits(0.0f));
    rs.Set(D3DRS_ADAPTIVETESS_Y, FloatBits(0.0f));
    rs.Set(D3DRS_ADAPTIVETESS_Z, FloatBits(1.0f));
    rs.Set(D3DRS_ADAPTIVETESS_W, FloatBits(0.0f));
    rs.Set(D3DRS_ENABLEADAPTIVETESSELLATION, FALSE);
    rs.Set(D3DRS_TWOSIDEDSTENCILMODE, FALSE);
    rs.Set(D3DRS_CCW_STENCILFAIL, D3DSTENCILOP_KEEP);
    rs.Set(D3DRS_CCW_STENCILZFAIL, D3DSTENCILOP_KEEP);
    rs.Set(D3DRS_CCW_STENCILPASS, D3DSTENCILOP_KEEP);
    rs.Set(D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS);
    rs.Set(D3DRS_COLORWRITEENABLE1, 0x0F);
    rs.Set(D3DRS_COLORWRITEENABLE2, 0x0F);
    rs.Set(D3DRS_COLORWRITEENABLE3, 0x0F);
    rs.Set(D3DRS_BLENDFACTOR, 0xFFFFFFFF);
    rs.Set(D3DRS_SRGBWRITEENABLE, 0);
    rs.Set(D3DRS_DEPTHBIAS, 0);
    for (DWORD wrap = D3DRS_WRAP8; wrap <= D3DRS_WRAP15; ++wrap) rs.Set(wrap, 0);
    rs.Set(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    rs.Set(D3DRS_SRCBLENDALPHA, D3DBLEND_ONE);
    rs.Set(D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO);
    rs.Set(D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD);
}

void DefaultStageStates(StateTable<33>& ts, DWORD stage) {
    ts = StateTable<33>{};
    ts.Set(D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE);
    ts.Set(D3DTSS_COLORARG1, D3DTA_TEXTURE);
    ts.Set(D3DTSS_COLORARG2, D3DTA_CURRENT);
    ts.Set(D3DTSS_ALPHAOP, stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE);
    ts.Set(D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    ts.Set(D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    ts.Set(D3DTSS_TEXCOORDINDEX, stage);
    ts.Set(D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    ts.Set(D3DTSS_COLORARG0, D3DTA_CURRENT);
    ts.Set(D3DTSS_ALPHAARG0, D3DTA_CURRENT);
    ts.Set(D3DTSS_RESULTARG, D3DTA_CURRENT);
}

void DefaultSamplerStates(StateTable<14>& ss) {
    ss = StateTable<14>{};
    ss.Set(D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    ss.Set(D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    ss.Set(D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP);
    ss.Set(D3DSAMP_BORDERCOLOR, 0);
    ss.Set(D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    ss.Set(D3DSAMP_MINFILTER, D3DTEXF_POINT);
    ss.Set(D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    ss.Set(D3DSAMP_MIPMAPLODBIAS, 0);
    ss.Set(D3DSAMP_MAXMIPLEVEL, 0);
    ss.Set(D3DSAMP_MAXANISOTROPY, 1);
    ss.Set(D3DSAMP_SRGBTEXTURE, 0);
    ss.Set(D3DSAMP_ELEMENTINDEX, 0);
    ss.Set(D3DSAMP_DMAPOFFSET, 0);
}

}  // namespace

int SamplerSlot(DWORD sampler) {
    if (sampler < 16) return static_cast<int>(sampler);
    if (sampler == kDisplacementMapSampler) return 16;
    if (sampler >= kVertexSampler0 && sampler < kVertexSampler0 + 4) return static_cast<int>(sampler - kVertexSampler0) + 17;
    return -1;
}

bool IsTransformType(DWORD type) {
    return type == D3DTS_VIEW || type == D3DTS_PROJECTION || (type >= D3DTS_TEXTURE0 && type <= D3DTS_TEXTURE7) ||
           (type >= 256 && type < kTransformSlots);
}

D3DLIGHT9 DefaultLight() {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

void ResetToDefaults(DeviceState& state, bool autoDepthStencil, UINT width, UINT height) {
    DefaultRenderStates(state.render, autoDepthStencil);
    for (DWORD stage = 0; stage < kStages; ++stage) DefaultStageStates(state.stages[stage], stage);
    for (auto& sampler : state.samplers) DefaultSamplerStates(sampler);
    state.transforms.fill(Identity());
    state.material = D3DMATERIAL9{};
    state.lights.clear();
    state.viewport = {0, 0, width, height, 0.0f, 1.0f};
    state.fvf = 0;
    state.streams.fill(StreamBinding{});
    state.indices = nullptr;
    state.textures.fill(nullptr);
}

}  // namespace d3d9
