// One mesh of the mesh scene: a mesh loaded from an X file with its materials and textures, a
// position, a rotation and a scale, drawn through the owner's matrix stack in its parent's space.
#pragma once

#include "d3d9.h"
#include "d3dx9.h"
#include "vector3.h"

class CMeshObject {
public:
    CMeshObject();
    // Does nothing: the owner releases the device objects first.
    ~CMeshObject();
    CMeshObject(const CMeshObject&) = delete;
    CMeshObject& operator=(const CMeshObject&) = delete;

    // 0 when the mesh loaded, 1 when a step failed. Materials take their diffuse colour as ambient,
    // textures are searched with the media-file search, a mesh without normals gets computed ones.
    // Whatever an earlier load left is released first.
    int Load(IDirect3DDevice9*& device, const char* fileName);
    // Pushes the stack and places the object (translate, turn, scale), draws every subset with its
    // material and texture, and pops again when asked.
    HRESULT Draw(IDirect3DDevice9*& device, ID3DXMatrixStack*& stack, bool pop);
    HRESULT ReleaseDeviceResources();

    CVector3 m_position;
    CVector3 m_rotation;  // radians: x yaw (about y), y pitch (about x), z roll (about z)
    CVector3 m_scale;
    ID3DXMesh* m_pMesh;
    DWORD m_numMaterials;
    D3DMATERIAL9* m_pMaterials;
    IDirect3DTexture9** m_ppTextures;
    D3DXVECTOR3 m_boundingCentre;
    float m_boundingRadius;

private:
    // The bounding sphere of the mesh's vertices; false when the vertices cannot be read.
    bool ComputeBoundingSphere();
};
