// One named mesh of an X file with its materials and textures, kept twice: a system-memory copy loaded
// once and optimised, and a device copy in the default pool made from it after every device creation
// or reset and dropped before every reset. Subsets draw in an opaque and a translucent pass.
#pragma once

#include "d3d9.h"
#include "d3dx9.h"
#include "bounded_name.h"
#include "dxfile.h"

class CXMesh {
public:
    explicit CXMesh(const char* name);
    virtual ~CXMesh();
    CXMesh(const CXMesh&) = delete;
    CXMesh& operator=(const CXMesh&) = delete;

    // Loading releases whatever the mesh held before. A failure of the loader is returned unchanged.
    HRESULT LoadFromFile(IDirect3DDevice9* device, const char* fileName);
    HRESULT LoadFromData(IDirect3DDevice9* device, IDirectXFileData* data);
    // Both meshes cloned to the format, then given computed normals where the format has them;
    // E_FAIL with nothing changed when a clone fails.
    HRESULT SetVertexFormat(IDirect3DDevice9* device, DWORD fvf);
    // The device mesh: a default-pool clone of the system-memory mesh (an earlier one released first).
    HRESULT CreateVolatileResources(IDirect3DDevice9* device);
    HRESULT ReleaseVolatileResources();
    // Everything but the name; the mesh can load again.
    HRESULT ReleaseAll();
    // Opaque pass: subsets whose material's diffuse alpha is 1.0 or more; alpha pass: those whose alpha
    // is not exactly 1.0 (so one above 1.0 draws in both). E_FAIL without a device mesh.
    HRESULT DrawSubsets(IDirect3DDevice9* device, bool opaquePass, bool alphaPass);

    const char* Name() const { return name_; }
    ID3DXMesh* SystemMemoryMesh() const { return systemMesh_; }
    ID3DXMesh* DeviceMesh() const { return deviceMesh_; }
    DWORD MaterialCount() const { return materialCount_; }
    const D3DMATERIAL9* Materials() const { return materials_; }
    IDirect3DTexture9* const* Textures() const { return textures_; }

private:
    // What a load does with the loader's result and out values.
    HRESULT FinishLoad(HRESULT loaded, IDirect3DDevice9* device, ID3DXBuffer* adjacency, ID3DXBuffer* materials);
    void DrawSubset(IDirect3DDevice9* device, DWORD i);

    char name_[kXNameBytes];
    ID3DXMesh* systemMesh_ = nullptr;
    ID3DXMesh* deviceMesh_ = nullptr;
    DWORD materialCount_ = 0;
    D3DMATERIAL9* materials_ = nullptr;
    IDirect3DTexture9** textures_ = nullptr;
    bool useMaterials_ = true;
};
