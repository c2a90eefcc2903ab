// The common dialogs: the font-choice dialog and the extended error of the last common dialog.
#pragma once

#include "windef.h"
#include "wingdi.h"
#include "winuser.h"

typedef UINT_PTR(CALLBACK* LPCFHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagCHOOSEFONTA {
    DWORD lStructSize;
    HWND hwndOwner;
    HDC hDC;
    LPLOGFONTA lpLogFont;
    INT iPointSize;  // out: the chosen size in tenths of a point
    DWORD Flags;
    COLORREF rgbColors;
    LPARAM lCustData;
    LPCFHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    HINSTANCE hInstance;
    LPSTR lpszStyle;
    WORD nFontType;
    WORD ___MISSING_ALIGNMENT__;
    INT nSizeMin;
    INT nSizeMax;
} CHOOSEFONTA, *LPCHOOSEFONTA;
typedef CHOOSEFONTA CHOOSEFONT;

#define CF_SCREENFONTS 0x00000001L
#define CF_PRINTERFONTS 0x00000002L
#define CF_BOTH (CF_SCREENFONTS | CF_PRINTERFONTS)
#define CF_SHOWHELP 0x00000004L
#define CF_ENABLEHOOK 0x00000008L
#define CF_ENABLETEMPLATE 0x00000010L
#define CF_ENABLETEMPLATEHANDLE 0x00000020L
#define CF_INITTOLOGFONTSTRUCT 0x00000040L
#define CF_EFFECTS 0x00000100L
#define CF_LIMITSIZE 0x00002000L
#define CF_TTONLY 0x00040000L

#define SCREEN_FONTTYPE 0x2000
#define REGULAR_FONTTYPE 0x0400

// CommDlgExtendedError's answers.
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_DIALOGFAILURE 0xFFFF
#define CFERR_MAXLESSTHANMIN 0x2002

// A modal "Font" dialog on the owner, starting on the record's font with CF_INITTOLOGFONTSTRUCT. OK
// fills the LOGFONTA (face, and the height for the chosen size on the screen) and iPointSize, and
// answers TRUE; Cancel answers FALSE with no extended error. Hooks and templates of the program's own
// are not offered (FALSE, CDERR_INITIALIZATION). On the headless machine the input script chooses
// ("dialog font <face> <points>") or cancels.
BOOL WINAPI ChooseFontA(LPCHOOSEFONTA lpcf);
#define ChooseFont ChooseFontA
DWORD WINAPI CommDlgExtendedError(void);
