// Test views of the device catalog: its lists as vectors, and readable comparisons of its records.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "device_catalog.h"
#include "fake_direct3d.h"
#include "grow_array.h"

inline bool operator==(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return a.Width == b.Width && a.Height == b.Height && a.RefreshRate == b.RefreshRate && a.Format == b.Format;
}
inline void PrintTo(const D3DDISPLAYMODE& mode, std::ostream* os) {
    *os << mode.Width << "x" << mode.Height << "@" << mode.RefreshRate << " " << test::FormatText(mode.Format);
}
inline bool operator==(const DepthMultisampleConflict& a, const DepthMultisampleConflict& b) {
    return a.m_depthStencilFormat == b.m_depthStencilFormat && a.m_multisampleType == b.m_multisampleType;
}
inline void PrintTo(const DepthMultisampleConflict& c, std::ostream* os) {
    *os << "(" << test::FormatText(c.m_depthStencilFormat) << ", " << static_cast<int>(c.m_multisampleType) << ")";
}

namespace test {

// The entries of a by-value list.
template <typename T> std::vector<T> Values(CGrowArray* pList) {
    std::vector<T> values;
    for (UINT i = 0; i < pList->Count(); ++i) values.push_back(*static_cast<T*>(pList->EntryAt(i)));
    return values;
}

// The records of a by-pointer list.
template <typename T> std::vector<T*> Records(CGrowArray* pList) {
    std::vector<T*> records;
    if (!pList) return records;
    for (UINT i = 0; i < pList->Count(); ++i) records.push_back(static_cast<T*>(pList->EntryAt(i)));
    return records;
}

inline std::vector<AdapterRecord*> Adapters(const CD3DDeviceCatalog& catalog) {
    return Records<AdapterRecord>(catalog.m_pAdapterList);
}
inline std::vector<DeviceRecord*> Devices(const AdapterRecord* pAdapter) {
    return Records<DeviceRecord>(pAdapter->m_pDeviceList);
}
inline std::vector<FormatCombo*> Combos(const DeviceRecord* pDevice) {
    return Records<FormatCombo>(pDevice->m_pFormatComboList);
}

// A combination as text: "X8R8G8B8/A8R8G8B8 windowed" or ".. fullscreen".
inline std::string ComboText(const FormatCombo* pCombo) {
    return FormatText(pCombo->m_adapterFormat) + "/" + FormatText(pCombo->m_backBufferFormat) +
           (pCombo->m_windowed ? " windowed" : " fullscreen");
}

inline std::vector<std::string> ComboTexts(const DeviceRecord* pDevice) {
    std::vector<std::string> texts;
    for (const FormatCombo* pCombo : Combos(pDevice)) texts.push_back(ComboText(pCombo));
    return texts;
}

} // namespace test
