// The display-settings record's accessors and the choice of settings made at start-up.
#include "display_settings.h"

#include "error_reports.h"
#include "grow_array.h"

AdapterRecord* DisplaySettings::ActiveAdapter() const { return windowed ? windowedAdapter : fullscreenAdapter; }
DeviceRecord* DisplaySettings::ActiveDevice() const { return windowed ? windowedDevice : fullscreenDevice; }
FormatCombo* DisplaySettings::ActiveCombo() const { return windowed ? windowedCombo : fullscreenCombo; }
UINT DisplaySettings::ActiveAdapterOrdinal() const { return ActiveCombo()->m_adapterOrdinal; }
D3DDEVTYPE DisplaySettings::ActiveDeviceType() const { return ActiveCombo()->m_deviceType; }
D3DFORMAT DisplaySettings::ActiveBackBufferFormat() const { return ActiveCombo()->m_backBufferFormat; }

D3DDISPLAYMODE DisplaySettings::ActiveDisplayMode() const {
    return windowed ? windowedDisplayMode : fullscreenDisplayMode;
}
D3DFORMAT DisplaySettings::ActiveDepthStencilFormat() const {
    return windowed ? windowedDepthStencilFormat : fullscreenDepthStencilFormat;
}
D3DMULTISAMPLE_TYPE DisplaySettings::ActiveMultisampleType() const {
    return windowed ? windowedMultisampleType : fullscreenMultisampleType;
}
DWORD DisplaySettings::ActiveMultisampleQuality() const {
    return windowed ? windowedMultisampleQuality : fullscreenMultisampleQuality;
}
VertexProcessingType DisplaySettings::ActiveVertexProcessingType() const {
    return windowed ? windowedVertexProcessing : fullscreenVertexProcessing;
}
UINT DisplaySettings::ActivePresentInterval() const {
    return windowed ? windowedPresentInterval : fullscreenPresentInterval;
}

void DisplaySettings::SetActiveDepthStencilFormat(D3DFORMAT format) {
    (windowed ? windowedDepthStencilFormat : fullscreenDepthStencilFormat) = format;
}
void DisplaySettings::SetActiveMultisampleType(D3DMULTISAMPLE_TYPE type) {
    (windowed ? windowedMultisampleType : fullscreenMultisampleType) = type;
}
void DisplaySettings::SetActiveMultisampleQuality(DWORD quality) {
    (windowed ? windowedMultisampleQuality : fullscreenMultisampleQuality) = quality;
}
void DisplaySettings::SetActiveVertexProcessingType(VertexProcessingType type) {
    (windowed ? windowedVertexProcessing : fullscreenVertexProcessing) = type;
}
void DisplaySettings::SetActivePresentInterval(UINT interval) {
    (windowed ? windowedPresentInterval : fullscreenPresentInterval) = interval;
}

namespace {

template <typename T> T FirstValue(CGrowArray* pList) { return *static_cast<T*>(pList->EntryAt(0)); }

bool DeviceAdmitted(const DeviceRecord* pDevice, bool requireHal, bool requireRef) {
    if (requireHal && pDevice->m_deviceType != D3DDEVTYPE_HAL) return false;
    if (requireRef && pDevice->m_deviceType != D3DDEVTYPE_REF) return false;
    return true;
}

// The adapter's current display mode. One that cannot be read is all zeros, which matches no
// combination and no listed mode, rather than whatever the failed call left behind.
D3DDISPLAYMODE DesktopMode(IDirect3D9* pD3D, UINT ordinal) {
    D3DDISPLAYMODE mode{};
    if (FAILED(pD3D->GetAdapterDisplayMode(ordinal, &mode))) mode = D3DDISPLAYMODE{};
    return mode;
}

// The listed mode of the combination's adapter format closest to the desktop: the desktop mode
// itself, else the last of the desktop's width, else the first of that format.
D3DDISPLAYMODE ClosestMode(const AdapterRecord* pAdapter, D3DFORMAT format, const D3DDISPLAYMODE& desktop) {
    D3DDISPLAYMODE chosen{};
    bool taken = false;
    CGrowArray* pModes = pAdapter->m_pDisplayModeList;
    for (UINT i = 0; i < pModes->Count(); ++i) {
        const D3DDISPLAYMODE& mode = *static_cast<D3DDISPLAYMODE*>(pModes->EntryAt(i));
        if (mode.Format != format) continue;
        if (mode.Width == desktop.Width && mode.Height == desktop.Height && mode.RefreshRate == desktop.RefreshRate)
            return mode;
        if (mode.Width == desktop.Width || !taken) {
            chosen = mode;
            taken = true;
        }
    }
    return chosen;
}

} // namespace

bool PickWindowedSettings(DisplaySettings* pSettings, const CD3DDeviceCatalog& catalog, IDirect3D9* pD3D,
                          const RECT& clientRect, bool requireHal, bool requireRef) {
    if (!pSettings || !pD3D || !catalog.m_pAdapterList) return false;

    // Adapter 0's desktop serves for every adapter.
    const D3DDISPLAYMODE desktop = DesktopMode(pD3D, 0);

    AdapterRecord* pBestAdapter = nullptr;
    DeviceRecord* pBestDevice = nullptr;
    FormatCombo* pBestCombo = nullptr;
    bool done = false;
    CGrowArray* pAdapters = catalog.m_pAdapterList;
    for (UINT a = 0; a < pAdapters->Count() && !done; ++a) {
        AdapterRecord* pAdapter = static_cast<AdapterRecord*>(pAdapters->EntryAt(a));
        for (UINT d = 0; d < pAdapter->m_pDeviceList->Count() && !done; ++d) {
            DeviceRecord* pDevice = static_cast<DeviceRecord*>(pAdapter->m_pDeviceList->EntryAt(d));
            if (!DeviceAdmitted(pDevice, requireHal, requireRef)) continue;
            for (UINT c = 0; c < pDevice->m_pFormatComboList->Count() && !done; ++c) {
                FormatCombo* pCombo = static_cast<FormatCombo*>(pDevice->m_pFormatComboList->EntryAt(c));
                if (!pCombo->m_windowed || pCombo->m_adapterFormat != desktop.Format) continue;
                const bool hal = pCombo->m_deviceType == D3DDEVTYPE_HAL;
                const bool bufferMatch = pCombo->m_backBufferFormat == pCombo->m_adapterFormat;
                if (!pBestCombo || (pBestCombo->m_deviceType != D3DDEVTYPE_HAL && hal) || (hal && bufferMatch)) {
                    pBestAdapter = pAdapter;
                    pBestDevice = pDevice;
                    pBestCombo = pCombo;
                    done = hal && bufferMatch;
                }
            }
        }
    }
    if (!pBestCombo) return false;

    pSettings->windowedAdapter = pBestAdapter;
    pSettings->windowedDevice = pBestDevice;
    pSettings->windowedCombo = pBestCombo;
    pSettings->windowed = true;
    pSettings->windowedDisplayMode = desktop;
    pSettings->windowedClientWidth = clientRect.right - clientRect.left;
    pSettings->windowedClientHeight = clientRect.bottom - clientRect.top;
    if (catalog.m_usesDepthBuffer)
        pSettings->windowedDepthStencilFormat = FirstValue<D3DFORMAT>(pBestCombo->m_pDepthStencilFormatList);
    pSettings->windowedMultisampleType = FirstValue<D3DMULTISAMPLE_TYPE>(pBestCombo->m_pMultisampleTypeList);
    pSettings->windowedMultisampleQuality = 0;
    pSettings->windowedVertexProcessing = FirstValue<VertexProcessingType>(pBestCombo->m_pVertexProcessingTypeList);
    pSettings->windowedPresentInterval = FirstValue<UINT>(pBestCombo->m_pPresentIntervalList);
    return true;
}

bool PickFullscreenSettings(DisplaySettings* pSettings, const CD3DDeviceCatalog& catalog, IDirect3D9* pD3D,
                            bool requireHal, bool requireRef) {
    if (!pSettings || !pD3D || !catalog.m_pAdapterList) return false;

    AdapterRecord* pBestAdapter = nullptr;
    DeviceRecord* pBestDevice = nullptr;
    FormatCombo* pBestCombo = nullptr;
    D3DDISPLAYMODE bestDesktop{};
    bool done = false;
    CGrowArray* pAdapters = catalog.m_pAdapterList;
    for (UINT a = 0; a < pAdapters->Count() && !done; ++a) {
        AdapterRecord* pAdapter = static_cast<AdapterRecord*>(pAdapters->EntryAt(a));
        const D3DDISPLAYMODE desktop = DesktopMode(pD3D, pAdapter->m_adapterOrdinal);
        for (UINT d = 0; d < pAdapter->m_pDeviceList->Count() && !done; ++d) {
            DeviceRecord* pDevice = static_cast<DeviceRecord*>(pAdapter->m_pDeviceList->EntryAt(d));
            if (!DeviceAdmitted(pDevice, requireHal, requireRef)) continue;
            for (UINT c = 0; c < pDevice->m_pFormatComboList->Count() && !done; ++c) {
                FormatCombo* pCombo = static_cast<FormatCombo*>(pDevice->m_pFormatComboList->EntryAt(c));
                if (pCombo->m_windowed) continue;
                const bool hal = pCombo->m_deviceType == D3DDEVTYPE_HAL;
                const bool desktopMatch = pCombo->m_adapterFormat == desktop.Format;
                const bool bufferMatch = pCombo->m_backBufferFormat == pCombo->m_adapterFormat;
                if (!pBestCombo || (pBestCombo->m_deviceType != D3DDEVTYPE_HAL && hal) ||
                    (hal && desktopMatch && pBestCombo->m_adapterFormat != desktop.Format) ||
                    (hal && desktopMatch && bufferMatch)) {
                    pBestAdapter = pAdapter;
                    pBestDevice = pDevice;
                    pBestCombo = pCombo;
                    bestDesktop = desktop;
                    done = hal && desktopMatch && bufferMatch;
                }
            }
        }
    }
    if (!pBestCombo) return false;

    pSettings->fullscreenAdapter = pBestAdapter;
    pSettings->fullscreenDevice = pBestDevice;
    pSettings->fullscreenCombo = pBestCombo;
    pSettings->fullscreenDisplayMode = ClosestMode(pBestAdapter, pBestCombo->m_adapterFormat, bestDesktop);
    pSettings->windowed = false;
    if (catalog.m_usesDepthBuffer)
        pSettings->fullscreenDepthStencilFormat = FirstValue<D3DFORMAT>(pBestCombo->m_pDepthStencilFormatList);
    pSettings->fullscreenMultisampleType = FirstValue<D3DMULTISAMPLE_TYPE>(pBestCombo->m_pMultisampleTypeList);
    pSettings->fullscreenMultisampleQuality = 0;
    pSettings->fullscreenVertexProcessing =
        FirstValue<VertexProcessingType>(pBestCombo->m_pVertexProcessingTypeList);
    pSettings->fullscreenPresentInterval = D3DPRESENT_INTERVAL_DEFAULT;
    return true;
}

HRESULT PickInitialSettings(DisplaySettings* pSettings, const CD3DDeviceCatalog& catalog, IDirect3D9* pD3D,
                            const RECT& clientRect, bool startFullscreen) {
    const bool fullscreenFound = PickFullscreenSettings(pSettings, catalog, pD3D, false, false);
    const bool windowedFound = PickWindowedSettings(pSettings, catalog, pD3D, clientRect, false, false);
    if (fullscreenFound && (startFullscreen || !windowedFound)) pSettings->windowed = false;
    if (!fullscreenFound && !windowedFound) return HostAppError::NoSuitableDevice;
    return S_OK;
}
