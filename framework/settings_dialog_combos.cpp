// The settings dialog's combo-box helpers. Each addresses its control through GetDlgItem; the
// selection notification is posted, so the dependent handler runs later, in posting order.
#include "settings_dialog.h"

namespace {
const int kComparedTextLimit = 200;  // longer item texts are never compared
}  // namespace

LRESULT CDisplaySettingsDialog::AddComboItem(int id, ULONG_PTR value, const char* text) {
    HWND combo = GetDlgItem(m_hDlg, id);
    const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    return SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(value));
}

void CDisplaySettingsDialog::SelectComboItemByData(int id, ULONG_PTR value) {
    HWND combo = GetDlgItem(m_hDlg, id);
    const int count = ComboItemCount(id);
    for (int i = 0; i < count; ++i) {
        if (static_cast<ULONG_PTR>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == value) {
            SelectComboItemAt(id, i);
            return;
        }
    }
}

void CDisplaySettingsDialog::SelectComboItemAt(int id, int index) {
    HWND combo = GetDlgItem(m_hDlg, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageA(m_hDlg, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

ULONG_PTR CDisplaySettingsDialog::SelectedComboData(int id) {
    HWND combo = GetDlgItem(m_hDlg, id);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return 0;
    return static_cast<ULONG_PTR>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool CDisplaySettingsDialog::ComboHasSelection(int id) {
    return SendMessageA(GetDlgItem(m_hDlg, id), CB_GETCURSEL, 0, 0) >= 0;
}

int CDisplaySettingsDialog::ComboItemCount(int id) {
    return static_cast<int>(SendMessageA(GetDlgItem(m_hDlg, id), CB_GETCOUNT, 0, 0));
}

void CDisplaySettingsDialog::ClearCombo(int id) { SendMessageA(GetDlgItem(m_hDlg, id), CB_RESETCONTENT, 0, 0); }

bool CDisplaySettingsDialog::ComboHasText(int id, const char* text) {
    HWND combo = GetDlgItem(m_hDlg, id);
    const int count = ComboItemCount(id);
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0 || length >= kComparedTextLimit) continue;
        char itemText[kComparedTextLimit];
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(itemText));
        if (lstrcmpA(itemText, text) == 0) return true;
    }
    return false;
}

void CDisplaySettingsDialog::SelectFirstWhenNone(int id) {
    if (ComboItemCount(id) > 0 && !ComboHasSelection(id)) SelectComboItemAt(id, 0);
}
