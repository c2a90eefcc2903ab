// Matrix types and functions: row vectors, left-handed.
#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "d3dx9.h"
#include "math_expect.h"

namespace {

using d3dx9_test::Apply;
using d3dx9_test::Near;

const float kQuarter = D3DX_PI / 2;

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

D3DXMATRIX Translation(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

D3DXMATRIX Scaling(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, x, y, z);
    return m;
}

D3DXMATRIX RotationX(float a) {
    D3DXMATRIX m;
    D3DXMatrixRotationX(&m, a);
    return m;
}

D3DXMATRIX RotationY(float a) {
    D3DXMATRIX m;
    D3DXMatrixRotationY(&m, a);
    return m;
}

D3DXMATRIX RotationZ(float a) {
    D3DXMATRIX m;
    D3DXMatrixRotationZ(&m, a);
    return m;
}

struct LookAtCase {
    const char* name;
    D3DXVECTOR3 eye, at, up;
    D3DXMATRIX expected;
};

TEST(MatrixLookAtLH, BuildsTheViewFromTheCameraAxes) {
    const LookAtCase cases[] = {
        {"along +Z from the origin", {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, Identity()},
        {"from z -10 towards the origin", {0, 0, -10}, {0, 0, 0}, {0, 1, 0}, Translation(0, 0, 10)},
        {"cube face +Y", {0, 0, 0}, {0, 1, 0}, {0, 0, -1},
         D3DXMATRIX(1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1)},
        {"up need not be unit or perpendicular", {0, 0, 0}, {0, 0, 5}, {0, 3, 1}, Identity()},
        {"eye off the axis", {1, 2, 3}, {1, 2, 4}, {0, 1, 0}, Translation(-1, -2, -3)},
    };
    for (const auto& c : cases) {
        D3DXMATRIX m;
        EXPECT_EQ(D3DXMatrixLookAtLH(&m, &c.eye, &c.at, &c.up), &m);
        EXPECT_TRUE(Near(m, c.expected)) << c.name;
    }
}

TEST(MatrixLookAtLH, CubeFacePlusYMapsWorldYForwardAndMinusZUp) {
    const D3DXVECTOR3 eye(0, 0, 0), at(0, 1, 0), up(0, 0, -1);
    D3DXMATRIX m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    EXPECT_TRUE(Near(Apply(m, D3DXVECTOR3(0, 1, 0)), D3DXVECTOR3(0, 0, 1)));
    EXPECT_TRUE(Near(Apply(m, D3DXVECTOR3(0, 0, -1)), D3DXVECTOR3(0, 1, 0)));
}

TEST(MatrixLookAtLH, UpAlongTheViewGivesAFiniteSingularMatrix) {
    const D3DXVECTOR3 eye(0, 0, 0), at(0, 5, 0), up(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(static_cast<const float*>(view)[i])) << i;

    D3DXMATRIX out(static_cast<const float*>(Scaling(7, 7, 7)));
    EXPECT_EQ(D3DXMatrixInverse(&out, nullptr, &view), nullptr);
    EXPECT_EQ(out, Scaling(7, 7, 7));
}

TEST(MatrixLookAtRH, LooksDownTheNegativeZAxis) {
    const D3DXVECTOR3 eye(0, 0, 10), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX m;
    D3DXMatrixLookAtRH(&m, &eye, &at, &up);
    EXPECT_TRUE(Near(m, Translation(0, 0, -10)));
    EXPECT_TRUE(Near(Apply(m, D3DXVECTOR3(1, 0, 0)), D3DXVECTOR3(1, 0, -10)));
}

TEST(MatrixPerspectiveFovLH, MatchesTheFormulaAndMapsNearAndFarToZeroAndOne) {
    const float fov = D3DX_PI / 4, aspect = 800.0f / 600.0f, zn = 1.0f, zf = 1000.0f;
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&m, fov, aspect, zn, zf), &m);
    const float ys = 1.0f / std::tan(fov / 2), xs = ys / aspect;
    const D3DXMATRIX expected(xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0);
    EXPECT_TRUE(Near(m, expected));
    EXPECT_NEAR(m._22, 2.4142136f, 1e-5f);

    EXPECT_NEAR(Apply(m, D3DXVECTOR3(0, 0, zn)).z, 0.0f, 1e-5f);
    EXPECT_NEAR(Apply(m, D3DXVECTOR3(0, 0, zf)).z, 1.0f, 1e-5f);
    D3DXVECTOR4 clip;
    const D3DXVECTOR3 p(1, 2, 50);
    D3DXVec3Transform(&clip, &p, &m);
    EXPECT_FLOAT_EQ(clip.w, 50.0f);  // w is the view depth
}

TEST(MatrixPerspectiveFovRH, MapsNearAndFarInFrontOfTheCamera) {
    D3DXMATRIX m;
    D3DXMatrixPerspectiveFovRH(&m, D3DX_PI / 3, 1.5f, 2.0f, 50.0f);
    EXPECT_FLOAT_EQ(m._34, -1.0f);
    EXPECT_NEAR(m._11 * 1.5f, m._22, 1e-5f);
    EXPECT_NEAR(Apply(m, D3DXVECTOR3(0, 0, -2)).z, 0.0f, 1e-5f);
    EXPECT_NEAR(Apply(m, D3DXVECTOR3(0, 0, -50)).z, 1.0f, 1e-5f);
}

TEST(MatrixProjections, MapTheViewVolumeCornersToClipSpace) {
    D3DXMATRIX perspective, ortho, offCenter;
    D3DXMatrixPerspectiveLH(&perspective, 2, 4, 1, 10);
    D3DXMatrixOrthoLH(&ortho, 8, 6, 1, 5);
    D3DXMatrixOrthoOffCenterLH(&offCenter, 0, 800, 600, 0, 0, 1);
    struct Case {
        const char* name;
        const D3DXMATRIX* m;
        D3DXVECTOR3 in, expected;
    } cases[] = {
        {"perspective near corner", &perspective, {1, 2, 1}, {1, 1, 0}},
        {"perspective far corner", &perspective, {-10, -20, 10}, {-1, -1, 1}},
        {"ortho near corner", &ortho, {4, 3, 1}, {1, 1, 0}},
        {"ortho far corner", &ortho, {-4, -3, 5}, {-1, -1, 1}},
        {"off-centre top left", &offCenter, {0, 0, 0}, {-1, 1, 0}},
        {"off-centre bottom right", &offCenter, {800, 600, 1}, {1, -1, 1}},
        {"off-centre middle", &offCenter, {400, 300, 0.5f}, {0, 0, 0.5f}},
    };
    for (const auto& c : cases) EXPECT_TRUE(Near(Apply(*c.m, c.in), c.expected)) << c.name;
}

TEST(MatrixInverse, InvertsAKnownMatrixAndReportsItsDeterminant) {
    const D3DXMATRIX m = Scaling(2, 4, 8) * RotationY(0.3f) * Translation(1, 2, 3);
    const D3DXMATRIX expected = Translation(-1, -2, -3) * RotationY(-0.3f) * Scaling(0.5f, 0.25f, 0.125f);
    D3DXMATRIX inverse;
    float determinant = 0;
    EXPECT_EQ(D3DXMatrixInverse(&inverse, &determinant, &m), &inverse);
    EXPECT_TRUE(Near(inverse, expected));
    EXPECT_NEAR(determinant, 64.0f, 1e-3f);
    EXPECT_NEAR(D3DXMatrixDeterminant(&m), 64.0f, 1e-3f);

    // A dense matrix, inverted in place: M * inverse(M) is the identity.
    const D3DXMATRIX dense(2, -1, 0, 3, 1, 3, 2, -1, 0, 1, 4, 2, 1, 0, -2, 5);
    D3DXMATRIX work = dense;
    ASSERT_NE(D3DXMatrixInverse(&work, nullptr, &work), nullptr);
    EXPECT_TRUE(Near(dense * work, Identity()));
    EXPECT_TRUE(Near(work * dense, Identity()));
    EXPECT_NEAR(D3DXMatrixDeterminant(&dense), 1.0f / D3DXMatrixDeterminant(&work), 1e-3f);
}

TEST(MatrixInverse, SingularOrNonFiniteAnswersNullAndLeavesOutUntouched) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        D3DXMATRIX m;
    } cases[] = {
        {"zero matrix", D3DXMATRIX(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)},
        {"flattening scale", Scaling(1, 0, 1)},
        {"two equal rows", D3DXMATRIX(1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 0, 0, 0, 1, 1)},
        {"NaN element", D3DXMATRIX(nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)},
    };
    for (const auto& c : cases) {
        D3DXMATRIX out = Translation(5, 6, 7);
        float determinant = 99;
        EXPECT_EQ(D3DXMatrixInverse(&out, &determinant, &c.m), nullptr) << c.name;
        EXPECT_EQ(out, Translation(5, 6, 7)) << c.name;
        EXPECT_NE(determinant, 99.0f) << c.name;  // the determinant is still reported
    }
    EXPECT_EQ(D3DXMatrixInverse(nullptr, nullptr, &cases[1].m), nullptr);
}

TEST(MatrixMultiply, AppliesTheFirstThenTheSecondAndAllowsAliasing) {
    const D3DXMATRIX t = Translation(1, 0, 0), s = Scaling(2, 2, 2);
    D3DXMATRIX ts;
    D3DXMatrixMultiply(&ts, &t, &s);
    EXPECT_TRUE(Near(Apply(ts, D3DXVECTOR3(0, 0, 0)), D3DXVECTOR3(2, 0, 0)));
    EXPECT_TRUE(Near(Apply(s * t, D3DXVECTOR3(0, 0, 0)), D3DXVECTOR3(1, 0, 0)));

    const D3DXMATRIX a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const D3DXMATRIX b = RotationZ(0.7f) * Translation(3, -1, 2);
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &a, &b);
    EXPECT_NEAR(product._23, a._21 * b._13 + a._22 * b._23 + a._23 * b._33 + a._24 * b._43, 1e-4f);
    D3DXMATRIX left = a, right = b;
    D3DXMatrixMultiply(&left, &left, &b);
    D3DXMatrixMultiply(&right, &a, &right);
    EXPECT_EQ(left, product);
    EXPECT_EQ(right, product);
    D3DXMATRIX square = a;
    D3DXMatrixMultiply(&square, &square, &square);
    EXPECT_EQ(square, a * a);

    D3DXMATRIX transposed, expected;
    D3DXMatrixMultiplyTranspose(&transposed, &a, &b);
    D3DXMatrixTranspose(&expected, &product);
    EXPECT_EQ(transposed, expected);
    EXPECT_EQ(transposed._12, product._21);
}

TEST(MatrixRotation, QuarterTurnsAboutEachAxis) {
    struct Case {
        const char* name;
        D3DXMATRIX m;
        D3DXVECTOR3 in, expected;
    } cases[] = {
        {"X takes +Y to +Z", RotationX(kQuarter), {0, 1, 0}, {0, 0, 1}},
        {"Y takes +Z to +X", RotationY(kQuarter), {0, 0, 1}, {1, 0, 0}},
        {"Z takes +X to +Y", RotationZ(kQuarter), {1, 0, 0}, {0, 1, 0}},
        {"Y takes +X to -Z", RotationY(kQuarter), {1, 0, 0}, {0, 0, -1}},
    };
    for (const auto& c : cases) EXPECT_TRUE(Near(Apply(c.m, c.in), c.expected)) << c.name;

    const float a = 0.4f, co = std::cos(a), si = std::sin(a);
    EXPECT_TRUE(Near(RotationY(a), D3DXMATRIX(co, 0, -si, 0, 0, 1, 0, 0, si, 0, co, 0, 0, 0, 0, 1)));
}

TEST(MatrixRotationAxis, NormalisesTheAxis) {
    struct Case {
        D3DXVECTOR3 axis;
        float angle;
        D3DXMATRIX expected;
    } cases[] = {
        {{0, 2, 0}, 0.8f, RotationY(0.8f)},
        {{-3, 0, 0}, 0.5f, RotationX(-0.5f)},
        {{0, 0, 0.1f}, 1.2f, RotationZ(1.2f)},
    };
    for (const auto& c : cases) {
        D3DXMATRIX m;
        D3DXMatrixRotationAxis(&m, &c.axis, c.angle);
        EXPECT_TRUE(Near(m, c.expected)) << c.axis.x << " " << c.axis.y << " " << c.axis.z;
    }
    // Half a turn about the diagonal (1, 1, 0) swaps X and Y.
    const D3DXVECTOR3 diagonal(1, 1, 0);
    D3DXMATRIX m;
    D3DXMatrixRotationAxis(&m, &diagonal, D3DX_PI);
    EXPECT_TRUE(Near(Apply(m, D3DXVECTOR3(1, 0, 0)), D3DXVECTOR3(0, 1, 0)));
    EXPECT_TRUE(Near(Apply(m, D3DXVECTOR3(0, 0, 1)), D3DXVECTOR3(0, 0, -1)));
}

TEST(MatrixRotationYawPitchRoll, IsRollThenPitchThenYaw) {
    const struct {
        float yaw, pitch, roll;
    } cases[] = {{0.3f, 0, 0}, {0, 0.4f, 0}, {0, 0, 0.5f}, {0.3f, -0.7f, 1.1f}, {2.5f, 1.2f, -0.4f}};
    for (const auto& c : cases) {
        D3DXMATRIX m;
        D3DXMatrixRotationYawPitchRoll(&m, c.yaw, c.pitch, c.roll);
        EXPECT_TRUE(Near(m, RotationZ(c.roll) * RotationX(c.pitch) * RotationY(c.yaw)))
            << c.yaw << " " << c.pitch << " " << c.roll;
    }
    // Yaw turns about Y and pitch about X.
    D3DXMATRIX yaw, pitch;
    D3DXMatrixRotationYawPitchRoll(&yaw, kQuarter, 0, 0);
    D3DXMatrixRotationYawPitchRoll(&pitch, 0, kQuarter, 0);
    EXPECT_TRUE(Near(Apply(yaw, D3DXVECTOR3(0, 0, 1)), D3DXVECTOR3(1, 0, 0)));
    EXPECT_TRUE(Near(Apply(pitch, D3DXVECTOR3(0, 1, 0)), D3DXVECTOR3(0, 0, 1)));
}

TEST(MatrixType, ElementsOperatorsAndComparisons) {
    D3DXMATRIX m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(m(0, 0), 1.0f);
    EXPECT_EQ(m(1, 2), 7.0f);
    EXPECT_EQ(m(3, 0), m._41);
    m(2, 3) = 40;
    EXPECT_EQ(m._34, 40.0f);
    EXPECT_EQ(static_cast<const float*>(m)[11], 40.0f);

    const float raw[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 1};
    EXPECT_EQ(D3DXMATRIX(raw), Translation(4, 5, 6));
    const D3DXMATRIX identity = Identity();
    EXPECT_TRUE(D3DXMatrixIsIdentity(&identity));
    EXPECT_FALSE(D3DXMatrixIsIdentity(&m));

    D3DXMATRIX sum = Identity() + Identity();
    EXPECT_EQ(sum, Identity() * 2.0f);
    EXPECT_EQ(sum, 2.0f * Identity());
    EXPECT_EQ(sum / 2.0f, Identity());
    EXPECT_EQ(sum - Identity(), Identity());
    EXPECT_EQ(-Identity() + sum, Identity());

    D3DXMATRIX chain = Translation(1, 0, 0);
    chain *= Scaling(3, 3, 3);
    EXPECT_EQ(chain, Translation(1, 0, 0) * Scaling(3, 3, 3));
    EXPECT_NE(chain, Scaling(3, 3, 3) * Translation(1, 0, 0));

    D3DMATRIX plain = chain;  // hands straight to SetTransform
    EXPECT_EQ(D3DXMATRIX(plain), chain);
}

TEST(MatrixA16, IsSixteenByteAlignedAndInteroperates) {
    static_assert(alignof(D3DXMATRIXA16) == 16);
    static_assert(sizeof(D3DXMATRIXA16) == 64);
    D3DXMATRIXA16 rotation = RotationX(0.5f) * RotationY(0.25f);
    EXPECT_EQ(rotation, RotationX(0.5f) * RotationY(0.25f));
    D3DXMATRIXA16 step;
    D3DXMatrixTranslation(&step, 1, 2, 3);
    rotation = rotation * step;
    EXPECT_TRUE(Near(Apply(rotation, D3DXVECTOR3(0, 0, 0)), D3DXVECTOR3(1, 2, 3)));

    D3DXMATRIXA16* many = new D3DXMATRIXA16[3];
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reinterpret_cast<uintptr_t>(&many[i]) % 16, 0u);
    delete[] many;
}

}  // namespace
