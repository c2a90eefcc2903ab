// Cursor and icon images as the window manager keeps them, and the .cur / icon image readers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "windows.h"

namespace user {

// A cursor or icon in the platform's form. Rows are top-down.
// Monochrome: `mask` is 1 bit a pixel, width x 2*height (the AND mask, then the XOR mask below it);
// `color` is empty. Colour: `mask` is width x height (the AND mask) and `color` holds width x height
// 32-bit 0xAARRGGBB pixels (alpha as the file gave it, 0 when it had none).
struct CursorImage {
    bool isIcon = false;
    int width = 0, height = 0;
    int hotspotX = 0, hotspotY = 0;
    bool monochrome = false;
    std::vector<uint8_t> mask;  // rows of (width + 15) / 16 * 2 bytes, most significant bit first
    std::vector<uint32_t> color;
    bool shared = false;  // a system cursor or icon: never destroyed

    int MaskRowBytes() const { return (width + 15) / 16 * 2; }
    int MaskHeight() const { return monochrome ? height * 2 : height; }
    bool MaskBit(int x, int y) const {
        return (mask[static_cast<size_t>(y) * MaskRowBytes() + x / 8] >> (7 - x % 8)) & 1;
    }
};

// The image of a live cursor or icon handle, or null.
std::shared_ptr<const CursorImage> FindCursor(HCURSOR handle);
HCURSOR AddCursor(std::shared_ptr<CursorImage> image);

enum class CursorReadError { None, Malformed };
// Reads a .cur file's bytes: the ICONDIR (type 2), the first ICONDIRENTRY (hot spot) and its image.
std::shared_ptr<CursorImage> ReadCursorFile(const uint8_t* data, size_t size);
// Reads one image of an icon or cursor: a BITMAPINFOHEADER of double height, the palette, the XOR
// bits and the AND mask. Null when malformed.
std::shared_ptr<CursorImage> ReadIconImage(const uint8_t* data, size_t size);

}  // namespace user
