// The first-person camera: an eye point, a look-at point and an up vector, a velocity that decays per
// frame, mouse look through the showcase's quaternion, and the view transform built from them.
#pragma once

#include "d3d9.h"
#include "d3dx9.h"
#include "input_state.h"

class CCamera {
public:
    CCamera();

    // Builds the view matrix from eye, look-at point and up and hands it to the device. A view that
    // cannot be built (view direction zero or parallel to up, or not finite) keeps the last good one.
    void SetView(IDirect3DDevice9*& device);
    void SetEyeLookAtUp(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ, float upX, float upY,
                        float upZ);
    void SetLookAt(float x, float y, float z);
    // Damps each velocity component, then moves by the damped value times the elapsed seconds.
    void Update(float elapsedSeconds, float damping);
    // Moves the eye and the look-at point together.
    void Move(D3DXVECTOR3 direction, float amount);
    void MoveForward(float amount);
    // Along the up vector as stored (not normalised).
    void MoveUp(float amount);
    // Along cross(view direction, up): to the viewer's left for a positive amount.
    void Strafe(float amount);
    // Turns the look-at point about the eye by angle degrees about the axis.
    void RotateView(float angle, float axisX, float axisY, float axisZ);
    // Pitch from the mouse's y movement about the horizontal axis, then yaw from its x movement about
    // the world's vertical; scale degrees per mouse count. The pitch is not limited.
    void MouseLook(const InputState* input, float scale);
    void AddSpeed(float delta);
    void EmptyStub();

    D3DXVECTOR3 m_up;
    D3DXMATRIX m_view;          // the last good view matrix (the identity until the first)
    float m_pitch;              // accumulated pitch in degrees; nothing reads it
    D3DXVECTOR3 m_eye;
    D3DXVECTOR3 m_lookAt;
    D3DXVECTOR3 m_velocity;     // x sideways (left positive), y along up, z forward; units per second
    float m_speed;              // only AddSpeed changes it; nothing reads it
};
