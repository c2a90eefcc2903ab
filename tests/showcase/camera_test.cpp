// The camera's movement, damping, mouse look and view transform against known values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "camera.h"
#include "device_fixture.h"

namespace {

void ExpectNear(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 1e-4f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

CCamera StartCamera() {
    CCamera camera;
    camera.SetEyeLookAtUp(0, 2, 10, 0, 2, 0, 0, 1, 0);
    return camera;
}

InputState Mouse(LONG x, LONG y) {
    InputState input;
    std::memset(&input, 0, sizeof input);
    input.mouse.lX = x;
    input.mouse.lY = y;
    return input;
}

TEST(Camera, StartsWithTheConstructedValues) {
    CCamera camera;
    ExpectNear(camera.m_up, 0, 0, 0, 0);
    ExpectNear(camera.m_eye, 0, 0, 0, 0);
    ExpectNear(camera.m_lookAt, 0, 0, 1, 0);
    ExpectNear(camera.m_velocity, 0, 0, 0, 0);
    EXPECT_EQ(camera.m_pitch, 0.0f);
    EXPECT_EQ(camera.m_speed, 4.0f);
    camera.AddSpeed(1.5f);
    EXPECT_EQ(camera.m_speed, 5.5f);
}

struct MoveCase {
    const char* name;
    std::function<void(CCamera&)> move;
    D3DXVECTOR3 eye, lookAt;
};

class CameraMoves : public ::testing::TestWithParam<MoveCase> {};

TEST_P(CameraMoves, CarryEyeAndLookAtTogether) {
    CCamera camera = StartCamera();
    GetParam().move(camera);
    ExpectNear(camera.m_eye, GetParam().eye.x, GetParam().eye.y, GetParam().eye.z);
    ExpectNear(camera.m_lookAt, GetParam().lookAt.x, GetParam().lookAt.y, GetParam().lookAt.z);
}

INSTANTIATE_TEST_SUITE_P(
    , CameraMoves,
    ::testing::Values(
        MoveCase{"forward", [](CCamera& c) { c.MoveForward(1.0f); }, {0, 2, 9}, {0, 2, -1}},
        // The view runs along -z, whose left is +x.
        MoveCase{"strafe_left", [](CCamera& c) { c.Strafe(1.0f); }, {1, 2, 10}, {1, 2, 0}},
        MoveCase{"up", [](CCamera& c) { c.MoveUp(1.0f); }, {0, 3, 10}, {0, 3, 0}},
        MoveCase{"up_by_a_long_up_vector",
                 [](CCamera& c) {
                     c.m_up = D3DXVECTOR3(0, 2, 0);
                     c.MoveUp(1.0f);
                 },
                 {0, 4, 10}, {0, 4, 0}},
        MoveCase{"forward_with_eye_on_look_at",
                 [](CCamera& c) {
                     c.SetLookAt(0, 2, 10);
                     c.MoveForward(5.0f);
                     c.Strafe(5.0f);
                 },
                 {0, 2, 10}, {0, 2, 10}},
        MoveCase{"update_damps_then_moves",
                 [](CCamera& c) {
                     c.m_velocity = D3DXVECTOR3(0, 0, 1);
                     c.Update(0.5f, 0.95f);
                 },
                 {0, 2, 10 - 0.475f}, {0, 2, -0.475f}},
        MoveCase{"rotate_by_zero", [](CCamera& c) { c.RotateView(0, 0, 1, 0); }, {0, 2, 10}, {0, 2, 0}},
        MoveCase{"mouse_right_turns_right",
                 [](CCamera& c) {
                     InputState input = Mouse(150, 0);
                     c.MouseLook(&input, 0.6f);
                 },
                 {0, 2, 10}, {-10, 2, 10}},
        // Nothing stops the pitch: two 60-degree steps go past the vertical.
        MoveCase{"mouse_away_tilts_past_vertical",
                 [](CCamera& c) {
                     InputState input = Mouse(0, -100);
                     c.MouseLook(&input, 0.6f);
                     c.MouseLook(&input, 0.6f);
                 },
                 {0, 2, 10}, {0, 2 + 8.660254f, 15}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Camera, UpdateDampsEveryComponentPerCall) {
    CCamera camera = StartCamera();
    camera.m_velocity = D3DXVECTOR3(1, 1, 1);
    camera.Update(0.0f, 0.95f);
    ExpectNear(camera.m_velocity, 0.95f, 0.95f, 0.95f, 1e-6f);
    camera.m_velocity.z += 1.0f;
    camera.Update(0.0f, 0.95f);
    EXPECT_NEAR(camera.m_velocity.z, 1.8525f, 1e-6f);
}

TEST(Camera, MouseLookAccumulatesThePitchAndKeepsTheDistance) {
    CCamera camera = StartCamera();
    InputState input = Mouse(37, -55);
    camera.MouseLook(&input, 0.6f);
    EXPECT_NEAR(camera.m_pitch, -33.0f, 1e-4f);
    const D3DXVECTOR3 view = camera.m_lookAt - camera.m_eye;
    EXPECT_NEAR(D3DXVec3Length(&view), 10.0f, 1e-4f);
    // The most negative count does not overflow when it is negated.
    InputState extreme = Mouse(0, LONG(-2147483647 - 1));
    camera.MouseLook(&extreme, 0.0f);
    EXPECT_NEAR(camera.m_pitch, -33.0f, 1e-4f);
}

TEST(Camera, MouseLookWithAViewAlongUpLeavesTheLookAtPoint) {
    CCamera camera;
    camera.SetEyeLookAtUp(0, 0, 0, 0, 5, 0, 0, 1, 0);
    InputState input = Mouse(40, 70);
    camera.MouseLook(&input, 0.6f);
    ExpectNear(camera.m_lookAt, 0, 5, 0);
}

using CameraView = showcase_test::DeviceTest;

bool SameMatrix(const D3DMATRIX& a, const D3DMATRIX& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(CameraView, SetViewHandsTheLookAtMatrixToTheDevice) {
    IDirect3DDevice9* device = MakeDevice();
    CCamera camera = StartCamera();
    camera.SetView(device);
    D3DXMATRIX expected;
    const D3DXVECTOR3 eye(0, 2, 10), at(0, 2, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&expected, &eye, &at, &up);
    EXPECT_TRUE(SameMatrix(Transform(D3DTS_VIEW), expected));
    EXPECT_TRUE(SameMatrix(camera.m_view, expected));
}

TEST_F(CameraView, AViewThatCannotBeBuiltKeepsTheLastGoodOne) {
    IDirect3DDevice9* device = MakeDevice();
    CCamera camera;
    // Before any good view the device gets the identity, not a singular matrix.
    camera.SetEyeLookAtUp(0, 0, 0, 0, 1, 0, 0, 1, 0);
    camera.SetView(device);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_TRUE(SameMatrix(Transform(D3DTS_VIEW), identity));

    camera = StartCamera();
    camera.SetView(device);
    const D3DMATRIX good = Transform(D3DTS_VIEW);
    const struct {
        const char* name;
        D3DXVECTOR3 eye, at, up;
    } degenerate[] = {
        {"looking straight up", {0, 2, 10}, {0, 12, 10}, {0, 1, 0}},
        {"looking straight down", {0, 2, 10}, {0, -8, 10}, {0, 1, 0}},
        {"eye on the look-at point", {0, 2, 10}, {0, 2, 10}, {0, 1, 0}},
        {"zero up vector", {0, 2, 10}, {0, 2, 0}, {0, 0, 0}},
        {"not a number", {NAN, 2, 10}, {0, 2, 0}, {0, 1, 0}},
    };
    for (const auto& c : degenerate) {
        camera.SetEyeLookAtUp(c.eye.x, c.eye.y, c.eye.z, c.at.x, c.at.y, c.at.z, c.up.x, c.up.y, c.up.z);
        camera.SetView(device);
        EXPECT_TRUE(SameMatrix(Transform(D3DTS_VIEW), good)) << c.name;
    }
}

}  // namespace
