// The device catalog's records, the adapter and display-mode stage of the build, the display-mode
// order and the bit counts of formats.
#include "device_catalog.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "grow_array.h"

FormatCombo::~FormatCombo() {
    delete m_pDepthStencilFormatList;
    delete m_pMultisampleTypeList;
    delete m_pMultisampleQualityList;
    delete m_pConflictList;
    delete m_pVertexProcessingTypeList;
    delete m_pPresentIntervalList;
}

DeviceRecord::~DeviceRecord() {
    if (m_pFormatComboList) {
        for (UINT i = 0; i < m_pFormatComboList->Count(); ++i)
            delete static_cast<FormatCombo*>(m_pFormatComboList->EntryAt(i));
        delete m_pFormatComboList;
    }
}

AdapterRecord::~AdapterRecord() {
    delete m_pDisplayModeList;
    if (m_pDeviceList) {
        for (UINT i = 0; i < m_pDeviceList->Count(); ++i)
            delete static_cast<DeviceRecord*>(m_pDeviceList->EntryAt(i));
        delete m_pDeviceList;
    }
}

CD3DDeviceCatalog::CD3DDeviceCatalog()
    : m_pD3D(nullptr),
      m_pAdapterList(nullptr),
      m_pfnDeviceCheck(nullptr),
      m_minFullscreenWidth(640),
      m_minFullscreenHeight(480),
      m_minColorChannelBits(5),
      m_minAlphaChannelBits(0),
      m_minDepthBits(15),
      m_minStencilBits(0),
      m_usesDepthBuffer(false),
      m_usesMixedVP(false),
      m_requiresWindowed(false),
      m_requiresFullscreen(false),
      m_pAllowedAdapterFormats(nullptr) {}

CD3DDeviceCatalog::~CD3DDeviceCatalog() {
    // Never calls the Direct3D object: it is released before the catalog goes.
    if (m_pAdapterList) {
        for (UINT i = 0; i < m_pAdapterList->Count(); ++i)
            delete static_cast<AdapterRecord*>(m_pAdapterList->EntryAt(i));
        delete m_pAdapterList;
        m_pAdapterList = nullptr;
    }
    delete m_pAllowedAdapterFormats;
    m_pAllowedAdapterFormats = nullptr;
}

void CD3DDeviceCatalog::AttachDirect3D(IDirect3D9* pD3D) { m_pD3D = pD3D; }

HRESULT CD3DDeviceCatalog::Build() {
    // The records are handed out as plain pointers, so the catalog is filled once only.
    if (m_pAdapterList || m_pAllowedAdapterFormats) return S_FALSE;

    CGrowArray adapterFormats(GrowArrayKind::ByValue, sizeof(D3DFORMAT));
    if (!m_pD3D) return E_FAIL;

    m_pAdapterList = new (std::nothrow) CGrowArray(GrowArrayKind::ByPointer, sizeof(void*));
    if (!m_pAdapterList) return E_OUTOFMEMORY;
    m_pAllowedAdapterFormats = new (std::nothrow) CGrowArray(GrowArrayKind::ByValue, sizeof(D3DFORMAT));
    if (!m_pAllowedAdapterFormats) return E_OUTOFMEMORY;

    const D3DFORMAT allowed[] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A2R10G10B10};
    for (D3DFORMAT format : allowed) {
        HRESULT hr = m_pAllowedAdapterFormats->Add(&format);
        if (FAILED(hr)) return hr;
    }

    const UINT adapterCount = m_pD3D->GetAdapterCount();
    for (UINT ordinal = 0; ordinal < adapterCount; ++ordinal) {
        AdapterRecord* pAdapter = new (std::nothrow) AdapterRecord;
        if (!pAdapter) return E_OUTOFMEMORY;
        pAdapter->m_pDisplayModeList = new (std::nothrow) CGrowArray(GrowArrayKind::ByValue, sizeof(D3DDISPLAYMODE));
        pAdapter->m_pDeviceList = new (std::nothrow) CGrowArray(GrowArrayKind::ByPointer, sizeof(void*));
        if (!pAdapter->m_pDisplayModeList || !pAdapter->m_pDeviceList) {
            delete pAdapter;
            return E_OUTOFMEMORY;
        }

        pAdapter->m_adapterOrdinal = ordinal;
        // A failed query may leave anything in the record; an empty identifier is shown instead.
        if (FAILED(m_pD3D->GetAdapterIdentifier(ordinal, 0, &pAdapter->m_identifier)))
            pAdapter->m_identifier = D3DADAPTER_IDENTIFIER9{};

        adapterFormats.Clear();
        HRESULT hr = AddDisplayModes(pAdapter, &adapterFormats);
        if (SUCCEEDED(hr)) hr = AddDevices(pAdapter, &adapterFormats);
        if (FAILED(hr)) {
            delete pAdapter;
            return hr;
        }

        // An adapter without a working device is left out without a word.
        if (pAdapter->m_pDeviceList->Count() == 0) {
            delete pAdapter;
            continue;
        }
        hr = m_pAdapterList->Add(pAdapter);
        if (FAILED(hr)) {
            delete pAdapter;
            return hr;
        }
    }
    return S_OK;
}

// Lists the adapter's modes that meet the minimums, sorted, and collects their distinct formats.
HRESULT CD3DDeviceCatalog::AddDisplayModes(AdapterRecord* pAdapter, CGrowArray* pAdapterFormats) {
    CGrowArray* pModes = pAdapter->m_pDisplayModeList;
    for (UINT f = 0; f < m_pAllowedAdapterFormats->Count(); ++f) {
        const D3DFORMAT format = *static_cast<D3DFORMAT*>(m_pAllowedAdapterFormats->EntryAt(f));
        const UINT modeCount = m_pD3D->GetAdapterModeCount(pAdapter->m_adapterOrdinal, format);
        for (UINT index = 0; index < modeCount; ++index) {
            D3DDISPLAYMODE mode{};
            // A mode that cannot be read is skipped rather than listed with whatever was left in it.
            if (FAILED(m_pD3D->EnumAdapterModes(pAdapter->m_adapterOrdinal, format, index, &mode))) continue;
            // The mode's own format decides, whatever format was asked for.
            if (mode.Width < m_minFullscreenWidth || mode.Height < m_minFullscreenHeight ||
                ChannelBitsInFormat(mode.Format) < m_minColorChannelBits)
                continue;
            HRESULT hr = pModes->Add(&mode);
            if (FAILED(hr)) return hr;
            if (!pAdapterFormats->Contains(&mode.Format)) {
                hr = pAdapterFormats->Add(&mode.Format);
                if (FAILED(hr)) return hr;
            }
        }
    }
    if (pModes->Count() > 1)
        std::qsort(pModes->EntryAt(0), pModes->Count(), sizeof(D3DDISPLAYMODE), CompareDisplayModes);
    return S_OK;
}

int CompareDisplayModes(const void* a, const void* b) {
    const D3DDISPLAYMODE* pA = static_cast<const D3DDISPLAYMODE*>(a);
    const D3DDISPLAYMODE* pB = static_cast<const D3DDISPLAYMODE*>(b);
    if (pA->Width != pB->Width) return pA->Width < pB->Width ? -1 : 1;
    if (pA->Height != pB->Height) return pA->Height < pB->Height ? -1 : 1;
    // Read as raw 32-bit codes: the platform may report any value, also outside the enumeration.
    int32_t formatA, formatB;
    std::memcpy(&formatA, &pA->Format, sizeof(formatA));
    std::memcpy(&formatB, &pB->Format, sizeof(formatB));
    if (formatA != formatB) return formatA < formatB ? -1 : 1;
    if (pA->RefreshRate != pB->RefreshRate) return pA->RefreshRate < pB->RefreshRate ? -1 : 1;
    return 0;
}

UINT ChannelBitsInFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 8;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: return 5;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: return 4;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8R3G3B2: return 2;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10: return 10;
    default: return 0;
    }
}

UINT AlphaBitsInFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_A8R3G3B2: return 8;
    case D3DFMT_A4R4G4B4: return 4;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10: return 2;
    case D3DFMT_A1R5G5B5: return 1;
    default: return 0;
    }
}

UINT DepthBitsInFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D32: return 32;
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4: return 24;
    case D3DFMT_D16: return 16;
    case D3DFMT_D15S1: return 15;
    default: return 0;
    }
}

UINT StencilBitsInFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D24S8: return 8;
    case D3DFMT_D24X4S4: return 4;
    case D3DFMT_D15S1: return 1;
    default: return 0;
    }
}
