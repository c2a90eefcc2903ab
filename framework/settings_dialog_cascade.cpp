// The settings dialog's cascade: one handler per control. Each stores its control's choice in the
// working copy and refills the controls that depend on it. A refill selects the item that matches
// the copy's current choice, else the first, and each selection posts its notification.
#include <cstdio>

#include "format_names.h"
#include "grow_array.h"
#include "settings_dialog.h"

namespace {

const int kItemTextCapacity = 50;  // formatted item texts hold at most 49 characters

template <typename T> T* RecordAt(CGrowArray* pList, UINT index) { return static_cast<T*>(pList->EntryAt(index)); }
template <typename T> T ValueAt(CGrowArray* pList, UINT index) { return *static_cast<T*>(pList->EntryAt(index)); }
UINT CountOf(const CGrowArray* pList) { return pList ? pList->Count() : 0; }

ULONG_PTR ModeSizeValue(UINT width, UINT height) {
    return (static_cast<ULONG_PTR>(height & 0xFFFF) << 16) | (width & 0xFFFF);
}

void SizeText(char* text, UINT width, UINT height) { std::snprintf(text, kItemTextCapacity, "%d by %d", width, height); }

void RateText(char* text, UINT rate) {
    if (rate == 0) std::snprintf(text, kItemTextCapacity, "Default Rate");
    else std::snprintf(text, kItemTextCapacity, "%d Hz", rate);
}

bool Conflicts(const FormatCombo* pCombo, D3DFORMAT depthStencil, D3DMULTISAMPLE_TYPE type) {
    for (UINT i = 0; i < CountOf(pCombo->m_pConflictList); ++i) {
        const auto* pConflict = static_cast<DepthMultisampleConflict*>(pCombo->m_pConflictList->EntryAt(i));
        if (pConflict->m_depthStencilFormat == depthStencil && pConflict->m_multisampleType == type) return true;
    }
    return false;
}

}  // namespace

using namespace SettingsControl;

void CDisplaySettingsDialog::ApplyAdapterChoice() {
    auto* pAdapter = reinterpret_cast<AdapterRecord*>(SelectedComboData(Adapter));
    if (!pAdapter) return;
    (m_settings.windowed ? m_settings.windowedAdapter : m_settings.fullscreenAdapter) = pAdapter;

    const D3DDEVTYPE current = CurrentDeviceType();
    ClearCombo(Device);
    for (UINT i = 0; i < CountOf(pAdapter->m_pDeviceList); ++i) {
        auto* pDevice = RecordAt<DeviceRecord>(pAdapter->m_pDeviceList, i);
        AddComboItem(Device, reinterpret_cast<ULONG_PTR>(pDevice), DeviceTypeName(pDevice->m_deviceType));
        if (pDevice->m_deviceType == current) SelectComboItemByData(Device, reinterpret_cast<ULONG_PTR>(pDevice));
    }
    SelectFirstWhenNone(Device);
    if (ComboItemCount(Device) == 0) ClearCombinationControls();
}

void CDisplaySettingsDialog::ApplyDeviceChoice() {
    auto* pDevice = reinterpret_cast<DeviceRecord*>(SelectedComboData(Device));
    if (!pDevice) return;
    (m_settings.windowed ? m_settings.windowedDevice : m_settings.fullscreenDevice) = pDevice;

    bool windowedUse = false, fullscreenUse = false;
    for (UINT i = 0; i < CountOf(pDevice->m_pFormatComboList); ++i)
        (RecordAt<FormatCombo>(pDevice->m_pFormatComboList, i)->m_windowed ? windowedUse : fullscreenUse) = true;
    EnableControl(Windowed, windowedUse);
    EnableControl(Fullscreen, fullscreenUse);

    // The button checked is always one the user could have chosen: the copy's use when the device
    // offers it, else the other; neither when the device offers none.
    const bool checkWindowed = windowedUse && (m_settings.windowed || !fullscreenUse);
    if (checkWindowed || fullscreenUse) {
        CheckRadioButton(m_hDlg, Windowed, Fullscreen, checkWindowed ? Windowed : Fullscreen);
    } else {
        CheckDlgButton(m_hDlg, Windowed, BST_UNCHECKED);
        CheckDlgButton(m_hDlg, Fullscreen, BST_UNCHECKED);
    }
    // Checking a button from the program notifies nothing, so the windowed choice runs from here.
    ApplyWindowedChoice();
}

void CDisplaySettingsDialog::ApplyWindowedChoice() {
    auto* pAdapter = reinterpret_cast<AdapterRecord*>(SelectedComboData(Adapter));
    auto* pDevice = reinterpret_cast<DeviceRecord*>(SelectedComboData(Device));
    if (!pAdapter || !pDevice) return;

    char text[kItemTextCapacity];
    if (IsDlgButtonChecked(m_hDlg, Windowed) == BST_CHECKED) {
        m_settings.windowed = true;
        m_settings.windowedAdapter = pAdapter;
        m_settings.windowedDevice = pDevice;
        const D3DDISPLAYMODE& mode = m_settings.windowedDisplayMode;

        ClearCombo(AdapterFormat);
        AddComboItem(AdapterFormat, static_cast<ULONG_PTR>(mode.Format), FormatName(mode.Format, true));
        SelectComboItemAt(AdapterFormat, 0);
        EnableControl(AdapterFormat, false);

        ClearCombo(Resolution);
        SizeText(text, mode.Width, mode.Height);
        AddComboItem(Resolution, ModeSizeValue(mode.Width, mode.Height), text);
        SelectComboItemAt(Resolution, 0);
        EnableControl(Resolution, false);

        ClearCombo(RefreshRate);
        RateText(text, mode.RefreshRate);
        AddComboItem(RefreshRate, mode.RefreshRate, text);
        SelectComboItemAt(RefreshRate, 0);
        EnableControl(RefreshRate, false);
        return;
    }

    m_settings.windowed = false;
    m_settings.fullscreenAdapter = pAdapter;
    m_settings.fullscreenDevice = pDevice;
    ClearCombo(AdapterFormat);
    for (UINT i = 0; i < CountOf(pDevice->m_pFormatComboList); ++i) {
        const D3DFORMAT format = RecordAt<FormatCombo>(pDevice->m_pFormatComboList, i)->m_adapterFormat;
        const char* name = FormatName(format, true);
        if (ComboHasText(AdapterFormat, name)) continue;
        AddComboItem(AdapterFormat, static_cast<ULONG_PTR>(format), name);
        if (format == m_settings.fullscreenDisplayMode.Format)
            SelectComboItemByData(AdapterFormat, static_cast<ULONG_PTR>(format));
    }
    SelectFirstWhenNone(AdapterFormat);
    if (ComboItemCount(AdapterFormat) == 0) ClearCombinationControls();
    EnableControl(AdapterFormat, true);
    EnableControl(Resolution, true);
    EnableControl(RefreshRate, true);
}

void CDisplaySettingsDialog::ApplyAdapterFormatChoice() {
    char text[kItemTextCapacity];
    if (IsDlgButtonChecked(m_hDlg, Windowed) != BST_CHECKED) {
        auto* pAdapter = reinterpret_cast<AdapterRecord*>(SelectedComboData(Adapter));
        if (pAdapter && ComboHasSelection(AdapterFormat)) {
            const auto format = static_cast<D3DFORMAT>(SelectedComboData(AdapterFormat));
            D3DDISPLAYMODE& chosen = m_settings.fullscreenDisplayMode;
            chosen.Format = format;
            ClearCombo(Resolution);
            for (UINT i = 0; i < CountOf(pAdapter->m_pDisplayModeList); ++i) {
                const auto mode = ValueAt<D3DDISPLAYMODE>(pAdapter->m_pDisplayModeList, i);
                if (mode.Format != format) continue;
                SizeText(text, mode.Width, mode.Height);
                if (ComboHasText(Resolution, text)) continue;
                AddComboItem(Resolution, ModeSizeValue(mode.Width, mode.Height), text);
                if (mode.Width == chosen.Width && mode.Height == chosen.Height)
                    SelectComboItemByData(Resolution, ModeSizeValue(mode.Width, mode.Height));
            }
            SelectFirstWhenNone(Resolution);
        }
    }

    auto* pDevice = reinterpret_cast<DeviceRecord*>(SelectedComboData(Device));
    if (!pDevice) return;
    const D3DFORMAT adapterFormat = m_settings.ActiveDisplayMode().Format;
    const D3DFORMAT current = CurrentBackBufferFormat();
    ClearCombo(BackBufferFormat);
    for (UINT i = 0; i < CountOf(pDevice->m_pFormatComboList); ++i) {
        const FormatCombo* pCombo = RecordAt<FormatCombo>(pDevice->m_pFormatComboList, i);
        if (pCombo->m_windowed != m_settings.windowed || pCombo->m_adapterFormat != adapterFormat) continue;
        const char* name = FormatName(pCombo->m_backBufferFormat, true);
        if (ComboHasText(BackBufferFormat, name)) continue;
        AddComboItem(BackBufferFormat, static_cast<ULONG_PTR>(pCombo->m_backBufferFormat), name);
        if (pCombo->m_backBufferFormat == current)
            SelectComboItemByData(BackBufferFormat, static_cast<ULONG_PTR>(current));
    }
    SelectFirstWhenNone(BackBufferFormat);
    // No combination of this device, use and display format: nothing below can be offered.
    if (ComboItemCount(BackBufferFormat) == 0) ClearCombinationControls();
}

void CDisplaySettingsDialog::ApplyResolutionChoice() {
    if (m_settings.windowed || !ComboHasSelection(Resolution)) return;
    auto* pAdapter = reinterpret_cast<AdapterRecord*>(SelectedComboData(Adapter));
    if (!pAdapter) return;
    const ULONG_PTR size = SelectedComboData(Resolution);
    D3DDISPLAYMODE& chosen = m_settings.fullscreenDisplayMode;
    chosen.Width = static_cast<UINT>(size & 0xFFFF);
    chosen.Height = static_cast<UINT>((size >> 16) & 0xFFFF);

    const auto format = static_cast<D3DFORMAT>(SelectedComboData(AdapterFormat));
    char text[kItemTextCapacity];
    ClearCombo(RefreshRate);
    for (UINT i = 0; i < CountOf(pAdapter->m_pDisplayModeList); ++i) {
        const auto mode = ValueAt<D3DDISPLAYMODE>(pAdapter->m_pDisplayModeList, i);
        if (mode.Format != format || mode.Width != chosen.Width || mode.Height != chosen.Height) continue;
        RateText(text, mode.RefreshRate);
        if (ComboHasText(RefreshRate, text)) continue;
        AddComboItem(RefreshRate, mode.RefreshRate, text);
        if (mode.RefreshRate == chosen.RefreshRate) SelectComboItemByData(RefreshRate, mode.RefreshRate);
    }
    SelectFirstWhenNone(RefreshRate);
}

void CDisplaySettingsDialog::ApplyRefreshRateChoice() {
    if (m_settings.windowed || !ComboHasSelection(RefreshRate)) return;
    m_settings.fullscreenDisplayMode.RefreshRate = static_cast<UINT>(SelectedComboData(RefreshRate));
}

void CDisplaySettingsDialog::ApplyBackBufferFormatChoice() {
    auto* pDevice = reinterpret_cast<DeviceRecord*>(SelectedComboData(Device));
    if (!pDevice || !ComboHasSelection(AdapterFormat) || !ComboHasSelection(BackBufferFormat)) return;
    const auto adapterFormat = static_cast<D3DFORMAT>(SelectedComboData(AdapterFormat));
    const auto backBufferFormat = static_cast<D3DFORMAT>(SelectedComboData(BackBufferFormat));

    FormatCombo* pCombo = nullptr;
    for (UINT i = 0; i < CountOf(pDevice->m_pFormatComboList) && !pCombo; ++i) {
        FormatCombo* pCandidate = RecordAt<FormatCombo>(pDevice->m_pFormatComboList, i);
        if (pCandidate->m_windowed == m_settings.windowed && pCandidate->m_adapterFormat == adapterFormat &&
            pCandidate->m_backBufferFormat == backBufferFormat)
            pCombo = pCandidate;
    }
    if (!pCombo) {
        UpdateOkButton();
        return;
    }
    (m_settings.windowed ? m_settings.windowedCombo : m_settings.fullscreenCombo) = pCombo;

    ClearCombo(DepthStencilFormat);
    if (m_pCatalog->m_usesDepthBuffer) {
        const D3DFORMAT current = m_settings.ActiveDepthStencilFormat();
        for (UINT i = 0; i < CountOf(pCombo->m_pDepthStencilFormatList); ++i) {
            const auto format = ValueAt<D3DFORMAT>(pCombo->m_pDepthStencilFormatList, i);
            AddComboItem(DepthStencilFormat, static_cast<ULONG_PTR>(format), FormatName(format, true));
            if (format == current) SelectComboItemByData(DepthStencilFormat, static_cast<ULONG_PTR>(format));
        }
        SelectFirstWhenNone(DepthStencilFormat);
    } else {
        EnableControl(DepthStencilFormat, false);
        AddComboItem(DepthStencilFormat, 0, "(not used)");
        SelectComboItemAt(DepthStencilFormat, 0);
    }

    const VertexProcessingType currentProcessing = m_settings.ActiveVertexProcessingType();
    ClearCombo(VertexProcessing);
    for (UINT i = 0; i < CountOf(pCombo->m_pVertexProcessingTypeList); ++i) {
        const auto type = ValueAt<VertexProcessingType>(pCombo->m_pVertexProcessingTypeList, i);
        AddComboItem(VertexProcessing, static_cast<ULONG_PTR>(type), VertexProcessingTypeName(type));
        if (type == currentProcessing) SelectComboItemByData(VertexProcessing, static_cast<ULONG_PTR>(type));
    }
    SelectFirstWhenNone(VertexProcessing);

    const UINT currentInterval = m_settings.ActivePresentInterval();
    ClearCombo(PresentInterval);
    for (UINT i = 0; i < CountOf(pCombo->m_pPresentIntervalList); ++i) {
        const auto interval = ValueAt<UINT>(pCombo->m_pPresentIntervalList, i);
        AddComboItem(PresentInterval, interval, PresentIntervalName(interval));
        if (interval == currentInterval) SelectComboItemByData(PresentInterval, interval);
    }
    SelectFirstWhenNone(PresentInterval);
    UpdateOkButton();
}

void CDisplaySettingsDialog::ApplyDepthStencilChoice() {
    if (!ComboHasSelection(DepthStencilFormat)) return;
    const auto depthStencil = static_cast<D3DFORMAT>(SelectedComboData(DepthStencilFormat));
    if (m_pCatalog->m_usesDepthBuffer) m_settings.SetActiveDepthStencilFormat(depthStencil);
    const FormatCombo* pCombo = m_settings.ActiveCombo();
    if (!pCombo) return;

    const D3DMULTISAMPLE_TYPE current = m_settings.ActiveMultisampleType();
    ClearCombo(MultisampleType);
    for (UINT i = 0; i < CountOf(pCombo->m_pMultisampleTypeList); ++i) {
        const auto type = ValueAt<D3DMULTISAMPLE_TYPE>(pCombo->m_pMultisampleTypeList, i);
        if (Conflicts(pCombo, depthStencil, type)) continue;
        AddComboItem(MultisampleType, static_cast<ULONG_PTR>(type), MultisampleTypeName(type));
        if (type == current) SelectComboItemByData(MultisampleType, static_cast<ULONG_PTR>(type));
    }
    SelectFirstWhenNone(MultisampleType);
}

void CDisplaySettingsDialog::ApplyMultisampleTypeChoice() {
    if (!ComboHasSelection(MultisampleType)) return;
    const auto type = static_cast<D3DMULTISAMPLE_TYPE>(SelectedComboData(MultisampleType));
    m_settings.SetActiveMultisampleType(type);
    const FormatCombo* pCombo = m_settings.ActiveCombo();
    if (!pCombo) return;

    DWORD levels = 0;
    for (UINT i = 0; i < CountOf(pCombo->m_pMultisampleTypeList); ++i) {
        if (ValueAt<D3DMULTISAMPLE_TYPE>(pCombo->m_pMultisampleTypeList, i) != type) continue;
        // The quality list runs parallel to the type list; a shorter one counts as no levels.
        if (i < CountOf(pCombo->m_pMultisampleQualityList)) levels = ValueAt<DWORD>(pCombo->m_pMultisampleQualityList, i);
        break;
    }
    const DWORD current = m_settings.ActiveMultisampleQuality();
    char text[kItemTextCapacity];
    ClearCombo(MultisampleQuality);
    for (DWORD quality = 0; quality < levels; ++quality) {
        std::snprintf(text, kItemTextCapacity, "%d", static_cast<int>(quality));
        AddComboItem(MultisampleQuality, quality, text);
        if (quality == current) SelectComboItemByData(MultisampleQuality, quality);
    }
    SelectFirstWhenNone(MultisampleQuality);
}

void CDisplaySettingsDialog::ApplyMultisampleQualityChoice() {
    if (ComboHasSelection(MultisampleQuality))
        m_settings.SetActiveMultisampleQuality(static_cast<DWORD>(SelectedComboData(MultisampleQuality)));
}

void CDisplaySettingsDialog::ApplyVertexProcessingChoice() {
    if (ComboHasSelection(VertexProcessing))
        m_settings.SetActiveVertexProcessingType(static_cast<VertexProcessingType>(SelectedComboData(VertexProcessing)));
}

void CDisplaySettingsDialog::ApplyPresentIntervalChoice() {
    if (ComboHasSelection(PresentInterval))
        m_settings.SetActivePresentInterval(static_cast<UINT>(SelectedComboData(PresentInterval)));
}
