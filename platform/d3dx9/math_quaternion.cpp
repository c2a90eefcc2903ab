// Quaternion functions. A unit quaternion (n sin(a/2), cos(a/2)) is the rotation of angle a about n.
#include <algorithm>
#include <cmath>

#include "d3dx9math.h"

D3DXQUATERNION::D3DXQUATERNION(const FLOAT* p)
    : x(p ? p[0] : 0.0f), y(p ? p[1] : 0.0f), z(p ? p[2] : 0.0f), w(p ? p[3] : 0.0f) {}

D3DXQUATERNION* WINAPI D3DXQuaternionIdentity(D3DXQUATERNION* pOut) {
    if (!pOut) return nullptr;
    *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

BOOL WINAPI D3DXQuaternionIsIdentity(const D3DXQUATERNION* pQ) {
    return pQ && *pQ == D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
}

FLOAT WINAPI D3DXQuaternionDot(const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2) {
    return pQ1 && pQ2 ? pQ1->x * pQ2->x + pQ1->y * pQ2->y + pQ1->z * pQ2->z + pQ1->w * pQ2->w : 0.0f;
}

FLOAT WINAPI D3DXQuaternionLengthSq(const D3DXQUATERNION* pQ) { return D3DXQuaternionDot(pQ, pQ); }

FLOAT WINAPI D3DXQuaternionLength(const D3DXQUATERNION* pQ) { return std::sqrt(D3DXQuaternionLengthSq(pQ)); }

D3DXQUATERNION* WINAPI D3DXQuaternionConjugate(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    *pOut = D3DXQUATERNION(-pQ->x, -pQ->y, -pQ->z, pQ->w);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    FLOAT length = D3DXQuaternionLength(pQ);
    *pOut = length == 0.0f ? D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f) : *pQ / length;
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    FLOAT lengthSq = D3DXQuaternionLengthSq(pQ);
    if (lengthSq == 0.0f) {
        *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
        return pOut;
    }
    D3DXQuaternionConjugate(pOut, pQ);
    *pOut /= lengthSq;
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                              const D3DXQUATERNION* pQ2) {
    if (!pOut || !pQ1 || !pQ2) return nullptr;
    // Q1 then Q2 is the Hamilton product b a with a = Q1, b = Q2.
    const D3DXQUATERNION a = *pQ1, b = *pQ2;  // out may alias either input
    *pOut = D3DXQUATERNION(b.w * a.x + a.w * b.x + b.y * a.z - b.z * a.y,
                           b.w * a.y + a.w * b.y + b.z * a.x - b.x * a.z,
                           b.w * a.z + a.w * b.z + b.x * a.y - b.y * a.x,
                           b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, FLOAT Angle) {
    if (!pOut || !pV) return nullptr;
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const FLOAT s = std::sin(Angle / 2.0f);
    *pOut = D3DXQUATERNION(n.x * s, n.y * s, n.z * s, std::cos(Angle / 2.0f));
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    // With row vectors the matrix is the transpose of the column-vector rotation; work from the
    // largest of w, x, y, z to keep the square root away from zero.
    const D3DXMATRIX& m = *pM;
    const FLOAT trace = m._11 + m._22 + m._33;
    D3DXQUATERNION q;
    if (trace > 0.0f) {
        const FLOAT r = std::sqrt(trace + 1.0f);  // 2 w
        const FLOAT f = 0.5f / r;                 // 1 / (4 w)
        q = D3DXQUATERNION((m._23 - m._32) * f, (m._31 - m._13) * f, (m._12 - m._21) * f, 0.5f * r);
    } else if (m._11 >= m._22 && m._11 >= m._33) {
        const FLOAT r = std::sqrt(1.0f + m._11 - m._22 - m._33);  // 2 x
        const FLOAT f = 0.5f / r;
        q = D3DXQUATERNION(0.5f * r, (m._12 + m._21) * f, (m._13 + m._31) * f, (m._23 - m._32) * f);
    } else if (m._22 >= m._33) {
        const FLOAT r = std::sqrt(1.0f + m._22 - m._11 - m._33);  // 2 y
        const FLOAT f = 0.5f / r;
        q = D3DXQUATERNION((m._12 + m._21) * f, 0.5f * r, (m._23 + m._32) * f, (m._31 - m._13) * f);
    } else {
        const FLOAT r = std::sqrt(1.0f + m._33 - m._11 - m._22);  // 2 z
        const FLOAT f = 0.5f / r;
        q = D3DXQUATERNION((m._13 + m._31) * f, (m._23 + m._32) * f, 0.5f * r, (m._12 - m._21) * f);
    }
    *pOut = q;
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT Yaw, FLOAT Pitch,
                                                          FLOAT Roll) {
    if (!pOut) return nullptr;
    // Roll about Z, then pitch about X, then yaw about Y, as the matrix form.
    const D3DXQUATERNION roll(0.0f, 0.0f, std::sin(Roll / 2.0f), std::cos(Roll / 2.0f));
    const D3DXQUATERNION pitch(std::sin(Pitch / 2.0f), 0.0f, 0.0f, std::cos(Pitch / 2.0f));
    const D3DXQUATERNION yaw(0.0f, std::sin(Yaw / 2.0f), 0.0f, std::cos(Yaw / 2.0f));
    D3DXQUATERNION q;
    D3DXQuaternionMultiply(&q, &roll, &pitch);
    D3DXQuaternionMultiply(pOut, &q, &yaw);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                           const D3DXQUATERNION* pQ2, FLOAT t) {
    if (!pOut || !pQ1 || !pQ2) return nullptr;
    const D3DXQUATERNION a = *pQ1;
    D3DXQUATERNION b = *pQ2;
    FLOAT cosine = D3DXQuaternionDot(&a, &b);
    if (cosine < 0.0f) {  // q and -q are the same rotation: take the shorter arc
        cosine = -cosine;
        b = -b;
    }
    FLOAT wa = 1.0f - t, wb = t;
    if (cosine < 0.9999f) {  // otherwise the arc is so short that the straight line serves
        const FLOAT angle = std::acos(cosine);
        const FLOAT sine = std::sin(angle);
        wa = std::sin((1.0f - t) * angle) / sine;
        wb = std::sin(t * angle) / sine;
    }
    *pOut = a * wa + b * wb;
    return pOut;
}

void WINAPI D3DXQuaternionToAxisAngle(const D3DXQUATERNION* pQ, D3DXVECTOR3* pAxis, FLOAT* pAngle) {
    if (!pQ) return;
    if (pAxis) *pAxis = D3DXVECTOR3(pQ->x, pQ->y, pQ->z);
    if (pAngle) *pAngle = 2.0f * std::acos(std::clamp(pQ->w, -1.0f, 1.0f));
}
