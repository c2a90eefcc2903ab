// Reading bitmaps: GetObjectA's BITMAP and GetDIBits' 32-bit rows.
#include <algorithm>
#include <cstring>

#include "gdi/objects.h"

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
    auto bitmap = gdi::FindObjectAs<gdi::Bitmap>(h);
    if (!bitmap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (pv == nullptr) return static_cast<int>(sizeof(BITMAP));
    if (c < static_cast<int>(sizeof(BITMAP))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    BITMAP bm{};
    bm.bmWidth = bitmap->width;
    bm.bmHeight = bitmap->height;
    bm.bmWidthBytes = bitmap->RowBytes();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(bitmap->bitsPerPixel);
    std::memcpy(pv, &bm, sizeof bm);
    return static_cast<int>(sizeof(BITMAP));
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
    auto bitmap = gdi::FindObjectAs<gdi::Bitmap>(hbm);
    if (!gdi::FindObjectAs<gdi::DeviceContext>(hdc) || !bitmap || lpbmi == nullptr || usage != DIB_RGB_COLORS ||
        lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& header = lpbmi->bmiHeader;
    if (lpvBits == nullptr) {
        // The caller asks for the bitmap's description.
        header.biWidth = bitmap->width;
        header.biHeight = bitmap->height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(bitmap->width) * bitmap->height * 4;
        return bitmap->height;
    }
    if (header.biBitCount != 32 || header.biCompression != BI_RGB || header.biWidth != bitmap->width ||
        header.biHeight == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool bottomUp = header.biHeight > 0;
    const long long rows = bottomUp ? header.biHeight : -static_cast<long long>(header.biHeight);
    if (start >= rows) return 0;
    const UINT lines = static_cast<UINT>(std::min<long long>(cLines, std::min<long long>(rows, bitmap->height) - start));
    auto* out = static_cast<uint32_t*>(lpvBits);
    for (UINT i = 0; i < lines; ++i) {
        // Buffer row r holds DIB scan line start + r; bottom-up DIBs count scan lines from the bottom.
        const long long scan = static_cast<long long>(start) + i;
        const long long imageRow = bottomUp ? rows - 1 - scan : scan;
        uint32_t* row = out + static_cast<size_t>(i) * bitmap->width;
        for (int x = 0; x < bitmap->width; ++x)
            row[x] = imageRow < bitmap->height ? bitmap->Pixel(x, static_cast<int>(imageRow)) : 0;
    }
    return static_cast<int>(lines);
}
