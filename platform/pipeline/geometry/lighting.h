#pragma once
// Per-vertex lighting in view space.
#include "pipeline/states.h"

namespace pipeline {

struct ViewLight {
    LightKind kind = LightKind::Directional;
    Color diffuse, specular, ambient;
    Vec3 position;            // view space
    Vec3 toLight;             // directional: unit vector toward the light; spot: unit direction reversed
    float range = 0;
    float attenuation[3] = {1, 0, 0};
    bool attenuated = true;   // false when all three factors are 0: no fall-off within range
    float cosInner = 1, cosOuter = 1, falloff = 1;
};

// Lighting prepared once per draw.
struct LightingSetup {
    ViewLight lights[kMaxLights];
    int lightCount = 0;
    bool specular = false, localViewer = true, normalize = false;
};

LightingSetup PrepareLighting(const VertexState& state, const Mat4& view);

// The surface colours at one vertex, after the material sources are resolved.
struct SurfaceColors {
    Color diffuse, ambient, specular, emissive;
    float power = 0;
};

// Lit diffuse (alpha from the diffuse source) and specular (alpha from the specular source), saturated.
void LightVertex(const LightingSetup& setup, const Color& globalAmbient, const SurfaceColors& surface,
                 Vec3 position, Vec3 normal, Color& diffuseOut, Color& specularOut);

}  // namespace pipeline
