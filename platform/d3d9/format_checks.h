// The format answers of a device type, read from its profile: what CheckDeviceType, CheckDeviceFormat,
// CheckDepthStencilMatch and CheckDeviceMultiSampleType say, and what device creation validates against.
#pragma once

#include "d3d9/adapter_profile.h"

namespace d3d9 {

// A display format the adapter can run in: one it lists modes for, or the current desktop format.
bool IsDisplayFormat(const AdapterProfile& adapter, D3DFORMAT format, D3DFORMAT desktopFormat);
bool IsDepthFormat(D3DFORMAT format);

HRESULT CheckBackBuffer(const AdapterProfile& adapter, const DeviceTypeProfile& device, D3DFORMAT desktopFormat,
                        D3DFORMAT displayFormat, D3DFORMAT backBufferFormat, bool windowed);
HRESULT CheckResourceFormat(const AdapterProfile& adapter, const DeviceTypeProfile& device,
                            D3DFORMAT desktopFormat, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE type, D3DFORMAT format);
HRESULT CheckDepthMatch(const AdapterProfile& adapter, const DeviceTypeProfile& device, D3DFORMAT desktopFormat,
                        D3DFORMAT adapterFormat, D3DFORMAT renderTarget, D3DFORMAT depthStencil);
// qualityLevels may be null.
HRESULT CheckMultisample(const DeviceTypeProfile& device, D3DFORMAT surfaceFormat, bool windowed,
                         D3DMULTISAMPLE_TYPE type, DWORD* qualityLevels);

}  // namespace d3d9
