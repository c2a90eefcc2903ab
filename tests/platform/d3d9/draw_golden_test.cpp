// Pictures drawn through the device's API, compared with reference images.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/draw_fixture.h"

namespace {

using test::ColoredVertex;
using test::DrawTest;
using test::ModelVertex;
using test::ScreenVertex;

constexpr float kPi = 3.14159265f;

void SetCamera(IDirect3DDevice9* device, float ex, float ey, float ez, float ax = 0, float ay = 0, float az = 0) {
    const D3DMATRIX world = test::Identity(), view = test::LookAt(ex, ey, ez, ax, ay, az),
                    projection = test::Perspective(kPi / 4, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
}

// A unit sphere of stacks x slices, as an indexed triangle list.
void Sphere(int stacks, int slices, std::vector<ModelVertex>& vertices, std::vector<uint16_t>& indices) {
    for (int i = 0; i <= stacks; ++i) {
        const float theta = kPi * float(i) / float(stacks);
        for (int j = 0; j <= slices; ++j) {
            const float phi = 2 * kPi * float(j) / float(slices);
            const float x = std::sin(theta) * std::cos(phi), y = std::cos(theta), z = std::sin(theta) * std::sin(phi);
            vertices.push_back({x, y, z, x, y, z, float(j) / float(slices), float(i) / float(stacks)});
        }
    }
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const uint16_t a = uint16_t(i * (slices + 1) + j), b = uint16_t(a + slices + 1);
            // Clockwise seen from outside, so the default culling keeps the front.
            indices.insert(indices.end(), {a, uint16_t(a + 1), b, uint16_t(a + 1), uint16_t(b + 1), b});
        }
}

TEST_F(DrawTest, LitSphereUnderAPointAndADirectionalLight) {
    std::vector<ModelVertex> vertices;
    std::vector<uint16_t> indices;
    Sphere(12, 16, vertices, indices);
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(UINT(vertices.size() * sizeof(ModelVertex)), D3DUSAGE_WRITEONLY, test::kModelFvf,
                                          D3DPOOL_MANAGED, &vb, nullptr),
              D3D_OK);
    owned_.push_back(vb);
    ASSERT_EQ(device_->CreateIndexBuffer(UINT(indices.size() * 2), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                         &ib, nullptr),
              D3D_OK);
    owned_.push_back(ib);
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), D3D_OK);
    std::memcpy(p, vertices.data(), vertices.size() * sizeof(ModelVertex));
    vb->Unlock();
    ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
    std::memcpy(p, indices.data(), indices.size() * 2);
    ib->Unlock();

    SetCamera(device_, 0, 0, -4);
    const D3DMATERIAL9 material = test::Material({1, 1, 1, 1}, {1, 1, 1, 1});
    device_->SetMaterial(&material);
    device_->SetRenderState(D3DRS_AMBIENT, 0x00202020);
    D3DLIGHT9 point{};
    point.Type = D3DLIGHT_POINT;
    point.Diffuse = {0.2f, 0.9f, 0.2f, 0};
    point.Position = {-3, 3, -3};
    point.Range = 100;  // no attenuation factors: full strength within range
    D3DLIGHT9 directional{};
    directional.Type = D3DLIGHT_DIRECTIONAL;
    directional.Diffuse = {0.9f, 0.1f, 0.1f, 0};
    directional.Direction = {-1, -0.5f, 1};
    device_->SetLight(0, &point);
    device_->SetLight(1, &directional);
    device_->LightEnable(0, TRUE);
    device_->LightEnable(1, TRUE);

    Frame(0xFF101030, [&] {
        device_->SetFVF(test::kModelFvf);
        device_->SetStreamSource(0, vb, 0, sizeof(ModelVertex));
        device_->SetIndices(ib);
        ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, UINT(vertices.size()), 0,
                                                UINT(indices.size() / 3)),
                  D3D_OK);
    });
    ExpectGolden("lit_sphere");
}

// A 4 x 4 checker of four colours, magnified, and a 32 x 32 texture whose levels have their own colours
// on a floor seen at a slant.
struct FilterCase {
    const char* name;
    DWORD minMag, mip;
    bool floor;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }

class Filtering : public DrawTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(Filtering, MatchesTheReference) {
    const FilterCase& c = GetParam();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, c.minMag);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, c.minMag);
    device_->SetSamplerState(0, D3DSAMP_MIPFILTER, c.mip);
    if (!c.floor) {
        const uint32_t colors[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        device_->SetTexture(0, MakeTexture(4, 4, 1, [&](UINT, UINT x, UINT y) { return colors[(x + 2 * y) % 4]; }));
        Frame(0xFF000000, [&] { DrawStrip(test::ScreenQuad(8, 8, 56, 56), test::kScreenFvf); });
    } else {
        const uint32_t levels[6] = {0xFFFF4040, 0xFF40FF40, 0xFF4040FF, 0xFFFFFF40, 0xFF40FFFF, 0xFFFF40FF};
        device_->SetTexture(0, MakeTexture(32, 32, 0, [&](UINT level, UINT x, UINT y) {
                                return ((x + y) % 2) ? levels[level] : (levels[level] & 0xFF7F7F7F);
                            }));
        SetCamera(device_, 0, 1, -3, 0, 0, 2);
        const std::vector<test::ModelVertex> floor = {{-4, 0, -2, 0, 1, 0, 0, 8}, {-4, 0, 20, 0, 1, 0, 0, 0},
                                                      {4, 0, -2, 0, 1, 0, 4, 8},  {4, 0, 20, 0, 1, 0, 4, 0}};
        Frame(0xFF000000, [&] { DrawStrip(floor, test::kModelFvf); });
    }
    ExpectGolden(c.name);
}

INSTANTIATE_TEST_SUITE_P(, Filtering,
                         ::testing::Values(FilterCase{"filter_point", D3DTEXF_POINT, D3DTEXF_NONE, false},
                                           FilterCase{"filter_linear", D3DTEXF_LINEAR, D3DTEXF_NONE, false},
                                           FilterCase{"filter_mip_point", D3DTEXF_POINT, D3DTEXF_POINT, true},
                                           FilterCase{"filter_mip_linear", D3DTEXF_LINEAR, D3DTEXF_LINEAR, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Posts at increasing distance and off to the side: range fog darkens the side ones more.
class Fog : public DrawTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Fog, LinearFogTowardItsColour) {
    SetCamera(device_, 0, 0, -1, 0, 0, 1);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device_->SetRenderState(D3DRS_FOGCOLOR, 0xFF8080C0);
    device_->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    const float start = 2, end = 12;
    DWORD bits;
    std::memcpy(&bits, &start, 4);
    device_->SetRenderState(D3DRS_FOGSTART, bits);
    std::memcpy(&bits, &end, 4);
    device_->SetRenderState(D3DRS_FOGEND, bits);
    device_->SetRenderState(D3DRS_RANGEFOGENABLE, GetParam() ? TRUE : FALSE);
    // A wall facing the camera across the view, far enough that its sides are much farther than its middle.
    const std::vector<ColoredVertex> wall = {{-8, -3, 6, 0xFFFF0000}, {-8, 3, 6, 0xFF00FF00},
                                             {8, -3, 6, 0xFFFF0000},  {8, 3, 6, 0xFF00FF00}};
    const std::vector<ColoredVertex> floor = {{-8, -1, 0, 0xFFFFFFFF}, {-8, -1, 6, 0xFFFFFFFF},
                                              {8, -1, 0, 0xFFFFFFFF},  {8, -1, 6, 0xFFFFFFFF}};
    Frame(0xFF000000, [&] {
        DrawStrip(wall, test::kColoredFvf);
        DrawStrip(floor, test::kColoredFvf);
    });
    ExpectGolden(GetParam() ? "fog_range" : "fog_linear");
}

INSTANTIATE_TEST_SUITE_P(, Fog, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Range" : "ViewDepth"); });

TEST_F(DrawTest, AlphaTestAndBlendingOverABackground) {
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    // Left: a texture whose alpha rises left to right, alpha-tested at 128. Right: blended by vertex alpha.
    IDirect3DTexture9* ramp = MakeTexture(16, 16, 1, [](UINT, UINT x, UINT) { return (x * 17u) << 24 | 0xFFFF00u; });
    Frame(0xFF2040A0, [&] {
        device_->SetTexture(0, ramp);
        device_->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        device_->SetRenderState(D3DRS_ALPHAREF, 0x80);
        DrawStrip(test::ScreenQuad(0, 0, 32, 32), test::kScreenFvf);
        device_->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        DrawStrip(test::ScreenQuad(32, 0, 64, 32), test::kScreenFvf);  // the ramp's alpha blends it
        device_->SetTexture(0, nullptr);
        DrawStrip(test::ScreenQuad(8, 36, 56, 60, 0x80FFFFFF), test::kScreenFvf);
    });
    ExpectGolden("alpha_test_blend");
}

// A clockwise triangle on the left, a counter-clockwise one on the right (on screen, y down).
struct CullCase {
    const char* name;
    DWORD cull, fill;
};

void PrintTo(const CullCase& c, std::ostream* out) { *out << c.name; }

class CullAndFill : public DrawTest, public ::testing::WithParamInterface<CullCase> {};

TEST_P(CullAndFill, MatchesTheReference) {
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, GetParam().cull);
    device_->SetRenderState(D3DRS_FILLMODE, GetParam().fill);
    const std::vector<ScreenVertex> triangles = {
        {4, 8, 0.5f, 1, 0xFFFF8000, 0, 0},  {28, 8, 0.5f, 1, 0xFFFF8000, 0, 0},  {4, 56, 0.5f, 1, 0xFF00FF80, 0, 0},
        {36, 8, 0.5f, 1, 0xFF0080FF, 0, 0}, {36, 56, 0.5f, 1, 0xFFFFFFFF, 0, 0}, {60, 8, 0.5f, 1, 0xFF0080FF, 0, 0}};
    Frame(0xFF000000, [&] {
        device_->SetFVF(test::kScreenFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, triangles.data(), sizeof(ScreenVertex)), D3D_OK);
    });
    ExpectGolden(GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(, CullAndFill,
                         ::testing::Values(CullCase{"cull_none", D3DCULL_NONE, D3DFILL_SOLID},
                                           CullCase{"cull_cw", D3DCULL_CW, D3DFILL_SOLID},
                                           CullCase{"cull_ccw", D3DCULL_CCW, D3DFILL_SOLID},
                                           CullCase{"wireframe", D3DCULL_NONE, D3DFILL_WIREFRAME},
                                           CullCase{"points", D3DCULL_NONE, D3DFILL_POINT}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawTest, TwoStagesModulate) {
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    IDirect3DTexture9* gradient =
        MakeTexture(16, 16, 1, [](UINT, UINT x, UINT y) { return 0xFF000000u | (x * 17u) << 16 | (y * 17u) << 8 | 0xC0u; });
    IDirect3DTexture9* checker =
        MakeTexture(4, 4, 1, [](UINT, UINT x, UINT y) { return ((x + y) % 2) ? 0xFFFFFFFFu : 0xFF606060u; });
    device_->SetTexture(0, gradient);
    device_->SetTexture(1, checker);
    device_->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    // Stage 1 reads the second coordinate set, which repeats the checker twice.
    struct TwoSetVertex {
        float x, y, z, rhw;
        float u0, v0, u1, v1;
    };
    const std::vector<TwoSetVertex> quad = {{7.5f, 55.5f, 0.5f, 1, 0, 1, 0, 2},
                                            {7.5f, 7.5f, 0.5f, 1, 0, 0, 0, 0},
                                            {55.5f, 55.5f, 0.5f, 1, 1, 1, 2, 2},
                                            {55.5f, 7.5f, 0.5f, 1, 1, 0, 2, 0}};
    Frame(0xFF000000, [&] { DrawStrip(quad, D3DFVF_XYZRHW | D3DFVF_TEX2); });
    ExpectGolden("two_stages");
}

TEST_F(DrawTest, ATriangleCrossingTheNearPlaneIsClipped) {
    SetCamera(device_, 0, 0, -2, 0, 0, 0);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    // A floor: the far edge ahead, the third corner behind the eye.
    const std::vector<ColoredVertex> triangle = {
        {-3, -1, 4, 0xFFFF0000}, {3, -1, 4, 0xFF00FF00}, {0, -1, -4, 0xFF0000FF}};
    Frame(0xFF000000, [&] {
        device_->SetFVF(test::kColoredFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle.data(), sizeof(ColoredVertex)), D3D_OK);
    });
    ExpectGolden("near_plane");
}

}  // namespace
