#include "trackball.h"

#include <algorithm>
#include <cmath>

namespace {

// Held once for the whole process, shared by every trackball: where the last left drag began on the
// sphere, and the last mouse position of a pan or zoom.
D3DXVECTOR3& DragStartPoint() {
    static D3DXVECTOR3 point(0.0f, 0.0f, 0.0f);
    return point;
}
int g_lastPanX = 0;
int g_lastPanY = 0;

}  // namespace

CTrackball::CTrackball() { ResetState(); }

void CTrackball::ResetState() {
    D3DXQuaternionIdentity(&m_downOrientation);
    D3DXQuaternionIdentity(&m_currentOrientation);
    D3DXMatrixIdentity(&m_rotation);
    D3DXMatrixIdentity(&m_rotationStep);
    D3DXMatrixIdentity(&m_translation);
    D3DXMatrixIdentity(&m_translationStep);
    m_dragging = FALSE;
    m_invert = FALSE;
    m_panRadius = 1.0f;
}

void CTrackball::SetWindowSize(int width, int height, float sphereRadius) {
    m_windowWidth = width;
    m_windowHeight = height;
    m_sphereRadius = sphereRadius;
}

void CTrackball::SetPanRadius(float radius) { m_panRadius = radius; }

bool CTrackball::HasUsableSize() const {
    return m_windowWidth != 0 && m_windowHeight != 0 && m_sphereRadius != 0.0f;
}

D3DXVECTOR3 CTrackball::ScreenToSphere(int x, int y) const {
    // A minimised or not yet sized window has no sphere to map onto.
    if (!HasUsableSize()) return D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    const int halfWidth = m_windowWidth / 2;
    const int halfHeight = m_windowHeight / 2;
    float sx = static_cast<float>(halfWidth - x) / (m_windowWidth * m_sphereRadius / 2.0f);
    float sy = static_cast<float>(y - halfHeight) / (m_windowHeight * m_sphereRadius / 2.0f);
    if (m_invert) {
        sx = -sx;
        sy = -sy;
    }
    const float m = sx * sx + sy * sy;
    float sz = 0.0f;
    if (m > 1.0f) {
        const float scale = 1.0f / std::sqrt(m);
        sx *= scale;
        sy *= scale;
    } else {
        sz = std::sqrt(1.0f - m);
    }
    return D3DXVECTOR3(sx, sy, sz);
}

LRESULT CTrackball::ApplyMouseMessage(HWND, UINT message, WPARAM flags, LPARAM position) {
    const int x = GET_X_LPARAM(position);
    const int y = GET_Y_LPARAM(position);
    switch (message) {
    case WM_LBUTTONDOWN:
        m_dragging = TRUE;
        DragStartPoint() = ScreenToSphere(x, y);
        m_downOrientation = m_currentOrientation;
        return 1;
    case WM_LBUTTONUP:
        m_dragging = FALSE;
        return 1;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        g_lastPanX = x;
        g_lastPanY = y;
        return 1;
    case WM_MOUSEMOVE:
        break;
    default:
        return 0;
    }

    if (!HasUsableSize()) return 1;
    if (flags & MK_LBUTTON) {
        if (m_dragging) {
            const D3DXVECTOR3 point = ScreenToSphere(x, y);
            D3DXQUATERNION step;
            QuatBetweenVectors(&step, &DragStartPoint(), &point);
            D3DXQuaternionMultiply(&m_currentOrientation, &m_downOrientation, &step);
            D3DXMatrixRotationQuaternion(&m_rotationStep, &step);
        } else {
            D3DXMatrixIdentity(&m_rotationStep);
        }
        D3DXMatrixRotationQuaternion(&m_rotation, &m_currentOrientation);
        m_dragging = TRUE;
    } else if (flags & (MK_RBUTTON | MK_MBUTTON)) {
        const float dx = (g_lastPanX - x) * m_panRadius / m_windowWidth;
        const float dy = (g_lastPanY - y) * m_panRadius / m_windowHeight;
        if (flags & MK_RBUTTON)
            D3DXMatrixTranslation(&m_translationStep, -2.0f * dx, 2.0f * dy, 0.0f);
        else
            D3DXMatrixTranslation(&m_translationStep, 0.0f, 0.0f, 5.0f * dy);
        D3DXMatrixMultiply(&m_translation, &m_translation, &m_translationStep);
        g_lastPanX = x;
        g_lastPanY = y;
    }
    return 1;
}

D3DXQUATERNION* QuatBetweenVectors(D3DXQUATERNION* out, const D3DXVECTOR3* from, const D3DXVECTOR3* to) {
    D3DXVECTOR3 f, t, half;
    D3DXVec3Normalize(&f, from);
    D3DXVec3Normalize(&t, to);
    const D3DXVECTOR3 sum = f + t;
    D3DXVec3Normalize(&half, &sum);
    return QuatBetweenUnitVectors(out, &f, &half);
}

D3DXQUATERNION* QuatBetweenUnitVectors(D3DXQUATERNION* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
    D3DXVECTOR3 axis;
    D3DXVec3Cross(&axis, a, b);
    out->x = axis.x;
    out->y = axis.y;
    out->z = axis.z;
    out->w = D3DXVec3Dot(a, b);
    return out;
}

D3DXQUATERNION CursorTrackballRotation(HWND window, float radius) {
    D3DXQUATERNION identity;
    D3DXQuaternionIdentity(&identity);
    POINT cursor{};
    RECT client{};
    if (!GetCursorPos(&cursor) || !ScreenToClient(window, &cursor) || !GetClientRect(window, &client))
        return identity;
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || radius == 0.0f) return identity;

    const float x = 2.0f * cursor.x / width - 1.0f;
    const float y = 2.0f * cursor.y / height - 1.0f;
    if (x == 0.0f && y == 0.0f) return identity;

    const float r = radius;
    const float d = std::sqrt(x * x + y * y);
    const float z = r * 0.7071067811865476f > d ? std::sqrt(r * r - d * d) : r * r / (2.0f * d);
    const D3DXVECTOR3 p(x, y, z);
    const D3DXVECTOR3 a(0.0f, 0.0f, r);
    D3DXVECTOR3 axis;
    D3DXVec3Cross(&axis, &p, &a);
    const D3DXVECTOR3 gap = a - p;
    const float t = std::clamp(D3DXVec3Length(&gap) / (2.0f * r), -1.0f, 1.0f);
    const float angle = 2.0f * std::asin(t);
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationAxis(&rotation, &axis, angle);
    return rotation;
}
