// One square of the motion-blur scene: it drifts at a constant velocity through a box around the
// origin, jumps to the opposite side when it leaves it, and is drawn as a trail of translucent copies
// spread along its direction of motion.
#pragma once

#include "d3d9.h"
#include "d3dx9.h"
#include "vector3.h"

class CBlurQuad {
public:
    CBlurQuad();
    ~CBlurQuad();

    // The square's four vertices (white at alpha 127, flat in a plane of constant y), managed pool.
    HRESULT CreateVertexBuffer(IDirect3DDevice9*& device);
    HRESULT ReleaseVertexBuffer();
    // Adds the velocity; a coordinate whose square exceeds its bound becomes -0.9 times itself.
    HRESULT Move(float boundX, float boundY, float boundZ);
    // copies copies, the first (opaque) velocity / copies * copies * spread ahead of the position, each
    // later one a step further back and fainter; without depth test, alpha-blended.
    HRESULT DrawBlurred(IDirect3DDevice9*& device, ID3DXMatrixStack*& stack, int copies, float spread);
    // One draw of the vertices as last written; without pop the square's matrix stays on the stack.
    HRESULT Draw(IDirect3DDevice9*& device, ID3DXMatrixStack*& stack, bool pop);

    CVector3 m_position;
    CVector3 m_rotation;  // radians: x yaw, y pitch, z roll
    CVector3 m_velocity;  // per Move, that is per frame
    float m_halfSize;
    IDirect3DVertexBuffer9* m_pVertexBuffer;

private:
    void DrawVertices(IDirect3DDevice9* device) const;
};

// Places square `index` of the scene from four draws of the runtime's generator: x and z in
// -25..24; an even square above the ground (y 5..14) moving along x, an odd one below (y -14..-5)
// moving along z, at -0.25..0.245 units per frame. The other velocity components stay as they are.
void PlaceBlurQuadAtRandom(CBlurQuad& quad, int index);
