// GDI: stock objects, device contexts and bitmaps, as far as the program and the cursor reader need
// them. Fonts and text output come later.
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
