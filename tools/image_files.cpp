#include "image_files.h"

#include "media_file.h"

std::vector<uint8_t> BmpFile(const Picture& picture) {
    const uint32_t rowBytes = (picture.width * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * picture.height;
    MediaBytes out;
    // File header: "BM", file size, two reserved words, offset of the pixels.
    out.Byte('B');
    out.Byte('M');
    out.Dword(14 + 40 + imageBytes);
    out.Word(0);
    out.Word(0);
    out.Dword(14 + 40);
    // Info header: size, width, height (positive: bottom-up), 1 plane, 24 bits, no compression,
    // image size, 72 dots per inch, no palette.
    out.Dword(40);
    out.Dword(picture.width);
    out.Dword(picture.height);
    out.Word(1);
    out.Word(24);
    out.Dword(0);
    out.Dword(imageBytes);
    out.Dword(2835);
    out.Dword(2835);
    out.Dword(0);
    out.Dword(0);
    for (uint32_t row = picture.height; row-- > 0;) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint32_t texel = picture.At(x, row);
            out.Byte(static_cast<uint8_t>(texel));
            out.Byte(static_cast<uint8_t>(texel >> 8));
            out.Byte(static_cast<uint8_t>(texel >> 16));
        }
        out.Repeat(0, rowBytes - picture.width * 3);
    }
    return out.Bytes();
}

std::vector<uint8_t> DdsFile(const std::vector<Picture>& levels) {
    MediaBytes out;
    if (levels.empty()) return out.Bytes();
    const Picture& top = levels.front();
    out.Byte('D');
    out.Byte('D');
    out.Byte('S');
    out.Byte(' ');
    // Surface description: size 124; caps, height, width, pitch, pixel format and mip count present.
    out.Dword(124);
    out.Dword(0x1 | 0x2 | 0x4 | 0x8 | 0x1000 | 0x20000);
    out.Dword(top.height);
    out.Dword(top.width);
    out.Dword(top.width * 4);
    out.Dword(0);
    out.Dword(static_cast<uint32_t>(levels.size()));
    out.Repeat(0, 11 * 4);
    // Pixel format: size 32, RGB with alpha, 32 bits, masks A8R8G8B8.
    out.Dword(32);
    out.Dword(0x40 | 0x1);
    out.Dword(0);
    out.Dword(32);
    out.Dword(0x00FF0000);
    out.Dword(0x0000FF00);
    out.Dword(0x000000FF);
    out.Dword(0xFF000000);
    // Caps: a complex texture with mip levels; no cube or volume; reserved.
    out.Dword(0x8 | 0x1000 | 0x400000);
    out.Repeat(0, 4 * 4);
    for (const Picture& level : levels)
        for (uint32_t texel : level.texels) out.Dword(texel);
    return out.Bytes();
}
