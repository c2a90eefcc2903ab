#include "geometry/vertex_stage.h"

#include <cstring>

namespace pipeline {

namespace {

float Saturate(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

Vec3 ReadVec3(const uint8_t* p) {
    Vec3 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

Color ReadColor(const uint8_t* p) {
    uint32_t argb;
    std::memcpy(&argb, p, 4);
    return ArgbToColor(argb);
}

// Inverse transpose of the 3 x 3 part, for normals; the matrix itself when it is singular.
Mat4 NormalMatrixOf(const Mat4& m) {
    const float(&a)[4][4] = m.m;
    float c00 = a[1][1] * a[2][2] - a[1][2] * a[2][1], c01 = a[1][2] * a[2][0] - a[1][0] * a[2][2],
          c02 = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    float det = a[0][0] * c00 + a[0][1] * c01 + a[0][2] * c02;
    if (!(std::fabs(det) > 1e-20f) || !std::isfinite(det)) return m;
    float k = 1.0f / det;
    Mat4 r;  // r = (m^-1)^T, i.e. the cofactors over the determinant
    r.m[0][0] = c00 * k;
    r.m[0][1] = c01 * k;
    r.m[0][2] = c02 * k;
    r.m[1][0] = (a[0][2] * a[2][1] - a[0][1] * a[2][2]) * k;
    r.m[1][1] = (a[0][0] * a[2][2] - a[0][2] * a[2][0]) * k;
    r.m[1][2] = (a[0][1] * a[2][0] - a[0][0] * a[2][1]) * k;
    r.m[2][0] = (a[0][1] * a[1][2] - a[0][2] * a[1][1]) * k;
    r.m[2][1] = (a[0][2] * a[1][0] - a[0][0] * a[1][2]) * k;
    r.m[2][2] = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) * k;
    return r;
}

void SetPlane(ClipSpace& clip, int plane, Vec4 coef, float offset = 0.0f) {
    clip.planes[plane] = coef;
    clip.planeOffset[plane] = offset;
}

float FogFactor(const VertexState& state, float distance) {
    switch (state.fogMode) {
    case FogMode::None: return 1.0f;
    case FogMode::Linear:
        if (state.fogEnd == state.fogStart) return distance < state.fogEnd ? 1.0f : 0.0f;
        return Saturate((state.fogEnd - distance) / (state.fogEnd - state.fogStart));
    case FogMode::Exp: return Saturate(std::exp(-state.fogDensity * distance));
    case FogMode::Exp2: {
        float d = state.fogDensity * distance;
        return Saturate(std::exp(-d * d));
    }
    }
    return 1.0f;
}

Color Pick(MaterialSource source, const Color& material, bool hasDiffuse, const Color& diffuse, bool hasSpecular,
           const Color& specular) {
    if (source == MaterialSource::Diffuse && hasDiffuse) return diffuse;
    if (source == MaterialSource::Specular && hasSpecular) return specular;
    return material;
}

}  // namespace

VertexSetup PrepareVertexStage(const DrawCall& call, const VertexState& state, const VaryingLayout& varyings,
                               const Viewport& viewport) {
    VertexSetup s;
    s.state = &state;
    s.layout = call.layout;
    s.vertices = call.vertices;
    s.varyings = varyings;
    const float w = static_cast<float>(viewport.width), h = static_cast<float>(viewport.height);
    ClipSpace& c = s.clip;
    SetPlane(c, kClipNear, {0, 0, 1, 0});
    SetPlane(c, kClipFar, {0, 0, -1, 1});
    SetPlane(c, kClipW, {0, 0, 0, 1}, -1e-6f);
    if (call.layout.pretransformed) {
        // Positions arrive as (x w, y w, z w, w): the planes bound x and y in pixels.
        const float left = static_cast<float>(viewport.x) - kGuardBand, right = viewport.x + w + kGuardBand;
        const float top = static_cast<float>(viewport.y) - kGuardBand, bottom = viewport.y + h + kGuardBand;
        SetPlane(c, kClipLeft, {1, 0, 0, -left});
        SetPlane(c, kClipRight, {-1, 0, 0, right});
        SetPlane(c, kClipTop, {0, 1, 0, -top});
        SetPlane(c, kClipBottom, {0, -1, 0, bottom});
    } else {
        const float gx = 1.0f + 2.0f * kGuardBand / (w > 1 ? w : 1), gy = 1.0f + 2.0f * kGuardBand / (h > 1 ? h : 1);
        SetPlane(c, kClipLeft, {1, 0, 0, gx});
        SetPlane(c, kClipRight, {-1, 0, 0, gx});
        SetPlane(c, kClipTop, {0, -1, 0, gy});
        SetPlane(c, kClipBottom, {0, 1, 0, gy});
        c.offsetX = viewport.x + w * 0.5f;
        c.scaleX = w * 0.5f;
        c.offsetY = viewport.y + h * 0.5f;
        c.scaleY = -h * 0.5f;
        c.offsetZ = viewport.minZ;
        c.scaleZ = viewport.maxZ - viewport.minZ;
        s.worldView = state.world * state.view;
        s.projection = state.projection;
        s.normalMatrix = NormalMatrixOf(s.worldView);
        if (state.lighting) s.lighting = PrepareLighting(state, state.view);
    }
    return s;
}

void ProcessVertices(const VertexSetup& s, int first, int count, ClipVertex* out) {
    const VertexLayout& layout = s.layout;
    const VertexState& state = *s.state;
    const VaryingLayout& vl = s.varyings;
    const bool hasDiffuse = layout.diffuseOffset >= 0, hasSpecular = layout.specularOffset >= 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t* src = s.vertices + static_cast<size_t>(first + i) * layout.stride;
        ClipVertex& o = out[i];
        Color diffuse = hasDiffuse ? ReadColor(src + layout.diffuseOffset) : Color{1, 1, 1, 1};
        Color specular = hasSpecular ? ReadColor(src + layout.specularOffset) : Color{0, 0, 0, 0};
        float fog = 1.0f;
        if (layout.pretransformed) {
            float p[4];
            std::memcpy(p, src + layout.positionOffset, sizeof p);
            float w = 1.0f / p[3];
            o.pos = {p[0] * w, p[1] * w, p[2] * w, w};
            if (hasSpecular) fog = specular.a;  // pre-transformed vertices carry their fog factor there
        } else {
            Vec3 p = ReadVec3(src + layout.positionOffset);
            Vec4 view = TransformPoint(p, s.worldView);
            o.pos = {view.x * s.projection.m[0][0] + view.y * s.projection.m[1][0] + view.z * s.projection.m[2][0] +
                         view.w * s.projection.m[3][0],
                     view.x * s.projection.m[0][1] + view.y * s.projection.m[1][1] + view.z * s.projection.m[2][1] +
                         view.w * s.projection.m[3][1],
                     view.x * s.projection.m[0][2] + view.y * s.projection.m[1][2] + view.z * s.projection.m[2][2] +
                         view.w * s.projection.m[3][2],
                     view.x * s.projection.m[0][3] + view.y * s.projection.m[1][3] + view.z * s.projection.m[2][3] +
                         view.w * s.projection.m[3][3]};
            Vec3 eye{view.x, view.y, view.z};
            if (state.lighting) {
                Vec3 normal = layout.normalOffset >= 0 ? TransformDirection(ReadVec3(src + layout.normalOffset), s.normalMatrix)
                                                       : Vec3{};
                SurfaceColors surface;
                const Material& m = state.material;
                if (state.colorVertex) {
                    surface.diffuse = Pick(state.diffuseSource, m.diffuse, hasDiffuse, diffuse, hasSpecular, specular);
                    surface.ambient = Pick(state.ambientSource, m.ambient, hasDiffuse, diffuse, hasSpecular, specular);
                    surface.specular = Pick(state.specularSource, m.specular, hasDiffuse, diffuse, hasSpecular, specular);
                    surface.emissive = Pick(state.emissiveSource, m.emissive, hasDiffuse, diffuse, hasSpecular, specular);
                } else {
                    surface.diffuse = m.diffuse;
                    surface.ambient = m.ambient;
                    surface.specular = m.specular;
                    surface.emissive = m.emissive;
                }
                surface.power = m.power;
                LightVertex(s.lighting, state.globalAmbient, surface, eye, normal, diffuse, specular);
            }
            if (vl.fog >= 0 && state.fogMode != FogMode::None)
                fog = FogFactor(state, state.rangeFog ? Length(eye) : eye.z);
        }
        o.clipCodes = ClipCodes(s.clip, o.pos);
        o.v[0] = diffuse.r;
        o.v[1] = diffuse.g;
        o.v[2] = diffuse.b;
        o.v[3] = diffuse.a;
        if (vl.specular >= 0) {
            o.v[vl.specular] = specular.r;
            o.v[vl.specular + 1] = specular.g;
            o.v[vl.specular + 2] = specular.b;
            o.v[vl.specular + 3] = specular.a;
        }
        if (vl.fog >= 0) o.v[vl.fog] = Saturate(fog);
        for (int t = 0; t < kMaxTexCoordSets; ++t) {
            if (vl.tex[t] < 0) continue;
            float uv[2] = {0, 0};
            if (layout.texCoordOffset[t] >= 0) std::memcpy(uv, src + layout.texCoordOffset[t], sizeof uv);
            o.v[vl.tex[t]] = uv[0];
            o.v[vl.tex[t] + 1] = uv[1];
        }
    }
}

}  // namespace pipeline
