// Format answers from the profile's rules.
#include "format_checks.h"

#include <algorithm>

namespace d3d9 {

namespace {

bool Contains(const std::vector<D3DFORMAT>& list, D3DFORMAT format) {
    return std::find(list.begin(), list.end(), format) != list.end();
}

bool IsBackBufferFormat(const DeviceTypeProfile& device, D3DFORMAT format) {
    return std::any_of(device.backBuffers.begin(), device.backBuffers.end(),
                       [&](const BackBufferRule& rule) { return rule.backBufferFormat == format; });
}

const DepthRule* FindDepth(const DeviceTypeProfile& device, D3DFORMAT format) {
    for (const DepthRule& rule : device.depthFormats)
        if (rule.depthFormat == format) return &rule;
    return nullptr;
}

}  // namespace

bool IsDisplayFormat(const AdapterProfile& adapter, D3DFORMAT format, D3DFORMAT desktopFormat) {
    if (format == desktopFormat) return true;
    auto it = adapter.modes.find(format);
    return it != adapter.modes.end() && !it->second.empty();
}

bool IsDepthFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D16_LOCKABLE: case D3DFMT_D32: case D3DFMT_D15S1: case D3DFMT_D24S8: case D3DFMT_D24X8:
    case D3DFMT_D24X4S4: case D3DFMT_D16: case D3DFMT_D32F_LOCKABLE: case D3DFMT_D24FS8:
        return true;
    default:
        return false;
    }
}

HRESULT CheckBackBuffer(const AdapterProfile& adapter, const DeviceTypeProfile& device, D3DFORMAT desktopFormat,
                        D3DFORMAT displayFormat, D3DFORMAT backBufferFormat, bool windowed) {
    // Windowed use runs on the desktop as it is; full screen needs modes in the display format.
    if (windowed) {
        if (displayFormat != desktopFormat) return D3DERR_NOTAVAILABLE;
    } else {
        auto it = adapter.modes.find(displayFormat);
        if (it == adapter.modes.end() || it->second.empty()) return D3DERR_NOTAVAILABLE;
    }
    if (windowed && backBufferFormat == D3DFMT_UNKNOWN) backBufferFormat = displayFormat;
    for (const BackBufferRule& rule : device.backBuffers) {
        if (rule.backBufferFormat != backBufferFormat) continue;
        if (rule.displayFormat != D3DFMT_UNKNOWN && rule.displayFormat != displayFormat) continue;
        if (windowed ? rule.windowed : rule.fullScreen) return D3D_OK;
    }
    return D3DERR_NOTAVAILABLE;
}

HRESULT CheckResourceFormat(const AdapterProfile& adapter, const DeviceTypeProfile& device,
                            D3DFORMAT desktopFormat, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE type, D3DFORMAT format) {
    if (!IsDisplayFormat(adapter, adapterFormat, desktopFormat)) return D3DERR_NOTAVAILABLE;
    const DWORD known = D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC;
    if (usage & ~known) return D3DERR_NOTAVAILABLE;
    if ((usage & D3DUSAGE_RENDERTARGET) && (usage & D3DUSAGE_DEPTHSTENCIL)) return D3DERR_NOTAVAILABLE;
    if (usage & D3DUSAGE_DEPTHSTENCIL)
        return type == D3DRTYPE_SURFACE && FindDepth(device, format) ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (usage & D3DUSAGE_RENDERTARGET)
        return (type == D3DRTYPE_SURFACE || type == D3DRTYPE_TEXTURE) && IsBackBufferFormat(device, format)
                   ? D3D_OK
                   : D3DERR_NOTAVAILABLE;
    switch (type) {
    case D3DRTYPE_SURFACE:
    case D3DRTYPE_TEXTURE:
        return Contains(device.textureFormats, format) ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DRTYPE_VERTEXBUFFER:
        return format == D3DFMT_VERTEXDATA ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DRTYPE_INDEXBUFFER:
        return format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32 ? D3D_OK : D3DERR_NOTAVAILABLE;
    default:
        return D3DERR_NOTAVAILABLE;
    }
}

HRESULT CheckDepthMatch(const AdapterProfile& adapter, const DeviceTypeProfile& device, D3DFORMAT desktopFormat,
                        D3DFORMAT adapterFormat, D3DFORMAT renderTarget, D3DFORMAT depthStencil) {
    if (!IsDisplayFormat(adapter, adapterFormat, desktopFormat)) return D3DERR_NOTAVAILABLE;
    if (!IsBackBufferFormat(device, renderTarget)) return D3DERR_NOTAVAILABLE;
    const DepthRule* rule = FindDepth(device, depthStencil);
    if (!rule) return D3DERR_NOTAVAILABLE;
    return rule->renderTargets.empty() || Contains(rule->renderTargets, renderTarget) ? D3D_OK
                                                                                      : D3DERR_NOTAVAILABLE;
}

HRESULT CheckMultisample(const DeviceTypeProfile& device, D3DFORMAT surfaceFormat, bool windowed,
                         D3DMULTISAMPLE_TYPE type, DWORD* qualityLevels) {
    if (type < D3DMULTISAMPLE_NONE || type > D3DMULTISAMPLE_16_SAMPLES) return D3DERR_INVALIDCALL;
    if (!IsBackBufferFormat(device, surfaceFormat) && !FindDepth(device, surfaceFormat))
        return D3DERR_NOTAVAILABLE;
    if (type == D3DMULTISAMPLE_NONE) {
        if (qualityLevels) *qualityLevels = 1;
        return D3D_OK;
    }
    for (const MultisampleRule& rule : device.multisample) {
        if (rule.type != type || !(windowed ? rule.windowed : rule.fullScreen)) continue;
        if (!rule.formats.empty() && !Contains(rule.formats, surfaceFormat)) continue;
        if (qualityLevels) *qualityLevels = rule.qualityLevels;
        return D3D_OK;
    }
    if (qualityLevels) *qualityLevels = 0;
    return D3DERR_NOTAVAILABLE;
}

}  // namespace d3d9
