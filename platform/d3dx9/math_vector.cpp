// Vector constructors and functions.
#include <algorithm>
#include <cmath>

#include "d3dx9math.h"

D3DXVECTOR2::D3DXVECTOR2(const FLOAT* p) : x(p ? p[0] : 0.0f), y(p ? p[1] : 0.0f) {}

D3DXVECTOR3::D3DXVECTOR3(const FLOAT* p) : D3DVECTOR{p ? p[0] : 0.0f, p ? p[1] : 0.0f, p ? p[2] : 0.0f} {}

D3DXVECTOR4::D3DXVECTOR4(const FLOAT* p)
    : x(p ? p[0] : 0.0f), y(p ? p[1] : 0.0f), z(p ? p[2] : 0.0f), w(p ? p[3] : 0.0f) {}

// --- 2D ---

FLOAT WINAPI D3DXVec2LengthSq(const D3DXVECTOR2* pV) { return pV ? pV->x * pV->x + pV->y * pV->y : 0.0f; }

FLOAT WINAPI D3DXVec2Length(const D3DXVECTOR2* pV) { return std::sqrt(D3DXVec2LengthSq(pV)); }

FLOAT WINAPI D3DXVec2Dot(const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    return pV1 && pV2 ? pV1->x * pV2->x + pV1->y * pV2->y : 0.0f;
}

D3DXVECTOR2* WINAPI D3DXVec2Add(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 + *pV2;
    return pOut;
}

D3DXVECTOR2* WINAPI D3DXVec2Subtract(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 - *pV2;
    return pOut;
}

D3DXVECTOR2* WINAPI D3DXVec2Minimize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = D3DXVECTOR2(std::min(pV1->x, pV2->x), std::min(pV1->y, pV2->y));
    return pOut;
}

D3DXVECTOR2* WINAPI D3DXVec2Maximize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = D3DXVECTOR2(std::max(pV1->x, pV2->x), std::max(pV1->y, pV2->y));
    return pOut;
}

D3DXVECTOR2* WINAPI D3DXVec2Scale(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, FLOAT s) {
    if (!pOut || !pV) return nullptr;
    *pOut = *pV * s;
    return pOut;
}

D3DXVECTOR2* WINAPI D3DXVec2Lerp(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2, FLOAT s) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 + (*pV2 - *pV1) * s;
    return pOut;
}

D3DXVECTOR2* WINAPI D3DXVec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV) {
    if (!pOut || !pV) return nullptr;
    FLOAT length = D3DXVec2Length(pV);
    *pOut = length == 0.0f ? D3DXVECTOR2(0.0f, 0.0f) : *pV / length;
    return pOut;
}

// --- 3D ---

FLOAT WINAPI D3DXVec3LengthSq(const D3DXVECTOR3* pV) {
    return pV ? pV->x * pV->x + pV->y * pV->y + pV->z * pV->z : 0.0f;
}

FLOAT WINAPI D3DXVec3Length(const D3DXVECTOR3* pV) { return std::sqrt(D3DXVec3LengthSq(pV)); }

FLOAT WINAPI D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    return pV1 && pV2 ? pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z : 0.0f;
}

D3DXVECTOR3* WINAPI D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    const D3DXVECTOR3& a = *pV1;
    const D3DXVECTOR3& b = *pV2;
    *pOut = D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 + *pV2;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 - *pV2;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Minimize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = D3DXVECTOR3(std::min(pV1->x, pV2->x), std::min(pV1->y, pV2->y), std::min(pV1->z, pV2->z));
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Maximize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = D3DXVECTOR3(std::max(pV1->x, pV2->x), std::max(pV1->y, pV2->y), std::max(pV1->z, pV2->z));
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s) {
    if (!pOut || !pV) return nullptr;
    *pOut = *pV * s;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2, FLOAT s) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 + (*pV2 - *pV1) * s;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    if (!pOut || !pV) return nullptr;
    FLOAT length = D3DXVec3Length(pV);
    *pOut = length == 0.0f ? D3DXVECTOR3(0.0f, 0.0f, 0.0f) : *pV / length;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    D3DXVECTOR4 point(*pV, 1.0f);
    return D3DXVec4Transform(pOut, &point, pM);
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    D3DXVECTOR4 result;
    D3DXVec3Transform(&result, pV, pM);
    *pOut = D3DXVECTOR3(result.x / result.w, result.y / result.w, result.z / result.w);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    D3DXVECTOR4 direction(*pV, 0.0f);
    D3DXVECTOR4 result;
    D3DXVec4Transform(&result, &direction, pM);
    *pOut = D3DXVECTOR3(result.x, result.y, result.z);
    return pOut;
}

// --- 4D ---

FLOAT WINAPI D3DXVec4LengthSq(const D3DXVECTOR4* pV) { return D3DXVec4Dot(pV, pV); }

FLOAT WINAPI D3DXVec4Length(const D3DXVECTOR4* pV) { return std::sqrt(D3DXVec4LengthSq(pV)); }

FLOAT WINAPI D3DXVec4Dot(const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2) {
    return pV1 && pV2 ? pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z + pV1->w * pV2->w : 0.0f;
}

D3DXVECTOR4* WINAPI D3DXVec4Add(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 + *pV2;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Subtract(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 - *pV2;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Minimize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = D3DXVECTOR4(std::min(pV1->x, pV2->x), std::min(pV1->y, pV2->y), std::min(pV1->z, pV2->z),
                        std::min(pV1->w, pV2->w));
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Maximize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = D3DXVECTOR4(std::max(pV1->x, pV2->x), std::max(pV1->y, pV2->y), std::max(pV1->z, pV2->z),
                        std::max(pV1->w, pV2->w));
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Scale(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, FLOAT s) {
    if (!pOut || !pV) return nullptr;
    *pOut = *pV * s;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Lerp(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2, FLOAT s) {
    if (!pOut || !pV1 || !pV2) return nullptr;
    *pOut = *pV1 + (*pV2 - *pV1) * s;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV) {
    if (!pOut || !pV) return nullptr;
    FLOAT length = D3DXVec4Length(pV);
    *pOut = length == 0.0f ? D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f) : *pV / length;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    const D3DXVECTOR4 v = *pV;  // out may alias the input
    const D3DXMATRIX& m = *pM;
    *pOut = D3DXVECTOR4(v.x * m._11 + v.y * m._21 + v.z * m._31 + v.w * m._41,
                        v.x * m._12 + v.y * m._22 + v.z * m._32 + v.w * m._42,
                        v.x * m._13 + v.y * m._23 + v.z * m._33 + v.w * m._43,
                        v.x * m._14 + v.y * m._24 + v.z * m._34 + v.w * m._44);
    return pOut;
}
