// The software mouse cursor: a 32 x 32 pixel textured square drawn inside the frame with its top-left
// corner, the hot spot, at the mouse point. Failures go to the error log under the file name "cursor".
#pragma once

#include "d3d9.h"
#include "input_state.h"

class CCursor {
public:
    CCursor();
    ~CCursor();

    // Lighting off, the picture "Media\cursor.dds" (opaque black keyed out) and the vertex buffer;
    // answers the first failure, which is logged once. Without the picture no buffer is made.
    HRESULT CreateDeviceResources(IDirect3DDevice9*& device);
    // The texture coordinates of the four corners; S_FALSE when there is no buffer.
    HRESULT SetTexCoords();
    // The four corners at the input's client mouse point; S_FALSE when there is no buffer.
    HRESULT UpdatePosition(const InputState* input);
    // Draws the square solid and alpha-blended; each failing call is logged. Without a buffer only the
    // blend and fill states are set.
    HRESULT Draw(IDirect3DDevice9*& device);
    HRESULT ReleaseDeviceResources();

    IDirect3DTexture9* m_pTexture;
    IDirect3DVertexBuffer9* m_pVertexBuffer;

private:
    // Locks the whole buffer; a failure is logged with the caller's line.
    HRESULT Lock(void** data, int line);
};
