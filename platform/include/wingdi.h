// GDI: stock objects, device contexts, bitmaps and DIB sections, fonts and text output, as far as the
// program and the cursor reader need them.
#pragma once

#include "windef.h"
#include "winerror.h"

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))

// ---- Stock objects ------------------------------------------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8

// Stock objects are never deleted: DeleteObject on one answers TRUE and leaves it.
HGDIOBJ WINAPI GetStockObject(int i);
// FALSE for an unknown handle and for a bitmap still selected into a device context.
BOOL WINAPI DeleteObject(HGDIOBJ ho);

// ---- Device contexts ----------------------------------------------------------------------------
// A memory device context holding a 1 x 1 monochrome bitmap until another is selected.
HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
// Answers the object it replaces; a bitmap can be selected into one memory device context at a time.
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);

// ---- Bitmaps ------------------------------------------------------------------------------------
#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD, *LPRGBQUAD;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes on the platform");

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

// GetObjectA fills a BITMAP for a bitmap (answering the bytes written) and answers 0 otherwise.
int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv);
// Reads rows of a bitmap as 32-bit BI_RGB pixels (positive biHeight: bottom-up rows, negative:
// top-down). A monochrome bitmap gives 0 for a clear bit and 0x00FFFFFF for a set one. A null lpvBits
// fills in the header (size of the image) only. Answers the number of rows read, 0 on failure.
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi,
                     UINT usage);

// ---- DIB sections -------------------------------------------------------------------------------
// A 32-bit BI_RGB bitmap whose pixels the caller reaches through *ppvBits (0x00RRGGBB, rows top-down
// for a negative biHeight, bottom-up for a positive one, width x 4 bytes a row), zero at creation and
// valid until DeleteObject. Other formats and file-mapping sections are refused (null).
HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits, HANDLE hSection,
                                DWORD offset);

// ---- Device context attributes ------------------------------------------------------------------
#define TRANSPARENT 1
#define OPAQUE 2
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define MM_TEXT 1

#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Each answers the previous value (CLR_INVALID, 0 or GDI_ERROR for a bad context or value).
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
int WINAPI SetBkMode(HDC hdc, int mode);
UINT WINAPI SetTextAlign(HDC hdc, UINT align);
// Only MM_TEXT (one logical unit a pixel, y down) is offered; other modes answer 0.
int WINAPI SetMapMode(HDC hdc, int mode);
// LOGPIXELSX and LOGPIXELSY (96 dots an inch); 0 for the other indexes.
int WINAPI GetDeviceCaps(HDC hdc, int index);

// ---- Fonts --------------------------------------------------------------------------------------
#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define OEM_CHARSET 255

#define OUT_DEFAULT_PRECIS 0
#define OUT_STRING_PRECIS 1
#define OUT_CHARACTER_PRECIS 2
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define OUT_DEVICE_PRECIS 5
#define OUT_RASTER_PRECIS 6
#define OUT_TT_ONLY_PRECIS 7
#define OUT_OUTLINE_PRECIS 8

#define CLIP_DEFAULT_PRECIS 0
#define CLIP_CHARACTER_PRECIS 1
#define CLIP_STROKE_PRECIS 2

#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define CLEARTYPE_NATURAL_QUALITY 6

#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE (0 << 4)
#define FF_ROMAN (1 << 4)
#define FF_SWISS (2 << 4)
#define FF_MODERN (3 << 4)
#define FF_SCRIPT (4 << 4)
#define FF_DECORATIVE (5 << 4)

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes on the platform");

// The height: negative, the character (em) height in pixels; positive, the cell height (ascent plus
// descent); 0, the default size. A face the machine lacks is substituted by the closest installed
// one, so a font is made for any name. ANTIALIASED_QUALITY and CLEARTYPE_QUALITY give grey-level
// glyphs; every other quality gives two-level glyphs. Escapement, orientation and width are kept but
// not applied (text runs horizontally at the face's own proportions).
HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf);

#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04
#define TMPF_DEVICE 0x08

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;
static_assert(sizeof(TEXTMETRICA) == 56, "TEXTMETRICA is 56 bytes on the platform");

// ---- Text ---------------------------------------------------------------------------------------
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// The extent of the first c characters in the selected font: the sum of their advances, and the
// font's cell height (the same for every string).
BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl);
BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm);
// Draws into the bitmap selected into a memory context, or into a window's pixels, clipped to them
// (and to the rectangle with ETO_CLIPPED). ETO_OPAQUE fills the rectangle with the background colour
// first; an opaque background mode fills the text's cells. lpDx, when given, holds the advances.
BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx);
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
