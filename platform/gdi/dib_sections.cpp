// CreateDIBSection: 32-bit BI_RGB bitmaps whose pixels the caller writes and reads directly.
#include <limits>

#include "gdi/objects.h"
#include "machine/machine.h"

namespace {

// The largest section made: 256 MB of pixels.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

}  // namespace

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits, HANDLE hSection,
                                DWORD offset) {
    if (ppvBits != nullptr) *ppvBits = nullptr;
    if (hdc != nullptr && !gdi::FindObjectAs<gdi::DeviceContext>(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (pbmi == nullptr || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) || hSection != nullptr ||
        offset != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const BITMAPINFOHEADER& header = pbmi->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == std::numeric_limits<LONG>::min() || header.biPlanes != 1 || header.biBitCount != 32 ||
        header.biCompression != BI_RGB) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const long long width = header.biWidth;
    const long long height = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (width * height > kMaxPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto bitmap = std::make_shared<gdi::Bitmap>();
    bitmap->width = static_cast<int>(width);
    bitmap->height = static_cast<int>(height);
    bitmap->bitsPerPixel = 32;
    bitmap->bottomUp = header.biHeight > 0;
    bitmap->pixels.assign(static_cast<size_t>(width * height), 0u);
    if (ppvBits != nullptr) *ppvBits = bitmap->pixels.data();
    machine::NoteObjectCreated("bitmap");
    return static_cast<HBITMAP>(gdi::AddObject(bitmap));
}
