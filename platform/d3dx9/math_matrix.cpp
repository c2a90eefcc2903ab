// Matrix members and functions (row vectors, left-handed unless the name says RH).
#include <cmath>
#include <cstring>

#include "d3dx9math.h"

D3DXMATRIX::D3DXMATRIX(const FLOAT* p) {
    if (p)
        memcpy(&_11, p, sizeof(FLOAT) * 16);
    else
        memset(&_11, 0, sizeof(FLOAT) * 16);
}

D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
                       FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44) {
    _11 = f11; _12 = f12; _13 = f13; _14 = f14;
    _21 = f21; _22 = f22; _23 = f23; _24 = f24;
    _31 = f31; _32 = f32; _33 = f33; _34 = f34;
    _41 = f41; _42 = f42; _43 = f43; _44 = f44;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat) {
    D3DXMatrixMultiply(this, this, &mat);
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& mat) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] += mat.m[r][c];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& mat) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] -= mat.m[r][c];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] *= f;
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] /= f;
    return *this;
}

D3DXMATRIX D3DXMATRIX::operator-() const { return *this * -1.0f; }

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& mat) const {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, this, &mat);
    return out;
}

D3DXMATRIX D3DXMATRIX::operator+(const D3DXMATRIX& mat) const { return D3DXMATRIX(*this) += mat; }
D3DXMATRIX D3DXMATRIX::operator-(const D3DXMATRIX& mat) const { return D3DXMATRIX(*this) -= mat; }
D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const { return D3DXMATRIX(*this) *= f; }
D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const { return D3DXMATRIX(*this) /= f; }

BOOL D3DXMATRIX::operator==(const D3DXMATRIX& mat) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m[r][c] != mat.m[r][c]) return FALSE;
    return TRUE;
}

namespace {

D3DXMATRIX IdentityMatrix() {
    return D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

// The 2 x 2 minors of the top two and the bottom two rows, from which the determinant and the
// cofactors of a 4 x 4 matrix follow.
struct Minors {
    FLOAT s[6];  // rows 0 and 1
    FLOAT c[6];  // rows 2 and 3
    FLOAT determinant;
};

Minors ComputeMinors(const D3DXMATRIX& a) {
    Minors n;
    n.s[0] = a.m[0][0] * a.m[1][1] - a.m[1][0] * a.m[0][1];
    n.s[1] = a.m[0][0] * a.m[1][2] - a.m[1][0] * a.m[0][2];
    n.s[2] = a.m[0][0] * a.m[1][3] - a.m[1][0] * a.m[0][3];
    n.s[3] = a.m[0][1] * a.m[1][2] - a.m[1][1] * a.m[0][2];
    n.s[4] = a.m[0][1] * a.m[1][3] - a.m[1][1] * a.m[0][3];
    n.s[5] = a.m[0][2] * a.m[1][3] - a.m[1][2] * a.m[0][3];
    n.c[0] = a.m[2][0] * a.m[3][1] - a.m[3][0] * a.m[2][1];
    n.c[1] = a.m[2][0] * a.m[3][2] - a.m[3][0] * a.m[2][2];
    n.c[2] = a.m[2][0] * a.m[3][3] - a.m[3][0] * a.m[2][3];
    n.c[3] = a.m[2][1] * a.m[3][2] - a.m[3][1] * a.m[2][2];
    n.c[4] = a.m[2][1] * a.m[3][3] - a.m[3][1] * a.m[2][3];
    n.c[5] = a.m[2][2] * a.m[3][3] - a.m[3][2] * a.m[2][3];
    n.determinant = n.s[0] * n.c[5] - n.s[1] * n.c[4] + n.s[2] * n.c[3] + n.s[3] * n.c[2] - n.s[4] * n.c[1] +
                    n.s[5] * n.c[0];
    return n;
}

// The view matrix from the camera's axes (as columns) and the eye.
void FillView(D3DXMATRIX* pOut, const D3DXVECTOR3& x, const D3DXVECTOR3& y, const D3DXVECTOR3& z,
              const D3DXVECTOR3& eye) {
    *pOut = D3DXMATRIX(x.x, y.x, z.x, 0.0f,
                       x.y, y.y, z.y, 0.0f,
                       x.z, y.z, z.z, 0.0f,
                       -D3DXVec3Dot(&x, &eye), -D3DXVec3Dot(&y, &eye), -D3DXVec3Dot(&z, &eye), 1.0f);
}

// z is the camera's forward axis; x = normalize(up x z), y = z x x.
void LookAlong(D3DXMATRIX* pOut, const D3DXVECTOR3& eye, const D3DXVECTOR3& forward, const D3DXVECTOR3& up) {
    D3DXVECTOR3 z, x, y, side;
    D3DXVec3Normalize(&z, &forward);
    D3DXVec3Cross(&side, &up, &z);
    D3DXVec3Normalize(&x, &side);
    D3DXVec3Cross(&y, &z, &x);
    FillView(pOut, x, y, z, eye);
}

}  // namespace

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    if (!pOut) return nullptr;
    *pOut = IdentityMatrix();
    return pOut;
}

BOOL WINAPI D3DXMatrixIsIdentity(const D3DXMATRIX* pM) { return pM && *pM == IdentityMatrix(); }

FLOAT WINAPI D3DXMatrixDeterminant(const D3DXMATRIX* pM) { return pM ? ComputeMinors(*pM).determinant : 0.0f; }

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    D3DXMATRIX t;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) t.m[r][c] = pM->m[c][r];
    *pOut = t;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    if (!pOut || !pM1 || !pM2) return nullptr;
    D3DXMATRIX p;  // out may alias either input
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            p.m[r][c] = pM1->m[r][0] * pM2->m[0][c] + pM1->m[r][1] * pM2->m[1][c] + pM1->m[r][2] * pM2->m[2][c] +
                        pM1->m[r][3] * pM2->m[3][c];
    *pOut = p;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    if (!D3DXMatrixMultiply(pOut, pM1, pM2)) return nullptr;
    return D3DXMatrixTranspose(pOut, pOut);
}

D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    const D3DXMATRIX& a = *pM;
    const Minors n = ComputeMinors(a);
    if (pDeterminant) *pDeterminant = n.determinant;
    if (n.determinant == 0.0f || !std::isfinite(n.determinant)) return nullptr;

    const FLOAT* s = n.s;
    const FLOAT* c = n.c;
    // The adjugate (transposed cofactors) divided by the determinant.
    D3DXMATRIX b(a.m[1][1] * c[5] - a.m[1][2] * c[4] + a.m[1][3] * c[3],
                 -a.m[0][1] * c[5] + a.m[0][2] * c[4] - a.m[0][3] * c[3],
                 a.m[3][1] * s[5] - a.m[3][2] * s[4] + a.m[3][3] * s[3],
                 -a.m[2][1] * s[5] + a.m[2][2] * s[4] - a.m[2][3] * s[3],

                 -a.m[1][0] * c[5] + a.m[1][2] * c[2] - a.m[1][3] * c[1],
                 a.m[0][0] * c[5] - a.m[0][2] * c[2] + a.m[0][3] * c[1],
                 -a.m[3][0] * s[5] + a.m[3][2] * s[2] - a.m[3][3] * s[1],
                 a.m[2][0] * s[5] - a.m[2][2] * s[2] + a.m[2][3] * s[1],

                 a.m[1][0] * c[4] - a.m[1][1] * c[2] + a.m[1][3] * c[0],
                 -a.m[0][0] * c[4] + a.m[0][1] * c[2] - a.m[0][3] * c[0],
                 a.m[3][0] * s[4] - a.m[3][1] * s[2] + a.m[3][3] * s[0],
                 -a.m[2][0] * s[4] + a.m[2][1] * s[2] - a.m[2][3] * s[0],

                 -a.m[1][0] * c[3] + a.m[1][1] * c[1] - a.m[1][2] * c[0],
                 a.m[0][0] * c[3] - a.m[0][1] * c[1] + a.m[0][2] * c[0],
                 -a.m[3][0] * s[3] + a.m[3][1] * s[1] - a.m[3][2] * s[0],
                 a.m[2][0] * s[3] - a.m[2][1] * s[1] + a.m[2][2] * s[0]);
    *pOut = b / n.determinant;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
    if (!pOut) return nullptr;
    *pOut = D3DXMATRIX(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    if (!pOut) return nullptr;
    *pOut = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle) {
    if (!pOut) return nullptr;
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    *pOut = D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle) {
    if (!pOut) return nullptr;
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    *pOut = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle) {
    if (!pOut) return nullptr;
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    *pOut = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT Angle) {
    if (!pOut || !pV) return nullptr;
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const FLOAT c = std::cos(Angle), s = std::sin(Angle), t = 1.0f - c;
    *pOut = D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0.0f,
                       t * n.x * n.y - s * n.z, t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0.0f,
                       t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x, t * n.z * n.z + c, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const FLOAT x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
    *pOut = D3DXMATRIX(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + z * w), 2.0f * (x * z - y * w), 0.0f,
                       2.0f * (x * y - z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z + x * w), 0.0f,
                       2.0f * (x * z + y * w), 2.0f * (y * z - x * w), 1.0f - 2.0f * (x * x + y * y), 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll) {
    if (!pOut) return nullptr;
    const FLOAT cy = std::cos(Yaw), sy = std::sin(Yaw);
    const FLOAT cp = std::cos(Pitch), sp = std::sin(Pitch);
    const FLOAT cr = std::cos(Roll), sr = std::sin(Roll);
    // Rz(roll) * Rx(pitch) * Ry(yaw), multiplied out.
    *pOut = D3DXMATRIX(cr * cy + sr * sp * sy, sr * cp, sr * sp * cy - cr * sy, 0.0f,
                       cr * sp * sy - sr * cy, cr * cp, sr * sy + cr * sp * cy, 0.0f,
                       cp * sy, -sp, cp * cy, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp) {
    if (!pOut || !pEye || !pAt || !pUp) return nullptr;
    LookAlong(pOut, *pEye, *pAt - *pEye, *pUp);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtRH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp) {
    if (!pOut || !pEye || !pAt || !pUp) return nullptr;
    LookAlong(pOut, *pEye, *pEye - *pAt, *pUp);  // the camera looks down its -Z axis
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf) {
    if (!pOut) return nullptr;
    const FLOAT ys = 1.0f / std::tan(fovy / 2.0f), xs = ys / Aspect;
    *pOut = D3DXMATRIX(xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf) {
    if (!pOut) return nullptr;
    const FLOAT ys = 1.0f / std::tan(fovy / 2.0f), xs = ys / Aspect;
    *pOut = D3DXMATRIX(xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zn - zf), -1, 0, 0, zn * zf / (zn - zf), 0);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    if (!pOut) return nullptr;
    *pOut = D3DXMATRIX(2 * zn / w, 0, 0, 0, 0, 2 * zn / h, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0,
                       -zn * zf / (zf - zn), 0);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    if (!pOut) return nullptr;
    *pOut = D3DXMATRIX(2 / w, 0, 0, 0, 0, 2 / h, 0, 0, 0, 0, 1 / (zf - zn), 0, 0, 0, -zn / (zf - zn), 1);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf) {
    if (!pOut) return nullptr;
    *pOut = D3DXMATRIX(2 / (r - l), 0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, 1 / (zf - zn), 0, (l + r) / (l - r),
                       (t + b) / (b - t), -zn / (zf - zn), 1);
    return pOut;
}
