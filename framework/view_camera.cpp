#include "view_camera.h"

CViewCamera::CViewCamera() {
    const D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 lookAt(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    SetView(&eye, &lookAt, &up);
    SetProjection(0.7853982f, 1.0f, 1.0f, 1000.0f);
}

void CViewCamera::SetView(const D3DXVECTOR3* eye, const D3DXVECTOR3* lookAt, const D3DXVECTOR3* up) {
    m_eye = *eye;
    m_lookAt = *lookAt;
    m_up = *up;
    const D3DXVECTOR3 towards = m_lookAt - m_eye;
    D3DXVec3Normalize(&m_viewDirection, &towards);
    D3DXVec3Cross(&m_side, &m_viewDirection, &m_up);
    D3DXMatrixLookAtLH(&m_view, &m_eye, &m_lookAt, &m_up);
    // A singular view has no rotation to undo; the identity keeps billboards untouched.
    if (!D3DXMatrixInverse(&m_billboard, nullptr, &m_view)) D3DXMatrixIdentity(&m_billboard);
    m_billboard._41 = 0.0f;
    m_billboard._42 = 0.0f;
    m_billboard._43 = 0.0f;
}

void CViewCamera::SetProjection(float fieldOfView, float aspect, float nearPlane, float farPlane) {
    m_fieldOfView = fieldOfView;
    m_aspect = aspect;
    m_nearPlane = nearPlane;
    m_farPlane = farPlane;
    D3DXMatrixPerspectiveFovLH(&m_projection, fieldOfView, aspect, nearPlane, farPlane);
}
