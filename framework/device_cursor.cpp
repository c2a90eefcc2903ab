// ApplyCursorToDevice: the cursor's bitmaps read through GDI into 32-bit rows, composed onto a
// scratch A8R8G8B8 surface and handed to the device's SetCursorProperties. Whatever was obtained is
// released on every path, bitmaps selected out of their memory contexts before they are deleted.
#include "device_cursor.h"

#include <new>

namespace {

// What the operation holds while it runs; the destructor gives it all back.
struct CursorResources {
    ICONINFO info{};
    IDirect3DSurface9* pSurface = nullptr;
    DWORD* pMaskBits = nullptr;
    DWORD* pColorBits = nullptr;
    HDC hScreen = nullptr;
    HDC hMaskDc = nullptr;
    HDC hColorDc = nullptr;
    HGDIOBJ hOldMask = nullptr;
    HGDIOBJ hOldColor = nullptr;
    bool locked = false;

    ~CursorResources() {
        if (locked) pSurface->UnlockRect();
        if (hMaskDc) {
            if (hOldMask) SelectObject(hMaskDc, hOldMask);
            DeleteDC(hMaskDc);
        }
        if (hColorDc) {
            if (hOldColor) SelectObject(hColorDc, hOldColor);
            DeleteDC(hColorDc);
        }
        if (hScreen) ReleaseDC(nullptr, hScreen);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        delete[] pMaskBits;
        delete[] pColorBits;
        if (pSurface) pSurface->Release();
    }
};

// Reads `rows` rows of the bitmap, bottom-up, through a new memory context compatible with the screen.
HRESULT ReadBitmapRows(HDC hScreen, HBITMAP hBitmap, UINT width, UINT rows, UINT headerRows, DWORD* pBits, HDC& hDc,
                       HGDIOBJ& hOld) {
    hDc = CreateCompatibleDC(hScreen);
    if (!hDc) return E_FAIL;
    hOld = SelectObject(hDc, hBitmap);
    BITMAPINFO bitmapInfo{};
    bitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bitmapInfo.bmiHeader.biWidth = static_cast<LONG>(width);
    bitmapInfo.bmiHeader.biHeight = static_cast<LONG>(headerRows);
    bitmapInfo.bmiHeader.biPlanes = 1;
    bitmapInfo.bmiHeader.biBitCount = 32;
    bitmapInfo.bmiHeader.biCompression = BI_RGB;
    GetDIBits(hDc, hBitmap, 0, rows, pBits, &bitmapInfo, DIB_RGB_COLORS);
    return S_OK;
}

}  // namespace

HRESULT ApplyCursorToDevice(IDirect3DDevice9* pDevice, HCURSOR hCursor, bool addBadge) {
    if (!pDevice) return E_INVALIDARG;
    CursorResources held;
    BITMAP mask{};
    if (!GetIconInfo(hCursor, &held.info)) return E_FAIL;
    if (GetObjectA(held.info.hbmMask, sizeof mask, &mask) == 0 || mask.bmWidth <= 0 || mask.bmHeight <= 0) return E_FAIL;

    const UINT width = static_cast<UINT>(mask.bmWidth);
    const UINT maskHeight = static_cast<UINT>(mask.bmHeight);
    const UINT height = held.info.hbmColor ? maskHeight : maskHeight / 2;
    if (height == 0) return E_FAIL;

    HRESULT hr = pDevice->CreateOffscreenPlainSurface(width, height, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &held.pSurface,
                                                      nullptr);
    if (FAILED(hr)) {
        held.pSurface = nullptr;
        return hr;
    }

    // Buffers start zeroed, so rows GetDIBits could not read count as opaque black, never as garbage.
    held.pMaskBits = new (std::nothrow) DWORD[static_cast<size_t>(width) * maskHeight]();
    if (!held.pMaskBits) return E_OUTOFMEMORY;
    held.hScreen = GetDC(nullptr);
    hr = ReadBitmapRows(held.hScreen, held.info.hbmMask, width, maskHeight, maskHeight, held.pMaskBits, held.hMaskDc,
                        held.hOldMask);
    if (FAILED(hr)) return hr;

    if (held.info.hbmColor) {
        held.pColorBits = new (std::nothrow) DWORD[static_cast<size_t>(width) * height]();
        if (!held.pColorBits) return E_OUTOFMEMORY;
        hr = ReadBitmapRows(held.hScreen, held.info.hbmColor, width, height, maskHeight, held.pColorBits,
                            held.hColorDc, held.hOldColor);
        if (FAILED(hr)) return hr;
    }

    D3DLOCKED_RECT lockedRect{};
    hr = held.pSurface->LockRect(&lockedRect, nullptr, 0);
    if (FAILED(hr)) return hr;
    if (!lockedRect.pBits) {
        held.pSurface->UnlockRect();
        return E_FAIL;
    }
    held.locked = true;
    ComposeCursorImage(held.pMaskBits, held.pColorBits, width, maskHeight, height, addBadge,
                       static_cast<BYTE*>(lockedRect.pBits), lockedRect.Pitch);
    held.pSurface->UnlockRect();
    held.locked = false;

    hr = pDevice->SetCursorProperties(held.info.xHotspot, held.info.yHotspot, held.pSurface);
    return FAILED(hr) ? hr : S_OK;
}
