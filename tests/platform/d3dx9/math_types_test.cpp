// Colours, planes, angle helpers and the library's constants.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "d3dx9.h"

namespace {

static_assert(D3DX_DEFAULT == 0xFFFFFFFFu);
static_assert((D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR) == 0x70004);
static_assert((D3DX_FILTER_MIRROR_U | D3DX_FILTER_MIRROR_V | D3DX_FILTER_MIRROR_W) == D3DX_FILTER_MIRROR);
static_assert(D3DX_FILTER_NONE == 1 && D3DX_FILTER_POINT == 2 && D3DX_FILTER_BOX == 5);
static_assert(D3DX_FILTER_DITHER == 0x80000);
static_assert(static_cast<uint32_t>(D3DXERR_INVALIDDATA) == 0x88760B59u);
static_assert(sizeof(D3DXVECTOR3) == 12 && sizeof(D3DXVECTOR4) == 16 && sizeof(D3DXMATRIX) == 64);
static_assert(sizeof(D3DXQUATERNION) == 16 && sizeof(D3DXPLANE) == 16 && sizeof(D3DXCOLOR) == 16);

TEST(D3DXColor, ConvertsToAndFromD3DColor) {
    const D3DXCOLOR c(0x80FF4000u);
    EXPECT_FLOAT_EQ(c.a, 128 / 255.0f);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 64 / 255.0f);
    EXPECT_FLOAT_EQ(c.b, 0.0f);
    EXPECT_EQ(static_cast<DWORD>(c), 0x80FF4000u);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        D3DXCOLOR in;
        DWORD expected;
    } cases[] = {
        {{1, 0, 0, 1}, 0xFFFF0000u},
        {{1.5f, -0.5f, 0.5f, 2.0f}, 0xFFFF0080u},  // clamped, and 0.5 rounds to 128
        {{nan, 0.25f, 1, 0}, 0x000040FFu},         // NaN counts as 0
    };
    for (const auto& t : cases) EXPECT_EQ(static_cast<DWORD>(t.in), t.expected) << std::hex << t.expected;
}

TEST(D3DXColor, ArithmeticAndColourValueViews) {
    D3DXCOLOR c(0.5f, 0.25f, 1.0f, 1.0f);
    D3DXCOLOR doubled = c * 2.0f;
    EXPECT_EQ(doubled, D3DXCOLOR(1.0f, 0.5f, 2.0f, 2.0f));
    EXPECT_EQ(2.0f * c, doubled);
    EXPECT_EQ(doubled - c, c);
    EXPECT_EQ(doubled / 2.0f, c);
    c += D3DXCOLOR(0.5f, 0, 0, 0);
    EXPECT_EQ(c.r, 1.0f);

    D3DCOLORVALUE value = {0.1f, 0.2f, 0.3f, 0.4f};
    D3DXCOLOR fromValue(value);
    const D3DCOLORVALUE& back = fromValue;
    EXPECT_EQ(back.b, 0.3f);
    const D3DCOLORVALUE* pointer = fromValue;
    EXPECT_EQ(pointer->a, 0.4f);
}

TEST(D3DXPlane, HoldsItsCoefficients) {
    const float raw[] = {0, 1, 0, -2};
    D3DXPLANE p(raw);
    EXPECT_EQ(p, D3DXPLANE(0, 1, 0, -2));
    EXPECT_EQ(-p, D3DXPLANE(0, -1, 0, 2));
    EXPECT_EQ(p * 2.0f, D3DXPLANE(0, 2, 0, -4));
}

TEST(AngleHelpers, ConvertBetweenDegreesAndRadians) {
    EXPECT_NEAR(D3DXToRadian(180.0f), D3DX_PI, 1e-6f);
    EXPECT_NEAR(D3DXToRadian(90.0f), 1.5707964f, 1e-6f);
    EXPECT_NEAR(D3DXToDegree(D3DX_PI / 4), 45.0f, 1e-4f);
    EXPECT_NEAR(D3DX_PI, 3.14159265f, 1e-7f);
}

}  // namespace
