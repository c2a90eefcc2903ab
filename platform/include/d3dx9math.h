// D3DX math: vectors, matrices, quaternions, planes, colours and the matrix stack.
// Conventions: left-handed, row vectors (a point transforms as p * M), translation in _41.._43.
// Every function answers its out pointer, or null when a required pointer is null.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "unknwn.h"
#include "d3d9types.h"

#define D3DX_PI ((FLOAT)3.141592654f)
#define D3DX_1BYPI ((FLOAT)0.318309886f)
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

struct D3DXMATRIX;

// ---------------------------------------------------------------------------------------------------
// Types. The default constructors leave the members unset, as plain structures do.

struct D3DXVECTOR2 {
    D3DXVECTOR2() = default;
    D3DXVECTOR2(const FLOAT* p);
    D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}

    operator FLOAT*() { return &x; }
    operator const FLOAT*() const { return &x; }

    D3DXVECTOR2& operator+=(const D3DXVECTOR2& v) { x += v.x; y += v.y; return *this; }
    D3DXVECTOR2& operator-=(const D3DXVECTOR2& v) { x -= v.x; y -= v.y; return *this; }
    D3DXVECTOR2& operator*=(FLOAT f) { x *= f; y *= f; return *this; }
    D3DXVECTOR2& operator/=(FLOAT f) { x /= f; y /= f; return *this; }

    D3DXVECTOR2 operator+() const { return *this; }
    D3DXVECTOR2 operator-() const { return D3DXVECTOR2(-x, -y); }
    D3DXVECTOR2 operator+(const D3DXVECTOR2& v) const { return D3DXVECTOR2(x + v.x, y + v.y); }
    D3DXVECTOR2 operator-(const D3DXVECTOR2& v) const { return D3DXVECTOR2(x - v.x, y - v.y); }
    D3DXVECTOR2 operator*(FLOAT f) const { return D3DXVECTOR2(x * f, y * f); }
    D3DXVECTOR2 operator/(FLOAT f) const { return D3DXVECTOR2(x / f, y / f); }
    friend D3DXVECTOR2 operator*(FLOAT f, const D3DXVECTOR2& v) { return v * f; }

    BOOL operator==(const D3DXVECTOR2& v) const { return x == v.x && y == v.y; }
    BOOL operator!=(const D3DXVECTOR2& v) const { return !(*this == v); }

    FLOAT x, y;
};
typedef D3DXVECTOR2* LPD3DXVECTOR2;

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(const FLOAT* p);
    D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) : D3DVECTOR{fx, fy, fz} {}

    operator FLOAT*() { return &x; }
    operator const FLOAT*() const { return &x; }

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) { x += v.x; y += v.y; z += v.z; return *this; }
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    D3DXVECTOR3& operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
    D3DXVECTOR3& operator/=(FLOAT f) { x /= f; y /= f; z /= f; return *this; }

    D3DXVECTOR3 operator+() const { return *this; }
    D3DXVECTOR3 operator-() const { return D3DXVECTOR3(-x, -y, -z); }
    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x + v.x, y + v.y, z + v.z); }
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x - v.x, y - v.y, z - v.z); }
    D3DXVECTOR3 operator*(FLOAT f) const { return D3DXVECTOR3(x * f, y * f, z * f); }
    D3DXVECTOR3 operator/(FLOAT f) const { return D3DXVECTOR3(x / f, y / f, z / f); }
    friend D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v) { return v * f; }

    BOOL operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
    BOOL operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};
typedef D3DXVECTOR3* LPD3DXVECTOR3;

struct D3DXVECTOR4 {
    D3DXVECTOR4() = default;
    D3DXVECTOR4(const FLOAT* p);
    D3DXVECTOR4(const D3DVECTOR& v, FLOAT fw) : x(v.x), y(v.y), z(v.z), w(fw) {}
    D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}

    operator FLOAT*() { return &x; }
    operator const FLOAT*() const { return &x; }

    D3DXVECTOR4& operator+=(const D3DXVECTOR4& v) { x += v.x; y += v.y; z += v.z; w += v.w; return *this; }
    D3DXVECTOR4& operator-=(const D3DXVECTOR4& v) { x -= v.x; y -= v.y; z -= v.z; w -= v.w; return *this; }
    D3DXVECTOR4& operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
    D3DXVECTOR4& operator/=(FLOAT f) { x /= f; y /= f; z /= f; w /= f; return *this; }

    D3DXVECTOR4 operator+() const { return *this; }
    D3DXVECTOR4 operator-() const { return D3DXVECTOR4(-x, -y, -z, -w); }
    D3DXVECTOR4 operator+(const D3DXVECTOR4& v) const { return D3DXVECTOR4(x + v.x, y + v.y, z + v.z, w + v.w); }
    D3DXVECTOR4 operator-(const D3DXVECTOR4& v) const { return D3DXVECTOR4(x - v.x, y - v.y, z - v.z, w - v.w); }
    D3DXVECTOR4 operator*(FLOAT f) const { return D3DXVECTOR4(x * f, y * f, z * f, w * f); }
    D3DXVECTOR4 operator/(FLOAT f) const { return D3DXVECTOR4(x / f, y / f, z / f, w / f); }
    friend D3DXVECTOR4 operator*(FLOAT f, const D3DXVECTOR4& v) { return v * f; }

    BOOL operator==(const D3DXVECTOR4& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
    BOOL operator!=(const D3DXVECTOR4& v) const { return !(*this == v); }

    FLOAT x, y, z, w;
};
typedef D3DXVECTOR4* LPD3DXVECTOR4;

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() = default;
    D3DXMATRIX(const FLOAT* p);
    D3DXMATRIX(const D3DMATRIX& mat) : D3DMATRIX(mat) {}
    D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
               FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
               FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
               FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44);

    // Element access by (row, column), both 0 to 3.
    FLOAT& operator()(UINT row, UINT col) { return m[row][col]; }
    FLOAT operator()(UINT row, UINT col) const { return m[row][col]; }

    operator FLOAT*() { return &_11; }
    operator const FLOAT*() const { return &_11; }

    D3DXMATRIX& operator*=(const D3DXMATRIX& mat);
    D3DXMATRIX& operator+=(const D3DXMATRIX& mat);
    D3DXMATRIX& operator-=(const D3DXMATRIX& mat);
    D3DXMATRIX& operator*=(FLOAT f);
    D3DXMATRIX& operator/=(FLOAT f);

    D3DXMATRIX operator+() const { return *this; }
    D3DXMATRIX operator-() const;
    D3DXMATRIX operator*(const D3DXMATRIX& mat) const;
    D3DXMATRIX operator+(const D3DXMATRIX& mat) const;
    D3DXMATRIX operator-(const D3DXMATRIX& mat) const;
    D3DXMATRIX operator*(FLOAT f) const;
    D3DXMATRIX operator/(FLOAT f) const;
    friend D3DXMATRIX operator*(FLOAT f, const D3DXMATRIX& mat) { return mat * f; }

    BOOL operator==(const D3DXMATRIX& mat) const;
    BOOL operator!=(const D3DXMATRIX& mat) const { return !(*this == mat); }
};
typedef D3DXMATRIX* LPD3DXMATRIX;

// The same matrix on a 16-byte boundary (also when allocated with new).
struct alignas(16) D3DXMATRIXA16 : public D3DXMATRIX {
    using D3DXMATRIX::D3DXMATRIX;
    D3DXMATRIXA16() = default;
    D3DXMATRIXA16& operator=(const D3DXMATRIX& mat) { D3DXMATRIX::operator=(mat); return *this; }
};
typedef D3DXMATRIXA16* LPD3DXMATRIXA16;

// (x, y, z) is the vector part, w the scalar part; the identity is (0, 0, 0, 1).
struct D3DXQUATERNION {
    D3DXQUATERNION() = default;
    D3DXQUATERNION(const FLOAT* p);
    D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}

    operator FLOAT*() { return &x; }
    operator const FLOAT*() const { return &x; }

    D3DXQUATERNION& operator+=(const D3DXQUATERNION& q) { x += q.x; y += q.y; z += q.z; w += q.w; return *this; }
    D3DXQUATERNION& operator-=(const D3DXQUATERNION& q) { x -= q.x; y -= q.y; z -= q.z; w -= q.w; return *this; }
    // this followed by q, as D3DXQuaternionMultiply(this, this, q)
    D3DXQUATERNION& operator*=(const D3DXQUATERNION& q);
    D3DXQUATERNION& operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
    D3DXQUATERNION& operator/=(FLOAT f) { x /= f; y /= f; z /= f; w /= f; return *this; }

    D3DXQUATERNION operator+() const { return *this; }
    D3DXQUATERNION operator-() const { return D3DXQUATERNION(-x, -y, -z, -w); }
    D3DXQUATERNION operator+(const D3DXQUATERNION& q) const { return D3DXQUATERNION(x + q.x, y + q.y, z + q.z, w + q.w); }
    D3DXQUATERNION operator-(const D3DXQUATERNION& q) const { return D3DXQUATERNION(x - q.x, y - q.y, z - q.z, w - q.w); }
    D3DXQUATERNION operator*(const D3DXQUATERNION& q) const;
    D3DXQUATERNION operator*(FLOAT f) const { return D3DXQUATERNION(x * f, y * f, z * f, w * f); }
    D3DXQUATERNION operator/(FLOAT f) const { return D3DXQUATERNION(x / f, y / f, z / f, w / f); }
    friend D3DXQUATERNION operator*(FLOAT f, const D3DXQUATERNION& q) { return q * f; }

    BOOL operator==(const D3DXQUATERNION& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
    BOOL operator!=(const D3DXQUATERNION& q) const { return !(*this == q); }

    FLOAT x, y, z, w;
};
typedef D3DXQUATERNION* LPD3DXQUATERNION;

// The plane a x + b y + c z + d = 0.
struct D3DXPLANE {
    D3DXPLANE() = default;
    D3DXPLANE(const FLOAT* p);
    D3DXPLANE(FLOAT fa, FLOAT fb, FLOAT fc, FLOAT fd) : a(fa), b(fb), c(fc), d(fd) {}

    operator FLOAT*() { return &a; }
    operator const FLOAT*() const { return &a; }

    D3DXPLANE& operator*=(FLOAT f) { a *= f; b *= f; c *= f; d *= f; return *this; }
    D3DXPLANE& operator/=(FLOAT f) { a /= f; b /= f; c /= f; d /= f; return *this; }

    D3DXPLANE operator+() const { return *this; }
    D3DXPLANE operator-() const { return D3DXPLANE(-a, -b, -c, -d); }
    D3DXPLANE operator*(FLOAT f) const { return D3DXPLANE(a * f, b * f, c * f, d * f); }
    D3DXPLANE operator/(FLOAT f) const { return D3DXPLANE(a / f, b / f, c / f, d / f); }
    friend D3DXPLANE operator*(FLOAT f, const D3DXPLANE& p) { return p * f; }

    BOOL operator==(const D3DXPLANE& p) const { return a == p.a && b == p.b && c == p.c && d == p.d; }
    BOOL operator!=(const D3DXPLANE& p) const { return !(*this == p); }

    FLOAT a, b, c, d;
};
typedef D3DXPLANE* LPD3DXPLANE;

// A colour of four floats, 0 to 1 for the displayable range; converts to and from a D3DCOLOR.
struct D3DXCOLOR {
    D3DXCOLOR() = default;
    D3DXCOLOR(DWORD argb);
    D3DXCOLOR(const FLOAT* p);
    D3DXCOLOR(const D3DCOLORVALUE& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
    D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa) : r(fr), g(fg), b(fb), a(fa) {}

    // Each channel clamped to [0, 1] and rounded to 8 bits.
    operator DWORD() const;
    operator FLOAT*() { return &r; }
    operator const FLOAT*() const { return &r; }
    operator D3DCOLORVALUE*() { return reinterpret_cast<D3DCOLORVALUE*>(&r); }
    operator const D3DCOLORVALUE*() const { return reinterpret_cast<const D3DCOLORVALUE*>(&r); }
    operator D3DCOLORVALUE&() { return *reinterpret_cast<D3DCOLORVALUE*>(&r); }
    operator const D3DCOLORVALUE&() const { return *reinterpret_cast<const D3DCOLORVALUE*>(&r); }

    D3DXCOLOR& operator+=(const D3DXCOLOR& c) { r += c.r; g += c.g; b += c.b; a += c.a; return *this; }
    D3DXCOLOR& operator-=(const D3DXCOLOR& c) { r -= c.r; g -= c.g; b -= c.b; a -= c.a; return *this; }
    D3DXCOLOR& operator*=(FLOAT f) { r *= f; g *= f; b *= f; a *= f; return *this; }
    D3DXCOLOR& operator/=(FLOAT f) { r /= f; g /= f; b /= f; a /= f; return *this; }

    D3DXCOLOR operator+() const { return *this; }
    D3DXCOLOR operator-() const { return D3DXCOLOR(-r, -g, -b, -a); }
    D3DXCOLOR operator+(const D3DXCOLOR& c) const { return D3DXCOLOR(r + c.r, g + c.g, b + c.b, a + c.a); }
    D3DXCOLOR operator-(const D3DXCOLOR& c) const { return D3DXCOLOR(r - c.r, g - c.g, b - c.b, a - c.a); }
    D3DXCOLOR operator*(FLOAT f) const { return D3DXCOLOR(r * f, g * f, b * f, a * f); }
    D3DXCOLOR operator/(FLOAT f) const { return D3DXCOLOR(r / f, g / f, b / f, a / f); }
    friend D3DXCOLOR operator*(FLOAT f, const D3DXCOLOR& c) { return c * f; }

    BOOL operator==(const D3DXCOLOR& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
    BOOL operator!=(const D3DXCOLOR& c) const { return !(*this == c); }

    FLOAT r, g, b, a;
};
typedef D3DXCOLOR* LPD3DXCOLOR;

// ---------------------------------------------------------------------------------------------------
// Vectors. Normalize answers the zero vector for a zero-length input.

FLOAT WINAPI D3DXVec2Length(const D3DXVECTOR2* pV);
FLOAT WINAPI D3DXVec2LengthSq(const D3DXVECTOR2* pV);
FLOAT WINAPI D3DXVec2Dot(const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
D3DXVECTOR2* WINAPI D3DXVec2Add(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
D3DXVECTOR2* WINAPI D3DXVec2Subtract(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
D3DXVECTOR2* WINAPI D3DXVec2Minimize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
D3DXVECTOR2* WINAPI D3DXVec2Maximize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
D3DXVECTOR2* WINAPI D3DXVec2Scale(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, FLOAT s);
D3DXVECTOR2* WINAPI D3DXVec2Lerp(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2, FLOAT s);
D3DXVECTOR2* WINAPI D3DXVec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV);

FLOAT WINAPI D3DXVec3Length(const D3DXVECTOR3* pV);
FLOAT WINAPI D3DXVec3LengthSq(const D3DXVECTOR3* pV);
FLOAT WINAPI D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Minimize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Maximize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
D3DXVECTOR3* WINAPI D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s);
D3DXVECTOR3* WINAPI D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2, FLOAT s);
D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
// (x, y, z, 1) * M
D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
// (x, y, z, 1) * M, divided by the resulting w
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
// (x, y, z, 0) * M: a direction, unaffected by translation
D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);

FLOAT WINAPI D3DXVec4Length(const D3DXVECTOR4* pV);
FLOAT WINAPI D3DXVec4LengthSq(const D3DXVECTOR4* pV);
FLOAT WINAPI D3DXVec4Dot(const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2);
D3DXVECTOR4* WINAPI D3DXVec4Add(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2);
D3DXVECTOR4* WINAPI D3DXVec4Subtract(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2);
D3DXVECTOR4* WINAPI D3DXVec4Minimize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2);
D3DXVECTOR4* WINAPI D3DXVec4Maximize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2);
D3DXVECTOR4* WINAPI D3DXVec4Scale(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, FLOAT s);
D3DXVECTOR4* WINAPI D3DXVec4Lerp(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2, FLOAT s);
D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV);
D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM);

// ---------------------------------------------------------------------------------------------------
// Matrices. Out may be the same matrix as an input. Angles are in radians; a quarter turn takes
// +Y to +Z about X, +Z to +X about Y and +X to +Y about Z.

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut);
BOOL WINAPI D3DXMatrixIsIdentity(const D3DXMATRIX* pM);
FLOAT WINAPI D3DXMatrixDeterminant(const D3DXMATRIX* pM);
D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM);
// M1 * M2: apply M1, then M2.
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
// transpose(M1 * M2)
D3DXMATRIX* WINAPI D3DXMatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
// Null for a singular (or non-finite) matrix, leaving out untouched; the determinant is written when asked.
D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM);
D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle);
// The axis need not have unit length.
D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ);
// Roll about Z, then pitch about X, then yaw about Y: Rz(roll) * Rx(pitch) * Ry(yaw).
D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll);
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixLookAtRH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf);

// ---------------------------------------------------------------------------------------------------
// Quaternions. A rotation of angle a about the unit axis n is (n sin(a/2), cos(a/2)).

D3DXQUATERNION* WINAPI D3DXQuaternionIdentity(D3DXQUATERNION* pOut);
BOOL WINAPI D3DXQuaternionIsIdentity(const D3DXQUATERNION* pQ);
FLOAT WINAPI D3DXQuaternionLength(const D3DXQUATERNION* pQ);
FLOAT WINAPI D3DXQuaternionLengthSq(const D3DXQUATERNION* pQ);
FLOAT WINAPI D3DXQuaternionDot(const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2);
D3DXQUATERNION* WINAPI D3DXQuaternionConjugate(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
// Zero for the zero quaternion.
D3DXQUATERNION* WINAPI D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
// conjugate / squared length; zero for the zero quaternion.
D3DXQUATERNION* WINAPI D3DXQuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
// The rotation Q1 followed by Q2 (the Hamilton product Q2 Q1).
D3DXQUATERNION* WINAPI D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                              const D3DXQUATERNION* pQ2);
// The axis need not have unit length.
D3DXQUATERNION* WINAPI D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, FLOAT Angle);
// The rotation held in the upper 3 x 3 of M.
D3DXQUATERNION* WINAPI D3DXQuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM);
D3DXQUATERNION* WINAPI D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll);
// Spherical interpolation along the shorter arc, t 0 giving Q1 and t 1 giving Q2 (or its negation).
D3DXQUATERNION* WINAPI D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                           const D3DXQUATERNION* pQ2, FLOAT t);
// Axis = the vector part (not normalised), angle = 2 acos(w); either out may be null.
void WINAPI D3DXQuaternionToAxisAngle(const D3DXQUATERNION* pQ, D3DXVECTOR3* pAxis, FLOAT* pAngle);

// ---------------------------------------------------------------------------------------------------
// Inline operators that need the functions above.

inline D3DXQUATERNION& D3DXQUATERNION::operator*=(const D3DXQUATERNION& q) {
    D3DXQuaternionMultiply(this, this, &q);
    return *this;
}

inline D3DXQUATERNION D3DXQUATERNION::operator*(const D3DXQUATERNION& q) const {
    D3DXQUATERNION out;
    D3DXQuaternionMultiply(&out, this, &q);
    return out;
}

// ---------------------------------------------------------------------------------------------------
// The matrix stack: a stack of matrices, starting with one identity. The plain forms multiply the
// transform on the right of the top (top = top * M), the Local forms on the left (top = M * top).

DEFINE_GUID(IID_ID3DXMatrixStack, 0xc7885ba7, 0xf990, 0x4fe7, 0x92, 0x2d, 0x85, 0x15, 0xe4, 0x77, 0xdd, 0x85);

struct ID3DXMatrixStack : public IUnknown {
    // Drops the top; the last entry is never removed (D3DERR_INVALIDCALL).
    virtual HRESULT Pop() = 0;
    // Pushes a copy of the top.
    virtual HRESULT Push() = 0;
    virtual HRESULT LoadIdentity() = 0;
    virtual HRESULT LoadMatrix(const D3DXMATRIX* pM) = 0;
    virtual HRESULT MultMatrix(const D3DXMATRIX* pM) = 0;
    virtual HRESULT MultMatrixLocal(const D3DXMATRIX* pM) = 0;
    virtual HRESULT RotateAxis(const D3DXVECTOR3* pV, FLOAT Angle) = 0;
    virtual HRESULT RotateAxisLocal(const D3DXVECTOR3* pV, FLOAT Angle) = 0;
    virtual HRESULT RotateYawPitchRoll(FLOAT Yaw, FLOAT Pitch, FLOAT Roll) = 0;
    virtual HRESULT RotateYawPitchRollLocal(FLOAT Yaw, FLOAT Pitch, FLOAT Roll) = 0;
    virtual HRESULT Scale(FLOAT x, FLOAT y, FLOAT z) = 0;
    virtual HRESULT ScaleLocal(FLOAT x, FLOAT y, FLOAT z) = 0;
    virtual HRESULT Translate(FLOAT x, FLOAT y, FLOAT z) = 0;
    virtual HRESULT TranslateLocal(FLOAT x, FLOAT y, FLOAT z) = 0;
    // The top matrix; valid until the next Pop.
    virtual D3DXMATRIX* GetTop() = 0;
};
typedef ID3DXMatrixStack* LPD3DXMATRIXSTACK;

// Flags are unused (0). The out pointer is written only on success.
HRESULT WINAPI D3DXCreateMatrixStack(DWORD Flags, LPD3DXMATRIXSTACK* ppStack);
