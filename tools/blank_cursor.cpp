#include "blank_cursor.h"

#include "media_file.h"

namespace {

constexpr uint32_t kSize = 32;
constexpr uint32_t kRowBytes = kSize / 8;  // 1 bit a pixel; 4 bytes is already a multiple of 4
constexpr uint32_t kPaletteBytes = 2 * 4;
constexpr uint32_t kImageBytes = 40 + kPaletteBytes + 2 * kRowBytes * kSize;
constexpr uint32_t kHeaderBytes = 6 + 16;

}  // namespace

std::vector<uint8_t> BlankCursorFile() {
    MediaBytes out;
    // File header: reserved, type 2 (cursor), one image.
    out.Word(0);
    out.Word(2);
    out.Word(1);
    // Directory entry: size, colour count, reserved, hot spot, image size and offset.
    out.Byte(kSize);
    out.Byte(kSize);
    out.Byte(2);
    out.Byte(0);
    out.Word(0);
    out.Word(0);
    out.Dword(kImageBytes);
    out.Dword(kHeaderBytes);
    // Bitmap header: double height for the colour bits and the AND mask together.
    out.Dword(40);
    out.Dword(kSize);
    out.Dword(kSize * 2);
    out.Word(1);
    out.Word(1);
    out.Dword(0);
    out.Dword(2 * kRowBytes * kSize);
    out.Dword(0);
    out.Dword(0);
    out.Dword(2);
    out.Dword(0);
    // Palette: black and white.
    out.Dword(0x00000000);
    out.Dword(0x00FFFFFF);
    // Colour bits all 0 and AND mask all 1: the screen shows through every pixel.
    out.Repeat(0x00, kRowBytes * kSize);
    out.Repeat(0xFF, kRowBytes * kSize);
    return out.Bytes();
}
