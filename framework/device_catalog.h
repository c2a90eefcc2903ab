// The device catalog: what the machine's Direct3D 9 adapters can do. Built once at start-up
// (adapters, display modes, device types, format combinations) and read-only afterwards, so the
// display settings and the settings dialog keep plain pointers into its records.
#pragma once

#include "d3d9.h"

class CGrowArray;

// How a device may process vertices; 32 bits wide, stored by value in the catalog's lists.
enum VertexProcessingType : int32_t {
    SOFTWARE_VP = 0,
    MIXED_VP = 1,
    HARDWARE_VP = 2,
    PURE_HARDWARE_VP = 3,
};

// Asked once per vertex-processing candidate of a combination; true accepts the type.
typedef bool (*DeviceCheckFunction)(const D3DCAPS9* caps, VertexProcessingType type,
                                    D3DFORMAT backBufferFormat);

// A depth/stencil format and a multisample type that must not be used together.
struct DepthMultisampleConflict {
    D3DFORMAT m_depthStencilFormat;
    D3DMULTISAMPLE_TYPE m_multisampleType;
};

// One working combination of display format, back-buffer format and windowed or full-screen use
// on one device. Owns its six by-value lists.
struct FormatCombo {
    UINT m_adapterOrdinal = 0;
    D3DDEVTYPE m_deviceType = D3DDEVTYPE_HAL;
    D3DFORMAT m_adapterFormat = D3DFMT_UNKNOWN;
    D3DFORMAT m_backBufferFormat = D3DFMT_UNKNOWN;
    bool m_windowed = false;
    CGrowArray* m_pDepthStencilFormatList = nullptr;   // D3DFORMAT
    CGrowArray* m_pMultisampleTypeList = nullptr;      // D3DMULTISAMPLE_TYPE
    CGrowArray* m_pMultisampleQualityList = nullptr;   // DWORD, parallel to the type list
    CGrowArray* m_pConflictList = nullptr;             // DepthMultisampleConflict
    CGrowArray* m_pVertexProcessingTypeList = nullptr; // VertexProcessingType
    CGrowArray* m_pPresentIntervalList = nullptr;      // UINT (D3DPRESENT_INTERVAL_*)

    FormatCombo() = default;
    ~FormatCombo();
    FormatCombo(const FormatCombo&) = delete;
    FormatCombo& operator=(const FormatCombo&) = delete;
};

// One device type that works on an adapter. Owns its combination list and the combinations in it.
struct DeviceRecord {
    UINT m_adapterOrdinal = 0;
    D3DDEVTYPE m_deviceType = D3DDEVTYPE_HAL;
    D3DCAPS9 m_caps{};
    CGrowArray* m_pFormatComboList = nullptr; // FormatCombo*

    DeviceRecord() = default;
    ~DeviceRecord();
    DeviceRecord(const DeviceRecord&) = delete;
    DeviceRecord& operator=(const DeviceRecord&) = delete;
};

// One adapter kept by the catalog. Owns its display-mode list, its device list and the devices.
struct AdapterRecord {
    UINT m_adapterOrdinal = 0;
    D3DADAPTER_IDENTIFIER9 m_identifier{};
    CGrowArray* m_pDisplayModeList = nullptr; // D3DDISPLAYMODE, sorted by CompareDisplayModes
    CGrowArray* m_pDeviceList = nullptr;      // DeviceRecord*, in the order HAL, SW, REF

    AdapterRecord() = default;
    ~AdapterRecord();
    AdapterRecord(const AdapterRecord&) = delete;
    AdapterRecord& operator=(const AdapterRecord&) = delete;
};

class CD3DDeviceCatalog {
public:
    CD3DDeviceCatalog();
    ~CD3DDeviceCatalog();
    CD3DDeviceCatalog(const CD3DDeviceCatalog&) = delete;
    CD3DDeviceCatalog& operator=(const CD3DDeviceCatalog&) = delete;

    // Stores the Direct3D object to enumerate; takes no reference.
    void AttachDirect3D(IDirect3D9* pD3D);

    // Fills the catalog. S_OK also when no adapter is usable (the adapter list is then empty);
    // E_FAIL without a Direct3D object; E_OUTOFMEMORY when a record or list cannot be made.
    // A second call changes nothing and answers S_FALSE.
    HRESULT Build();

    IDirect3D9* m_pD3D;
    CGrowArray* m_pAdapterList; // AdapterRecord*, ascending adapter ordinal
    DeviceCheckFunction m_pfnDeviceCheck;
    UINT m_minFullscreenWidth;
    UINT m_minFullscreenHeight;
    UINT m_minColorChannelBits;
    UINT m_minAlphaChannelBits;
    UINT m_minDepthBits;
    UINT m_minStencilBits;
    bool m_usesDepthBuffer;
    bool m_usesMixedVP;
    bool m_requiresWindowed;
    bool m_requiresFullscreen;
    CGrowArray* m_pAllowedAdapterFormats; // D3DFORMAT

private:
    HRESULT AddDisplayModes(AdapterRecord* pAdapter, CGrowArray* pAdapterFormats);
    HRESULT AddDevices(AdapterRecord* pAdapter, CGrowArray* pAdapterFormats);
    HRESULT AddFormatCombos(DeviceRecord* pDevice, CGrowArray* pAdapterFormats);
    HRESULT AddFormatCombo(DeviceRecord* pDevice, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                           bool windowed);
    HRESULT FillFormatCombo(const DeviceRecord* pDevice, FormatCombo* pCombo);
    // The collecting steps answer a failure only when a list append fails; a platform refusal just
    // leaves a candidate out.
    HRESULT CollectDepthStencilFormats(FormatCombo* pCombo);
    HRESULT CollectMultisampleTypes(FormatCombo* pCombo);
    HRESULT CollectDepthMultisampleConflicts(FormatCombo* pCombo);
    HRESULT CollectVertexProcessingTypes(const DeviceRecord* pDevice, FormatCombo* pCombo);
    HRESULT CollectPresentIntervals(const DeviceRecord* pDevice, FormatCombo* pCombo);
};

// Bits per colour channel, alpha, depth and stencil of a format; 0 for formats the tables omit.
UINT ChannelBitsInFormat(D3DFORMAT format);
UINT AlphaBitsInFormat(D3DFORMAT format);
UINT DepthBitsInFormat(D3DFORMAT format);
UINT StencilBitsInFormat(D3DFORMAT format);

// The display-mode order for qsort: width, height, format (signed), refresh rate, all ascending.
int CompareDisplayModes(const void* a, const void* b);
