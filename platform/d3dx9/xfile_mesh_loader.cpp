// Meshes from X files: a Mesh data object with its normals, texture coordinates and material list
// becomes an ID3DXMesh, its adjacency and a buffer of D3DXMATERIAL records. A whole file becomes one
// mesh: every Mesh in it, each placed by the combined transforms of the frames around it.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "dxfile.h"
#include "mesh_layout.h"
#include "xfile_templates.h"

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

// What one file may make of its meshes once references copy them: vertices and triangles in all.
constexpr uint64_t kMaxMergedElements = uint64_t(1) << 24;

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

// The data object a child object is, or names; null for anything else. `isReference` tells which.
IDirectXFileData* ChildData(IDirectXFileObject* child, bool* isReference = nullptr) {
    IDirectXFileData* data = nullptr;
    if (isReference) *isReference = false;
    if (SUCCEEDED(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&data)))) return data;
    IDirectXFileDataReference* ref = nullptr;
    if (SUCCEEDED(child->QueryInterface(IID_IDirectXFileDataReference, reinterpret_cast<void**>(&ref)))) {
        if (isReference) *isReference = true;
        if (FAILED(ref->Resolve(&data))) data = nullptr;
        ref->Release();
    }
    return data;
}

// The parent's next child object: S_OK with it, S_FALSE at the end of the list, or the parser's failure
// (a failed read is not the end of the list: the caller passes it up).
HRESULT NextChild(IDirectXFileData* parent, IDirectXFileObject** child) {
    const HRESULT hr = parent->GetNextObject(child);
    return hr == DXFILEERR_NOMOREOBJECTS ? S_FALSE : hr;
}

// Calls visit(data, type) for every child data object (references resolved); stops at a failure.
template <typename Visit>
HRESULT ForEachChild(IDirectXFileData* parent, Visit visit) {
    IDirectXFileObject* child = nullptr;
    HRESULT result = S_OK;
    while (SUCCEEDED(result)) {
        if (HRESULT next = NextChild(parent, &child); next != S_OK) return FAILED(next) ? next : result;
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

class MeshReader {
public:
    explicit MeshReader(const StandardLayouts& layouts) : layouts_(layouts) {}

    HRESULT ReadMesh(IDirectXFileData* data, FileMesh& mesh) const {
        PackedReader r(nullptr, 0);
        if (HRESULT hr = Open(data, "Mesh", r); FAILED(hr)) return hr;
        uint32_t vertices = 0;
        if (!r.Count(vertices, 12) || vertices == 0) return kInvalid;
        mesh.positions.resize(size_t(vertices) * 3);
        if (!r.Floats(mesh.positions.data(), mesh.positions.size())) return kInvalid;
        if (!ReadFaces(r, vertices, mesh.faces) || mesh.faces.empty() || !r.AtEnd()) return kInvalid;
        return ForEachChild(data, [&](IDirectXFileData* child, const GUID& type) -> HRESULT {
            if (IsEqualGUID(type, TID_D3DRMMeshNormals) && !mesh.hasNormals) return ReadNormals(child, mesh);
            if (IsEqualGUID(type, TID_D3DRMMeshTextureCoords) && !mesh.hasTexCoords)
                return ReadTexCoords(child, vertices, mesh);
            if (IsEqualGUID(type, TID_D3DRMMeshMaterialList) && !mesh.hasMaterials)
                return ReadMaterialList(child, mesh);
            return S_OK;  // vertex colours, skinning, declarations ...: not used
        });
    }

    // The first 16 floats of a FrameTransformMatrix.
    HRESULT ReadMatrix(IDirectXFileData* data, D3DXMATRIX& m) const {
        PackedReader r(nullptr, 0);
        if (HRESULT hr = Open(data, "FrameTransformMatrix", r); FAILED(hr)) return hr;
        float v[16];
        if (!r.Floats(v, 16)) return kInvalid;
        std::memcpy(&m, v, sizeof v);
        return S_OK;
    }

private:
    HRESULT ReadNormals(IDirectXFileData* child, FileMesh& mesh) const {
        PackedReader c(nullptr, 0);
        if (HRESULT hr = Open(child, "MeshNormals", c); FAILED(hr)) return hr;
        uint32_t n = 0;
        if (!c.Count(n, 12)) return kInvalid;
        mesh.normals.resize(size_t(n) * 3);
        if (!c.Floats(mesh.normals.data(), mesh.normals.size())) return kInvalid;
        if (!ReadFaces(c, n, mesh.normalFaces) || mesh.normalFaces.size() != mesh.faces.size()) return kInvalid;
        for (size_t f = 0; f < mesh.faces.size(); ++f)
            if (mesh.normalFaces[f].size() != mesh.faces[f].size()) return kInvalid;
        mesh.hasNormals = true;
        return S_OK;
    }

    HRESULT ReadTexCoords(IDirectXFileData* child, uint32_t vertices, FileMesh& mesh) const {
        PackedReader c(nullptr, 0);
        if (HRESULT hr = Open(child, "MeshTextureCoords", c); FAILED(hr)) return hr;
        uint32_t n = 0;
        if (!c.Count(n, 8) || n != vertices) return kInvalid;
        mesh.texCoords.resize(size_t(n) * 2);
        if (!c.Floats(mesh.texCoords.data(), mesh.texCoords.size())) return kInvalid;
        mesh.hasTexCoords = true;
        return S_OK;
    }

    HRESULT ReadMaterialList(IDirectXFileData* child, FileMesh& mesh) const {
        PackedReader c(nullptr, 0);
        if (HRESULT hr = Open(child, "MeshMaterialList", c); FAILED(hr)) return hr;
        const size_t faces = mesh.faces.size();
        uint32_t count = 0, indexes = 0;
        if (!c.Dword(count) || !c.Count(indexes, 4)) return kInvalid;
        if (indexes > faces) return kInvalid;
        mesh.faceMaterials.assign(faces, 0);
        for (uint32_t f = 0; f < indexes; ++f)
            if (!c.Dword(mesh.faceMaterials[f]) || mesh.faceMaterials[f] >= count) return kInvalid;
        // A shorter list gives the remaining faces the last material named.
        for (size_t f = indexes; f < faces && indexes > 0; ++f) mesh.faceMaterials[f] = mesh.faceMaterials[indexes - 1];
        HRESULT hr = ForEachChild(child, [&](IDirectXFileData* m, const GUID& mt) -> HRESULT {
            if (!IsEqualGUID(mt, TID_D3DRMMaterial)) return S_OK;
            if (mesh.materials.size() >= count) return kInvalid;
            mesh.materials.emplace_back();
            return ReadMaterial(m, mesh.materials.back());
        });
        if (FAILED(hr)) return hr;
        if (mesh.materials.size() != count) return kInvalid;
        mesh.hasMaterials = true;
        return S_OK;
    }

    HRESULT ReadMaterial(IDirectXFileData* data, FileMaterial& out) const {
        PackedReader r(nullptr, 0);
        if (HRESULT hr = Open(data, "Material", r); FAILED(hr)) return hr;
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
            PackedReader t(nullptr, 0);
            if (HRESULT hr = Open(child, "TextureFilename", t); FAILED(hr)) return hr;
            const char* name = nullptr;
            if (!t.Pointer(name)) return kInvalid;
            if (name && *name) {
                out.texture = name;
                out.hasTexture = true;
            }
            return S_OK;
        });
    }

    // The object's whole data, once it is known to be laid out as the standard template `name`.
    HRESULT Open(IDirectXFileData* data, const char* name, PackedReader& reader) const {
        if (!layouts_.Matches(data, name)) return kInvalid;
        DWORD size = 0;
        void* p = nullptr;
        if (FAILED(data->GetData(nullptr, &size, &p))) return kInvalid;
        reader = PackedReader(p, size);
        return S_OK;
    }

    const StandardLayouts& layouts_;
};

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

// Moves a mesh into the space its frames put it in: positions by the matrix, normals by its inverse
// transpose (the cofactors, signed by the determinant, then normalised).
void Transform(FileMesh& mesh, const D3DXMATRIX& m) {
    for (size_t i = 0; i + 2 < mesh.positions.size(); i += 3) {
        const float x = mesh.positions[i], y = mesh.positions[i + 1], z = mesh.positions[i + 2];
        for (int c = 0; c < 3; ++c)
            mesh.positions[i + size_t(c)] = x * m.m[0][c] + y * m.m[1][c] + z * m.m[2][c] + m.m[3][c];
    }
    float cof[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof[r][c] = m.m[r1][c1] * m.m[r2][c2] - m.m[r1][c2] * m.m[r2][c1];
        }
    const float det = m.m[0][0] * cof[0][0] + m.m[0][1] * cof[0][1] + m.m[0][2] * cof[0][2];
    const float sign = det < 0 ? -1.0f : 1.0f;
    for (size_t i = 0; i + 2 < mesh.normals.size(); i += 3) {
        const float x = mesh.normals[i], y = mesh.normals[i + 1], z = mesh.normals[i + 2];
        D3DXVECTOR3 n(sign * (x * cof[0][0] + y * cof[1][0] + z * cof[2][0]),
                      sign * (x * cof[0][1] + y * cof[1][1] + z * cof[2][1]),
                      sign * (x * cof[0][2] + y * cof[1][2] + z * cof[2][2]));
        D3DXVec3Normalize(&n, &n);
        mesh.normals[i] = n.x, mesh.normals[i + 1] = n.y, mesh.normals[i + 2] = n.z;
    }
}

// Per-position normals from the faces around each position, for a mesh merged with meshes that have
// normals: faces are clockwise seen from the front.
void GiveNormals(FileMesh& mesh) {
    const size_t count = mesh.positions.size() / 3;
    std::vector<D3DXVECTOR3> sums(count, D3DXVECTOR3(0, 0, 0));
    auto at = [&](uint32_t i) {
        return D3DXVECTOR3(mesh.positions[3 * size_t(i)], mesh.positions[3 * size_t(i) + 1],
                           mesh.positions[3 * size_t(i) + 2]);
    };
    for (const auto& face : mesh.faces)
        for (size_t k = 1; k + 1 < face.size(); ++k) {
            const D3DXVECTOR3 e1 = at(face[k]) - at(face[0]), e2 = at(face[k + 1]) - at(face[0]);
            D3DXVECTOR3 n;
            D3DXVec3Cross(&n, &e1, &e2);
            sums[face[0]] += n, sums[face[k]] += n, sums[face[k + 1]] += n;
        }
    mesh.normals.resize(count * 3);
    for (size_t i = 0; i < count; ++i) {
        D3DXVECTOR3 n;
        D3DXVec3Normalize(&n, &sums[i]);
        mesh.normals[3 * i] = n.x, mesh.normals[3 * i + 1] = n.y, mesh.normals[3 * i + 2] = n.z;
    }
    mesh.normalFaces = mesh.faces;
    mesh.hasNormals = true;
}

HRESULT BuildMesh(std::vector<FileMesh>& files, DWORD options, IDirect3DDevice9* device, LPD3DXBUFFER* ppAdjacency,
                  LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials,
                  LPD3DXMESH* ppMesh) {
    bool normals = false, texCoords = false, anyMaterials = false;
    for (const FileMesh& f : files) {
        normals |= f.hasNormals;
        texCoords |= f.hasTexCoords;
        anyMaterials |= f.hasMaterials;
    }
    // Materials of every mesh in turn, attribute ids offset to match; a mesh without a list shares
    // one white material when others have lists.
    std::vector<const FileMaterial*> materials;
    const FileMaterial plain{{{1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0}, {}, false};
    int plainAt = -1;
    // One vertex per (position, normal) pair a mesh's faces use; triangles as fans of each face.
    struct Corner {
        const FileMesh* mesh;
        uint32_t position, normal;
    };
    std::vector<Corner> vertices;
    std::vector<uint32_t> indices;
    std::vector<uint32_t> positions;  // each index's position, numbered across the meshes: faces that
                                      // share an edge of positions are neighbours whatever their normals
    std::vector<DWORD> attributes;
    uint32_t positionBase = 0;
    for (FileMesh& file : files) {
        if (normals && !file.hasNormals) GiveNormals(file);
        DWORD base = DWORD(materials.size());
        if (file.hasMaterials) {
            for (const FileMaterial& m : file.materials) materials.push_back(&m);
        } else if (anyMaterials) {
            if (plainAt < 0) {
                plainAt = int(materials.size());
                materials.push_back(&plain);
            }
            base = DWORD(plainAt);
        }
        std::unordered_map<uint64_t, uint32_t> vertexOf;
        for (size_t f = 0; f < file.faces.size(); ++f) {
            const auto& face = file.faces[f];
            std::vector<uint32_t> corners(face.size());
            for (size_t k = 0; k < face.size(); ++k) {
                const uint32_t normal = file.hasNormals ? file.normalFaces[f][k] : 0;
                const uint64_t key = (uint64_t(face[k]) << 32) | normal;
                auto [it, added] = vertexOf.emplace(key, uint32_t(vertices.size()));
                if (added) vertices.push_back({&file, face[k], normal});
                corners[k] = it->second;
            }
            const DWORD attribute = base + (file.hasMaterials ? file.faceMaterials[f] : 0);
            for (size_t k = 1; k + 1 < corners.size(); ++k) {
                indices.insert(indices.end(), {corners[0], corners[k], corners[k + 1]});
                positions.insert(positions.end(),
                                 {positionBase + face[0], positionBase + face[k], positionBase + face[k + 1]});
                attributes.push_back(attribute);
            }
            if (vertices.size() + attributes.size() > kMaxMergedElements) return kInvalid;
        }
        positionBase += uint32_t(file.positions.size() / 3);
    }
    // More vertices than 16-bit indices reach: the mesh gets 32-bit indices.
    if (vertices.size() > 0xFFFF) options |= D3DXMESH_32BIT;
    const DWORD fvf = D3DFVF_XYZ | (normals ? D3DFVF_NORMAL : 0) | (texCoords ? D3DFVF_TEX1 : 0);
    const d3d9::FvfLayout layout = LayoutOfFvf(fvf);

    ID3DXMesh* mesh = nullptr;
    HRESULT hr = D3DXCreateMeshFVF(DWORD(indices.size() / 3), DWORD(vertices.size()), options, fvf, device, &mesh);
    if (FAILED(hr)) return hr;
    void* p = nullptr;
    hr = mesh->LockVertexBuffer(0, &p);
    if (SUCCEEDED(hr)) {
        auto* out = static_cast<uint8_t*>(p);
        for (size_t v = 0; v < vertices.size(); ++v) {
            const Corner& c = vertices[v];
            uint8_t* at = out + v * layout.stride;
            std::memset(at, 0, layout.stride);
            std::memcpy(at, &c.mesh->positions[size_t(c.position) * 3], 12);
            if (c.mesh->hasNormals) std::memcpy(at + layout.normal, &c.mesh->normals[size_t(c.normal) * 3], 12);
            if (c.mesh->hasTexCoords)
                std::memcpy(at + layout.texOffset[0], &c.mesh->texCoords[size_t(c.position) * 2], 8);
        }
        hr = mesh->UnlockVertexBuffer();
    }
    if (SUCCEEDED(hr)) hr = WriteIndices(mesh, indices);
    if (SUCCEEDED(hr)) hr = WriteAttributes(mesh, attributes);
    std::vector<DWORD> adjacency = ComputeAdjacency(positions);
    if (SUCCEEDED(hr))
        hr = OptimizeMadeMesh(mesh, D3DXMESHOPT_ATTRSORT, adjacency.data(), adjacency.data());

    // Materials, then their texture names, in one buffer.
    const size_t count = materials.size();
    size_t bytes = count * sizeof(D3DXMATERIAL);
    for (const FileMaterial* m : materials)
        if (m->hasTexture) bytes += m->texture.size() + 1;
    LPD3DXBUFFER materialBuffer = nullptr;
    LPD3DXBUFFER adjacencyBuffer = nullptr;
    if (SUCCEEDED(hr) && bytes > 0xFFFFFFFFu) hr = kInvalid;
    if (SUCCEEDED(hr)) hr = D3DXCreateBuffer(DWORD(bytes), &materialBuffer);
    if (SUCCEEDED(hr) && ppAdjacency) hr = D3DXCreateBuffer(DWORD(adjacency.size() * 4), &adjacencyBuffer);
    if (FAILED(hr)) {
        if (materialBuffer) materialBuffer->Release();
        mesh->Release();
        return hr;
    }
    auto* base = static_cast<uint8_t*>(materialBuffer->GetBufferPointer());
    char* names = reinterpret_cast<char*>(base + count * sizeof(D3DXMATERIAL));
    for (size_t i = 0; i < count; ++i) {
        D3DXMATERIAL record{};
        record.MatD3D = materials[i]->material;
        if (materials[i]->hasTexture) {
            const std::string& t = materials[i]->texture;
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
        *ppMaterials = materialBuffer;
    } else {
        materialBuffer->Release();
    }
    if (ppEffectInstances) *ppEffectInstances = nullptr;
    if (pNumMaterials) *pNumMaterials = DWORD(count);
    *ppMesh = mesh;
    return S_OK;
}

// Every Mesh of a file with the transform its frames give it. Meshes named by references inside
// frames are placed there (and not again at the top level); references to frames are passed over,
// so no file can make the walk go round in circles.
class SceneWalk {
public:
    SceneWalk(const MeshReader& reader, std::vector<FileMesh>& meshes) : reader_(reader), meshes_(meshes) {}

    HRESULT TopLevel(const std::vector<IDirectXFileData*>& objects) {
        std::vector<IDirectXFileData*> meshes;
        for (IDirectXFileData* data : objects) {
            const GUID* type = nullptr;
            if (FAILED(data->GetType(&type))) return kInvalid;
            if (IsEqualGUID(*type, TID_D3DRMMesh)) {
                meshes.push_back(data);
            } else if (IsEqualGUID(*type, TID_D3DRMFrame)) {
                if (HRESULT hr = Frame(data, Identity(), 0); FAILED(hr)) return hr;
            }
        }
        for (IDirectXFileData* data : meshes)
            if (!placed_.count(DataOf(data)))
                if (HRESULT hr = Add(data, Identity()); FAILED(hr)) return hr;
        return S_OK;
    }

private:
    struct ChildObject {
        IDirectXFileData* data;
        bool isReference;
    };

    static const void* DataOf(IDirectXFileData* data) {
        DWORD size = 0;
        void* p = nullptr;
        return SUCCEEDED(data->GetData(nullptr, &size, &p)) ? p : nullptr;
    }

    HRESULT Add(IDirectXFileData* data, const D3DXMATRIX& transform) {
        meshes_.emplace_back();
        if (HRESULT hr = reader_.ReadMesh(data, meshes_.back()); FAILED(hr)) return hr;
        Transform(meshes_.back(), transform);
        total_ += meshes_.back().positions.size() / 3 + meshes_.back().faces.size();
        return total_ > kMaxMergedElements ? kInvalid : S_OK;
    }

    HRESULT Frame(IDirectXFileData* frame, const D3DXMATRIX& parent, int depth) {
        if (depth > dxfile::kMaxNesting) return kInvalid;
        std::vector<ChildObject> children;
        HRESULT hr = S_OK;
        IDirectXFileObject* child = nullptr;
        for (;;) {
            if (HRESULT next = NextChild(frame, &child); next != S_OK) {
                if (FAILED(next)) hr = next;
                break;
            }
            bool isReference = false;
            IDirectXFileData* data = ChildData(child, &isReference);
            child->Release();
            if (!data) {
                hr = kInvalid;  // a reference that names nothing
                break;
            }
            children.push_back({data, isReference});
        }
        // The frame's own matrix applies to everything in it, wherever it stands among the children.
        D3DXMATRIX local = Identity();
        bool haveMatrix = false;
        for (const ChildObject& c : children) {
            const GUID* type = nullptr;
            if (SUCCEEDED(hr)) hr = c.data->GetType(&type);
            if (SUCCEEDED(hr) && !haveMatrix && IsEqualGUID(*type, TID_D3DRMFrameTransformMatrix)) {
                hr = reader_.ReadMatrix(c.data, local);
                haveMatrix = true;
            }
        }
        const D3DXMATRIX combined = local * parent;
        for (const ChildObject& c : children) {
            const GUID* type = nullptr;
            if (SUCCEEDED(hr)) hr = c.data->GetType(&type);
            if (FAILED(hr)) break;
            if (IsEqualGUID(*type, TID_D3DRMMesh)) {
                if (c.isReference) placed_.insert(DataOf(c.data));
                hr = Add(c.data, combined);
            } else if (IsEqualGUID(*type, TID_D3DRMFrame) && !c.isReference) {
                hr = Frame(c.data, combined, depth + 1);
            }
        }
        for (const ChildObject& c : children) c.data->Release();
        return hr;
    }

    const MeshReader& reader_;
    std::vector<FileMesh>& meshes_;
    std::set<const void*> placed_;  // top-level meshes a frame has placed by reference
    uint64_t total_ = 0;
};

HRESULT LoadFromData(IDirectXFileData* data, DWORD options, IDirect3DDevice9* device, LPD3DXBUFFER* ppAdjacency,
                     LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials,
                     LPD3DXMESH* ppMesh) {
    if (!data || !device || !ppMesh) return D3DERR_INVALIDCALL;
    try {
        StandardLayouts layouts;
        if (HRESULT hr = layouts.Load(); FAILED(hr)) return hr;
        std::vector<FileMesh> file(1);
        if (HRESULT hr = MeshReader(layouts).ReadMesh(data, file[0]); FAILED(hr)) return hr;
        return BuildMesh(file, options, device, ppAdjacency, ppMaterials, ppEffectInstances, pNumMaterials, ppMesh);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT LoadFile(IDirectXFileEnumObject* objects, DWORD options, IDirect3DDevice9* device, LPD3DXBUFFER* ppAdjacency,
                 LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    // Every top-level object first: a file that does not parse to its end is refused.
    std::vector<IDirectXFileData*> topLevel;
    HRESULT hr = S_OK;
    for (;;) {
        IDirectXFileData* data = nullptr;
        const HRESULT next = objects->GetNextDataObject(&data);
        if (next == DXFILEERR_NOMOREOBJECTS) break;
        if (FAILED(next)) {
            hr = next;
            break;
        }
        topLevel.push_back(data);
    }
    try {
        StandardLayouts layouts;
        if (SUCCEEDED(hr)) hr = layouts.Load();
        const MeshReader reader(layouts);
        std::vector<FileMesh> meshes;
        if (SUCCEEDED(hr)) hr = SceneWalk(reader, meshes).TopLevel(topLevel);
        if (SUCCEEDED(hr) && meshes.empty()) hr = D3DXERR_LOADEDMESHASNODATA;
        if (SUCCEEDED(hr))
            hr = BuildMesh(meshes, options, device, ppAdjacency, ppMaterials, ppEffectInstances, pNumMaterials, ppMesh);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    for (IDirectXFileData* data : topLevel) data->Release();
    return hr;
}

}  // namespace
}  // namespace d3dx9

HRESULT WINAPI D3DXLoadMeshFromXof(IDirectXFileData* pxofMesh, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                   LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials,
                                   LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (HRESULT hr = d3dx9::InjectedFailure("D3DXLoadMeshFromXof"); FAILED(hr)) return hr;
    return d3dx9::LoadFromData(pxofMesh, Options, pD3DDevice, ppAdjacency, ppMaterials, ppEffectInstances,
                               pNumMaterials, ppMesh);
}

HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances,
                                  DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (!pFilename || !pD3DDevice || !ppMesh) return D3DERR_INVALIDCALL;
    if (HRESULT hr = d3dx9::InjectedFailure("D3DXLoadMeshFromXA"); FAILED(hr)) return hr;
    IDirectXFile* parser = nullptr;
    HRESULT hr = DirectXFileCreate(&parser);
    if (FAILED(hr)) return hr;
    hr = parser->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES);
    if (SUCCEEDED(hr))
        hr = parser->RegisterTemplates(const_cast<char*>(d3dx9::kXExtensionTemplates), d3dx9::kXExtensionTemplateBytes);
    IDirectXFileEnumObject* objects = nullptr;
    if (SUCCEEDED(hr)) hr = parser->CreateEnumObject(const_cast<char*>(pFilename), DXFILELOAD_FROMFILE, &objects);
    if (SUCCEEDED(hr))
        hr = d3dx9::LoadFile(objects, Options, pD3DDevice, ppAdjacency, ppMaterials, ppEffectInstances, pNumMaterials,
                             ppMesh);
    if (objects) objects->Release();
    parser->Release();
    return hr;
}
