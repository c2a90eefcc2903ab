#include "x_mesh.h"

#include <new>

#include "media_files.h"

namespace {

// Clones keep the index size of the mesh they copy, so a mesh of more vertices than 16-bit indices
// reach can be restored.
DWORD WithIndexSize(DWORD options, ID3DXMesh* of) { return options | (of->GetOptions() & D3DXMESH_32BIT); }

}  // namespace

CXMesh::CXMesh(const char* name) { CopyBoundedName(name_, name); }

CXMesh::~CXMesh() { ReleaseAll(); }

HRESULT CXMesh::LoadFromFile(IDirect3DDevice9* device, const char* fileName) {
    ReleaseAll();
    char path[260] = {};
    LocateMediaFileBytes(path, sizeof path, fileName);
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    const HRESULT hr = D3DXLoadMeshFromXA(path, D3DXMESH_SYSTEMMEM, device, &adjacency, &materials, nullptr,
                                          &materialCount_, &systemMesh_);
    return FinishLoad(hr, device, adjacency, materials);
}

HRESULT CXMesh::LoadFromData(IDirect3DDevice9* device, IDirectXFileData* data) {
    ReleaseAll();
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    const HRESULT hr = D3DXLoadMeshFromXof(data, D3DXMESH_SYSTEMMEM, device, &adjacency, &materials, nullptr,
                                           &materialCount_, &systemMesh_);
    return FinishLoad(hr, device, adjacency, materials);
}

// A failed load leaves the mesh empty. Otherwise the loaded mesh is optimised, then the materials are
// copied and their textures created. After a failure the material count is 0, so nothing indexes
// arrays that do not exist.
HRESULT CXMesh::FinishLoad(HRESULT loaded, IDirect3DDevice9* device, ID3DXBuffer* adjacency,
                           ID3DXBuffer* materials) {
    if (FAILED(loaded)) {
        materialCount_ = 0;
        systemMesh_ = nullptr;
        return loaded;
    }
    const DWORD* adjacencyData = adjacency ? static_cast<const DWORD*>(adjacency->GetBufferPointer()) : nullptr;
    HRESULT result = systemMesh_->OptimizeInplace(
        D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE, adjacencyData, nullptr, nullptr, nullptr);
    if (SUCCEEDED(result) && materials && materialCount_ > 0) {
        const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
        materials_ = new (std::nothrow) D3DMATERIAL9[materialCount_];
        if (materials_) textures_ = new (std::nothrow) IDirect3DTexture9*[materialCount_];
        if (!materials_ || !textures_) result = E_OUTOFMEMORY;
        for (DWORD i = 0; SUCCEEDED(result) && i < materialCount_; ++i) {
            materials_[i] = records[i].MatD3D;
            textures_[i] = nullptr;
            if (!records[i].pTextureFilename) continue;
            char text[260];
            char path[260] = {};
            AnsiToTextBytes(text, records[i].pTextureFilename, sizeof text);
            LocateMediaFileBytes(path, sizeof path, text);
            if (FAILED(D3DXCreateTextureFromFileA(device, path, &textures_[i]))) textures_[i] = nullptr;
        }
    }
    if (FAILED(result)) {
        delete[] materials_;
        materials_ = nullptr;
        materialCount_ = 0;
    }
    if (!materials_ || !textures_) materialCount_ = 0;
    if (adjacency) adjacency->Release();
    if (materials) materials->Release();
    return result;
}

HRESULT CXMesh::SetVertexFormat(IDirect3DDevice9* device, DWORD fvf) {
    ID3DXMesh* system = nullptr;
    ID3DXMesh* onDevice = nullptr;
    if (systemMesh_ &&
        FAILED(systemMesh_->CloneMeshFVF(WithIndexSize(D3DXMESH_SYSTEMMEM, systemMesh_), fvf, device, &system)))
        return E_FAIL;
    if (deviceMesh_ && FAILED(deviceMesh_->CloneMeshFVF(WithIndexSize(0, deviceMesh_), fvf, device, &onDevice))) {
        if (system) system->Release();
        return E_FAIL;
    }
    if (system) {
        systemMesh_->Release();
        systemMesh_ = system;
    }
    if (onDevice) {
        deviceMesh_->Release();
        deviceMesh_ = onDevice;
    }
    // A format without normals simply gets none.
    if (systemMesh_) D3DXComputeNormals(systemMesh_, nullptr);
    if (deviceMesh_) D3DXComputeNormals(deviceMesh_, nullptr);
    return S_OK;
}

HRESULT CXMesh::CreateVolatileResources(IDirect3DDevice9* device) {
    if (!systemMesh_) return E_FAIL;
    ReleaseVolatileResources();
    if (FAILED(systemMesh_->CloneMeshFVF(WithIndexSize(0, systemMesh_), systemMesh_->GetFVF(), device, &deviceMesh_))) {
        deviceMesh_ = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CXMesh::ReleaseVolatileResources() {
    if (deviceMesh_) {
        deviceMesh_->Release();
        deviceMesh_ = nullptr;
    }
    return S_OK;
}

HRESULT CXMesh::ReleaseAll() {
    ReleaseVolatileResources();
    if (textures_) {
        for (DWORD i = 0; i < materialCount_; ++i)
            if (textures_[i]) {
                textures_[i]->Release();
                textures_[i] = nullptr;
            }
    }
    delete[] textures_;
    textures_ = nullptr;
    delete[] materials_;
    materials_ = nullptr;
    if (systemMesh_) {
        systemMesh_->Release();
        systemMesh_ = nullptr;
    }
    materialCount_ = 0;
    return S_OK;
}

void CXMesh::DrawSubset(IDirect3DDevice9* device, DWORD i) {
    if (useMaterials_) {
        device->SetMaterial(&materials_[i]);
        device->SetTexture(0, textures_[i]);
    }
    deviceMesh_->DrawSubset(i);
}

HRESULT CXMesh::DrawSubsets(IDirect3DDevice9* device, bool opaquePass, bool alphaPass) {
    if (!deviceMesh_) return E_FAIL;
    const DWORD count = materials_ && textures_ ? materialCount_ : 0;
    if (opaquePass)
        for (DWORD i = 0; i < count; ++i)
            if (!(materials_[i].Diffuse.a < 1.0f)) DrawSubset(device, i);
    if (alphaPass)
        for (DWORD i = 0; i < count; ++i)
            if (materials_[i].Diffuse.a != 1.0f) DrawSubset(device, i);
    return S_OK;
}
