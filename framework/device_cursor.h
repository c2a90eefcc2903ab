// The device cursor: a Windows cursor turned into the Direct3D device's own cursor image, so that a
// full-screen device can show the arrow the window class uses.
#pragma once

#include "windows.h"
#include "d3d9.h"

// S_OK when the device took the new image; E_FAIL for a cursor that cannot be read or a device
// context that cannot be made, E_OUTOFMEMORY when a pixel buffer cannot be had, otherwise the
// device's own failure. Everything obtained on the way is released on every path; the device keeps
// its own copy of the image. With addBadge the letters D3D are drawn in the top-left corner.
HRESULT ApplyCursorToDevice(IDirect3DDevice9* pDevice, HCURSOR hCursor, bool addBadge);

// The pixel rule, from the bottom-up 32-bit rows GetDIBits gives: a pixel whose AND-mask bit is set
// is transparent black (0), any other is its colour made opaque. A colour cursor (pColorBits set) has
// a mask of `height` rows; a monochrome one has the AND mask over the XOR mask, which gives the
// colour, in `maskHeight` rows. Writes `height` rows of `width` A8R8G8B8 pixels, top row first, each
// `pitch` bytes after the last.
void ComposeCursorImage(const DWORD* pMaskBits, const DWORD* pColorBits, UINT width, UINT maskHeight, UINT height,
                        bool addBadge, BYTE* pImage, INT pitch);
