// The device cursor's pixels: the mask rule, the colours made opaque, and the D3D badge.
#include "device_cursor.h"

namespace {

const int kBadgeWidth = 12;
const int kBadgeHeight = 5;
// Bit (15 - x) of row y is column x of the badge: the letters D3D.
const WORD kBadgeRows[kBadgeHeight] = {0xCCC0, 0xA2A0, 0xA4A0, 0xA2A0, 0xCCC0};
const DWORD kBadgeColor = 0xFF808080;

bool BadgeBit(UINT x, UINT y) {
    return x < static_cast<UINT>(kBadgeWidth) && y < static_cast<UINT>(kBadgeHeight) &&
           ((kBadgeRows[y] >> (15 - x)) & 1) != 0;
}

}  // namespace

void ComposeCursorImage(const DWORD* pMaskBits, const DWORD* pColorBits, UINT width, UINT maskHeight, UINT height,
                        bool addBadge, BYTE* pImage, INT pitch) {
    for (UINT y = 0; y < height; ++y) {
        DWORD* pRow = reinterpret_cast<DWORD*>(pImage + static_cast<ptrdiff_t>(y) * pitch);
        // Buffer row r holds image row (rows - 1 - r). A monochrome cursor's XOR half starts right
        // below its AND half, at image row `height`, whatever the parity of the mask height.
        const DWORD* pMaskRow = pMaskBits + static_cast<size_t>(maskHeight - 1 - y) * width;
        const DWORD* pColorRow = pColorBits ? pColorBits + static_cast<size_t>(height - 1 - y) * width
                                            : pMaskBits + static_cast<size_t>(maskHeight - 1 - (height + y)) * width;
        for (UINT x = 0; x < width; ++x) {
            DWORD pixel = pMaskRow[x] != 0 ? 0 : (pColorRow[x] | 0xFF000000);
            if (addBadge && BadgeBit(x, y)) pixel |= kBadgeColor;
            pRow[x] = pixel;
        }
    }
}
