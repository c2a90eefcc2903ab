#pragma once
// Per-pixel helpers shared by the pixel paths: depth access and 8-bit packed colour arithmetic
// (colours as 0xAARRGGBB, every channel 0..255).
#include <cstdint>
#include <cstring>

#include "pipeline/formats.h"
#include "pipeline/states.h"
#include "texture/sampler.h"

namespace pipeline {

inline uint32_t ReadDepth(DepthFormat format, const uint8_t* p) {
    if (format == DepthFormat::D16) return static_cast<uint32_t>(p[0] | p[1] << 8);
    uint32_t raw;
    std::memcpy(&raw, p, 4);
    return format == DepthFormat::D24X8 || format == DepthFormat::D24S8 ? raw >> 8 : raw;
}

inline void WriteDepth(DepthFormat format, uint8_t* p, uint32_t value) {
    if (format == DepthFormat::D16) {
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        return;
    }
    uint32_t raw = value;
    if (format == DepthFormat::D24X8 || format == DepthFormat::D24S8) {
        std::memcpy(&raw, p, 4);
        raw = (raw & 0xFFu) | value << 8;  // keep the stencil byte
    }
    std::memcpy(p, &raw, 4);
}

inline uint32_t Mul8(uint32_t a, uint32_t b) {  // a * b / 255, rounded
    const uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t ModulatePacked(uint32_t a, uint32_t b) {
#if PIPELINE_SSE2
    // Mul8 on four 16-bit channels at once: a b + 128 stays below 65536.
    const __m128i zero = _mm_setzero_si128();
    const __m128i wa = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(a)), zero);
    const __m128i wb = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(b)), zero);
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(wa, wb), _mm_set1_epi16(128));
    t = _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(t, t)));
#else
    return Mul8(a >> 24, b >> 24) << 24 | Mul8((a >> 16) & 0xFF, (b >> 16) & 0xFF) << 16 |
           Mul8((a >> 8) & 0xFF, (b >> 8) & 0xFF) << 8 | Mul8(a & 0xFF, b & 0xFF);
#endif
}

inline uint32_t AddPacked(uint32_t a, uint32_t b) {  // per channel, saturated
    const uint32_t low = (a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu);           // bit 7 of a channel: carry of its low bits
    const uint32_t carry = ((a & b) | ((a | b) & low)) & 0x80808080u;      // channels that exceed 255
    return (low ^ ((a ^ b) & 0x80808080u)) | ((carry >> 7) * 0xFFu);
}

inline uint32_t OperatePacked(TextureOp op, uint32_t a, uint32_t b) {
    switch (op) {
    case TextureOp::SelectArg2: return b;
    case TextureOp::Modulate: return ModulatePacked(a, b);
    case TextureOp::Add: return AddPacked(a, b);
    default: return a;
    }
}

inline uint32_t LerpPacked(uint32_t a, uint32_t b, uint32_t f) {  // a + (b - a) f / 256 rounded, f 0..256
    const uint32_t g = 256 - f;
    const uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f + 0x00800080u) >> 8) & 0x00FF00FFu;
    const uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f + 0x00800080u) & 0xFF00FF00u;
    return rb | ag;
}

// Source alpha over the destination, per channel: (s a + d (255 - a)) / 255, rounded. Two channels
// at a time in 16-bit lanes: no lane exceeds 65535.
inline uint32_t BlendSourceAlpha(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24, b = 255 - a;
    uint32_t rb = (src & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * b + 0x00800080u;
    uint32_t ag = ((src >> 8) & 0x00FF00FFu) * a + ((dst >> 8) & 0x00FF00FFu) * b + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

}  // namespace pipeline
