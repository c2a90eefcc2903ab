// CDisplaySettingsDialog: the modal "Direct3D Settings" dialog (resource 144). It works on a copy of
// the display settings and offers only what the device catalog holds. Each control, when its choice
// changes, stores it in the copy and refills the controls that depend on it; every refill ends by
// selecting an item and posting the change notification, so one change ripples down the cascade.
#pragma once

#include "windows.h"

#include "device_catalog.h"
#include "display_settings.h"

// The controls of dialog 144.
namespace SettingsControl {
inline constexpr int Device = 1000;
inline constexpr int Adapter = 1002;
inline constexpr int AdapterFormat = 1003;
inline constexpr int Resolution = 1004;
inline constexpr int MultisampleType = 1005;
inline constexpr int RefreshRate = 1006;
inline constexpr int BackBufferFormat = 1007;
inline constexpr int DepthStencilFormat = 1008;
inline constexpr int VertexProcessing = 1009;
inline constexpr int PresentInterval = 1010;
inline constexpr int MultisampleQuality = 1011;
inline constexpr int Windowed = 1016;
inline constexpr int Fullscreen = 1018;
}  // namespace SettingsControl

inline constexpr WORD kSettingsDialogTemplate = 144;

class CDisplaySettingsDialog {
public:
    // Sets g_pSettingsDialog to this object; the catalog is not owned.
    CDisplaySettingsDialog(CD3DDeviceCatalog* pCatalog, const DisplaySettings* pSettings);
    ~CDisplaySettingsDialog();
    CDisplaySettingsDialog(const CDisplaySettingsDialog&) = delete;
    CDisplaySettingsDialog& operator=(const CDisplaySettingsDialog&) = delete;

    // The dialog from the program's template 144: IDOK or IDCANCEL when the user closes it, or what
    // DialogBoxParamA answers when it cannot show it (-1).
    int RunModal(HWND parent);
    void GetSettings(DisplaySettings* pSettings) const;
    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // One handler per control.
    void ApplyAdapterChoice();
    void ApplyDeviceChoice();
    void ApplyWindowedChoice();
    void ApplyAdapterFormatChoice();
    void ApplyResolutionChoice();
    void ApplyRefreshRateChoice();
    void ApplyBackBufferFormatChoice();
    void ApplyDepthStencilChoice();
    void ApplyMultisampleTypeChoice();
    void ApplyMultisampleQualityChoice();
    void ApplyVertexProcessingChoice();
    void ApplyPresentIntervalChoice();

    // Combo-box helpers; item values are pointer-sized, so a record pointer fits whole.
    LRESULT AddComboItem(int id, ULONG_PTR value, const char* text);
    void SelectComboItemByData(int id, ULONG_PTR value);
    void SelectComboItemAt(int id, int index);
    ULONG_PTR SelectedComboData(int id);
    bool ComboHasSelection(int id);
    int ComboItemCount(int id);
    void ClearCombo(int id);
    bool ComboHasText(int id, const char* text);

private:
    // Ends a refill: a list with items but no selection selects its first.
    void SelectFirstWhenNone(int id);
    // The copy's current choices, for a half that may not have been filled yet.
    D3DDEVTYPE CurrentDeviceType() const;
    D3DFORMAT CurrentBackBufferFormat() const;
    // True when the copy's active half names exactly the adapter, device, display format,
    // back-buffer format and windowed or full-screen use the controls show.
    bool ActiveChoiceShown();
    // OK is offered only while ActiveChoiceShown holds.
    void UpdateOkButton();
    // The cascade found no combination: the controls from the back-buffer format on are emptied
    // and OK is disabled.
    void ClearCombinationControls();
    void EnableControl(int id, bool enable);

    HWND m_hDlg;
    CD3DDeviceCatalog* m_pCatalog;
    DisplaySettings m_settings;
};

// Hands every message to g_pSettingsDialog; FALSE while there is none.
INT_PTR CALLBACK StaticSettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
extern CDisplaySettingsDialog* g_pSettingsDialog;

// Item texts; any other value has its "Unknown ..." text.
const char* DeviceTypeName(D3DDEVTYPE type);
const char* MultisampleTypeName(D3DMULTISAMPLE_TYPE type);
const char* VertexProcessingTypeName(VertexProcessingType type);
const char* PresentIntervalName(UINT interval);
