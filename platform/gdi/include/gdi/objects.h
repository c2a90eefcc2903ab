// GDI's objects behind their handles: brushes, pens, bitmaps and device contexts. Handles are never
// reused, so a deleted one stays invalid.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "windows.h"

namespace gdi {

struct GdiObject {
    virtual ~GdiObject() = default;
    bool stock = false;  // never deleted
};

struct Brush : GdiObject {
    COLORREF color = 0;
    bool hollow = false;
};

struct Pen : GdiObject {
    COLORREF color = 0;
    bool hollow = false;
};

// A bitmap: 1 bit a pixel (rows of whole 16-bit words, most significant bit first) or 32 bits a pixel
// (0x00RRGGBB, alpha kept in the top byte). Rows top-down, except the pixels of a bottom-up DIB
// section, whose memory holds the bottom row first.
struct Bitmap : GdiObject {
    int width = 0, height = 0;
    int bitsPerPixel = 1;
    std::vector<uint8_t> bits;     // 1-bit bitmaps
    std::vector<uint32_t> pixels;  // 32-bit bitmaps; a DIB section's caller holds a pointer into them
    bool bottomUp = false;         // 32-bit: pixels' first row is the image's bottom row
    HDC selectedInto = nullptr;

    // The 32-bit pixel at image row y (counted from the top).
    uint32_t& PixelAt(int x, int y) {
        return pixels[static_cast<size_t>(bottomUp ? height - 1 - y : y) * width + x];
    }

    int RowBytes() const { return bitsPerPixel == 1 ? (width + 15) / 16 * 2 : width * 4; }
    uint32_t Pixel(int x, int y) const {
        if (bitsPerPixel == 1)
            return ((bits[static_cast<size_t>(y) * RowBytes() + x / 8] >> (7 - x % 8)) & 1) ? 0x00FFFFFFu : 0u;
        return pixels[static_cast<size_t>(bottomUp ? height - 1 - y : y) * width + x];
    }
};

enum class DcKind { Screen, Window, Memory, Paint };

struct DeviceContext : GdiObject {
    DcKind kind = DcKind::Screen;
    HWND window = nullptr;
    HGDIOBJ bitmap = nullptr;  // memory contexts: the selected bitmap
    HGDIOBJ defaultBitmap = nullptr;  // memory contexts: the 1 x 1 bitmap they start with
    HGDIOBJ brush = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ font = nullptr;  // null: the default font
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backgroundColor = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT;
    int mapMode = MM_TEXT;
};

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> FindObjectAs(HGDIOBJ handle) {
    return std::dynamic_pointer_cast<T>(FindObject(handle));
}
bool RemoveObject(HGDIOBJ handle);

// A device context for a window (GetDC, BeginPaint) or the screen.
HDC CreateWindowDc(HWND window, DcKind kind);

}  // namespace gdi
