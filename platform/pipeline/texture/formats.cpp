#include "pipeline/formats.h"

#include <cstring>

namespace pipeline {

int BytesPerPixel(ColorFormat format) {
    return format == ColorFormat::X8R8G8B8 || format == ColorFormat::A8R8G8B8 ? 4 : 2;
}

int BytesPerPixel(DepthFormat format) {
    switch (format) {
    case DepthFormat::None: return 0;
    case DepthFormat::D16: return 2;
    default: return 4;
    }
}

bool HasAlpha(ColorFormat format) {
    return format == ColorFormat::A8R8G8B8 || format == ColorFormat::A1R5G5B5 || format == ColorFormat::A4R4G4B4;
}

bool IsCompressed(TextureFormat format) { return format >= TextureFormat::DXT1; }

Color UnpackColor(ColorFormat format, uint32_t raw) { return ArgbToColor(ToArgb8(format, raw)); }

uint32_t PackColor(ColorFormat format, Color color) { return FromArgb8(format, ColorToArgb(color)); }

uint32_t ChannelBits(ColorFormat format, uint32_t mask) {
    // Per channel: red, green, blue, alpha.
    static const uint32_t kBits[6][4] = {
        {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u},  // X8R8G8B8
        {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u},  // A8R8G8B8
        {0xF800u, 0x07E0u, 0x001Fu, 0},                        // R5G6B5
        {0x7C00u, 0x03E0u, 0x001Fu, 0x8000u},                  // X1R5G5B5
        {0x7C00u, 0x03E0u, 0x001Fu, 0x8000u},                  // A1R5G5B5
        {0x0F00u, 0x00F0u, 0x000Fu, 0xF000u},                  // A4R4G4B4
    };
    uint32_t result = 0;
    for (int c = 0; c < 4; ++c)
        if (mask & (1u << c)) result |= kBits[static_cast<int>(format)][c];
    return result;
}

float UnpackDepth(DepthFormat format, uint32_t stored) {
    switch (format) {
    case DepthFormat::None: return 0.0f;
    case DepthFormat::D16: return static_cast<float>(stored) / 65535.0f;
    case DepthFormat::D24X8:
    case DepthFormat::D24S8: return static_cast<float>(static_cast<double>(stored & 0xFFFFFFu) / 16777215.0);
    case DepthFormat::D32: return static_cast<float>(static_cast<double>(stored) / 4294967295.0);
    case DepthFormat::D32F: {
        float v;
        std::memcpy(&v, &stored, 4);
        return v;
    }
    }
    return 0.0f;
}

}  // namespace pipeline
