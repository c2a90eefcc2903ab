// Pictures in memory and their files: 24-bit BMP and uncompressed 32-bit DDS with a mip chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture of A8R8G8B8 texels, rows top-down.
struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> texels;

    Picture(uint32_t w, uint32_t h, uint32_t fill = 0xFF000000) : width(w), height(h), texels(size_t(w) * h, fill) {}
    uint32_t& At(uint32_t x, uint32_t y) { return texels[size_t(y) * width + x]; }
    uint32_t At(uint32_t x, uint32_t y) const { return texels[size_t(y) * width + x]; }
};

// A BMP file: info header, 24 bits a pixel, rows bottom-up padded to 4 bytes (alpha is dropped).
std::vector<uint8_t> BmpFile(const Picture& picture);
// A DDS file of A8R8G8B8 levels, the largest first; each level half the size of the one before.
std::vector<uint8_t> DdsFile(const std::vector<Picture>& levels);
