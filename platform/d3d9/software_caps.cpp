// The capabilities of the software device: what the fixed-function pipeline draws (the stage operations,
// blend factors and address modes from the tables the state conversion reads, drawn_states.h) and the
// most it draws (pipeline/limits.h).
// HAL and REF are both drawn by it; HAL reports hardware transform and lighting and a pure device.
#include "d3d9/adapter_profile.h"
#include "drawn_states.h"
#include "pipeline/limits.h"

namespace d3d9 {

D3DCAPS9 SoftwareDeviceCaps(D3DDEVTYPE type) {
    D3DCAPS9 caps{};
    caps.DeviceType = type;
    caps.Caps2 = D3DCAPS2_CANMANAGERESOURCE | D3DCAPS2_DYNAMICTEXTURES;
    caps.Caps3 = D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE |
                                 D3DPRESENT_INTERVAL_TWO | D3DPRESENT_INTERVAL_THREE | D3DPRESENT_INTERVAL_FOUR;
    caps.CursorCaps = D3DCURSORCAPS_COLOR;
    caps.DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
                   D3DDEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_CANRENDERAFTERFLIP |
                   D3DDEVCAPS_DRAWPRIMITIVES2 | D3DDEVCAPS_DRAWPRIMITIVES2EX;
    if (type == D3DDEVTYPE_HAL)
        caps.DevCaps |= D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE | D3DDEVCAPS_HWRASTERIZATION;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                             D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_CLIPTLVERTS | D3DPMISCCAPS_BLENDOP |
                             DrawnCaps(ArgSources());
    caps.RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_MIPMAPLODBIAS |
                      D3DPRASTERCAPS_FOGRANGE | D3DPRASTERCAPS_COLORPERSPECTIVE;
    const DWORD allCompares = D3DPCMPCAPS_NEVER | D3DPCMPCAPS_LESS | D3DPCMPCAPS_EQUAL | D3DPCMPCAPS_LESSEQUAL |
                              D3DPCMPCAPS_GREATER | D3DPCMPCAPS_NOTEQUAL | D3DPCMPCAPS_GREATEREQUAL |
                              D3DPCMPCAPS_ALWAYS;
    caps.ZCmpCaps = allCompares;
    caps.AlphaCmpCaps = allCompares;
    for (const BlendFactorValue& factor : BlendFactors()) {
        if (!factor.drawn) continue;
        caps.SrcBlendCaps |= factor.cap;
        if (!factor.both) caps.DestBlendCaps |= factor.cap;  // the "both" factors are source only
    }
    caps.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND | D3DPSHADECAPS_FOGGOURAUD;
    caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP |
                       D3DPTEXTURECAPS_TEXREPEATNOTSCALEDBYSIZE;
    caps.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                             D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps.TextureAddressCaps = DrawnCaps(AddressModes()) | D3DPTADDRESSCAPS_INDEPENDENTUV;
    caps.LineCaps = D3DLINECAPS_TEXTURE | D3DLINECAPS_ZTEST | D3DLINECAPS_BLEND | D3DLINECAPS_ALPHACMP |
                    D3DLINECAPS_FOG;
    caps.MaxTextureWidth = pipeline::kMaxTextureSize;
    caps.MaxTextureHeight = pipeline::kMaxTextureSize;
    caps.MaxTextureRepeat = 8192;
    caps.MaxTextureAspectRatio = pipeline::kMaxTextureSize;
    caps.MaxAnisotropy = 1;
    caps.MaxVertexW = 1e10f;
    // Clipping against the guard band happens in floating point; the rasteriser scissors to the target.
    caps.GuardBandLeft = -8192.0f;
    caps.GuardBandTop = -8192.0f;
    caps.GuardBandRight = 8192.0f;
    caps.GuardBandBottom = 8192.0f;
    caps.StencilCaps = 0;
    caps.FVFCaps = pipeline::kMaxTexCoordSets;  // texture-coordinate sets
    caps.TextureOpCaps = DrawnCaps(TextureOps());
    caps.MaxTextureBlendStages = pipeline::kMaxStages;
    caps.MaxSimultaneousTextures = pipeline::kMaxStages;
    caps.VertexProcessingCaps = D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                                D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    caps.MaxActiveLights = pipeline::kMaxLights;
    caps.MaxUserClipPlanes = 0;
    caps.MaxVertexBlendMatrices = 0;
    caps.MaxPointSize = 1.0f;
    caps.MaxPrimitiveCount = pipeline::kMaxPrimitiveCount;
    caps.MaxVertexIndex = 0x00FFFFFF;
    caps.MaxStreams = 16;
    caps.MaxStreamStride = 255;
    caps.MasterAdapterOrdinal = 0;
    caps.NumberOfAdaptersInGroup = 1;
    caps.NumSimultaneousRTs = 1;
    return caps;
}

DeviceTypeProfile SoftwareDeviceType(D3DDEVTYPE type) {
    DeviceTypeProfile device;
    device.caps = SoftwareDeviceCaps(type);
    // Windowed, every back buffer is converted on presentation, whatever the desktop's format. Full screen,
    // the back buffer has the display's channel layout.
    for (D3DFORMAT bb : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5})
        device.backBuffers.push_back({D3DFMT_UNKNOWN, bb, true, false});
    device.backBuffers.push_back({D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false, true});
    device.backBuffers.push_back({D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, false, true});
    device.backBuffers.push_back({D3DFMT_R5G6B5, D3DFMT_R5G6B5, false, true});
    device.backBuffers.push_back({D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5, false, true});
    device.backBuffers.push_back({D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, false, true});
    for (D3DFORMAT depth : {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32})
        device.depthFormats.push_back({depth, {}});
    device.textureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5,
                             D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_DXT1,     D3DFMT_DXT2,
                             D3DFMT_DXT3,     D3DFMT_DXT4,     D3DFMT_DXT5};
    return device;
}

}  // namespace d3d9
