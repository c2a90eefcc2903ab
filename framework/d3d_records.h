// Small helpers that fill Direct3D records: a material, a light, a texture from a media file and the
// view matrix of one cube-map face.
#pragma once

#include "d3dx9.h"

// Every member zero, then Diffuse = Ambient = (r, g, b, a).
void FillMaterial(D3DMATERIAL9& material, float r, float g, float b, float a);

// Every member zero; the type; white diffuse with alpha 0; Direction = the normalised (x, y, z) and
// Position = (x, y, z) as given; Range 1000.
void FillLight(D3DLIGHT9& light, D3DLIGHTTYPE type, float x, float y, float z);

// Finds the file with the media search and loads it into a managed texture with a full mip chain,
// triangle-filtered with mirrored edges. A failed search is returned as it came, without loading;
// the texture out is written only when the load succeeds.
HRESULT LoadMediaTexture(IDirect3DDevice9* device, const char* fileName, IDirect3DTexture9** texture,
                         D3DFORMAT format);

// The view from the origin towards cube face 0 to 5 (+X, -X, +Y, -Y, +Z, -Z). A larger face number
// gives the identity.
D3DXMATRIX CubeFaceViewMatrix(unsigned face);
