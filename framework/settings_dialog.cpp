// The settings dialog object: running it, its messages, and the guard that OK only hands back the
// choice the controls show.
#include "settings_dialog.h"

#include <climits>
#include <initializer_list>

#include "grow_array.h"
#include "media_files.h"

CDisplaySettingsDialog* g_pSettingsDialog = nullptr;

namespace {
const int kAdapterTextCapacity = 512;
}  // namespace

CDisplaySettingsDialog::CDisplaySettingsDialog(CD3DDeviceCatalog* pCatalog, const DisplaySettings* pSettings)
    : m_hDlg(nullptr), m_pCatalog(pCatalog), m_settings(*pSettings) {
    g_pSettingsDialog = this;
}

CDisplaySettingsDialog::~CDisplaySettingsDialog() {
    if (g_pSettingsDialog == this) g_pSettingsDialog = nullptr;
}

int CDisplaySettingsDialog::RunModal(HWND parent) {
    return static_cast<int>(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kSettingsDialogTemplate), parent,
                                            StaticSettingsDialogProc, 0));
}

void CDisplaySettingsDialog::GetSettings(DisplaySettings* pSettings) const { *pSettings = m_settings; }

INT_PTR CALLBACK StaticSettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_pSettingsDialog ? g_pSettingsDialog->HandleMessage(window, message, wParam, lParam) : FALSE;
}

BOOL CDisplaySettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace SettingsControl;
    if (message == WM_INITDIALOG) {
        m_hDlg = window;
        const AdapterRecord* active = m_settings.ActiveAdapter();
        const UINT activeOrdinal = m_settings.ActiveCombo() ? m_settings.ActiveAdapterOrdinal()
                                   : active                 ? active->m_adapterOrdinal
                                                            : UINT_MAX;
        CGrowArray* pAdapters = m_pCatalog ? m_pCatalog->m_pAdapterList : nullptr;
        for (UINT i = 0; pAdapters && i < pAdapters->Count(); ++i) {
            auto* pAdapter = static_cast<AdapterRecord*>(pAdapters->EntryAt(i));
            char text[kAdapterTextCapacity];
            AnsiToText(text, pAdapter->m_identifier.Description, kAdapterTextCapacity);
            AddComboItem(Adapter, reinterpret_cast<ULONG_PTR>(pAdapter), text);
            if (pAdapter->m_adapterOrdinal == activeOrdinal)
                SelectComboItemByData(Adapter, reinterpret_cast<ULONG_PTR>(pAdapter));
        }
        SelectFirstWhenNone(Adapter);
        UpdateOkButton();
        return TRUE;
    }
    if (message != WM_COMMAND || m_hDlg == nullptr) return FALSE;

    const int id = LOWORD(wParam);
    const bool changed = HIWORD(wParam) == CBN_SELCHANGE;
    switch (id) {
    case IDOK:
        // Only a choice that the controls show is handed back (OK is disabled otherwise).
        if (ActiveChoiceShown()) EndDialog(window, IDOK);
        break;
    case IDCANCEL: EndDialog(window, IDCANCEL); break;
    case Windowed:
    case Fullscreen: ApplyWindowedChoice(); break;
    case Adapter: if (changed) ApplyAdapterChoice(); break;
    case Device: if (changed) ApplyDeviceChoice(); break;
    case AdapterFormat: if (changed) ApplyAdapterFormatChoice(); break;
    case Resolution: if (changed) ApplyResolutionChoice(); break;
    case RefreshRate: if (changed) ApplyRefreshRateChoice(); break;
    case BackBufferFormat: if (changed) ApplyBackBufferFormatChoice(); break;
    case DepthStencilFormat: if (changed) ApplyDepthStencilChoice(); break;
    case MultisampleType: if (changed) ApplyMultisampleTypeChoice(); break;
    case MultisampleQuality: if (changed) ApplyMultisampleQualityChoice(); break;
    case VertexProcessing: if (changed) ApplyVertexProcessingChoice(); break;
    case PresentInterval: if (changed) ApplyPresentIntervalChoice(); break;
    default: break;
    }
    (void)lParam;
    return TRUE;
}

D3DDEVTYPE CDisplaySettingsDialog::CurrentDeviceType() const {
    if (m_settings.ActiveCombo()) return m_settings.ActiveDeviceType();
    if (const DeviceRecord* pDevice = m_settings.ActiveDevice()) return pDevice->m_deviceType;
    return static_cast<D3DDEVTYPE>(0);
}

D3DFORMAT CDisplaySettingsDialog::CurrentBackBufferFormat() const {
    return m_settings.ActiveCombo() ? m_settings.ActiveBackBufferFormat() : D3DFMT_UNKNOWN;
}

bool CDisplaySettingsDialog::ActiveChoiceShown() {
    using namespace SettingsControl;
    AdapterRecord* pAdapter = m_settings.ActiveAdapter();
    DeviceRecord* pDevice = m_settings.ActiveDevice();
    FormatCombo* pCombo = m_settings.ActiveCombo();
    if (!pAdapter || !pDevice || !pCombo) return false;
    if (SelectedComboData(Adapter) != reinterpret_cast<ULONG_PTR>(pAdapter) ||
        SelectedComboData(Device) != reinterpret_cast<ULONG_PTR>(pDevice))
        return false;
    if (!pAdapter->m_pDeviceList || !pAdapter->m_pDeviceList->Contains(pDevice)) return false;
    if (!pDevice->m_pFormatComboList || !pDevice->m_pFormatComboList->Contains(pCombo)) return false;
    if (pCombo->m_windowed != m_settings.windowed) return false;
    if ((IsDlgButtonChecked(m_hDlg, Windowed) == BST_CHECKED) != m_settings.windowed) return false;
    if (pCombo->m_adapterFormat != m_settings.ActiveDisplayMode().Format) return false;
    return ComboHasSelection(BackBufferFormat) &&
           SelectedComboData(BackBufferFormat) == static_cast<ULONG_PTR>(pCombo->m_backBufferFormat);
}

void CDisplaySettingsDialog::UpdateOkButton() { EnableControl(IDOK, ActiveChoiceShown()); }

void CDisplaySettingsDialog::ClearCombinationControls() {
    using namespace SettingsControl;
    for (int id : {BackBufferFormat, DepthStencilFormat, MultisampleType, MultisampleQuality, VertexProcessing,
                   PresentInterval})
        ClearCombo(id);
    EnableControl(IDOK, false);
}

void CDisplaySettingsDialog::EnableControl(int id, bool enable) {
    EnableWindow(GetDlgItem(m_hDlg, id), enable ? TRUE : FALSE);
}
