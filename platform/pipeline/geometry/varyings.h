#pragma once
// The per-vertex values interpolated across a primitive, packed for one draw.
#include <cstdint>

#include "pipeline/limits.h"
#include "pipeline/types.h"

namespace pipeline {

constexpr int kMaxVaryings = 4 + 4 + 1 + 2 * kMaxTexCoordSets;

// Interpolants of a fragment: [0] depth, [1] q = 1/w, [2 + k] varying k times q.
constexpr int kMaxInterpolants = kMaxVaryings + 2;

// Offsets into a packed varying array. Diffuse RGBA always comes first; the others are present
// only when the pixel state uses them (-1 otherwise).
struct VaryingLayout {
    int count = 4;
    int specular = -1;                                 // RGBA
    int fog = -1;                                      // fog factor: 1 clear, 0 all fog
    int tex[kMaxTexCoordSets] = {-1, -1, -1, -1, -1, -1, -1, -1};  // u, v per coordinate set
};

// Clip codes: one bit per clip plane a vertex lies outside of, and one for a non-finite vertex.
enum ClipPlane : int { kClipNear, kClipFar, kClipW, kClipLeft, kClipRight, kClipTop, kClipBottom, kClipPlaneCount };
constexpr uint32_t kClipBad = 1u << 31;

// A vertex after the vertex stage: homogeneous position and varyings.
struct ClipVertex {
    Vec4 pos;
    uint32_t clipCodes = 0;
    float v[kMaxVaryings];
};

// Clip-space planes (dot(coef, pos) + offset >= 0 is inside) and the mapping to the screen.
struct ClipSpace {
    Vec4 planes[kClipPlaneCount];
    float planeOffset[kClipPlaneCount] = {};
    float offsetX = 0, scaleX = 1, offsetY = 0, scaleY = 1, offsetZ = 0, scaleZ = 1;  // screen = offset + scale * ndc
};

inline float PlaneDistance(const ClipSpace& space, int plane, const Vec4& p) {
    const Vec4& c = space.planes[plane];
    return c.x * p.x + c.y * p.y + c.z * p.z + c.w * p.w + space.planeOffset[plane];
}

inline uint32_t ClipCodes(const ClipSpace& space, const Vec4& p) {
    if (!(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w))) return kClipBad;
    uint32_t codes = 0;
    for (int i = 0; i < kClipPlaneCount; ++i)
        if (!(PlaneDistance(space, i, p) >= 0.0f)) codes |= 1u << i;
    return codes;
}

}  // namespace pipeline
