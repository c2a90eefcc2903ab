// The motion-blur squares: placement, movement through the box, and the trail of copies.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "blur_quad.h"
#include "d3d9/control.h"
#include "d3dx9.h"
#include "device_fixture.h"
#include "machine/failures.h"
#include "scene_media.h"

namespace {

struct Vertex {
    float x, y, z, nx, ny, nz;
    uint32_t diffuse;
    float u, v;
};

TEST(BlurQuadPlacement, FirstSquaresFromTheRuntimesGenerator) {
    std::srand(1);
    CBlurQuad quads[3];
    for (int i = 0; i < 3; ++i) PlaceBlurQuadAtRandom(quads[i], i);
    const struct {
        float x, y, z, vx, vz;
    } expected[] = {{16, 9, -8, -0.25f, 0}, {-6, -13, -1, 0, 0.04f}, {-13, 10, -11, -0.025f, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(quads[i].m_position.x, expected[i].x) << i;
        EXPECT_EQ(quads[i].m_position.y, expected[i].y) << i;
        EXPECT_EQ(quads[i].m_position.z, expected[i].z) << i;
        EXPECT_FLOAT_EQ(quads[i].m_velocity.x, expected[i].vx) << i;
        EXPECT_EQ(quads[i].m_velocity.y, 0.0f) << i;
        EXPECT_FLOAT_EQ(quads[i].m_velocity.z, expected[i].vz) << i;
    }
    std::srand(1);
}

TEST(BlurQuadPlacement, EveryPlacementStaysInsideItsRanges) {
    std::srand(1);
    for (int i = 0; i < 500; ++i) {
        CBlurQuad quad;
        PlaceBlurQuadAtRandom(quad, i);
        ASSERT_GE(quad.m_position.x, -25.0f);
        ASSERT_LE(quad.m_position.x, 24.0f);
        if (i % 2 == 0) {
            ASSERT_GE(quad.m_position.y, 5.0f);
            ASSERT_LE(quad.m_position.y, 14.0f);
        } else {
            ASSERT_GE(quad.m_position.y, -14.0f);
            ASSERT_LE(quad.m_position.y, -5.0f);
        }
        const float speed = i % 2 == 0 ? quad.m_velocity.x : quad.m_velocity.z;
        ASSERT_GE(speed, -0.25f);
        ASSERT_LE(speed, 0.245f + 1e-6f);
    }
    std::srand(1);
}

TEST(BlurQuadMove, WrapsToTheOppositeSideOnlyPastTheBound) {
    CBlurQuad quad;
    EXPECT_EQ(quad.m_halfSize, 5.0f);
    quad.m_position = CVector3(31.0f, 5.0f, 0.0f);
    quad.m_velocity = CVector3(0.7f, 0.0f, 0.0f);
    EXPECT_EQ(quad.Move(1000, 1000, 1000), S_OK);
    EXPECT_FLOAT_EQ(quad.m_position.x, -28.53f);
    EXPECT_EQ(quad.m_position.y, 5.0f);
    EXPECT_FLOAT_EQ(quad.m_velocity.x, 0.7f) << "the velocity is kept";

    // The bound is compared with the coordinate's square: exactly at it does not wrap.
    quad.m_position = CVector3(10.0f, -10.0f, 10.5f);
    quad.m_velocity = CVector3(0, 0, 0);
    quad.Move(100, 100, 100);
    EXPECT_EQ(quad.m_position.x, 10.0f);
    EXPECT_EQ(quad.m_position.y, -10.0f);
    EXPECT_FLOAT_EQ(quad.m_position.z, -9.45f);
}

class BlurQuadDevice : public showcase_test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        device = MakeDevice(64, 64);
        ASSERT_EQ(D3DXCreateMatrixStack(0, &stack), D3D_OK);
    }
    void TearDown() override {
        quad.ReleaseVertexBuffer();
        if (stack) stack->Release();
        DeviceTest::TearDown();
    }
    std::vector<Vertex> Vertices() { return BufferContents<Vertex>(quad.m_pVertexBuffer, 4); }

    IDirect3DDevice9* device = nullptr;
    ID3DXMatrixStack* stack = nullptr;
    CBlurQuad quad;
};

TEST_F(BlurQuadDevice, BufferHoldsTheFlatSquare) {
    EXPECT_EQ(quad.CreateVertexBuffer(device), S_OK);
    const std::vector<Vertex> v = Vertices();
    ASSERT_EQ(v.size(), 4u);
    const float expected[4][4] = {{-5, 5, 0, 0}, {-5, -5, 0, 1}, {5, 5, 1, 0}, {5, -5, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_EQ(v[i].y, 0.0f) << i;
        EXPECT_EQ(v[i].z, expected[i][1]) << i;
        EXPECT_EQ(v[i].u, expected[i][2]) << i;
        EXPECT_EQ(v[i].v, expected[i][3]) << i;
        EXPECT_EQ(v[i].ny, 1.0f) << i;
        EXPECT_EQ(v[i].diffuse, 0x7FFFFFFFu) << i;
    }
}

TEST_F(BlurQuadDevice, TrailLeadsWithTheOpaqueCopyAndFadesBack) {
    quad.CreateVertexBuffer(device);
    quad.m_velocity = CVector3(0.2f, 0, 0);
    StartCallLog();
    quad.DrawBlurred(device, stack, 5, 50.0f);
    EXPECT_EQ(Calls("DrawPrimitive(5,0,2)").size(), 5u);
    EXPECT_EQ(Calls("SetTransform(256)").size(), 20u);
    // The buffer keeps the last copy: velocity / 5 * spread ahead, alpha 255 / 5.
    const std::vector<Vertex> v = Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 2.0f - 5.0f);
    EXPECT_EQ(v[0].diffuse, 0x33FFFFFFu);
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
}

TEST_F(BlurQuadDevice, CopiesShowAtTheirOffsetsWithTheirAlphas) {
    quad.CreateVertexBuffer(device);
    quad.m_velocity = CVector3(1.2f, 0, 0);  // copies 12 units apart, each 10 across
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(30, 50, 0), at(30, 0, 0), up(0, 0, 1);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixOrthoLH(&projection, 80, 80, 1, 100);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    Frame([&] { quad.DrawBlurred(device, stack, 5, 50.0f); });
    // World x 12 (i + 1) lands on pixel (x + 10) * 64 / 80; the square itself (x 0) is not drawn.
    const struct {
        float worldX;
        uint32_t level;
    } copies[] = {{60, 255}, {48, 127}, {36, 85}, {24, 63}, {12, 51}, {0, 0}};
    for (const auto& c : copies) {
        const UINT px = UINT((c.worldX + 10.0f) * 64.0f / 80.0f);
        EXPECT_NEAR(double(Pixel(px, 32) >> 16), double(c.level), 2.0) << "copy at x " << c.worldX;
    }
}

TEST_F(BlurQuadDevice, CopyCountsAtTheEdges) {
    quad.CreateVertexBuffer(device);
    quad.m_velocity = CVector3(0.1f, 0, 0);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    StartCallLog();
    quad.DrawBlurred(device, stack, 0, 50.0f);
    EXPECT_TRUE(Calls("DrawPrimitive").empty());
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), DWORD(D3DZB_TRUE)) << "states are put back even without copies";
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    quad.DrawBlurred(device, stack, 1, 50.0f);
    const std::vector<Vertex> v = Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 5.0f - 5.0f) << "one copy, velocity * spread ahead";
    EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
}

TEST_F(BlurQuadDevice, StackEndsAsDeepAsItBegan) {
    quad.CreateVertexBuffer(device);
    quad.m_position = CVector3(3, 4, 5);
    stack->TranslateLocal(7, 0, 0);
    const D3DXMATRIX before = *stack->GetTop();
    quad.DrawBlurred(device, stack, 5, 50.0f);
    EXPECT_EQ(std::memcmp(stack->GetTop(), &before, sizeof before), 0);
    quad.Draw(device, stack, true);
    EXPECT_EQ(std::memcmp(stack->GetTop(), &before, sizeof before), 0);
    // Without pop the square's placement stays on top: (3, 4, 5) moved, then the parent's (7, 0, 0).
    quad.Draw(device, stack, false);
    EXPECT_FLOAT_EQ(stack->GetTop()->_41, 10.0f);
    EXPECT_FLOAT_EQ(stack->GetTop()->_42, 4.0f);
    stack->Pop();
    EXPECT_EQ(std::memcmp(stack->GetTop(), &before, sizeof before), 0);
}

TEST_F(BlurQuadDevice, WithoutABufferNothingIsDrawnAndReleaseIsHarmless) {
    EXPECT_EQ(quad.ReleaseVertexBuffer(), S_OK);
    StartCallLog();
    quad.DrawBlurred(device, stack, 5, 50.0f);
    quad.Draw(device, stack, true);
    EXPECT_TRUE(Calls("DrawPrimitive").empty());
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
}

}  // namespace

namespace {

TEST_F(BlurQuadDevice, ARefusedLockSkipsThatCopyOnly) {
    quad.CreateVertexBuffer(device);
    machine::control::FailCall("IDirect3DVertexBuffer9::Lock", 2, static_cast<uint32_t>(E_FAIL));
    StartCallLog();
    quad.DrawBlurred(device, stack, 5, 50.0f);
    EXPECT_EQ(Calls("DrawPrimitive").size(), 4u);
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
}

TEST_F(BlurQuadDevice, ARefusedBufferDrawsNothing) {
    machine::control::FailCall("IDirect3DDevice9::CreateVertexBuffer", 1, static_cast<uint32_t>(E_OUTOFMEMORY));
    EXPECT_EQ(quad.CreateVertexBuffer(device), S_OK);
    EXPECT_EQ(quad.m_pVertexBuffer, nullptr);
    StartCallLog();
    quad.DrawBlurred(device, stack, 5, 50.0f);
    EXPECT_TRUE(Calls("DrawPrimitive").empty());
}

}  // namespace
