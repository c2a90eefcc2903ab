// A mouse trackball: left drag turns on a virtual sphere, right drag pans, middle drag zooms. The
// owner sets the window size, passes its mouse messages in and reads the matrices directly.
#pragma once

#include "d3dx9.h"
#include "windows.h"

class CTrackball {
public:
    CTrackball();

    // Identity orientations and matrices, no drag, no mirroring, pan radius 1.
    void ResetState();
    void SetWindowSize(int width, int height, float sphereRadius);
    void SetPanRadius(float radius);

    // The sphere point under client position (x, y): x grows to the left, y downward; points outside
    // the outline are pulled onto it. Without a usable window size (a zero width, height or radius)
    // the answer is the sphere's front point (0, 0, 1).
    D3DXVECTOR3 ScreenToSphere(int x, int y) const;

    // 1 when the message was one of the mouse messages the trackball follows, 0 otherwise. Moves
    // change nothing while the window size is not usable.
    LRESULT ApplyMouseMessage(HWND window, UINT message, WPARAM flags, LPARAM position);

    int m_windowWidth = 0;
    int m_windowHeight = 0;
    float m_sphereRadius = 1.0f;
    float m_panRadius = 1.0f;
    D3DXQUATERNION m_downOrientation;
    D3DXQUATERNION m_currentOrientation;
    D3DXMATRIXA16 m_rotation;
    D3DXMATRIXA16 m_rotationStep;
    D3DXMATRIXA16 m_translation;
    D3DXMATRIXA16 m_translationStep;
    BOOL m_dragging = FALSE;
    BOOL m_invert = FALSE;

private:
    bool HasUsableSize() const;
};

// The unit quaternion that turns direction `from` onto direction `to` (through their half-way vector).
D3DXQUATERNION* QuatBetweenVectors(D3DXQUATERNION* out, const D3DXVECTOR3* from, const D3DXVECTOR3* to);
// (x, y, z) = a x b, w = a . b.
D3DXQUATERNION* QuatBetweenUnitVectors(D3DXQUATERNION* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);

// The rotation that carries the client area's centre to the cursor on a sphere of radius `radius`
// (a hyperbolic sheet beyond r / sqrt 2). The identity at the centre, for an empty client area, a
// zero radius or when the cursor cannot be read.
D3DXQUATERNION CursorTrackballRotation(HWND window, float radius);
