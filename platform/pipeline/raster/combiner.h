#pragma once
// The texture-stage cascade: each stage combines two arguments into the current colour.
#include "pipeline/states.h"

namespace pipeline {

// The colours one stage may take as arguments.
struct StageInputs {
    Color current, diffuse, texture, factor, specular;
};

namespace detail {

inline float Clamp01(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

inline Color Argument(const TextureArg& arg, const StageInputs& in) {
    Color c;
    switch (arg.source) {
    case ArgSource::Current: c = in.current; break;
    case ArgSource::Diffuse: c = in.diffuse; break;
    case ArgSource::Texture: c = in.texture; break;
    case ArgSource::TFactor: c = in.factor; break;
    case ArgSource::Specular: c = in.specular; break;
    }
    if (arg.alphaReplicate) c = {c.a, c.a, c.a, c.a};
    if (arg.complement) c = {1.0f - c.r, 1.0f - c.g, 1.0f - c.b, 1.0f - c.a};
    return c;
}

// One channel of an operation; blend weights come from the inputs' alphas.
inline float Operate(TextureOp op, float a, float b, const StageInputs& in) {
    switch (op) {
    case TextureOp::Disable:
    case TextureOp::SelectArg1: return a;
    case TextureOp::SelectArg2: return b;
    case TextureOp::Modulate: return a * b;
    case TextureOp::Modulate2x: return Clamp01(2.0f * a * b);
    case TextureOp::Modulate4x: return Clamp01(4.0f * a * b);
    case TextureOp::Add: return Clamp01(a + b);
    case TextureOp::AddSigned: return Clamp01(a + b - 0.5f);
    case TextureOp::AddSigned2x: return Clamp01(2.0f * (a + b - 0.5f));
    case TextureOp::Subtract: return Clamp01(a - b);
    case TextureOp::AddSmooth: return Clamp01(a + b - a * b);
    case TextureOp::BlendDiffuseAlpha: return a * in.diffuse.a + b * (1.0f - in.diffuse.a);
    case TextureOp::BlendTextureAlpha: return a * in.texture.a + b * (1.0f - in.texture.a);
    case TextureOp::BlendFactorAlpha: return a * in.factor.a + b * (1.0f - in.factor.a);
    case TextureOp::BlendCurrentAlpha: return a * in.current.a + b * (1.0f - in.current.a);
    }
    return a;
}

}  // namespace detail

namespace detail {

// The operation on red, green and blue at once: one decision per pixel and stage, not per channel.
template <typename F>
inline void Each(Color& out, const Color& a, const Color& b, F f) {
    out.r = f(a.r, b.r);
    out.g = f(a.g, b.g);
    out.b = f(a.b, b.b);
}

inline void OperateColor(TextureOp op, const Color& a, const Color& b, const StageInputs& in, Color& out) {
    switch (op) {
    case TextureOp::Disable:
    case TextureOp::SelectArg1: Each(out, a, b, [](float x, float) { return x; }); return;
    case TextureOp::SelectArg2: Each(out, a, b, [](float, float y) { return y; }); return;
    case TextureOp::Modulate: Each(out, a, b, [](float x, float y) { return x * y; }); return;
    case TextureOp::Add: Each(out, a, b, [](float x, float y) { return Clamp01(x + y); }); return;
    default: Each(out, a, b, [&](float x, float y) { return Operate(op, x, y, in); }); return;
    }
}

}  // namespace detail

// Runs one enabled stage (colorOp not Disable) and returns the new current colour. An alpha
// operation of Disable passes the current alpha on.
inline Color RunStage(const StageState& stage, const StageInputs& in) {
    const Color c1 = detail::Argument(stage.colorArg1, in), c2 = detail::Argument(stage.colorArg2, in);
    Color out;
    detail::OperateColor(stage.colorOp, c1, c2, in, out);
    out.a = in.current.a;
    if (stage.alphaOp != TextureOp::Disable) {
        const float a1 = detail::Argument(stage.alphaArg1, in).a, a2 = detail::Argument(stage.alphaArg2, in).a;
        out.a = detail::Operate(stage.alphaOp, a1, a2, in);
    }
    return out;
}

}  // namespace pipeline
