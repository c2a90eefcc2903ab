// The device stage of the catalog build: each adapter's working device types, and for each device
// the combinations of display format, back-buffer format and windowed use that Direct3D accepts,
// with what each offers. Candidates are tried in fixed orders, since list positions are preferences.
#include <initializer_list>
#include <new>

#include "device_catalog.h"
#include "grow_array.h"

namespace {

const D3DDEVTYPE kDeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};

const D3DFORMAT kBackBufferFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10,
                                        D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5};

const D3DFORMAT kDepthStencilFormats[] = {D3DFMT_D16,   D3DFMT_D15S1,   D3DFMT_D24X8,
                                          D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};

const UINT kPresentIntervals[] = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                  D3DPRESENT_INTERVAL_ONE,       D3DPRESENT_INTERVAL_TWO,
                                  D3DPRESENT_INTERVAL_THREE,     D3DPRESENT_INTERVAL_FOUR};

const int kMaxMultisampleType = 16;

template <typename T> T ValueAt(CGrowArray* pList, UINT index) { return *static_cast<T*>(pList->EntryAt(index)); }

CGrowArray* NewValueList(UINT entrySize) { return new (std::nothrow) CGrowArray(GrowArrayKind::ByValue, entrySize); }

} // namespace

HRESULT CD3DDeviceCatalog::AddDevices(AdapterRecord* pAdapter, CGrowArray* pAdapterFormats) {
    for (D3DDEVTYPE type : kDeviceTypes) {
        DeviceRecord* pDevice = new (std::nothrow) DeviceRecord;
        if (!pDevice) return E_OUTOFMEMORY;
        pDevice->m_pFormatComboList = new (std::nothrow) CGrowArray(GrowArrayKind::ByPointer, sizeof(void*));
        if (!pDevice->m_pFormatComboList) {
            delete pDevice;
            return E_OUTOFMEMORY;
        }
        pDevice->m_adapterOrdinal = pAdapter->m_adapterOrdinal;
        pDevice->m_deviceType = type;

        // A device type whose capabilities cannot be read does not exist here.
        if (FAILED(m_pD3D->GetDeviceCaps(pDevice->m_adapterOrdinal, type, &pDevice->m_caps))) {
            delete pDevice;
            continue;
        }

        HRESULT hr = AddFormatCombos(pDevice, pAdapterFormats);
        if (FAILED(hr)) {
            delete pDevice;
            return hr;
        }
        if (pDevice->m_pFormatComboList->Count() == 0) {
            delete pDevice;
            continue;
        }
        hr = pAdapter->m_pDeviceList->Add(pDevice);
        if (FAILED(hr)) {
            delete pDevice;
            return hr;
        }
    }
    return S_OK;
}

HRESULT CD3DDeviceCatalog::AddFormatCombos(DeviceRecord* pDevice, CGrowArray* pAdapterFormats) {
    for (UINT f = 0; f < pAdapterFormats->Count(); ++f) {
        const D3DFORMAT adapterFormat = ValueAt<D3DFORMAT>(pAdapterFormats, f);
        for (D3DFORMAT backBufferFormat : kBackBufferFormats) {
            if (AlphaBitsInFormat(backBufferFormat) < m_minAlphaChannelBits) continue;
            for (bool windowed : {false, true}) {
                if (!windowed && m_requiresWindowed) continue;
                if (windowed && m_requiresFullscreen) continue;
                if (FAILED(m_pD3D->CheckDeviceType(pDevice->m_adapterOrdinal, pDevice->m_deviceType, adapterFormat,
                                                   backBufferFormat, windowed ? TRUE : FALSE)))
                    continue;
                HRESULT hr = AddFormatCombo(pDevice, adapterFormat, backBufferFormat, windowed);
                if (FAILED(hr)) return hr;
            }
        }
    }
    return S_OK;
}

// Makes one combination and appends it to the device when it offers everything it needs.
HRESULT CD3DDeviceCatalog::AddFormatCombo(DeviceRecord* pDevice, D3DFORMAT adapterFormat,
                                          D3DFORMAT backBufferFormat, bool windowed) {
    FormatCombo* pCombo = new (std::nothrow) FormatCombo;
    if (!pCombo) return E_OUTOFMEMORY;
    pCombo->m_pDepthStencilFormatList = NewValueList(sizeof(D3DFORMAT));
    pCombo->m_pMultisampleTypeList = NewValueList(sizeof(D3DMULTISAMPLE_TYPE));
    pCombo->m_pMultisampleQualityList = NewValueList(sizeof(DWORD));
    pCombo->m_pConflictList = NewValueList(sizeof(DepthMultisampleConflict));
    pCombo->m_pVertexProcessingTypeList = NewValueList(sizeof(VertexProcessingType));
    pCombo->m_pPresentIntervalList = NewValueList(sizeof(UINT));
    if (!pCombo->m_pDepthStencilFormatList || !pCombo->m_pMultisampleTypeList || !pCombo->m_pMultisampleQualityList ||
        !pCombo->m_pConflictList || !pCombo->m_pVertexProcessingTypeList || !pCombo->m_pPresentIntervalList) {
        delete pCombo;
        return E_OUTOFMEMORY;
    }
    pCombo->m_adapterOrdinal = pDevice->m_adapterOrdinal;
    pCombo->m_deviceType = pDevice->m_deviceType;
    pCombo->m_adapterFormat = adapterFormat;
    pCombo->m_backBufferFormat = backBufferFormat;
    pCombo->m_windowed = windowed;

    HRESULT hr = FillFormatCombo(pDevice, pCombo);
    if (hr == S_OK) {
        hr = pDevice->m_pFormatComboList->Add(pCombo);
        if (SUCCEEDED(hr)) return S_OK;
    }
    // Incomplete (S_FALSE) or failed: the combination goes; only a failure is passed on.
    delete pCombo;
    return FAILED(hr) ? hr : S_OK;
}

// Collects the combination's lists: S_OK when it is complete, S_FALSE when a list it needs stays
// empty (the later stages are then not asked), or the failure of an append.
HRESULT CD3DDeviceCatalog::FillFormatCombo(const DeviceRecord* pDevice, FormatCombo* pCombo) {
    HRESULT hr;
    if (m_usesDepthBuffer) {
        hr = CollectDepthStencilFormats(pCombo);
        if (FAILED(hr)) return hr;
        if (pCombo->m_pDepthStencilFormatList->Count() == 0) return S_FALSE;
    }
    hr = CollectMultisampleTypes(pCombo);
    if (FAILED(hr)) return hr;
    if (pCombo->m_pMultisampleTypeList->Count() == 0) return S_FALSE;
    hr = CollectDepthMultisampleConflicts(pCombo);
    if (FAILED(hr)) return hr;
    hr = CollectVertexProcessingTypes(pDevice, pCombo);
    if (FAILED(hr)) return hr;
    if (pCombo->m_pVertexProcessingTypeList->Count() == 0) return S_FALSE;
    // Never empty: the default interval is always listed.
    return CollectPresentIntervals(pDevice, pCombo);
}

HRESULT CD3DDeviceCatalog::CollectDepthStencilFormats(FormatCombo* pCombo) {
    for (D3DFORMAT format : kDepthStencilFormats) {
        if (DepthBitsInFormat(format) < m_minDepthBits || StencilBitsInFormat(format) < m_minStencilBits) continue;
        if (FAILED(m_pD3D->CheckDeviceFormat(pCombo->m_adapterOrdinal, pCombo->m_deviceType, pCombo->m_adapterFormat,
                                             D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, format)))
            continue;
        if (FAILED(m_pD3D->CheckDepthStencilMatch(pCombo->m_adapterOrdinal, pCombo->m_deviceType,
                                                  pCombo->m_adapterFormat, pCombo->m_backBufferFormat, format)))
            continue;
        HRESULT hr = pCombo->m_pDepthStencilFormatList->Add(&format);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT CD3DDeviceCatalog::CollectMultisampleTypes(FormatCombo* pCombo) {
    CGrowArray* pTypes = pCombo->m_pMultisampleTypeList;
    CGrowArray* pQualities = pCombo->m_pMultisampleQualityList;
    for (int value = 0; value <= kMaxMultisampleType; ++value) {
        D3DMULTISAMPLE_TYPE type = static_cast<D3DMULTISAMPLE_TYPE>(value);
        DWORD levels = 0;
        if (FAILED(m_pD3D->CheckDeviceMultiSampleType(pCombo->m_adapterOrdinal, pCombo->m_deviceType,
                                                      pCombo->m_backBufferFormat, pCombo->m_windowed ? TRUE : FALSE,
                                                      type, &levels)))
            continue;
        // No quality level means the type cannot actually be used.
        if (levels == 0) continue;
        HRESULT hr = pTypes->Add(&type);
        if (FAILED(hr)) return hr;
        hr = pQualities->Add(&levels);
        if (FAILED(hr)) {
            // The two lists stay parallel.
            pTypes->RemoveAt(pTypes->Count() - 1);
            return hr;
        }
    }
    return S_OK;
}

HRESULT CD3DDeviceCatalog::CollectDepthMultisampleConflicts(FormatCombo* pCombo) {
    CGrowArray* pFormats = pCombo->m_pDepthStencilFormatList;
    CGrowArray* pTypes = pCombo->m_pMultisampleTypeList;
    for (UINT f = 0; f < pFormats->Count(); ++f) {
        for (UINT t = 0; t < pTypes->Count(); ++t) {
            DepthMultisampleConflict conflict = {ValueAt<D3DFORMAT>(pFormats, f),
                                                 ValueAt<D3DMULTISAMPLE_TYPE>(pTypes, t)};
            if (SUCCEEDED(m_pD3D->CheckDeviceMultiSampleType(
                    pCombo->m_adapterOrdinal, pCombo->m_deviceType, conflict.m_depthStencilFormat,
                    pCombo->m_windowed ? TRUE : FALSE, conflict.m_multisampleType, nullptr)))
                continue;
            HRESULT hr = pCombo->m_pConflictList->Add(&conflict);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

HRESULT CD3DDeviceCatalog::CollectVertexProcessingTypes(const DeviceRecord* pDevice, FormatCombo* pCombo) {
    CGrowArray* pTypes = pCombo->m_pVertexProcessingTypeList;
    // Asks the device-check function, when there is one, and lists the type it accepts.
    auto offer = [&](VertexProcessingType type) -> HRESULT {
        if (m_pfnDeviceCheck && !m_pfnDeviceCheck(&pDevice->m_caps, type, pCombo->m_backBufferFormat)) return S_OK;
        return pTypes->Add(&type);
    };

    HRESULT hr = S_OK;
    const DWORD devCaps = pDevice->m_caps.DevCaps;
    if (devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
        if (devCaps & D3DDEVCAPS_PUREDEVICE) hr = offer(PURE_HARDWARE_VP);
        if (SUCCEEDED(hr)) hr = offer(HARDWARE_VP);
        if (SUCCEEDED(hr) && m_usesMixedVP) hr = offer(MIXED_VP);
    }
    if (SUCCEEDED(hr)) hr = offer(SOFTWARE_VP);
    return hr;
}

HRESULT CD3DDeviceCatalog::CollectPresentIntervals(const DeviceRecord* pDevice, FormatCombo* pCombo) {
    for (UINT interval : kPresentIntervals) {
        // A window cannot wait for more than one vertical blank.
        if (pCombo->m_windowed && (interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
                                   interval == D3DPRESENT_INTERVAL_FOUR))
            continue;
        if (interval != D3DPRESENT_INTERVAL_DEFAULT && !(pDevice->m_caps.PresentationIntervals & interval)) continue;
        HRESULT hr = pCombo->m_pPresentIntervalList->Add(&interval);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}
