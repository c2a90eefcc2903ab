#include "mesh_object.h"

#include <new>

#include "media_files.h"
#include "placement.h"

CMeshObject::CMeshObject()
    : m_position(0, 0, 0), m_rotation(0, 0, 0), m_scale(1, 1, 1), m_pMesh(nullptr), m_numMaterials(0),
      m_pMaterials(nullptr), m_ppTextures(nullptr), m_boundingCentre(0, 0, 0), m_boundingRadius(0) {}

CMeshObject::~CMeshObject() {}

int CMeshObject::Load(IDirect3DDevice9*& device, const char* fileName) {
    // A second load would leak the first one's mesh, arrays and textures.
    ReleaseDeviceResources();
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ID3DXMesh* mesh = nullptr;
    if (!device || !fileName ||
        FAILED(D3DXLoadMeshFromXA(fileName, D3DXMESH_MANAGED, device, &adjacency, &materials, nullptr, &count, &mesh)))
        return 1;
    if (adjacency) adjacency->Release();
    m_pMesh = mesh;
    const DWORD indexSize = m_pMesh->GetOptions() & D3DXMESH_32BIT;

    const auto* loaded = materials ? static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer()) : nullptr;
    if (count > 0 && loaded) {
        m_pMaterials = new (std::nothrow) D3DMATERIAL9[count];
        m_ppTextures = new (std::nothrow) IDirect3DTexture9* [count] {};
        // Without room for the materials the object stays empty.
        if (!m_pMaterials || !m_ppTextures) {
            materials->Release();
            ReleaseDeviceResources();
            return 1;
        }
        m_numMaterials = count;
        for (DWORD i = 0; i < count; ++i) {
            m_pMaterials[i] = loaded[i].MatD3D;
            m_pMaterials[i].Ambient = m_pMaterials[i].Diffuse;
            if (loaded[i].pTextureFilename && loaded[i].pTextureFilename[0] != '\0') {
                char path[260] = "";
                // Whatever the search answers, the path it leaves is the one to open.
                LocateMediaFileBytes(path, sizeof path, loaded[i].pTextureFilename);
                if (FAILED(D3DXCreateTextureFromFileA(device, path, &m_ppTextures[i]))) m_ppTextures[i] = nullptr;
            }
        }
    }
    if (materials) materials->Release();

    if (!ComputeBoundingSphere() || m_numMaterials == 0) return 1;

    const DWORD fvf = m_pMesh->GetFVF();
    if (fvf & D3DFVF_NORMAL) return 0;
    ID3DXMesh* withNormals = nullptr;
    if (FAILED(m_pMesh->CloneMeshFVF(indexSize | D3DXMESH_MANAGED, fvf | D3DFVF_NORMAL, device, &withNormals)))
        return 1;
    D3DXComputeNormals(withNormals, nullptr);
    m_pMesh->Release();
    m_pMesh = withNormals;
    return 0;
}

bool CMeshObject::ComputeBoundingSphere() {
    IDirect3DVertexBuffer9* vertices = nullptr;
    if (FAILED(m_pMesh->GetVertexBuffer(&vertices)) || !vertices) return false;
    void* data = nullptr;
    bool computed = false;
    if (SUCCEEDED(vertices->Lock(0, 0, &data, D3DLOCK_NOSYSLOCK)) && data) {
        computed = SUCCEEDED(D3DXComputeBoundingSphere(static_cast<const D3DXVECTOR3*>(data), m_pMesh->GetNumVertices(),
                                                       D3DXGetFVFVertexSize(m_pMesh->GetFVF()), &m_boundingCentre,
                                                       &m_boundingRadius));
        vertices->Unlock();
    }
    vertices->Release();
    return computed;
}

HRESULT CMeshObject::Draw(IDirect3DDevice9*& device, ID3DXMatrixStack*& stack, bool pop) {
    if (!device || !stack) return S_OK;
    PushPlacement(device, stack, m_position, m_rotation);
    stack->Scale(m_scale.x, m_scale.y, m_scale.z);
    device->SetTransform(D3DTS_WORLD, stack->GetTop());
    for (DWORD i = 0; i < m_numMaterials && m_pMesh; ++i) {
        device->SetMaterial(&m_pMaterials[i]);
        device->SetTexture(0, m_ppTextures[i]);
        m_pMesh->DrawSubset(i);
    }
    if (pop) {
        stack->Pop();
        device->SetTransform(D3DTS_WORLD, stack->GetTop());
    }
    return S_OK;
}

HRESULT CMeshObject::ReleaseDeviceResources() {
    if (m_pMesh) {
        m_pMesh->Release();
        m_pMesh = nullptr;
    }
    if (m_ppTextures) {
        for (DWORD i = 0; i < m_numMaterials; ++i)
            if (m_ppTextures[i]) m_ppTextures[i]->Release();
        delete[] m_ppTextures;
        m_ppTextures = nullptr;
    }
    delete[] m_pMaterials;
    m_pMaterials = nullptr;
    m_numMaterials = 0;
    return S_OK;
}
