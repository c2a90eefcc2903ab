#pragma once
// Pixel formats of render targets, depth buffers and textures, and their pack/unpack functions.
#include <cstdint>
#include <cstring>

#include "pipeline/types.h"

namespace pipeline {

// Colour formats a render target or an uncompressed texture level may have.
enum class ColorFormat : uint8_t { X8R8G8B8, A8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4 };

// Depth formats; D32F stores a float, the others unsigned integers (D24 in the top 24 bits).
enum class DepthFormat : uint8_t { None, D16, D24X8, D24S8, D32, D32F };

// Texture level formats: the colour formats plus the block-compressed ones.
enum class TextureFormat : uint8_t { X8R8G8B8, A8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, DXT1, DXT2, DXT3, DXT4, DXT5 };

int BytesPerPixel(ColorFormat format);
int BytesPerPixel(DepthFormat format);
bool HasAlpha(ColorFormat format);
bool IsCompressed(TextureFormat format);

// ToArgb8 / FromArgb8 (below, inline): raw texel value (16 or 32 bits, low bits) <-> 0xAARRGGBB.
// Formats without alpha read alpha 255; narrow channels widen by bit replication (4-bit: x 17) and
// narrow by rounding.

// Raw texel value <-> float colour; channels clamp to 0..1 (NaN reads 0) and round to nearest.
Color UnpackColor(ColorFormat format, uint32_t raw);
uint32_t PackColor(ColorFormat format, Color color);

// Bits of a raw value that hold the channels enabled in mask (bit 0 red, 1 green, 2 blue, 3 alpha).
uint32_t ChannelBits(ColorFormat format, uint32_t mask);

// PackDepth (below, inline) / UnpackDepth: depth 0..1 (clamped, NaN reads 0) <-> the value stored in a
// depth format (D24: the 24-bit value, no stencil). For every format a larger stored value means
// farther, so stored values compare as unsigned integers.
float UnpackDepth(DepthFormat format, uint32_t stored);

// One 8-bit channel from a float 0..1 (clamped; NaN gives 0), rounded to nearest.
inline uint32_t ToByte(float c) {
    float v = c > 0.0f ? (c < 1.0f ? c : 1.0f) : 0.0f;
    return static_cast<uint32_t>(v * 255.0f + 0.5f);
}

inline Color ArgbToColor(uint32_t argb) {
    constexpr float k = 1.0f / 255.0f;
    return {static_cast<float>((argb >> 16) & 0xFF) * k, static_cast<float>((argb >> 8) & 0xFF) * k,
            static_cast<float>(argb & 0xFF) * k, static_cast<float>(argb >> 24) * k};
}

inline uint32_t ColorToArgb(Color c) {
    return ToByte(c.a) << 24 | ToByte(c.r) << 16 | ToByte(c.g) << 8 | ToByte(c.b);
}

namespace detail {
inline uint32_t Widen5(uint32_t v) { return (v << 3) | (v >> 2); }
inline uint32_t Widen6(uint32_t v) { return (v << 2) | (v >> 4); }
inline uint32_t Narrow(uint32_t v8, uint32_t max) { return (v8 * max + 127) / 255; }
}  // namespace detail

inline uint32_t ToArgb8(ColorFormat format, uint32_t raw) {
    switch (format) {
    case ColorFormat::X8R8G8B8: return raw | 0xFF000000u;
    case ColorFormat::A8R8G8B8: return raw;
    case ColorFormat::R5G6B5:
        return 0xFF000000u | detail::Widen5((raw >> 11) & 31) << 16 | detail::Widen6((raw >> 5) & 63) << 8 | detail::Widen5(raw & 31);
    case ColorFormat::X1R5G5B5:
    case ColorFormat::A1R5G5B5: {
        uint32_t a = format == ColorFormat::X1R5G5B5 || (raw & 0x8000) ? 0xFFu : 0u;
        return a << 24 | detail::Widen5((raw >> 10) & 31) << 16 | detail::Widen5((raw >> 5) & 31) << 8 | detail::Widen5(raw & 31);
    }
    case ColorFormat::A4R4G4B4:
        return ((raw >> 12) & 15) * 17 << 24 | ((raw >> 8) & 15) * 17 << 16 | ((raw >> 4) & 15) * 17 << 8 | (raw & 15) * 17;
    }
    return 0;
}

inline uint32_t FromArgb8(ColorFormat format, uint32_t argb) {
    uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    switch (format) {
    case ColorFormat::X8R8G8B8: return argb | 0xFF000000u;
    case ColorFormat::A8R8G8B8: return argb;
    case ColorFormat::R5G6B5: return detail::Narrow(r, 31) << 11 | detail::Narrow(g, 63) << 5 | detail::Narrow(b, 31);
    case ColorFormat::X1R5G5B5: return 0x8000u | detail::Narrow(r, 31) << 10 | detail::Narrow(g, 31) << 5 | detail::Narrow(b, 31);
    case ColorFormat::A1R5G5B5: return (a >= 128 ? 0x8000u : 0u) | detail::Narrow(r, 31) << 10 | detail::Narrow(g, 31) << 5 | detail::Narrow(b, 31);
    case ColorFormat::A4R4G4B4: return detail::Narrow(a, 15) << 12 | detail::Narrow(r, 15) << 8 | detail::Narrow(g, 15) << 4 | detail::Narrow(b, 15);
    }
    return 0;
}

inline uint32_t PackDepth(DepthFormat format, float z) {
    float v = z > 0.0f ? (z < 1.0f ? z : 1.0f) : 0.0f;
    switch (format) {
    case DepthFormat::None: return 0;
    case DepthFormat::D16: return static_cast<uint32_t>(v * 65535.0f + 0.5f);
    case DepthFormat::D24X8:
    case DepthFormat::D24S8: return static_cast<uint32_t>(static_cast<double>(v) * 16777215.0 + 0.5);
    case DepthFormat::D32: return static_cast<uint32_t>(static_cast<double>(v) * 4294967295.0 + 0.5);
    case DepthFormat::D32F: {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return bits;  // non-negative floats order like their bit patterns
    }
    }
    return 0;
}

}  // namespace pipeline
