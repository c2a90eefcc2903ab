// What the device is to be created with, kept once for windowed and once for full-screen running;
// the windowed flag selects the half in use. The adapter, device and combination pointers point
// into the device catalog, which owns them and outlives every copy of this record.
#pragma once

#include "d3d9.h"
#include "device_catalog.h"

struct DisplaySettings {
    bool windowed = false;

    // A half that no choice has filled has null record pointers and zero values.
    AdapterRecord* windowedAdapter = nullptr;
    DeviceRecord* windowedDevice = nullptr;
    FormatCombo* windowedCombo = nullptr;
    D3DDISPLAYMODE windowedDisplayMode{};
    D3DFORMAT windowedDepthStencilFormat = D3DFMT_UNKNOWN;
    D3DMULTISAMPLE_TYPE windowedMultisampleType = D3DMULTISAMPLE_NONE;
    DWORD windowedMultisampleQuality = 0;
    VertexProcessingType windowedVertexProcessing = SOFTWARE_VP;
    UINT windowedPresentInterval = 0;
    int32_t windowedClientWidth = 0;
    int32_t windowedClientHeight = 0;

    AdapterRecord* fullscreenAdapter = nullptr;
    DeviceRecord* fullscreenDevice = nullptr;
    FormatCombo* fullscreenCombo = nullptr;
    D3DDISPLAYMODE fullscreenDisplayMode{};
    D3DFORMAT fullscreenDepthStencilFormat = D3DFMT_UNKNOWN;
    D3DMULTISAMPLE_TYPE fullscreenMultisampleType = D3DMULTISAMPLE_NONE;
    DWORD fullscreenMultisampleQuality = 0;
    VertexProcessingType fullscreenVertexProcessing = SOFTWARE_VP;
    UINT fullscreenPresentInterval = 0;

    // Each reads or writes the half selected by `windowed` at the time of the call. The combination
    // accessors dereference the active combination, so that half must have been filled.
    AdapterRecord* ActiveAdapter() const;
    DeviceRecord* ActiveDevice() const;
    FormatCombo* ActiveCombo() const;
    UINT ActiveAdapterOrdinal() const;
    D3DDEVTYPE ActiveDeviceType() const;
    D3DFORMAT ActiveBackBufferFormat() const;
    D3DDISPLAYMODE ActiveDisplayMode() const;
    D3DFORMAT ActiveDepthStencilFormat() const;
    D3DMULTISAMPLE_TYPE ActiveMultisampleType() const;
    DWORD ActiveMultisampleQuality() const;
    VertexProcessingType ActiveVertexProcessingType() const;
    UINT ActivePresentInterval() const;

    void SetActiveDepthStencilFormat(D3DFORMAT format);
    void SetActiveMultisampleType(D3DMULTISAMPLE_TYPE type);
    void SetActiveMultisampleQuality(DWORD quality);
    void SetActiveVertexProcessingType(VertexProcessingType type);
    void SetActivePresentInterval(UINT interval);
};

// The initial choice. The host's operations of the same names forward to these with its own
// m_settings, m_catalog, m_pDirect3D, m_clientRect and m_startFullscreen.
// requireHal admits only D3DDEVTYPE_HAL devices, requireRef only D3DDEVTYPE_REF; false admits all.
// A null Direct3D object finds nothing.

// Best windowed settings on adapter 0's desktop format; fills the windowed half and sets
// `windowed` when found; leaves the record untouched otherwise.
bool PickWindowedSettings(DisplaySettings* pSettings, const CD3DDeviceCatalog& catalog, IDirect3D9* pD3D,
                          const RECT& clientRect, bool requireHal, bool requireRef);

// Best full-screen settings and the display mode closest to the adapter's desktop; fills the
// full-screen half and clears `windowed` when found; leaves the record untouched otherwise.
bool PickFullscreenSettings(DisplaySettings* pSettings, const CD3DDeviceCatalog& catalog, IDirect3D9* pD3D,
                            bool requireHal, bool requireRef);

// Both choices; windowed when a windowed choice exists and startFullscreen is not set.
// S_OK, or HostAppError::NoSuitableDevice when neither exists.
HRESULT PickInitialSettings(DisplaySettings* pSettings, const CD3DDeviceCatalog& catalog, IDirect3D9* pD3D,
                            const RECT& clientRect, bool startFullscreen);
