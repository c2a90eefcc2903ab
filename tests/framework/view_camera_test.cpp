// The view camera's derived vectors and matrices, including a view that cannot be inverted.
#include "view_camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6f);
    EXPECT_NEAR(a.y, b.y, 1e-6f);
    EXPECT_NEAR(a.z, b.z, 1e-6f);
}

bool IsIdentity(const D3DXMATRIX& m) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return m == identity;
}

TEST(ViewCamera, StartsAtTheOriginLookingAlongZ) {
    CViewCamera camera;
    ExpectNear(camera.m_viewDirection, D3DXVECTOR3(0, 0, 1));
    ExpectNear(camera.m_side, D3DXVECTOR3(-1, 0, 0));
    EXPECT_TRUE(IsIdentity(camera.m_view));
    EXPECT_TRUE(IsIdentity(camera.m_billboard));
    EXPECT_EQ(camera.m_fieldOfView, 0.7853982f);
    EXPECT_EQ(camera.m_aspect, 1.0f);
    EXPECT_EQ(camera.m_nearPlane, 1.0f);
    EXPECT_EQ(camera.m_farPlane, 1000.0f);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 1000.0f);
    EXPECT_TRUE(camera.m_projection == projection);
}

TEST(ViewCamera, ABackedOffEyeTranslatesTheView) {
    CViewCamera camera;
    const D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    camera.SetView(&eye, &at, &up);
    ExpectNear(camera.m_viewDirection, D3DXVECTOR3(0, 0, 1));
    EXPECT_FLOAT_EQ(camera.m_view._43, 10.0f);
    EXPECT_TRUE(IsIdentity(camera.m_billboard));
}

TEST(ViewCamera, TheBillboardIsTheViewsRotationUndone) {
    CViewCamera camera;
    const D3DXVECTOR3 eye(5, 2, 3), at(6, 2, 3), up(0, 1, 0);
    camera.SetView(&eye, &at, &up);
    EXPECT_EQ(camera.m_billboard._41, 0.0f);
    EXPECT_EQ(camera.m_billboard._42, 0.0f);
    EXPECT_EQ(camera.m_billboard._43, 0.0f);
    // Facing the viewer: the view's forward axis turned back is the world direction looked along.
    D3DXVECTOR3 forward;
    const D3DXVECTOR3 viewForward(0, 0, 1);
    D3DXVec3TransformNormal(&forward, &viewForward, &camera.m_billboard);
    ExpectNear(forward, D3DXVECTOR3(1, 0, 0));
}

TEST(ViewCamera, ASingularViewGivesZeroDirectionAndAnIdentityBillboard) {
    const struct {
        D3DXVECTOR3 eye, at, up;
    } cases[] = {
        {{1, 2, 3}, {1, 2, 3}, {0, 1, 0}},  // eye on the look-at point
        {{0, 0, 0}, {0, 5, 0}, {0, 1, 0}},  // up along the view direction
    };
    for (const auto& c : cases) {
        CViewCamera camera;
        camera.SetView(&c.eye, &c.at, &c.up);
        EXPECT_TRUE(IsIdentity(camera.m_billboard));
        for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite((&camera.m_view._11)[i]));
    }
    CViewCamera camera;
    camera.SetView(&cases[0].eye, &cases[0].at, &cases[0].up);
    ExpectNear(camera.m_viewDirection, D3DXVECTOR3(0, 0, 0));
}

TEST(ViewCamera, SetProjectionKeepsItsValues) {
    CViewCamera camera;
    camera.SetProjection(1.0f, 1.5f, 0.5f, 200.0f);
    EXPECT_EQ(camera.m_aspect, 1.5f);
    EXPECT_EQ(camera.m_nearPlane, 0.5f);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 1.5f, 0.5f, 200.0f);
    EXPECT_TRUE(camera.m_projection == projection);
}

}  // namespace
