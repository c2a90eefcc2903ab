#include "d3d_records.h"

#include <cstring>

#include "media_files.h"
#include "windef.h"

void FillMaterial(D3DMATERIAL9& material, float r, float g, float b, float a) {
    std::memset(&material, 0, sizeof(material));
    material.Diffuse.r = material.Ambient.r = r;
    material.Diffuse.g = material.Ambient.g = g;
    material.Diffuse.b = material.Ambient.b = b;
    material.Diffuse.a = material.Ambient.a = a;
}

void FillLight(D3DLIGHT9& light, D3DLIGHTTYPE type, float x, float y, float z) {
    std::memset(&light, 0, sizeof(light));
    light.Type = type;
    light.Diffuse.r = light.Diffuse.g = light.Diffuse.b = 1.0f;
    // One triple serves as both the direction and the position.
    const D3DXVECTOR3 triple(x, y, z);
    D3DXVECTOR3 direction;
    D3DXVec3Normalize(&direction, &triple);
    light.Direction.x = direction.x;
    light.Direction.y = direction.y;
    light.Direction.z = direction.z;
    light.Position.x = x;
    light.Position.y = y;
    light.Position.z = z;
    light.Range = 1000.0f;
}

HRESULT LoadMediaTexture(IDirect3DDevice9* device, const char* fileName, IDirect3DTexture9** texture,
                         D3DFORMAT format) {
    char path[MAX_PATH];
    HRESULT hr = LocateMediaFileBytes(path, sizeof(path), fileName);
    if (FAILED(hr)) return hr;
    const DWORD filter = D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR;
    return D3DXCreateTextureFromFileExA(device, path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, format,
                                        D3DPOOL_MANAGED, filter, filter, 0, nullptr, nullptr, texture);
}

D3DXMATRIX CubeFaceViewMatrix(unsigned face) {
    struct FaceView {
        D3DXVECTOR3 lookAt;
        D3DXVECTOR3 up;
    };
    static const FaceView kFaces[6] = {
        {{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, -1}},
        {{0, -1, 0}, {0, 0, 1}}, {{0, 0, 1}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}},
    };
    D3DXMATRIX view;
    D3DXMatrixIdentity(&view);
    if (face >= 6) return view;
    const D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &kFaces[face].lookAt, &kFaces[face].up);
    return view;
}
