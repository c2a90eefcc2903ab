// Cursor files through LoadCursorFromFileA, then what a program does with the cursor: makes it current,
// reads its bitmaps back through GetIconInfo and GetDIBits, and destroys it.
#include "fuzz_support.h"

namespace {

void ReadBitmap(HBITMAP bitmap) {
    if (bitmap == nullptr) return;
    BITMAP header{};
    if (GetObjectA(bitmap, sizeof header, &header) == 0) std::abort();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = header.bmWidth;
    info.bmiHeader.biHeight = -header.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size_t(header.bmWidth) * header.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, UINT(header.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteScratchFile(data, size, ".cur");
    HCURSOR cursor = LoadCursorFromFileA(path.c_str());
    if (cursor == nullptr) return 0;
    HCURSOR previous = SetCursor(cursor);
    ICONINFO info{};
    if (GetIconInfo(cursor, &info)) {
        ReadBitmap(info.hbmMask);
        ReadBitmap(info.hbmColor);
    }
    SetCursor(previous);
    if (!DestroyCursor(cursor)) std::abort();
    return 0;
}
