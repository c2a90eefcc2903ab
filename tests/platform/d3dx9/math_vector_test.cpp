// Vector types and functions.
#include <cmath>

#include <gtest/gtest.h>

#include "d3dx9.h"
#include "math_expect.h"

namespace {

using d3dx9_test::Near;

struct NormalizeCase {
    D3DXVECTOR3 in;
    D3DXVECTOR3 expected;
};

TEST(Vec3Normalize, GivesUnitVectorsAndZeroForZero) {
    const NormalizeCase cases[] = {
        {{3, 0, 4}, {0.6f, 0, 0.8f}},
        {{-1, -1, 2}, {-0.408248f, -0.408248f, 0.816497f}},
        {{0, 0, -5}, {0, 0, -1}},
        {{0, 0, 0}, {0, 0, 0}},
        {{1e-30f, 0, 0}, {0, 0, 0}},  // the length underflows: still zero, never NaN
    };
    for (const auto& c : cases) {
        D3DXVECTOR3 out(9, 9, 9);
        EXPECT_EQ(D3DXVec3Normalize(&out, &c.in), &out);
        EXPECT_TRUE(Near(out, c.expected)) << c.in.x << " " << c.in.y << " " << c.in.z;
    }
    D3DXVECTOR3 inPlace(0, 3, 4);
    D3DXVec3Normalize(&inPlace, &inPlace);
    EXPECT_TRUE(Near(inPlace, D3DXVECTOR3(0, 0.6f, 0.8f)));
}

TEST(VecNormalize, ZeroVectorGivesZeroIn2DAnd4D) {
    D3DXVECTOR2 zero2(0, 0), out2(5, 5);
    D3DXVec2Normalize(&out2, &zero2);
    EXPECT_EQ(out2, D3DXVECTOR2(0, 0));
    D3DXVECTOR4 zero4(0, 0, 0, 0), out4(5, 5, 5, 5);
    D3DXVec4Normalize(&out4, &zero4);
    EXPECT_EQ(out4, D3DXVECTOR4(0, 0, 0, 0));

    D3DXVECTOR2 v2(3, 4);
    D3DXVec2Normalize(&out2, &v2);
    EXPECT_FLOAT_EQ(out2.x, 0.6f);
    EXPECT_FLOAT_EQ(out2.y, 0.8f);
    D3DXVECTOR4 v4(0, 0, 0, -2);
    D3DXVec4Normalize(&out4, &v4);
    EXPECT_EQ(out4, D3DXVECTOR4(0, 0, 0, -1));
}

TEST(Vec3Cross, FollowsTheComponentFormulaAndAllowsAliasing) {
    struct Case {
        D3DXVECTOR3 a, b, expected;
    } cases[] = {
        {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{1, 2, 3}, {4, 5, 6}, {-3, 6, -3}},
        {{2, 0, 0}, {4, 0, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        D3DXVECTOR3 out;
        D3DXVec3Cross(&out, &c.a, &c.b);
        EXPECT_EQ(out, c.expected);
        D3DXVECTOR3 a = c.a;
        D3DXVec3Cross(&a, &a, &c.b);
        EXPECT_EQ(a, c.expected);
    }
}

TEST(Vec3Operators, WorkAsTheCallersWriteThem) {
    D3DXVECTOR3 eye(0, 2, 10), lookAt(0, 2, 0);
    D3DXVECTOR3 direction = lookAt - eye;
    EXPECT_EQ(direction, D3DXVECTOR3(0, 0, -10));
    eye += direction * 0.5f;
    EXPECT_EQ(eye, D3DXVECTOR3(0, 2, 5));
    EXPECT_EQ(2.0f * D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(2, 4, 6));
    EXPECT_EQ(-D3DXVECTOR3(1, -2, 3), D3DXVECTOR3(-1, 2, -3));
    EXPECT_EQ(D3DXVECTOR3(2, 4, 6) / 2.0f, D3DXVECTOR3(1, 2, 3));
    EXPECT_NE(D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(1, 2, 4));

    const float raw[] = {7, 8, 9};
    D3DXVECTOR3 fromArray(raw);
    EXPECT_EQ(fromArray, D3DXVECTOR3(7, 8, 9));
    const float* asFloats = fromArray;
    EXPECT_EQ(asFloats[2], 9.0f);
    D3DVECTOR plain = fromArray;  // usable wherever the platform takes a D3DVECTOR
    EXPECT_EQ(plain.y, 8.0f);

    D3DXVECTOR4 v4(D3DXVECTOR3(1, 2, 3), 4);
    v4 -= D3DXVECTOR4(1, 1, 1, 1);
    EXPECT_EQ(v4, D3DXVECTOR4(0, 1, 2, 3));
}

TEST(Vec3Functions, LengthDotLerpMinMax) {
    const D3DXVECTOR3 a(1, -2, 3), b(3, 4, -1);
    EXPECT_FLOAT_EQ(D3DXVec3LengthSq(&a), 14.0f);
    EXPECT_FLOAT_EQ(D3DXVec3Length(&a), std::sqrt(14.0f));
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), -8.0f);
    D3DXVECTOR3 out;
    EXPECT_EQ(*D3DXVec3Lerp(&out, &a, &b, 0.25f), D3DXVECTOR3(1.5f, -0.5f, 2.0f));
    EXPECT_EQ(*D3DXVec3Minimize(&out, &a, &b), D3DXVECTOR3(1, -2, -1));
    EXPECT_EQ(*D3DXVec3Maximize(&out, &a, &b), D3DXVECTOR3(3, 4, 3));
    EXPECT_EQ(*D3DXVec3Add(&out, &a, &b), D3DXVECTOR3(4, 2, 2));
    EXPECT_EQ(*D3DXVec3Subtract(&out, &a, &b), D3DXVECTOR3(-2, -6, 4));
    EXPECT_EQ(*D3DXVec3Scale(&out, &a, -2), D3DXVECTOR3(-2, 4, -6));

    const D3DXVECTOR2 p(3, 4), q(-1, 2);
    EXPECT_FLOAT_EQ(D3DXVec2Length(&p), 5.0f);
    EXPECT_FLOAT_EQ(D3DXVec2Dot(&p, &q), 5.0f);
    const D3DXVECTOR4 r(1, 2, 3, 4), s(4, 3, 2, 1);
    EXPECT_FLOAT_EQ(D3DXVec4LengthSq(&r), 30.0f);
    EXPECT_FLOAT_EQ(D3DXVec4Dot(&r, &s), 20.0f);
    D3DXVECTOR4 out4;
    EXPECT_EQ(*D3DXVec4Lerp(&out4, &r, &s, 0.5f), D3DXVECTOR4(2.5f, 2.5f, 2.5f, 2.5f));
}

TEST(Vec3Transform, PointsTakeTranslationNormalsDoNotCoordsDivideByW) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 10, 20, 30);
    const D3DXVECTOR3 v(1, 2, 3);

    D3DXVECTOR4 point;
    D3DXVec3Transform(&point, &v, &m);
    EXPECT_EQ(point, D3DXVECTOR4(11, 22, 33, 1));

    D3DXVECTOR3 normal;
    D3DXVec3TransformNormal(&normal, &v, &m);
    EXPECT_EQ(normal, v);

    m._44 = 2.0f;  // w = 2 after the transform
    D3DXVECTOR3 coord;
    D3DXVec3TransformCoord(&coord, &v, &m);
    EXPECT_TRUE(Near(coord, D3DXVECTOR3(5.5f, 11, 16.5f)));

    D3DXVECTOR4 in4(1, 2, 3, 0), out4;
    D3DXVec4Transform(&out4, &in4, &m);
    EXPECT_EQ(out4, D3DXVECTOR4(1, 2, 3, 0));
}

TEST(VecFunctions, NullPointersAnswerNullOrZero) {
    D3DXVECTOR3 v(1, 2, 3), out;
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    EXPECT_EQ(D3DXVec3Normalize(nullptr, &v), nullptr);
    EXPECT_EQ(D3DXVec3Normalize(&out, nullptr), nullptr);
    EXPECT_EQ(D3DXVec3Cross(&out, &v, nullptr), nullptr);
    EXPECT_EQ(D3DXVec3TransformCoord(&out, &v, nullptr), nullptr);
    EXPECT_EQ(D3DXVec3Length(nullptr), 0.0f);
    EXPECT_EQ(D3DXVec3Dot(&v, nullptr), 0.0f);
}

}  // namespace
