// Quaternion functions and their agreement with the matrix forms.
#include <cmath>

#include <gtest/gtest.h>

#include "d3dx9.h"
#include "math_expect.h"

namespace {

using d3dx9_test::Apply;
using d3dx9_test::Near;

const float kQuarter = D3DX_PI / 2;
const float kRootHalf = 0.70710678f;

D3DXQUATERNION AxisAngle(float x, float y, float z, float angle) {
    const D3DXVECTOR3 axis(x, y, z);
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axis, angle);
    return q;
}

D3DXMATRIX MatrixOf(const D3DXQUATERNION& q) {
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &q);
    return m;
}

TEST(QuaternionMultiply, IsTheFirstRotationFollowedByTheSecond) {
    const D3DXQUATERNION aboutX = AxisAngle(1, 0, 0, kQuarter);
    const D3DXQUATERNION aboutY = AxisAngle(0, 1, 0, kQuarter);
    D3DXQUATERNION xThenY;
    D3DXQuaternionMultiply(&xThenY, &aboutX, &aboutY);

    EXPECT_TRUE(Near(MatrixOf(xThenY), MatrixOf(aboutX) * MatrixOf(aboutY)));
    // +Y turns to +Z about X, and +Z to +X about Y.
    EXPECT_TRUE(Near(Apply(MatrixOf(xThenY), D3DXVECTOR3(0, 1, 0)), D3DXVECTOR3(1, 0, 0)));
    // The other order is a different rotation.
    EXPECT_FALSE(Near(MatrixOf(xThenY), MatrixOf(aboutY) * MatrixOf(aboutX)));
    // The operator and the in-place form agree; out may alias an input.
    EXPECT_EQ(aboutX * aboutY, xThenY);
    D3DXQUATERNION inPlace = aboutX;
    inPlace *= aboutY;
    EXPECT_EQ(inPlace, xThenY);
    D3DXQuaternionMultiply(&inPlace, &aboutX, &inPlace);
    EXPECT_TRUE(Near(MatrixOf(inPlace), MatrixOf(aboutX) * MatrixOf(xThenY)));
}

TEST(QuaternionRotationAxis, NormalisesTheAxisAndMatchesTheMatrixForm) {
    EXPECT_TRUE(Near(AxisAngle(0, 2, 0, kQuarter), D3DXQUATERNION(0, kRootHalf, 0, kRootHalf)));
    EXPECT_TRUE(Near(AxisAngle(0, 0, 0, 1.0f), D3DXQUATERNION(0, 0, 0, std::cos(0.5f))));
    const struct {
        D3DXVECTOR3 axis;
        float angle;
    } cases[] = {{{1, 0, 0}, 0.3f}, {{0, -4, 0}, 2.0f}, {{1, 2, 3}, -1.1f}, {{-0.2f, 0.1f, 0.7f}, 3.0f}};
    for (const auto& c : cases) {
        const D3DXQUATERNION q = AxisAngle(c.axis.x, c.axis.y, c.axis.z, c.angle);
        EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, 1e-6f);
        D3DXMATRIX expected;
        D3DXMatrixRotationAxis(&expected, &c.axis, c.angle);
        EXPECT_TRUE(Near(MatrixOf(q), expected)) << c.axis.x << " " << c.axis.y << " " << c.axis.z;
    }
}

TEST(QuaternionRotationMatrix, RecoversTheRotationFromEveryBranch) {
    const struct {
        const char* name;
        D3DXVECTOR3 axis;
        float angle;
    } cases[] = {
        {"small angle (trace positive)", {1, 2, 3}, 0.5f},
        {"near half turn about X", {1, 0.1f, 0}, 3.0f},
        {"near half turn about Y", {0, 1, 0.1f}, 3.0f},
        {"near half turn about Z", {0.1f, 0, 1}, 3.0f},
        {"half turn about Z", {0, 0, 1}, D3DX_PI},
        {"identity", {0, 1, 0}, 0.0f},
    };
    for (const auto& c : cases) {
        D3DXMATRIX m;
        D3DXMatrixRotationAxis(&m, &c.axis, c.angle);
        D3DXQUATERNION q;
        D3DXQuaternionRotationMatrix(&q, &m);
        EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, 1e-5f) << c.name;
        EXPECT_TRUE(Near(MatrixOf(q), m)) << c.name;
    }
    // A translation in the matrix does not matter.
    D3DXMATRIX moved;
    D3DXMatrixTranslation(&moved, 5, 6, 7);
    D3DXQUATERNION q;
    D3DXQuaternionRotationMatrix(&q, &moved);
    EXPECT_TRUE(D3DXQuaternionIsIdentity(&q));
}

TEST(QuaternionRotationYawPitchRoll, MatchesTheMatrixForm) {
    const struct {
        float yaw, pitch, roll;
    } cases[] = {{0.3f, 0, 0}, {0, -0.6f, 0}, {0, 0, 1.0f}, {0.3f, -0.7f, 1.1f}, {2.5f, 1.2f, -0.4f}};
    for (const auto& c : cases) {
        D3DXQUATERNION q;
        D3DXQuaternionRotationYawPitchRoll(&q, c.yaw, c.pitch, c.roll);
        D3DXMATRIX expected;
        D3DXMatrixRotationYawPitchRoll(&expected, c.yaw, c.pitch, c.roll);
        EXPECT_TRUE(Near(MatrixOf(q), expected)) << c.yaw << " " << c.pitch << " " << c.roll;
    }
}

TEST(QuaternionBasics, IdentityConjugateInverseNormalizeDot) {
    D3DXQUATERNION q(9, 9, 9, 9);
    D3DXQuaternionIdentity(&q);
    EXPECT_EQ(q, D3DXQUATERNION(0, 0, 0, 1));
    EXPECT_TRUE(D3DXQuaternionIsIdentity(&q));

    const D3DXQUATERNION p(1, 2, 3, 4);
    D3DXQUATERNION out;
    EXPECT_EQ(*D3DXQuaternionConjugate(&out, &p), D3DXQUATERNION(-1, -2, -3, 4));
    EXPECT_FLOAT_EQ(D3DXQuaternionLengthSq(&p), 30.0f);
    EXPECT_FLOAT_EQ(D3DXQuaternionDot(&p, &p), 30.0f);

    D3DXQuaternionInverse(&out, &p);
    EXPECT_TRUE(Near(out * p, D3DXQUATERNION(0, 0, 0, 1)));
    EXPECT_TRUE(Near(p * out, D3DXQUATERNION(0, 0, 0, 1)));

    D3DXQuaternionNormalize(&out, &p);
    EXPECT_NEAR(D3DXQuaternionLength(&out), 1.0f, 1e-6f);
    EXPECT_TRUE(Near(out * std::sqrt(30.0f), p, 1e-5f));

    const D3DXQUATERNION zero(0, 0, 0, 0);
    EXPECT_EQ(*D3DXQuaternionNormalize(&out, &zero), zero);
    EXPECT_EQ(*D3DXQuaternionInverse(&out, &zero), zero);
    EXPECT_EQ(D3DXQuaternionMultiply(&out, &p, nullptr), nullptr);
}

TEST(QuaternionSlerp, InterpolatesAlongTheShorterArc) {
    const D3DXQUATERNION identity(0, 0, 0, 1);
    const D3DXQUATERNION quarter = AxisAngle(0, 1, 0, kQuarter);
    D3DXQUATERNION out;
    EXPECT_TRUE(Near(*D3DXQuaternionSlerp(&out, &identity, &quarter, 0.0f), identity));
    EXPECT_TRUE(Near(*D3DXQuaternionSlerp(&out, &identity, &quarter, 1.0f), quarter));
    EXPECT_TRUE(Near(*D3DXQuaternionSlerp(&out, &identity, &quarter, 0.5f), AxisAngle(0, 1, 0, kQuarter / 2)));

    // -quarter is the same rotation: the path stays the short one.
    const D3DXQUATERNION negated = -quarter;
    D3DXQuaternionSlerp(&out, &identity, &negated, 0.5f);
    EXPECT_TRUE(Near(MatrixOf(out), MatrixOf(AxisAngle(0, 1, 0, kQuarter / 2))));

    // Nearly equal inputs give a finite result.
    const D3DXQUATERNION close = AxisAngle(0, 1, 0, 1e-4f);
    D3DXQuaternionSlerp(&out, &identity, &close, 0.5f);
    EXPECT_TRUE(std::isfinite(out.x) && std::isfinite(out.y) && std::isfinite(out.w));
    EXPECT_NEAR(D3DXQuaternionLength(&out), 1.0f, 1e-5f);
}

TEST(QuaternionToAxisAngle, GivesTheVectorPartAndTheAngle) {
    const D3DXQUATERNION q = AxisAngle(0, 3, 0, kQuarter);
    D3DXVECTOR3 axis;
    float angle = 0;
    D3DXQuaternionToAxisAngle(&q, &axis, &angle);
    EXPECT_TRUE(Near(axis, D3DXVECTOR3(0, std::sin(kQuarter / 2), 0)));
    EXPECT_NEAR(angle, kQuarter, 1e-5f);

    // w a rounding step above 1 gives angle 0, not NaN; either out may be null.
    const D3DXQUATERNION overshoot(0, 0, 0, 1.0000001f);
    D3DXQuaternionToAxisAngle(&overshoot, nullptr, &angle);
    EXPECT_EQ(angle, 0.0f);
    D3DXQuaternionToAxisAngle(&overshoot, &axis, nullptr);
    EXPECT_EQ(axis, D3DXVECTOR3(0, 0, 0));
}

}  // namespace
