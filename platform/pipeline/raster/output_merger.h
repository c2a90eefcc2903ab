#pragma once
// Per-pixel tests and blending: comparison functions, blend factors and operations.
#include <cstdint>

#include "pipeline/states.h"

namespace pipeline {

// Does `value` pass `func` against `reference` (value < reference for Less, and so on)?
inline bool Passes(Compare func, uint32_t value, uint32_t reference) {
    switch (func) {
    case Compare::Never: return false;
    case Compare::Less: return value < reference;
    case Compare::Equal: return value == reference;
    case Compare::LessEqual: return value <= reference;
    case Compare::Greater: return value > reference;
    case Compare::NotEqual: return value != reference;
    case Compare::GreaterEqual: return value >= reference;
    case Compare::Always: return true;
    }
    return false;
}

inline Color FactorColor(BlendFactor factor, const Color& src, const Color& dst) {
    switch (factor) {
    case BlendFactor::Zero: return {0, 0, 0, 0};
    case BlendFactor::One: return {1, 1, 1, 1};
    case BlendFactor::SrcColor: return src;
    case BlendFactor::InvSrcColor: return {1 - src.r, 1 - src.g, 1 - src.b, 1 - src.a};
    case BlendFactor::SrcAlpha: return {src.a, src.a, src.a, src.a};
    case BlendFactor::InvSrcAlpha: return {1 - src.a, 1 - src.a, 1 - src.a, 1 - src.a};
    case BlendFactor::DestAlpha: return {dst.a, dst.a, dst.a, dst.a};
    case BlendFactor::InvDestAlpha: return {1 - dst.a, 1 - dst.a, 1 - dst.a, 1 - dst.a};
    case BlendFactor::DestColor: return dst;
    case BlendFactor::InvDestColor: return {1 - dst.r, 1 - dst.g, 1 - dst.b, 1 - dst.a};
    case BlendFactor::SrcAlphaSat: {
        float f = src.a < 1 - dst.a ? src.a : 1 - dst.a;
        return {f, f, f, 1};
    }
    }
    return {0, 0, 0, 0};
}

namespace detail {
inline float BlendChannel(BlendOp op, float s, float d, float fs, float fd) {
    float r = 0;
    switch (op) {
    case BlendOp::Add: r = s * fs + d * fd; break;
    case BlendOp::Subtract: r = s * fs - d * fd; break;
    case BlendOp::RevSubtract: r = d * fd - s * fs; break;
    case BlendOp::Min: r = s < d ? s : d; break;  // Min and Max ignore the factors
    case BlendOp::Max: r = s > d ? s : d; break;
    }
    return r > 0.0f ? (r < 1.0f ? r : 1.0f) : 0.0f;
}
}  // namespace detail

// The blended colour of a source pixel over a destination pixel.
inline Color BlendColors(const Blend& blend, const Color& src, const Color& dst) {
    const Color fs = FactorColor(blend.src, src, dst), fd = FactorColor(blend.dst, src, dst);
    return {detail::BlendChannel(blend.op, src.r, dst.r, fs.r, fd.r), detail::BlendChannel(blend.op, src.g, dst.g, fs.g, fd.g),
            detail::BlendChannel(blend.op, src.b, dst.b, fs.b, fd.b), detail::BlendChannel(blend.op, src.a, dst.a, fs.a, fd.a)};
}

}  // namespace pipeline
