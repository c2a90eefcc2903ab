#include "camera.h"

#include <cmath>
#include <cstdint>

#include "quaternion.h"

namespace {

// The look-at matrix, or false when its axes would be degenerate: a zero view direction, an up
// vector parallel to it (or zero), or values that are not finite.
bool BuildLookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up, D3DXMATRIX& out) {
    const D3DXVECTOR3 direction = at - eye;
    D3DXVECTOR3 side;
    D3DXVec3Cross(&side, &up, &direction);
    const float directionLength = D3DXVec3Length(&direction);
    const float sideLength = D3DXVec3Length(&side);
    const float upLength = D3DXVec3Length(&up);
    if (!std::isfinite(directionLength) || !std::isfinite(upLength) || !std::isfinite(sideLength)) return false;
    if (!(sideLength > 1e-6f * directionLength * upLength)) return false;
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(view.m[i / 4][i % 4])) return false;
    out = view;
    return true;
}

}  // namespace

CCamera::CCamera()
    : m_up(0.0f, 0.0f, 0.0f), m_pitch(0.0f), m_eye(0.0f, 0.0f, 0.0f), m_lookAt(0.0f, 0.0f, 1.0f),
      m_velocity(0.0f, 0.0f, 0.0f), m_speed(4.0f) {
    D3DXMatrixIdentity(&m_view);
}

void CCamera::SetView(IDirect3DDevice9*& device) {
    BuildLookAt(m_eye, m_lookAt, m_up, m_view);
    if (device) device->SetTransform(D3DTS_VIEW, &m_view);
}

void CCamera::SetEyeLookAtUp(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ, float upX,
                             float upY, float upZ) {
    m_eye = D3DXVECTOR3(eyeX, eyeY, eyeZ);
    m_lookAt = D3DXVECTOR3(atX, atY, atZ);
    m_up = D3DXVECTOR3(upX, upY, upZ);
}

void CCamera::SetLookAt(float x, float y, float z) { m_lookAt = D3DXVECTOR3(x, y, z); }

void CCamera::Update(float elapsedSeconds, float damping) {
    m_velocity.z *= damping;
    MoveForward(m_velocity.z * elapsedSeconds);
    m_velocity.x *= damping;
    Strafe(m_velocity.x * elapsedSeconds);
    m_velocity.y *= damping;
    MoveUp(m_velocity.y * elapsedSeconds);
}

void CCamera::Move(D3DXVECTOR3 direction, float amount) {
    m_eye += direction * amount;
    m_lookAt += direction * amount;
}

void CCamera::MoveForward(float amount) {
    const D3DXVECTOR3 view = m_lookAt - m_eye;
    D3DXVECTOR3 direction;
    D3DXVec3Normalize(&direction, &view);
    Move(direction, amount);
}

void CCamera::MoveUp(float amount) { Move(m_up, amount); }

void CCamera::Strafe(float amount) {
    const D3DXVECTOR3 view = m_lookAt - m_eye;
    D3DXVECTOR3 direction, side;
    D3DXVec3Normalize(&direction, &view);
    D3DXVec3Cross(&side, &direction, &m_up);
    Move(side, amount);
}

void CCamera::RotateView(float angle, float axisX, float axisY, float axisZ) {
    CQuaternion turn;
    turn.SetFromAxisAngle(angle, axisX, axisY, axisZ);
    const D3DXVECTOR3 view = m_lookAt - m_eye;
    const CQuaternion turned = (turn * CQuaternion(view.x, view.y, view.z, 0.0f)) * turn.Conjugate();
    m_lookAt = m_eye + D3DXVECTOR3(turned.x, turned.y, turned.z);
}

void CCamera::MouseLook(const InputState* input, float scale) {
    if (!input) return;
    const float yaw = static_cast<float>(input->mouse.lX) * scale;
    // Negated as a 64-bit integer, so the most negative count cannot overflow.
    const float pitch = static_cast<float>(-static_cast<int64_t>(input->mouse.lY)) * scale;
    m_pitch -= pitch;
    const D3DXVECTOR3 view = m_lookAt - m_eye;
    D3DXVECTOR3 side, axis;
    D3DXVec3Cross(&side, &view, &m_up);
    D3DXVec3Normalize(&axis, &side);
    RotateView(pitch, axis.x, axis.y, axis.z);
    RotateView(yaw, 0.0f, 1.0f, 0.0f);
}

void CCamera::AddSpeed(float delta) { m_speed += delta; }

void CCamera::EmptyStub() {}
