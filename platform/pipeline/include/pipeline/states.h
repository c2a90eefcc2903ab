#pragma once
// The state of a draw, as plain data: how vertices are transformed and lit, how pixels are made.
#include <array>
#include <cstdint>
#include <optional>

#include "pipeline/limits.h"
#include "pipeline/types.h"

namespace pipeline {

class Texture;

// ---- vertex state ----

enum class LightKind : uint8_t { Point, Spot, Directional };

struct LightSource {
    LightKind kind = LightKind::Directional;
    Color diffuse, specular, ambient;        // colours the light adds
    Vec3 position;                           // world space (point, spot)
    Vec3 direction{0, 0, 1};                 // world space, the way the light travels (spot, directional)
    float range = 0;                         // no contribution beyond this distance (point, spot)
    float attenuation[3] = {1, 0, 0};        // 1 / (a0 + a1 d + a2 d^2); all zero: no attenuation
    float falloff = 1, theta = 0, phi = 0;   // spot cone: inner and outer angles in radians
};

struct Material {
    Color diffuse, ambient, specular, emissive;  // reflectances and own light
    float power = 0;                             // specular exponent
};

// Which colour feeds a material term when colour-vertex is on.
enum class MaterialSource : uint8_t { Material, Diffuse, Specular };

enum class FogMode : uint8_t { None, Exp, Exp2, Linear };

struct VertexState {
    Mat4 world, view, projection;      // v' = v * world * view * projection
    bool lighting = false;             // per-vertex lighting; off: the vertex colours pass through
    bool specular = false;             // compute the specular term of the lights
    bool localViewer = true;           // specular half vector toward the eye (else toward +z)
    bool normalizeNormals = false;     // normalise transformed normals
    bool colorVertex = true;           // vertex colours may replace material terms
    MaterialSource diffuseSource = MaterialSource::Diffuse;    // with colorVertex
    MaterialSource ambientSource = MaterialSource::Material;   // with colorVertex
    MaterialSource specularSource = MaterialSource::Specular;  // with colorVertex
    MaterialSource emissiveSource = MaterialSource::Material;  // with colorVertex
    Color globalAmbient;               // ambient light of the scene
    Material material;                 // the surface when no vertex colour replaces it
    std::array<std::optional<LightSource>, kMaxLights> lights;  // enabled lights
    FogMode fogMode = FogMode::None;   // vertex fog; None: fog factor 1
    bool rangeFog = false;             // fog distance is the eye distance, not view-space z
    float fogStart = 0, fogEnd = 1;    // linear fog
    float fogDensity = 1;              // exponential fog
};

// ---- pixel state ----

enum class TextureOp : uint8_t {
    Disable, SelectArg1, SelectArg2, Modulate, Modulate2x, Modulate4x, Add, AddSigned, AddSigned2x,
    Subtract, AddSmooth, BlendDiffuseAlpha, BlendTextureAlpha, BlendFactorAlpha, BlendCurrentAlpha
};

enum class ArgSource : uint8_t { Current, Diffuse, Texture, TFactor, Specular };

struct TextureArg {
    ArgSource source = ArgSource::Current;
    bool complement = false;      // 1 - x
    bool alphaReplicate = false;  // every channel takes the alpha
};

enum class Filter : uint8_t { None, Point, Linear };
enum class Address : uint8_t { Wrap, Mirror, Clamp, Border };

struct SamplerState {
    Filter minFilter = Filter::Point;  // when a texel covers less than a pixel
    Filter magFilter = Filter::Point;  // when a texel covers more than a pixel
    Filter mipFilter = Filter::None;   // None: level maxMipLevel only
    Address addressU = Address::Wrap, addressV = Address::Wrap;
    Color border;                     // read outside the level with Border
    float lodBias = 0;                // added to the computed mip level
    int maxMipLevel = 0;              // the largest level used (0: level 0)
};

struct StageState {
    TextureOp colorOp = TextureOp::Disable;  // Disable ends the cascade at this stage
    TextureOp alphaOp = TextureOp::Disable;  // Disable with a colour op on: the alpha passes on
    TextureArg colorArg1{ArgSource::Texture}, colorArg2{ArgSource::Current};
    TextureArg alphaArg1{ArgSource::Texture}, alphaArg2{ArgSource::Current};
    int texCoordIndex = 0;                  // coordinate set sampled (0..7)
    const Texture* texture = nullptr;       // null: the texture reads opaque white
    SamplerState sampler;                   // how the texture is sampled
};

enum class Compare : uint8_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };

struct AlphaTest {
    bool enable = false;
    Compare func = Compare::Always;
    uint8_t reference = 0;  // compared with the pixel's alpha as 0..255
};

struct DepthTest {
    bool enable = false;            // off: no test and no write
    bool write = true;              // write passing pixels' depth
    Compare func = Compare::LessEqual;
};

enum class BlendFactor : uint8_t {
    Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha, DestAlpha, InvDestAlpha, DestColor, InvDestColor,
    SrcAlphaSat
};
enum class BlendOp : uint8_t { Add, Subtract, RevSubtract, Min, Max };

struct Blend {
    bool enable = false;
    BlendFactor src = BlendFactor::One, dst = BlendFactor::Zero;
    BlendOp op = BlendOp::Add;
};

enum class CullMode : uint8_t { None, Clockwise, CounterClockwise };  // the winding on screen (y down) culled
enum class FillMode : uint8_t { Point, Wireframe, Solid };
enum class ShadeMode : uint8_t { Flat, Gouraud };

struct PixelState {
    std::array<StageState, kMaxStages> stages;  // texture stages, cascaded from 0
    Color textureFactor{1, 1, 1, 1};     // the TFactor argument
    bool specular = false;               // add the interpolated specular after the stages
    bool fog = false;                    // blend toward fogColor by the interpolated fog factor
    Color fogColor;                      // the fog's colour
    CullMode cull = CullMode::CounterClockwise;  // triangles of this winding are not drawn
    FillMode fill = FillMode::Solid;     // triangles as areas, edges or vertices
    ShadeMode shade = ShadeMode::Gouraud;  // flat: the first vertex's colours for the whole primitive
    bool lastPixel = true;               // lines also draw their end pixel
    AlphaTest alphaTest;
    DepthTest depth;
    Blend blend;
    uint32_t colorWriteMask = 0xF;       // bit 0 red, 1 green, 2 blue, 3 alpha
};

}  // namespace pipeline
