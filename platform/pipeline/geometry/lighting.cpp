#include "geometry/lighting.h"

#include <algorithm>

namespace pipeline {

namespace {
float Saturate(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }
}  // namespace

LightingSetup PrepareLighting(const VertexState& state, const Mat4& view) {
    LightingSetup setup;
    setup.specular = state.specular;
    setup.localViewer = state.localViewer;
    setup.normalize = state.normalizeNormals;
    for (const auto& light : state.lights) {
        if (!light) continue;
        ViewLight& v = setup.lights[setup.lightCount++];
        v.kind = light->kind;
        v.diffuse = light->diffuse;
        v.specular = light->specular;
        v.ambient = light->ambient;
        Vec4 p = TransformPoint(light->position, view);
        v.position = {p.x, p.y, p.z};
        v.toLight = Normalize(TransformDirection(light->direction, view)) * -1.0f;
        v.range = light->range;
        std::copy(light->attenuation, light->attenuation + 3, v.attenuation);
        v.attenuated = !(light->attenuation[0] == 0 && light->attenuation[1] == 0 && light->attenuation[2] == 0);
        v.cosInner = std::cos(light->theta * 0.5f);
        v.cosOuter = std::cos(light->phi * 0.5f);
        v.falloff = light->falloff;
    }
    return setup;
}

void LightVertex(const LightingSetup& setup, const Color& globalAmbient, const SurfaceColors& surface,
                 Vec3 position, Vec3 normal, Color& diffuseOut, Color& specularOut) {
    if (setup.normalize) normal = Normalize(normal);
    Color ambient = globalAmbient, diffuse{}, specular{};
    const Vec3 toEye = setup.localViewer ? Normalize(position * -1.0f) : Vec3{0, 0, -1};
    for (int i = 0; i < setup.lightCount; ++i) {
        const ViewLight& light = setup.lights[i];
        Vec3 toLight = light.toLight;
        float scale = 1.0f;
        if (light.kind != LightKind::Directional) {
            Vec3 d = light.position - position;
            float distance = Length(d);
            if (!(distance <= light.range)) continue;  // beyond range (or NaN): no contribution
            toLight = distance > 0 ? d * (1.0f / distance) : Vec3{};
            if (light.attenuated) {
                float denominator = light.attenuation[0] + light.attenuation[1] * distance +
                                    light.attenuation[2] * distance * distance;
                scale = denominator > 0 ? 1.0f / denominator : 1.0f;
            }
            if (light.kind == LightKind::Spot) {
                float rho = Dot(light.toLight, toLight);
                if (rho <= light.cosOuter)
                    scale = 0;
                else if (rho < light.cosInner && light.cosInner > light.cosOuter)
                    scale *= std::pow((rho - light.cosOuter) / (light.cosInner - light.cosOuter), light.falloff);
            }
        }
        ambient.r += light.ambient.r * scale;
        ambient.g += light.ambient.g * scale;
        ambient.b += light.ambient.b * scale;
        float nDotL = Dot(normal, toLight);
        if (nDotL > 0) {
            float k = nDotL * scale;
            diffuse.r += light.diffuse.r * k;
            diffuse.g += light.diffuse.g * k;
            diffuse.b += light.diffuse.b * k;
            if (setup.specular) {
                Vec3 h = Normalize(toEye + toLight);
                float nDotH = Dot(normal, h);
                if (nDotH > 0) {
                    float s = std::pow(nDotH, surface.power) * scale;
                    specular.r += light.specular.r * s;
                    specular.g += light.specular.g * s;
                    specular.b += light.specular.b * s;
                }
            }
        }
    }
    diffuseOut = {Saturate(surface.emissive.r + surface.ambient.r * ambient.r + surface.diffuse.r * diffuse.r),
                  Saturate(surface.emissive.g + surface.ambient.g * ambient.g + surface.diffuse.g * diffuse.g),
                  Saturate(surface.emissive.b + surface.ambient.b * ambient.b + surface.diffuse.b * diffuse.b),
                  Saturate(surface.diffuse.a)};
    specularOut = {Saturate(surface.specular.r * specular.r), Saturate(surface.specular.g * specular.g),
                   Saturate(surface.specular.b * specular.b), Saturate(surface.specular.a)};
}

}  // namespace pipeline
