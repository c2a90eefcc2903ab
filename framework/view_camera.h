// A view and a projection for rendering: eye, look-at point and up vector with the derived view
// direction, side vector, view and billboard matrices, and the perspective projection. The owner
// reads the fields directly.
#pragma once

#include "d3dx9.h"

class CViewCamera {
public:
    // At the origin looking along +Z with +Y up; a quarter-turn field of view, square, clip 1 to 1000.
    CViewCamera();

    // The billboard matrix is the view's inverse without its translation; when the view cannot be
    // inverted (eye on the look-at point, or up along the view direction) it is the identity.
    void SetView(const D3DXVECTOR3* eye, const D3DXVECTOR3* lookAt, const D3DXVECTOR3* up);
    void SetProjection(float fieldOfView, float aspect, float nearPlane, float farPlane);

    D3DXVECTOR3 m_eye;
    D3DXVECTOR3 m_lookAt;
    D3DXVECTOR3 m_up;
    D3DXVECTOR3 m_viewDirection;
    D3DXVECTOR3 m_side;
    D3DXMATRIXA16 m_view;
    D3DXMATRIXA16 m_billboard;
    float m_fieldOfView = 0.0f;
    float m_aspect = 0.0f;
    float m_nearPlane = 0.0f;
    float m_farPlane = 0.0f;
    D3DXMATRIXA16 m_projection;
};
