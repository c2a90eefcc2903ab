// Image files decoded to plain pixels: BMP (1, 4, 8, 16, 24 and 32 bits, bottom-up or top-down) and
// DDS (uncompressed RGB and DXT1 to DXT5, with their stored mip levels). Every reader checks each size
// and offset against the bytes it was given before it reads, and answers D3DXERR_INVALIDDATA for a
// file it cannot use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "d3dx9.h"

namespace d3dx9 {

struct ImageLevel {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint32_t> argb;   // A8R8G8B8, top row first; alpha 0xFF where the file has none
    std::vector<uint8_t> blocks;  // DXT files only: the level's blocks as stored
};

struct DecodedImage {
    D3DXIMAGE_FILEFORMAT fileKind = D3DXIFF_BMP;
    D3DFORMAT fileFormat = D3DFMT_UNKNOWN;     // as written in the file (R8G8B8, P8, DXT1 ...)
    D3DFORMAT textureFormat = D3DFMT_UNKNOWN;  // what a texture takes when the caller leaves it open
    std::vector<ImageLevel> levels;            // level 0 first; only DDS files store more
};

// Largest image the readers accept, in pixels of level 0.
constexpr uint64_t kMaxImagePixels = uint64_t(1) << 26;

HRESULT DecodeBmp(const uint8_t* data, size_t size, DecodedImage& image);
HRESULT DecodeDds(const uint8_t* data, size_t size, DecodedImage& image);
// Picks the reader by the file's signature ("BM" or "DDS ").
HRESULT DecodeImage(const uint8_t* data, size_t size, DecodedImage& image);
// Reads a file named in the program's form (either separator, any letter case) and decodes it.
HRESULT DecodeImageFile(const std::string& programPath, DecodedImage& image);

}  // namespace d3dx9
