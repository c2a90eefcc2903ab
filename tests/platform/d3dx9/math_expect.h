// Tolerant comparisons of D3DX values for the math tests.
#pragma once

#include <cmath>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "d3dx9.h"

namespace d3dx9_test {

constexpr float kTolerance = 1e-5f;

inline std::string Describe(const float* v, int n) {
    std::ostringstream out;
    out << "(";
    for (int i = 0; i < n; ++i) out << (i ? ", " : "") << v[i];
    out << ")";
    return out.str();
}

inline ::testing::AssertionResult FloatsNear(const float* actual, const float* expected, int n, float tolerance) {
    for (int i = 0; i < n; ++i) {
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance))
            return ::testing::AssertionFailure() << "element " << i << ": got " << Describe(actual, n)
                                                 << ", expected " << Describe(expected, n);
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult Near(const D3DXMATRIX& actual, const D3DXMATRIX& expected,
                                       float tolerance = kTolerance) {
    return FloatsNear(actual, expected, 16, tolerance);
}

inline ::testing::AssertionResult Near(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected,
                                       float tolerance = kTolerance) {
    return FloatsNear(actual, expected, 3, tolerance);
}

inline ::testing::AssertionResult Near(const D3DXVECTOR4& actual, const D3DXVECTOR4& expected,
                                       float tolerance = kTolerance) {
    return FloatsNear(actual, expected, 4, tolerance);
}

inline ::testing::AssertionResult Near(const D3DXQUATERNION& actual, const D3DXQUATERNION& expected,
                                       float tolerance = kTolerance) {
    return FloatsNear(actual, expected, 4, tolerance);
}

// The point p transformed as a row vector and divided by w.
inline D3DXVECTOR3 Apply(const D3DXMATRIX& m, const D3DXVECTOR3& p) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &m);
    return out;
}

}  // namespace d3dx9_test
