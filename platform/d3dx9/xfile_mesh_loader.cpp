// Meshes from X files: a Mesh data object with its normals, texture coordinates and material list
// becomes an ID3DXMesh, its adjacency and a buffer of D3DXMATERIAL records.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "dxfile.h"
#include "mesh_layout.h"

namespace d3dx9 {
namespace {

// Reads packed members, never past the end; every read answers false once the data ran out.
class PackedReader {
public:
    PackedReader(const void* data, DWORD size) : p_(static_cast<const uint8_t*>(data)), size_(data ? size : 0) {}

    bool Dword(uint32_t& v) { return Take(&v, 4); }
    bool Floats(float* v, size_t n) { return Take(v, 4 * n); }
    bool Pointer(const char*& s) { return Take(&s, sizeof s); }
    // A DWORD count followed by `count` items of `itemBytes`: false when they cannot all be there.
    bool Count(uint32_t& n, size_t itemBytes) { return Dword(n) && uint64_t(n) * itemBytes <= size_ - at_; }
    bool AtEnd() const { return at_ == size_; }

private:
    bool Take(void* out, size_t n) {
        if (n > size_ - at_) return false;
        std::memcpy(out, p_ + at_, n);
        at_ += n;
        return true;
    }
    const uint8_t* p_;
    size_t size_;
    size_t at_ = 0;
};

struct FileMaterial {
    D3DMATERIAL9 material{};
    std::string texture;
    bool hasTexture = false;
};

struct FileMesh {
    std::vector<float> positions;              // 3 per vertex
    std::vector<std::vector<uint32_t>> faces;  // position indices per face
    bool hasNormals = false;
    std::vector<float> normals;
    std::vector<std::vector<uint32_t>> normalFaces;
    bool hasTexCoords = false;
    std::vector<float> texCoords;  // 2 per vertex
    bool hasMaterials = false;
    std::vector<DWORD> faceMaterials;
    std::vector<FileMaterial> materials;
};

const HRESULT kInvalid = D3DXERR_INVALIDDATA;

// Faces as MeshFace records: a count, then that many indices, each below `limit`.
bool ReadFaces(PackedReader& r, uint32_t limit, std::vector<std::vector<uint32_t>>& faces) {
    uint32_t count = 0;
    if (!r.Count(count, 4)) return false;
    faces.resize(count);
    for (auto& face : faces) {
        uint32_t n = 0;
        if (!r.Count(n, 4) || n < 3) return false;
        face.resize(n);
        for (uint32_t& i : face)
            if (!r.Dword(i) || i >= limit) return false;
    }
    return true;
}

// The data object a child object is, or names; null for anything else.
IDirectXFileData* ChildData(IDirectXFileObject* child) {
    IDirectXFileData* data = nullptr;
    if (SUCCEEDED(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&data)))) return data;
    IDirectXFileDataReference* ref = nullptr;
    if (SUCCEEDED(child->QueryInterface(IID_IDirectXFileDataReference, reinterpret_cast<void**>(&ref)))) {
        if (FAILED(ref->Resolve(&data))) data = nullptr;
        ref->Release();
    }
    return data;
}

// Calls visit(data, type) for every child data object (references resolved); stops at a failure.
template <typename Visit>
HRESULT ForEachChild(IDirectXFileData* parent, Visit visit) {
    IDirectXFileObject* child = nullptr;
    HRESULT result = S_OK;
    while (SUCCEEDED(result) && SUCCEEDED(parent->GetNextObject(&child))) {
        IDirectXFileData* data = ChildData(child);
        child->Release();
        if (!data) {
            result = kInvalid;  // a reference that names nothing
            break;
        }
        const GUID* type = nullptr;
        result = data->GetType(&type);
        if (SUCCEEDED(result)) result = visit(data, *type);
        data->Release();
    }
    return result;
}

HRESULT ReadMaterial(IDirectXFileData* data, FileMaterial& out) {
    DWORD size = 0;
    void* p = nullptr;
    if (FAILED(data->GetData(nullptr, &size, &p))) return kInvalid;
    PackedReader r(p, size);
    float v[11];
    if (!r.Floats(v, 11)) return kInvalid;
    D3DMATERIAL9& m = out.material;
    m.Diffuse = {v[0], v[1], v[2], v[3]};
    m.Ambient = {0, 0, 0, 0};
    m.Power = v[4];
    m.Specular = {v[5], v[6], v[7], 1.0f};
    m.Emissive = {v[8], v[9], v[10], 1.0f};
    return ForEachChild(data, [&](IDirectXFileData* child, const GUID& type) -> HRESULT {
        if (!IsEqualGUID(type, TID_D3DRMTextureFilename) || out.hasTexture) return S_OK;
        DWORD bytes = 0;
        void* q = nullptr;
        if (FAILED(child->GetData(nullptr, &bytes, &q))) return kInvalid;
        PackedReader t(q, bytes);
        const char* name = nullptr;
        if (!t.Pointer(name)) return kInvalid;
        if (name && *name) {
            out.texture = name;
            out.hasTexture = true;
        }
        return S_OK;
    });
}

HRESULT ReadMesh(IDirectXFileData* data, FileMesh& mesh) {
    DWORD size = 0;
    void* p = nullptr;
    if (FAILED(data->GetData(nullptr, &size, &p))) return kInvalid;
    PackedReader r(p, size);
    uint32_t vertices = 0;
    if (!r.Count(vertices, 12) || vertices == 0) return kInvalid;
    mesh.positions.resize(size_t(vertices) * 3);
    if (!r.Floats(mesh.positions.data(), mesh.positions.size())) return kInvalid;
    if (!ReadFaces(r, vertices, mesh.faces) || mesh.faces.empty() || !r.AtEnd()) return kInvalid;
    const size_t faces = mesh.faces.size();

    return ForEachChild(data, [&](IDirectXFileData* child, const GUID& type) -> HRESULT {
        DWORD bytes = 0;
        void* q = nullptr;
        if (FAILED(child->GetData(nullptr, &bytes, &q))) return kInvalid;
        PackedReader c(q, bytes);
        if (IsEqualGUID(type, TID_D3DRMMeshNormals) && !mesh.hasNormals) {
            uint32_t n = 0;
            if (!c.Count(n, 12)) return kInvalid;
            mesh.normals.resize(size_t(n) * 3);
            if (!c.Floats(mesh.normals.data(), mesh.normals.size())) return kInvalid;
            if (!ReadFaces(c, n, mesh.normalFaces) || mesh.normalFaces.size() != faces) return kInvalid;
            for (size_t f = 0; f < faces; ++f)
                if (mesh.normalFaces[f].size() != mesh.faces[f].size()) return kInvalid;
            mesh.hasNormals = true;
        } else if (IsEqualGUID(type, TID_D3DRMMeshTextureCoords) && !mesh.hasTexCoords) {
            uint32_t n = 0;
            if (!c.Count(n, 8) || n != vertices) return kInvalid;
            mesh.texCoords.resize(size_t(n) * 2);
            if (!c.Floats(mesh.texCoords.data(), mesh.texCoords.size())) return kInvalid;
            mesh.hasTexCoords = true;
        } else if (IsEqualGUID(type, TID_D3DRMMeshMaterialList) && !mesh.hasMaterials) {
            uint32_t count = 0, indexes = 0;
            if (!c.Dword(count) || !c.Count(indexes, 4)) return kInvalid;
            if (indexes > faces) return kInvalid;
            mesh.faceMaterials.assign(faces, 0);
            for (uint32_t f = 0; f < indexes; ++f)
                if (!c.Dword(mesh.faceMaterials[f]) || mesh.faceMaterials[f] >= count) return kInvalid;
            // A shorter list gives the remaining faces the last material named.
            for (size_t f = indexes; f < faces && indexes > 0; ++f)
                mesh.faceMaterials[f] = mesh.faceMaterials[indexes - 1];
            HRESULT hr = ForEachChild(child, [&](IDirectXFileData* m, const GUID& mt) -> HRESULT {
                if (!IsEqualGUID(mt, TID_D3DRMMaterial)) return S_OK;
                if (mesh.materials.size() >= count) return kInvalid;
                mesh.materials.emplace_back();
                return ReadMaterial(m, mesh.materials.back());
            });
            if (FAILED(hr)) return hr;
            if (mesh.materials.size() != count) return kInvalid;
            mesh.hasMaterials = true;
        }
        return S_OK;
    });
}

HRESULT BuildMesh(const FileMesh& file, DWORD options, IDirect3DDevice9* device, LPD3DXBUFFER* ppAdjacency,
                  LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials,
                  LPD3DXMESH* ppMesh) {
    // One vertex per (position, normal) pair the faces use; triangles as fans of each face.
    std::unordered_map<uint64_t, uint32_t> vertexOf;
    std::vector<std::pair<uint32_t, uint32_t>> vertices;
    std::vector<uint32_t> indices;
    std::vector<DWORD> attributes;
    for (size_t f = 0; f < file.faces.size(); ++f) {
        const auto& face = file.faces[f];
        std::vector<uint32_t> corners(face.size());
        for (size_t k = 0; k < face.size(); ++k) {
            const uint32_t normal = file.hasNormals ? file.normalFaces[f][k] : 0;
            const uint64_t key = (uint64_t(face[k]) << 32) | normal;
            auto [it, added] = vertexOf.emplace(key, uint32_t(vertices.size()));
            if (added) vertices.emplace_back(face[k], normal);
            corners[k] = it->second;
        }
        for (size_t k = 1; k + 1 < corners.size(); ++k) {
            indices.insert(indices.end(), {corners[0], corners[k], corners[k + 1]});
            attributes.push_back(file.hasMaterials ? file.faceMaterials[f] : 0);
        }
    }
    if (indices.size() / 3 > 0x7FFFFFFF / 12) return kInvalid;
    // More vertices than 16-bit indices reach: the mesh gets 32-bit indices.
    if (vertices.size() > 0xFFFF) options |= D3DXMESH_32BIT;
    const DWORD fvf = D3DFVF_XYZ | (file.hasNormals ? D3DFVF_NORMAL : 0) | (file.hasTexCoords ? D3DFVF_TEX1 : 0);
    const VertexLayout layout = LayoutOfFvf(fvf);

    ID3DXMesh* mesh = nullptr;
    HRESULT hr = D3DXCreateMeshFVF(DWORD(indices.size() / 3), DWORD(vertices.size()), options, fvf, device, &mesh);
    if (FAILED(hr)) return hr;
    void* p = nullptr;
    hr = mesh->LockVertexBuffer(0, &p);
    if (SUCCEEDED(hr)) {
        auto* out = static_cast<uint8_t*>(p);
        for (size_t v = 0; v < vertices.size(); ++v) {
            uint8_t* at = out + v * layout.stride;
            std::memcpy(at, &file.positions[size_t(vertices[v].first) * 3], 12);
            if (file.hasNormals) std::memcpy(at + layout.normal, &file.normals[size_t(vertices[v].second) * 3], 12);
            if (file.hasTexCoords)
                std::memcpy(at + layout.texOffset[0], &file.texCoords[size_t(vertices[v].first) * 2], 8);
        }
        hr = mesh->UnlockVertexBuffer();
    }
    if (SUCCEEDED(hr)) hr = WriteIndices(mesh, indices);
    if (SUCCEEDED(hr)) hr = WriteAttributes(mesh, attributes);
    std::vector<DWORD> adjacency(indices.size());
    if (SUCCEEDED(hr)) hr = mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT, nullptr, adjacency.data(), nullptr, nullptr);

    // Materials, then their texture names, in one buffer.
    const size_t count = file.hasMaterials ? file.materials.size() : 0;
    size_t bytes = count * sizeof(D3DXMATERIAL);
    for (size_t i = 0; i < count; ++i)
        if (file.materials[i].hasTexture) bytes += file.materials[i].texture.size() + 1;
    LPD3DXBUFFER materials = nullptr;
    LPD3DXBUFFER adjacencyBuffer = nullptr;
    if (SUCCEEDED(hr) && bytes > 0xFFFFFFFFu) hr = kInvalid;
    if (SUCCEEDED(hr)) hr = D3DXCreateBuffer(DWORD(bytes), &materials);
    if (SUCCEEDED(hr) && ppAdjacency) hr = D3DXCreateBuffer(DWORD(adjacency.size() * 4), &adjacencyBuffer);
    if (FAILED(hr)) {
        if (materials) materials->Release();
        mesh->Release();
        return hr;
    }
    auto* base = static_cast<uint8_t*>(materials->GetBufferPointer());
    char* names = reinterpret_cast<char*>(base + count * sizeof(D3DXMATERIAL));
    for (size_t i = 0; i < count; ++i) {
        D3DXMATERIAL record{};
        record.MatD3D = file.materials[i].material;
        if (file.materials[i].hasTexture) {
            const std::string& t = file.materials[i].texture;
            std::memcpy(names, t.c_str(), t.size() + 1);
            record.pTextureFilename = names;
            names += t.size() + 1;
        }
        std::memcpy(base + i * sizeof(D3DXMATERIAL), &record, sizeof record);
    }
    if (adjacencyBuffer) {
        std::memcpy(adjacencyBuffer->GetBufferPointer(), adjacency.data(), adjacency.size() * 4);
        *ppAdjacency = adjacencyBuffer;
    }
    if (ppMaterials) {
        *ppMaterials = materials;
    } else {
        materials->Release();
    }
    if (ppEffectInstances) *ppEffectInstances = nullptr;
    if (pNumMaterials) *pNumMaterials = DWORD(count);
    *ppMesh = mesh;
    return S_OK;
}

HRESULT LoadFromData(IDirectXFileData* data, DWORD options, IDirect3DDevice9* device, LPD3DXBUFFER* ppAdjacency,
                     LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials,
                     LPD3DXMESH* ppMesh) {
    if (!data || !device || !ppMesh) return D3DERR_INVALIDCALL;
    const GUID* type = nullptr;
    if (FAILED(data->GetType(&type)) || !IsEqualGUID(*type, TID_D3DRMMesh)) return kInvalid;
    try {
        FileMesh file;
        if (HRESULT hr = ReadMesh(data, file); FAILED(hr)) return hr;
        return BuildMesh(file, options, device, ppAdjacency, ppMaterials, ppEffectInstances, pNumMaterials, ppMesh);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// The first Mesh in file order, at the top level or inside frames (with a reference to it).
IDirectXFileData* FindMesh(IDirectXFileData* data, int depth) {
    const GUID* type = nullptr;
    if (FAILED(data->GetType(&type))) return nullptr;
    if (IsEqualGUID(*type, TID_D3DRMMesh)) {
        data->AddRef();
        return data;
    }
    if (!IsEqualGUID(*type, TID_D3DRMFrame) || depth > 64) return nullptr;
    IDirectXFileData* found = nullptr;
    IDirectXFileObject* child = nullptr;
    while (!found && SUCCEEDED(data->GetNextObject(&child))) {
        IDirectXFileData* c = ChildData(child);
        child->Release();
        if (c) {
            found = FindMesh(c, depth + 1);
            c->Release();
        }
    }
    return found;
}

}  // namespace
}  // namespace d3dx9

HRESULT WINAPI D3DXLoadMeshFromXof(IDirectXFileData* pxofMesh, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                   LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials,
                                   LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    return d3dx9::LoadFromData(pxofMesh, Options, pD3DDevice, ppAdjacency, ppMaterials, ppEffectInstances,
                               pNumMaterials, ppMesh);
}

HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances,
                                  DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (!pFilename || !pD3DDevice || !ppMesh) return D3DERR_INVALIDCALL;
    IDirectXFile* parser = nullptr;
    HRESULT hr = DirectXFileCreate(&parser);
    if (FAILED(hr)) return hr;
    hr = parser->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES);
    IDirectXFileEnumObject* objects = nullptr;
    if (SUCCEEDED(hr)) hr = parser->CreateEnumObject(const_cast<char*>(pFilename), DXFILELOAD_FROMFILE, &objects);
    // Every top-level object first: a file that does not parse to its end is refused.
    std::vector<IDirectXFileData*> topLevel;
    while (SUCCEEDED(hr)) {
        IDirectXFileData* data = nullptr;
        const HRESULT next = objects->GetNextDataObject(&data);
        if (next == DXFILEERR_NOMOREOBJECTS) break;
        if (FAILED(next)) {
            hr = next;
            break;
        }
        topLevel.push_back(data);
    }
    IDirectXFileData* mesh = nullptr;
    for (IDirectXFileData* data : topLevel)
        if (SUCCEEDED(hr) && !mesh) mesh = d3dx9::FindMesh(data, 0);
    if (SUCCEEDED(hr) && !mesh) hr = D3DXERR_LOADEDMESHASNODATA;
    if (SUCCEEDED(hr))
        hr = d3dx9::LoadFromData(mesh, Options, pD3DDevice, ppAdjacency, ppMaterials, ppEffectInstances, pNumMaterials,
                                 ppMesh);
    if (mesh) mesh->Release();
    for (IDirectXFileData* data : topLevel) data->Release();
    if (objects) objects->Release();
    parser->Release();
    return hr;
}
