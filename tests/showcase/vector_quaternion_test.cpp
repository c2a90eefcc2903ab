// The showcase's vector and quaternion against known values.
#include <gtest/gtest.h>

#include <cmath>

#include "quaternion.h"
#include "vector3.h"

namespace {

void ExpectNear(const CVector3& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectNear(const CQuaternion& q, float x, float y, float z, float w, float tolerance = 1e-6f) {
    EXPECT_NEAR(q.x, x, tolerance);
    EXPECT_NEAR(q.y, y, tolerance);
    EXPECT_NEAR(q.z, z, tolerance);
    EXPECT_NEAR(q.w, w, tolerance);
}

TEST(Vector3, ArithmeticPerComponent) {
    const CVector3 a(1, 2, 3), b(4, -5, 8);
    ExpectNear(a + b, 5, -3, 11);
    ExpectNear(a.Add(b), 5, -3, 11);
    ExpectNear(a - b, -3, 7, -5);
    ExpectNear(a.MultiplyComponents(b), 4, -10, 24);
    ExpectNear(a.DivideComponents(b), 0.25f, -0.4f, 0.375f);
    ExpectNear(a * 2.0f, 2, 4, 6);
    ExpectNear(a / 2.0f, 0.5f, 1, 1.5f);
    ExpectNear(a.Divide(4.0f), 0.25f, 0.5f, 0.75f);
    ExpectNear(a.Uniform(7.0f), 7, 7, 7);
    EXPECT_FLOAT_EQ(a.Dot(b), 4 - 10 + 24);
    ExpectNear(a.Lerp(b, 0.5f), 2.5f, -1.5f, 5.5f);
}

TEST(Vector3, InPlaceOperatorsChangeTheObjectAndAnswerACopy) {
    CVector3 v(1, 1, 1);
    CVector3 copy = (v += CVector3(1, 2, 3));
    ExpectNear(v, 2, 3, 4);
    copy.x = 100;
    EXPECT_FLOAT_EQ(copy.x, 100);
    EXPECT_FLOAT_EQ(v.x, 2);
    ExpectNear(v -= CVector3(1, 1, 1), 1, 2, 3);
    ExpectNear(v *= 3.0f, 3, 6, 9);
    v.Scale(0.5f);
    ExpectNear(v, 1.5f, 3, 4.5f);
}

TEST(Vector3, LengthNormalizeCrossAndGroundDistance) {
    CVector3 v(3, 0, 4);
    EXPECT_FLOAT_EQ(v.Length(), 5.0f);
    v.Normalize();
    ExpectNear(v, 0.6f, 0, 0.8f);
    ExpectNear(CVector3(1, 0, 0).Cross(CVector3(0, 1, 0)), 0, 0, 1);
    ExpectNear(CVector3(0, 1, 0).Cross(CVector3(1, 0, 0)), 0, 0, -1);
    EXPECT_NEAR(CVector3(1.5f, 7.0f, 2.5f).DistanceXZ(1, 2), std::sqrt(0.5f), 1e-6f);
}

TEST(Vector3, NormalizingTheZeroVectorLeavesItZero) {
    CVector3 zero(0, 0, 0);
    zero.Normalize();
    ExpectNear(zero, 0, 0, 0, 0);
}

TEST(Quaternion, ProductConjugateAndIdentity) {
    ExpectNear(CQuaternion(), 0, 0, 0, 1);
    ExpectNear(CQuaternion(1, 0, 0, 0) * CQuaternion(0, 1, 0, 0), 0, 0, 1, 0);
    ExpectNear(CQuaternion(0, 1, 0, 0) * CQuaternion(1, 0, 0, 0), 0, 0, -1, 0);
    ExpectNear(CQuaternion(1, 2, 3, 4).Conjugate(), -1, -2, -3, 4);
    // (1, 2, 3, 4) * (5, 6, 7, 8) by the Hamilton rule.
    ExpectNear(CQuaternion(1, 2, 3, 4) * CQuaternion(5, 6, 7, 8), 24, 48, 48, -6);
    CQuaternion assigned;
    assigned = CQuaternion(1, 2, 3, 4);
    ExpectNear(assigned, 1, 2, 3, 4);
}

struct AxisAngleCase {
    const char* name;
    float angle, ax, ay, az;
    float x, y, z, w;
};

class QuaternionAxisAngle : public ::testing::TestWithParam<AxisAngleCase> {};

TEST_P(QuaternionAxisAngle, GivesTheUnitQuaternion) {
    const AxisAngleCase& c = GetParam();
    CQuaternion q;
    q.SetFromAxisAngle(c.angle, c.ax, c.ay, c.az);
    ExpectNear(q, c.x, c.y, c.z, c.w);
}

INSTANTIATE_TEST_SUITE_P(
    , QuaternionAxisAngle,
    ::testing::Values(AxisAngleCase{"quarter_about_y", 90, 0, 1, 0, 0, 0.70710678f, 0, 0.70710678f},
                      AxisAngleCase{"long_axis_normalised", 90, 0, 2, 0, 0, 0.70710678f, 0, 0.70710678f},
                      AxisAngleCase{"negative_axis", 90, 0, 0, -1, 0, 0, -0.70710678f, 0.70710678f},
                      AxisAngleCase{"zero_angle", 0, 1, 0, 0, 0, 0, 0, 1},
                      // The constant 3.14159265 lies just below pi: w keeps about 1.8e-9.
                      AxisAngleCase{"half_turn", 180, 1, 0, 0, 1, 0, 0, 1.8e-9f},
                      AxisAngleCase{"zero_axis_is_no_turn", 60, 0, 0, 0, 0, 0, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Quaternion, TurnsAVectorAboutItsAxis) {
    CQuaternion q;
    q.SetFromAxisAngle(90, 0, 1, 0);
    const CQuaternion turned = (q * CQuaternion(0, 0, 1, 0)) * q.Conjugate();
    ExpectNear(CVector3(turned.x, turned.y, turned.z), 1, 0, 0);
    EXPECT_NEAR(turned.w, 0.0f, 1e-6f);
}

}  // namespace
