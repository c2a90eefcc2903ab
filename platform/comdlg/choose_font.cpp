// ChooseFontA: a modal "Font" dialog run by the window manager's dialog manager. It shows the font
// it starts on; a user (or the input script's "dialog font") chooses a face and a size, OK confirms
// what is shown, Cancel or Escape leaves the record as it was.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "commdlg.h"
#include "user/dialog_runner.h"
#include "windows.h"

namespace comdlg {
namespace {

constexpr int kShownFontId = 1088;
constexpr int kDefaultTenths = 100;

struct Choice {
    std::string face;
    int tenths = kDefaultTenths;
    int minTenths = 10, maxTenths = 16380;
};

DWORD& LastError() {
    static DWORD error = 0;
    return error;
}

// The choice of each running font dialog (nested dialogs each have their own).
std::map<HWND, Choice*>& Running() {
    static std::map<HWND, Choice*> running;
    return running;
}

std::string Shown(const Choice& c) {
    char text[96];
    std::snprintf(text, sizeof text, "%.31s, %d.%d pt", c.face.c_str(), c.tenths / 10, c.tenths % 10);
    return text;
}

INT_PTR CALLBACK FontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Running()[dialog] = reinterpret_cast<Choice*>(lParam);
        SendDlgItemMessageA(dialog, kShownFontId, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(*Running()[dialog]).c_str()));
        return TRUE;
    case user::dialogs::kScriptedFontChoice: {
        auto found = Running().find(dialog);
        const char* face = reinterpret_cast<const char*>(lParam);
        if (found == Running().end() || face == nullptr || *face == '\0') return FALSE;
        Choice& c = *found->second;
        c.face.assign(face, std::min<size_t>(std::strlen(face), LF_FACESIZE - 1));
        c.tenths = std::clamp(static_cast<int>(wParam), c.minTenths, c.maxTenths);
        SendDlgItemMessageA(dialog, kShownFontId, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(c).c_str()));
        EndDialog(dialog, IDOK);  // chosen and confirmed
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY: Running().erase(dialog); return FALSE;
    default: return FALSE;
    }
}

user::dialogs::DialogTemplate FontDialogTemplate() {
    using user::dialogs::DialogItem;
    user::dialogs::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    t.cx = 220;
    t.cy = 64;
    t.caption = "Font";
    t.items.push_back(DialogItem{WS_VISIBLE | SS_LEFT, 0, 8, 8, 40, 10, 0xFFFF, "Static", "Font:"});
    t.items.push_back(DialogItem{WS_VISIBLE | SS_LEFT, 0, 50, 8, 160, 10, kShownFontId, "Static", ""});
    t.items.push_back(
        DialogItem{WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 110, 40, 50, 14, IDOK, "Button", "OK"});
    t.items.push_back(
        DialogItem{WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 164, 40, 50, 14, IDCANCEL, "Button", "Cancel"});
    return t;
}

int ScreenPixelsPerInch(HWND owner) {
    HDC dc = GetDC(owner);
    const int perInch = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(owner, dc);
    return perInch > 0 ? perInch : 96;
}

}  // namespace
}  // namespace comdlg

BOOL WINAPI ChooseFontA(LPCHOOSEFONTA lpcf) {
    using namespace comdlg;
    LastError() = 0;
    if (lpcf == nullptr || lpcf->lStructSize != sizeof(CHOOSEFONTA)) {
        LastError() = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (lpcf->lpLogFont == nullptr ||
        (lpcf->Flags & (CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_ENABLETEMPLATEHANDLE)) != 0 ||
        (lpcf->hwndOwner != nullptr && !IsWindow(lpcf->hwndOwner))) {
        LastError() = CDERR_INITIALIZATION;
        return FALSE;
    }
    Choice choice;
    if (lpcf->Flags & CF_LIMITSIZE) {
        if (lpcf->nSizeMax < lpcf->nSizeMin) {
            LastError() = CFERR_MAXLESSTHANMIN;
            return FALSE;
        }
        choice.minTenths = std::max(1, lpcf->nSizeMin) * 10;
        choice.maxTenths = std::max(choice.minTenths, lpcf->nSizeMax * 10);
    }
    const int perInch = ScreenPixelsPerInch(lpcf->hwndOwner);
    LOGFONTA& font = *lpcf->lpLogFont;
    if (lpcf->Flags & CF_INITTOLOGFONTSTRUCT) {
        choice.face.assign(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE - 1));
        // A negative height is the em height in pixels; a positive one a cell height, taken alike.
        const long pixels = font.lfHeight < 0 ? -long(font.lfHeight) : long(font.lfHeight);
        if (pixels > 0) choice.tenths = MulDiv(static_cast<int>(pixels), 720, perInch);
    }
    if (choice.face.empty()) choice.face = "Arial";
    choice.tenths = std::clamp(choice.tenths, choice.minTenths, choice.maxTenths);

    const INT_PTR answer = user::dialogs::RunDialogTemplate(FontDialogTemplate(), nullptr, lpcf->hwndOwner,
                                                            &FontDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (answer == -1) {
        LastError() = CDERR_DIALOGFAILURE;
        return FALSE;
    }
    if (answer != IDOK) return FALSE;
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, choice.face.data(), std::min<size_t>(choice.face.size(), LF_FACESIZE - 1));
    font.lfHeight = -MulDiv(choice.tenths, perInch, 720);
    if (font.lfWeight == 0) font.lfWeight = FW_NORMAL;
    lpcf->iPointSize = choice.tenths;
    lpcf->nFontType = SCREEN_FONTTYPE | REGULAR_FONTTYPE;
    return TRUE;
}

DWORD WINAPI CommDlgExtendedError(void) { return comdlg::LastError(); }
