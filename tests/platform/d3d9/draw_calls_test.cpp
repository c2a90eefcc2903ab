// The draw calls: what they check, which buffers they read, the state they draw with, and that the
// pipeline's queued work is finished before anything reads the pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "d3d9/control.h"
#include "machine/machine.h"
#include "pipeline/pipeline.h"
#include "support/draw_fixture.h"

namespace {

using test::ColoredVertex;
using test::DrawTest;
using test::ScreenVertex;

constexpr uint32_t kBackground = 0xFF203040;

// Runs the test's draws with the pipeline's queue in use, then puts the global setting back.
struct Threads {
    explicit Threads(int n) : before(pipeline::ThreadCount()) { pipeline::SetThreadCount(n); }
    ~Threads() { pipeline::SetThreadCount(before); }
    int before;
};

std::vector<ScreenVertex> QuadList(float x0, float y0, float x1, float y1, uint32_t color) {
    const std::vector<ScreenVertex> strip = test::ScreenQuad(x0, y0, x1, y1, color);
    return {strip[0], strip[1], strip[2], strip[2], strip[1], strip[3]};
}

size_t Count(const std::vector<uint32_t>& pixels, uint32_t value) {
    return size_t(std::count(pixels.begin(), pixels.end(), value));
}

TEST_F(DrawTest, PretransformedQuadsMapTexelsToPixelsOneToOne) {
    auto texel = [](UINT, UINT x, UINT y) { return 0xFF000000u | (x * 37u + y * 11u) % 256u << 16 | (x * 5u + y * 71u) % 256u << 8 | (x ^ y) * 13u % 256u; };
    device_->SetTexture(0, MakeTexture(16, 16, 1, texel));
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    Frame(kBackground, [&] { DrawStrip(test::ScreenQuad(20, 30, 36, 46), test::kScreenFvf); });
    const std::vector<uint32_t> pixels = Pixels();
    for (UINT y = 0; y < test::kDrawHeight; ++y)
        for (UINT x = 0; x < test::kDrawWidth; ++x) {
            const bool inside = x >= 20 && x < 36 && y >= 30 && y < 46;
            ASSERT_EQ(pixels[y * test::kDrawWidth + x], inside ? texel(0, x - 20, y - 30) : kBackground)
                << "at " << x << ", " << y;
        }
}

TEST_F(DrawTest, TheQueuedFrameReachesTheWindowAndTheLock) {
    Threads threads(4);
    Frame(kBackground, [&] { DrawStrip(test::ScreenQuad(0, 0, 32, 64, 0xFFFF0000), test::kScreenFvf); });
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    const SIZE client = Client();
    EXPECT_EQ(test::FramePixel(1, client.cy / 2), 0xFF0000u);
    EXPECT_EQ(test::FramePixel(client.cx - 2, client.cy / 2), kBackground & 0xFFFFFF);
    // Without a Present in between, LockRect waits for the queued draw as well.
    Frame(kBackground, [&] { DrawStrip(test::ScreenQuad(32, 0, 64, 64, 0xFF00FF00), test::kScreenFvf); });
    EXPECT_EQ(Pixel(0, 10), kBackground);
    EXPECT_EQ(Pixel(40, 10), 0xFF00FF00u);
}

TEST_F(DrawTest, ResetAndReleaseAfterQueuedDrawsAreSafe) {
    Threads threads(4);
    for (int i = 0; i < 3; ++i)
        Frame(kBackground, [&] { DrawStrip(test::ScreenQuad(0, 0, 64, 64, 0xFF0000FF), test::kScreenFvf); });
    D3DPRESENT_PARAMETERS params = test::WithDepth(test::Windowed(32, 32), D3DFMT_D24S8);
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    Frame(kBackground, [&] { DrawStrip(test::ScreenQuad(0, 0, 64, 64, 0xFF0000FF), test::kScreenFvf); });
    // The device goes with work still queued (the sanitizer build checks nothing is touched after).
}

TEST_F(DrawTest, WritingABufferOrATextureAfterAQueuedDrawLeavesThatDrawAlone) {
    Threads threads(4);
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(4 * sizeof(ScreenVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                          D3DPOOL_DEFAULT, &vb, nullptr),
              D3D_OK);
    owned_.push_back(vb);
    IDirect3DTexture9* texture = MakeTexture(2, 2, 1, [](UINT, UINT, UINT) { return 0xFFFF0000u; });
    auto fill = [&](float x0, float x1) {
        void* p = nullptr;
        ASSERT_EQ(vb->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
        const std::vector<ScreenVertex> quad = test::ScreenQuad(x0, 0, x1, 64);
        std::memcpy(p, quad.data(), 4 * sizeof(ScreenVertex));
        vb->Unlock();
    };
    fill(0, 32);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    device_->SetFVF(test::kScreenFvf);
    device_->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
    device_->SetTexture(0, texture);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    fill(32, 64);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] = 0xFF0000FFu;
    texture->UnlockRect(0);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(Pixel(50, 10), 0xFF0000FFu);
    device_->SetStreamSource(0, nullptr, 0, 0);
}

TEST_F(DrawTest, OneThreadAndManyDrawTheSamePixels) {
    std::vector<ColoredVertex> fan = {{0, 0, 0.5f, 0xFFFFFFFF}};
    for (int i = 0; i <= 24; ++i) {
        const float a = float(i) * 6.2831853f / 24.0f;
        fan.push_back({std::cos(a), std::sin(a), 0.5f + 0.3f * std::sin(3 * a), 0xFF000000u | uint32_t(i * 10) << 16 | 0x80u});
    }
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    auto draw = [&] {
        device_->SetFVF(test::kColoredFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 24, fan.data(), sizeof(ColoredVertex)), D3D_OK);
    };
    std::vector<uint32_t> single, many;
    {
        Threads threads(1);
        Frame(kBackground, draw);
        single = Pixels();
    }
    {
        Threads threads(8);
        Frame(kBackground, draw);
        many = Pixels();
    }
    EXPECT_EQ(single, many);
    EXPECT_GT(Count(single, kBackground), 0u);
    EXPECT_LT(Count(single, kBackground), single.size());
}

// Buffers, user memory, 16- and 32-bit indices: the same two quads.
TEST_F(DrawTest, EveryDrawCallReadsTheSameVertices) {
    const std::vector<ScreenVertex> vertices = {
        test::ScreenQuad(4, 4, 30, 30, 0xFFFF0000)[0], test::ScreenQuad(4, 4, 30, 30, 0xFFFF0000)[1],
        test::ScreenQuad(4, 4, 30, 30, 0xFFFF0000)[2], test::ScreenQuad(4, 4, 30, 30, 0xFFFF0000)[3],
        test::ScreenQuad(34, 34, 60, 60, 0xFF00FF00)[0], test::ScreenQuad(34, 34, 60, 60, 0xFF00FF00)[1],
        test::ScreenQuad(34, 34, 60, 60, 0xFF00FF00)[2], test::ScreenQuad(34, 34, 60, 60, 0xFF00FF00)[3]};
    const std::vector<uint16_t> indices16 = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7};
    const std::vector<uint32_t> indices32(indices16.begin(), indices16.end());
    const std::vector<ScreenVertex> list = [&] {
        std::vector<ScreenVertex> out;
        for (uint16_t i : indices16) out.push_back(vertices[i]);
        return out;
    }();

    Frame(kBackground, [&] {
        device_->SetFVF(test::kScreenFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 4, list.data(), sizeof(ScreenVertex)), D3D_OK);
    });
    const std::vector<uint32_t> reference = Pixels();
    ASSERT_EQ(Count(reference, 0xFFFF0000), 26u * 26u);
    ASSERT_EQ(Count(reference, 0xFF00FF00), 26u * 26u);

    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(UINT(16 + vertices.size() * sizeof(ScreenVertex)), 0, 0, D3DPOOL_MANAGED,
                                          &vb, nullptr),
              D3D_OK);
    owned_.push_back(vb);
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), D3D_OK);
    std::memcpy(static_cast<uint8_t*>(p) + 16, vertices.data(), vertices.size() * sizeof(ScreenVertex));
    vb->Unlock();
    for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
        const bool wide = format == D3DFMT_INDEX32;
        const void* data = wide ? static_cast<const void*>(indices32.data()) : indices16.data();
        Frame(kBackground, [&] {
            device_->SetFVF(test::kScreenFvf);
            ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 8, 4, data, format, vertices.data(),
                                                      sizeof(ScreenVertex)),
                      D3D_OK);
        });
        EXPECT_EQ(Pixels(), reference) << "DrawIndexedPrimitiveUP, " << (wide ? 32 : 16) << "-bit";

        IDirect3DIndexBuffer9* ib = nullptr;
        ASSERT_EQ(device_->CreateIndexBuffer(UINT(indices16.size() * (wide ? 4 : 2)), 0, format, D3DPOOL_MANAGED, &ib,
                                             nullptr),
                  D3D_OK);
        owned_.push_back(ib);
        ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
        std::memcpy(p, data, indices16.size() * (wide ? 4 : 2));
        ib->Unlock();
        Frame(kBackground, [&] {
            device_->SetFVF(test::kScreenFvf);
            device_->SetStreamSource(0, vb, 16, sizeof(ScreenVertex));
            device_->SetIndices(ib);
            // The second quad through the base vertex index and a start index, then the first.
            ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3D_OK);
            ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
        });
        EXPECT_EQ(Pixels(), reference) << "DrawIndexedPrimitive, " << (wide ? 32 : 16) << "-bit";
    }
    Frame(kBackground, [&] {
        device_->SetFVF(test::kScreenFvf);
        device_->SetStreamSource(0, vb, 16, sizeof(ScreenVertex));
        ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 2), D3D_OK);
    });
    EXPECT_EQ(Pixels(), reference) << "DrawPrimitive";
}

TEST_F(DrawTest, DrawsFromUserMemoryUnsetStreamZeroAndTheIndices) {
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(256, 0, 0, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    ASSERT_EQ(device_->CreateIndexBuffer(64, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr), D3D_OK);
    owned_.push_back(vb);
    owned_.push_back(ib);
    const std::vector<ScreenVertex> quad = test::ScreenQuad(0, 0, 8, 8);
    Frame(kBackground, [&] {
        device_->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
        device_->SetIndices(ib);
        DrawStrip(quad, test::kScreenFvf);
    });
    IDirect3DVertexBuffer9* stream = vb;
    IDirect3DIndexBuffer9* indices = ib;
    UINT offset = 1, stride = 1;
    ASSERT_EQ(device_->GetStreamSource(0, &stream, &offset, &stride), D3D_OK);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(stride, 0u);
    ASSERT_EQ(device_->GetIndices(&indices), D3D_OK);
    EXPECT_EQ(indices, nullptr);
}

struct BadDraw {
    const char* name;
    std::function<HRESULT(IDirect3DDevice9*, IDirect3DVertexBuffer9*, IDirect3DIndexBuffer9*)> call;
};

void PrintTo(const BadDraw& c, std::ostream* out) { *out << c.name; }

class RefusedDraws : public DrawTest, public ::testing::WithParamInterface<BadDraw> {};

// A vertex buffer of 4 screen vertices and an index buffer of 6 16-bit indices are bound; the draws
// are inside a scene unless the case says otherwise.
TEST_P(RefusedDraws, AnswerInvalidCallAndDrawNothing) {
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(4 * sizeof(ScreenVertex), 0, 0, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    ASSERT_EQ(device_->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr), D3D_OK);
    owned_.push_back(vb);
    owned_.push_back(ib);
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), D3D_OK);
    const std::vector<ScreenVertex> quad = test::ScreenQuad(0, 0, 64, 64, 0xFFFFFFFF);
    std::memcpy(p, quad.data(), 4 * sizeof(ScreenVertex));
    vb->Unlock();
    ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(p, indices, sizeof(indices));
    ib->Unlock();
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, kBackground, 1.0f, 0), D3D_OK);
    device_->SetFVF(test::kScreenFvf);
    device_->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
    device_->SetIndices(ib);
    const bool outside = std::string(GetParam().name) == "OutsideAScene";
    if (!outside) {
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
    }
    EXPECT_EQ(GetParam().call(device_, vb, ib), D3DERR_INVALIDCALL);
    if (!outside) {
        ASSERT_EQ(device_->EndScene(), D3D_OK);
    }
    const std::vector<uint32_t> pixels = Pixels();
    EXPECT_EQ(Count(pixels, kBackground), pixels.size());
}

const ScreenVertex kSome[4] = {};
const uint16_t kSomeIndices[6] = {0, 1, 2, 2, 1, 3};

INSTANTIATE_TEST_SUITE_P(
    , RefusedDraws,
    ::testing::Values(
        BadDraw{"OutsideAScene", [](auto d, auto, auto) { return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2); }},
        BadDraw{"UnknownPrimitiveType", [](auto d, auto, auto) { return d->DrawPrimitive(D3DPRIMITIVETYPE(7), 0, 1); }},
        BadDraw{"NoPrimitives", [](auto d, auto, auto) { return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0); }},
        BadDraw{"MoreVerticesThanTheBuffer", [](auto d, auto, auto) { return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2); }},
        BadDraw{"HugePrimitiveCount",
                [](auto d, auto, auto) { return d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0xFFFFFFFFu); }},
        BadDraw{"NoVertexFormat",
                [](auto d, auto, auto) {
                    d->SetFVF(0);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"OneDimensionalTextureCoordinates",
                [](auto d, auto, auto) {
                    d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE1(0));
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"AHomogeneousPosition",
                [](auto d, auto, auto) {
                    d->SetFVF(D3DFVF_XYZW | D3DFVF_DIFFUSE);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"StrideBelowTheFormat",
                [](auto d, auto vb, auto) {
                    d->SetStreamSource(0, vb, 0, 12);
                    return d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
                }},
        BadDraw{"NoStream",
                [](auto d, auto, auto) {
                    d->SetStreamSource(0, nullptr, 0, 0);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"OffsetBeyondTheBuffer",
                [](auto d, auto vb, auto) {
                    d->SetStreamSource(0, vb, 1000, sizeof(ScreenVertex));
                    return d->DrawPrimitive(D3DPT_POINTLIST, 0, 1);
                }},
        BadDraw{"NoIndices",
                [](auto d, auto, auto) {
                    d->SetIndices(nullptr);
                    return d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
                }},
        BadDraw{"MoreIndicesThanTheBuffer",
                [](auto d, auto, auto) { return d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 1, 2); }},
        BadDraw{"VertexRangeBeyondTheBuffer",
                [](auto d, auto, auto) { return d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 0, 2); }},
        BadDraw{"NegativeFirstVertex",
                [](auto d, auto, auto) { return d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -1, 0, 4, 0, 2); }},
        BadDraw{"NoVerticesNamed",
                [](auto d, auto, auto) { return d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 0, 0, 2); }},
        BadDraw{"NullUserVertices",
                [](auto d, auto, auto) { return d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, nullptr, 28); }},
        BadDraw{"ZeroUserStride", [](auto d, auto, auto) { return d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kSome, 0); }},
        BadDraw{"UserIndicesOfAColourFormat",
                [](auto d, auto, auto) {
                    return d->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, kSomeIndices, D3DFMT_A8R8G8B8, kSome,
                                                     sizeof(ScreenVertex));
                }},
        BadDraw{"NullUserIndices",
                [](auto d, auto, auto) {
                    return d->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, nullptr, D3DFMT_INDEX16, kSome,
                                                     sizeof(ScreenVertex));
                }},
        // States the device cannot draw are refused rather than drawn wrongly.
        BadDraw{"StencilOn",
                [](auto d, auto, auto) {
                    d->SetRenderState(D3DRS_STENCILENABLE, TRUE);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"TableFog",
                [](auto d, auto, auto) {
                    d->SetRenderState(D3DRS_FOGENABLE, TRUE);
                    d->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"AStageOperationNotDrawn",
                [](auto d, auto, auto) {
                    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"ATemporaryRegisterArgument",
                [](auto d, auto, auto) {
                    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEMP);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"NineLightsOn",
                [](auto d, auto, auto) {
                    for (DWORD i = 0; i < 9; ++i) d->LightEnable(i, TRUE);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }},
        BadDraw{"TextureTransforms", [](auto d, auto, auto) {
                    d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
                    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
                }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawTest, NanAndDegenerateInputDrawNothingAndNeverFail) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    std::vector<ScreenVertex> bad = QuadList(0, 0, 64, 64, 0xFFFFFFFF);
    bad[0].x = nan;  // the first triangle
    bad[4].y = inf;  // the second
    const std::vector<ScreenVertex> flat = {{5, 5, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                            {20, 20, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                            {35, 35, 0.5f, 1, 0xFFFFFFFF, 0, 0}};
    Frame(kBackground, [&] {
        device_->SetFVF(test::kScreenFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, bad.data(), sizeof(ScreenVertex)), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, flat.data(), sizeof(ScreenVertex)), D3D_OK);
    });
    std::vector<uint32_t> pixels = Pixels();
    EXPECT_EQ(Count(pixels, kBackground), pixels.size());

    // NaN texture coordinates and normals on a lit, textured draw still draw, and sample inside the texture.
    device_->SetTexture(0, MakeTexture(4, 4, 3, [](UINT, UINT, UINT) { return 0xFF00FF00u; }));
    device_->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    std::vector<ScreenVertex> uv = QuadList(0, 0, 64, 64, 0xFFFFFFFF);
    for (ScreenVertex& v : uv) v.u = nan;
    const D3DMATRIX singular{};  // a view that collapses everything
    std::vector<test::ModelVertex> model = {{-1, -1, 0, nan, nan, nan, nan, 0}, {-1, 1, 0, nan, 0, 0, 0, inf},
                                            {1, -1, 0, 0, 0, nan, 1, 1}};
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {1, 1, 1, 1};
    light.Range = 10;
    device_->SetLight(0, &light);
    device_->LightEnable(0, TRUE);
    Frame(kBackground, [&] {
        device_->SetFVF(test::kScreenFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, uv.data(), sizeof(ScreenVertex)), D3D_OK);
    });
    pixels = Pixels();
    for (uint32_t pixel : pixels) ASSERT_TRUE(pixel == 0xFF00FF00u || pixel == kBackground) << std::hex << pixel;
    Frame(kBackground, [&] {
        device_->SetFVF(test::kModelFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, model.data(), sizeof(test::ModelVertex)), D3D_OK);
        device_->SetTransform(D3DTS_VIEW, &singular);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, model.data(), sizeof(test::ModelVertex)), D3D_OK);
    });
}

TEST_F(DrawTest, TheDefaultStateDrawsLitBlackAndPretransformedInTheVertexColour) {
    // Lighting is on with no light and a black material: a model-space triangle comes out black, while
    // pre-transformed vertices keep their colour, modulated by the white of stage 0's missing texture.
    const std::vector<ColoredVertex> triangle = {{-1, -1, 0.5f, 0xFFFFFFFF}, {-1, 1, 0.5f, 0xFFFFFFFF},
                                                 {1, -1, 0.5f, 0xFFFFFFFF}};
    Frame(kBackground, [&] {
        device_->SetFVF(test::kColoredFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle.data(), sizeof(ColoredVertex)), D3D_OK);
        DrawStrip(test::ScreenQuad(48, 48, 64, 64, 0xFF123456), test::kScreenFvf);
    });
    EXPECT_EQ(Pixel(8, 40), 0xFF000000u);   // lower left: the lit triangle
    EXPECT_EQ(Pixel(56, 56), 0xFF123456u);  // the quad
    EXPECT_EQ(Pixel(60, 4), kBackground);

    // After a Reset the defaults come back, lighting on included.
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    for (IUnknown* object : owned_) object->Release();
    owned_.clear();
    D3DPRESENT_PARAMETERS params = test::WithDepth(test::Windowed(test::kDrawWidth, test::kDrawHeight), D3DFMT_D24S8);
    params.Flags |= D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    Frame(kBackground, [&] {
        device_->SetFVF(test::kColoredFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle.data(), sizeof(ColoredVertex)), D3D_OK);
    });
    EXPECT_EQ(Pixel(8, 40), 0xFF000000u);
}

TEST_F(DrawTest, AStageWithoutATextureReadsWhiteAndADisabledAlphaPassesTheAlphaOn) {
    // Stage 1 modulates by a texture that is not there: the picture is stage 0's; its alpha (blended
    // over the background) comes through although stage 1's alpha operation is DISABLE.
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    auto draw = [&] { DrawStrip(test::ScreenQuad(0, 0, 64, 64, 0x80FF8000), test::kScreenFvf); };
    Frame(0xFF000000, draw);
    const std::vector<uint32_t> alone = Pixels();
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    Frame(0xFF000000, draw);
    EXPECT_EQ(Pixels(), alone);
    EXPECT_EQ(alone[0], 0xFF804000u);
}

TEST_F(DrawTest, StateBlocksRecordCaptureAndApplyWhatIsDrawn) {
    // The colour comes from the texture factor through stage 0.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFF0000);
    auto color = [&] {
        Frame(kBackground, [&] { DrawStrip(test::ScreenQuad(0, 0, 64, 64), test::kScreenFvf); });
        return Pixel(32, 32);
    };
    ASSERT_EQ(color(), 0xFFFF0000u);

    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(device_->BeginStateBlock(), D3D_OK);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF00FF00);
    ASSERT_EQ(device_->EndStateBlock(&block), D3D_OK);
    EXPECT_EQ(color(), 0xFFFF0000u) << "recording applies nothing";
    ASSERT_EQ(block->Apply(), D3D_OK);
    EXPECT_EQ(color(), 0xFF00FF00u);

    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF0000FF);
    ASSERT_EQ(block->Capture(), D3D_OK);  // takes the blue
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
    EXPECT_EQ(color(), 0xFFFFFFFFu);
    ASSERT_EQ(block->Apply(), D3D_OK);
    EXPECT_EQ(color(), 0xFF0000FFu);

    IDirect3DStateBlock9* all = nullptr;
    ASSERT_EQ(device_->CreateStateBlock(D3DSBT_ALL, &all), D3D_OK);  // the blue, stage 0 selecting the factor
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF808080);
    EXPECT_EQ(color(), 0xFFFFFFFFu) << "a disabled stage 0 draws the vertex colour";
    ASSERT_EQ(all->Apply(), D3D_OK);
    EXPECT_EQ(color(), 0xFF0000FFu);
    all->Release();
    block->Release();
}

TEST_F(DrawTest, TheReportCountsDrawsAndPrimitivesPerFrame) {
    for (int frame = 0; frame < 2; ++frame) {
        Frame(kBackground, [&] {
            DrawStrip(test::ScreenQuad(0, 0, 8, 8), test::kScreenFvf);  // 2 triangles
            if (frame == 1) DrawStrip(test::ScreenQuad(0, 0, 8, 8), test::kScreenFvf);
        });
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);  // not counted
        ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
    const d3d9::control::DrawCounts counts = d3d9::control::DrawCallCounts();
    EXPECT_EQ(counts.frames, 2u);
    EXPECT_EQ(counts.draws, 3u);
    EXPECT_EQ(counts.primitives, 6u);
    const std::string report = machine::ReportJson(0);
    EXPECT_NE(report.find("\"draw_calls\": {\"frames\": 2, \"draws_per_frame\": 1.5, \"primitives_per_frame\": 3, "
                          "\"last_frame\": [{\"type\": \"TRIANGLESTRIP\", \"primitives\": 2, \"fvf\": \"0x144\", "
                          "\"textures\": []}, {\"type\": \"TRIANGLESTRIP\""),
              std::string::npos)
        << report;
}

}  // namespace
