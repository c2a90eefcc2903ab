// ID3DXMesh: vertex and index buffers on the device, one attribute id per face in memory, and the
// attribute table that DrawSubset follows when it has one.
#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "com/com_object.h"
#include "mesh_layout.h"

namespace d3dx9 {
namespace {

D3DPOOL PoolOf(DWORD options, DWORD systemFlag, DWORD managedFlag) {
    if (options & systemFlag) return D3DPOOL_SYSTEMMEM;
    if (options & managedFlag) return D3DPOOL_MANAGED;
    return D3DPOOL_DEFAULT;
}

DWORD UsageOf(DWORD options, DWORD writeOnly, DWORD dynamic, DWORD software) {
    DWORD usage = 0;
    if (options & writeOnly) usage |= D3DUSAGE_WRITEONLY;
    if (options & dynamic) usage |= D3DUSAGE_DYNAMIC;
    if (options & software) usage |= D3DUSAGE_SOFTWAREPROCESSING;
    return usage;
}

class Mesh final : public com::ComObject<ID3DXMesh, IID_ID3DXBaseMesh, IID_ID3DXMesh> {
public:
    static HRESULT Create(DWORD faces, DWORD vertices, DWORD options, DWORD fvf, IDirect3DDevice9* device, Mesh** out) {
        const d3d9::FvfLayout layout = LayoutOfFvf(fvf);
        if (!device || !out || faces == 0 || vertices == 0 || layout.stride == 0) return D3DERR_INVALIDCALL;
        const bool wide = (options & D3DXMESH_32BIT) != 0;
        if (!wide && vertices > 0xFFFF) return D3DERR_INVALIDCALL;
        const uint64_t vbBytes = uint64_t(vertices) * layout.stride;
        const uint64_t ibBytes = uint64_t(faces) * 3 * (wide ? 4 : 2);
        if (vbBytes > 0x7FFFFFFF || ibBytes > 0x7FFFFFFF) return D3DERR_INVALIDCALL;
        Mesh* mesh = new (std::nothrow) Mesh(device, options, fvf, layout, faces, vertices);
        if (!mesh) return E_OUTOFMEMORY;
        try {
            mesh->attributes_.assign(faces, 0);
        } catch (const std::bad_alloc&) {
            mesh->Release();
            return E_OUTOFMEMORY;
        }
        HRESULT hr = device->CreateVertexBuffer(
            UINT(vbBytes), UsageOf(options, D3DXMESH_VB_WRITEONLY, D3DXMESH_VB_DYNAMIC, D3DXMESH_VB_SOFTWAREPROCESSING),
            fvf, PoolOf(options, D3DXMESH_VB_SYSTEMMEM, D3DXMESH_VB_MANAGED), &mesh->vb_, nullptr);
        if (SUCCEEDED(hr))
            hr = device->CreateIndexBuffer(
                UINT(ibBytes),
                UsageOf(options, D3DXMESH_IB_WRITEONLY, D3DXMESH_IB_DYNAMIC, D3DXMESH_IB_SOFTWAREPROCESSING),
                wide ? D3DFMT_INDEX32 : D3DFMT_INDEX16, PoolOf(options, D3DXMESH_IB_SYSTEMMEM, D3DXMESH_IB_MANAGED),
                &mesh->ib_, nullptr);
        if (FAILED(hr)) {
            mesh->Release();
            return hr;
        }
        *out = mesh;
        return S_OK;
    }

    HRESULT DrawSubset(DWORD id) override {
        HRESULT hr = device_->SetFVF(fvf_);
        if (SUCCEEDED(hr)) hr = device_->SetStreamSource(0, vb_, 0, layout_.stride);
        if (SUCCEEDED(hr)) hr = device_->SetIndices(ib_);
        if (FAILED(hr)) return hr;
        HRESULT result = S_OK;
        auto draw = [&](DWORD minVertex, DWORD vertexCount, DWORD faceStart, DWORD faceCount) {
            if (faceCount == 0) return;
            HRESULT r =
                device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, minVertex, vertexCount, faceStart * 3, faceCount);
            if (FAILED(r)) result = r;
        };
        if (!table_.empty()) {
            for (const D3DXATTRIBUTERANGE& r : table_)
                if (r.AttribId == id) draw(r.VertexStart, r.VertexCount, r.FaceStart, r.FaceCount);
            return result;
        }
        // No table: every run of faces of this id, in face order.
        for (DWORD f = 0; f < faces_;) {
            if (attributes_[f] != id) {
                ++f;
                continue;
            }
            DWORD end = f;
            while (end < faces_ && attributes_[end] == id) ++end;
            draw(0, vertices_, f, end - f);
            f = end;
        }
        return result;
    }

    DWORD GetNumFaces() override { return faces_; }
    DWORD GetNumVertices() override { return vertices_; }
    DWORD GetFVF() override { return fvf_; }
    DWORD GetNumBytesPerVertex() override { return layout_.stride; }
    DWORD GetOptions() override { return options_; }
    HRESULT GetDevice(IDirect3DDevice9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        device_->AddRef();
        *out = device_;
        return S_OK;
    }

    HRESULT CloneMeshFVF(DWORD options, DWORD fvf, IDirect3DDevice9* device, ID3DXMesh** out) override {
        if (!out || !device) return D3DERR_INVALIDCALL;
        if (HRESULT hr = InjectedFailure("ID3DXMesh::CloneMeshFVF"); FAILED(hr)) return hr;
        Mesh* clone = nullptr;
        if (HRESULT hr = Create(faces_, vertices_, options, fvf, device, &clone); FAILED(hr)) return hr;
        HRESULT hr = CopyInto(*clone);
        if (FAILED(hr)) {
            clone->Release();
            return hr;
        }
        *out = clone;
        return S_OK;
    }

    HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        if (HRESULT hr = InjectedFailure("ID3DXMesh::GetVertexBuffer"); FAILED(hr)) return hr;
        vb_->AddRef();
        *out = vb_;
        return S_OK;
    }
    HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        ib_->AddRef();
        *out = ib_;
        return S_OK;
    }
    HRESULT LockVertexBuffer(DWORD flags, LPVOID* data) override {
        if (!data) return D3DERR_INVALIDCALL;
        return vb_->Lock(0, 0, data, flags);
    }
    HRESULT UnlockVertexBuffer() override { return vb_->Unlock(); }
    HRESULT LockIndexBuffer(DWORD flags, LPVOID* data) override {
        if (!data) return D3DERR_INVALIDCALL;
        return ib_->Lock(0, 0, data, flags);
    }
    HRESULT UnlockIndexBuffer() override { return ib_->Unlock(); }

    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override {
        if (!size) return D3DERR_INVALIDCALL;
        if (table) std::copy(table_.begin(), table_.end(), table);
        *size = DWORD(table_.size());
        return S_OK;
    }

    HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) override {
        if (!data || attributesLocked_) return D3DERR_INVALIDCALL;
        attributesLocked_ = true;
        attributesReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
        *data = attributes_.data();
        return S_OK;
    }
    HRESULT UnlockAttributeBuffer() override {
        if (!attributesLocked_) return D3DERR_INVALIDCALL;
        attributesLocked_ = false;
        // Changed attributes may no longer match the table: draw by the attributes themselves.
        if (!attributesReadOnly_) table_.clear();
        return S_OK;
    }

    HRESULT SetAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD size) override {
        if (!table && size) return D3DERR_INVALIDCALL;
        for (DWORD i = 0; i < size; ++i) {
            const D3DXATTRIBUTERANGE& r = table[i];
            if (uint64_t(r.FaceStart) + r.FaceCount > faces_ || uint64_t(r.VertexStart) + r.VertexCount > vertices_)
                return D3DERR_INVALIDCALL;
        }
        try {
            table_.assign(table, table + size);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    // Faces sorted by attribute (stably), unused vertices dropped and the rest numbered in the order
    // the faces first use them; the vertex-cache and strip orders add nothing to that. The adjacency
    // handed in follows its faces to their new places; without one it is found from the indices.
    HRESULT OptimizeInplace(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                            LPD3DXBUFFER* vertexRemap) override {
        if (HRESULT hr = InjectedFailure("ID3DXMesh::OptimizeInplace"); FAILED(hr)) return hr;
        return Optimize(flags, adjacencyIn, adjacencyOut, faceRemap, vertexRemap);
    }

    HRESULT Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                     LPD3DXBUFFER* vertexRemap) {
        // Each flag implies the ones before it.
        if (flags & (D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER)) flags |= D3DXMESHOPT_ATTRSORT;
        if (flags & D3DXMESHOPT_ATTRSORT) flags |= D3DXMESHOPT_COMPACT;
        if (attributesLocked_) return D3DERR_INVALIDCALL;
        if (adjacencyIn)
            for (DWORD i = 0; i < 3 * faces_; ++i)
                if (adjacencyIn[i] != 0xFFFFFFFFu && adjacencyIn[i] >= faces_) return D3DERR_INVALIDCALL;
        try {
            std::vector<uint32_t> indices;
            if (HRESULT hr = ReadIndices(this, indices); FAILED(hr)) return hr;
            std::vector<DWORD> order(faces_);
            std::iota(order.begin(), order.end(), 0u);
            if (flags & D3DXMESHOPT_ATTRSORT)
                std::stable_sort(order.begin(), order.end(),
                                 [&](DWORD a, DWORD b) { return attributes_[a] < attributes_[b]; });
            std::vector<uint32_t> sorted(indices.size());
            std::vector<DWORD> attributes(faces_);
            for (DWORD f = 0; f < faces_; ++f) {
                attributes[f] = attributes_[order[f]];
                for (int k = 0; k < 3; ++k) sorted[3 * f + k] = indices[3 * order[f] + k];
            }
            // Vertices in the order the faces first use them; unused ones dropped.
            std::vector<DWORD> newToOld(vertices_);
            std::iota(newToOld.begin(), newToOld.end(), 0u);
            if ((flags & D3DXMESHOPT_COMPACT) && !(flags & D3DXMESHOPT_IGNOREVERTS)) {
                std::vector<uint32_t> oldToNew(vertices_, 0xFFFFFFFFu);
                newToOld.clear();
                for (uint32_t& i : sorted) {
                    if (oldToNew[i] == 0xFFFFFFFFu) {
                        oldToNew[i] = uint32_t(newToOld.size());
                        newToOld.push_back(i);
                    }
                    i = oldToNew[i];
                }
            }
            if (newToOld.size() != vertices_) {
                if (HRESULT hr = ReplaceVertices(newToOld); FAILED(hr)) return hr;
            } else {
                if (HRESULT hr = ReorderVertices(newToOld); FAILED(hr)) return hr;
            }
            if (HRESULT hr = WriteIndices(this, sorted); FAILED(hr)) return hr;
            attributes_ = attributes;
            if (flags & D3DXMESHOPT_ATTRSORT) BuildTable(sorted);
            if (adjacencyOut && adjacencyIn) {
                std::vector<DWORD> newFace(faces_);
                for (DWORD f = 0; f < faces_; ++f) newFace[order[f]] = f;
                std::vector<DWORD> adjacency(size_t(faces_) * 3);
                for (DWORD f = 0; f < faces_; ++f)
                    for (int k = 0; k < 3; ++k) {
                        const DWORD old = adjacencyIn[3 * order[f] + k];
                        adjacency[3 * f + k] = old == 0xFFFFFFFFu ? old : newFace[old];
                    }
                std::copy(adjacency.begin(), adjacency.end(), adjacencyOut);
            } else if (adjacencyOut) {
                const std::vector<DWORD> adjacency = ComputeAdjacency(sorted);
                std::copy(adjacency.begin(), adjacency.end(), adjacencyOut);
            }
            if (faceRemap) std::copy(order.begin(), order.end(), faceRemap);
            if (vertexRemap) {
                *vertexRemap = nullptr;
                if (HRESULT hr = D3DXCreateBuffer(DWORD(newToOld.size() * sizeof(DWORD)), vertexRemap); FAILED(hr))
                    return hr;
                std::memcpy((*vertexRemap)->GetBufferPointer(), newToOld.data(), newToOld.size() * sizeof(DWORD));
            }
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

private:
    Mesh(IDirect3DDevice9* device, DWORD options, DWORD fvf, const d3d9::FvfLayout& layout, DWORD faces, DWORD vertices)
        : device_(device), options_(options), fvf_(fvf), layout_(layout), faces_(faces), vertices_(vertices) {
        device_->AddRef();
    }
    ~Mesh() {
        if (vb_) vb_->Release();
        if (ib_) ib_->Release();
        device_->Release();
    }

    HRESULT CopyInto(Mesh& clone) {
        void* from = nullptr;
        void* to = nullptr;
        if (HRESULT hr = vb_->Lock(0, 0, &from, D3DLOCK_READONLY); FAILED(hr)) return hr;
        HRESULT hr = clone.vb_->Lock(0, 0, &to, 0);
        if (SUCCEEDED(hr)) {
            std::memset(to, 0, size_t(vertices_) * clone.layout_.stride);
            for (DWORD v = 0; v < vertices_; ++v)
                ConvertVertex(static_cast<const uint8_t*>(from) + size_t(v) * layout_.stride, layout_,
                              static_cast<uint8_t*>(to) + size_t(v) * clone.layout_.stride, clone.layout_);
            clone.vb_->Unlock();
        }
        vb_->Unlock();
        if (FAILED(hr)) return hr;
        try {
            std::vector<uint32_t> indices;
            if (hr = ReadIndices(this, indices); FAILED(hr)) return hr;
            if (hr = WriteIndices(&clone, indices); FAILED(hr)) return hr;
            clone.attributes_ = attributes_;
            clone.table_ = table_;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    // A new vertex buffer holding the old vertices newToOld[0], newToOld[1], ...
    HRESULT ReplaceVertices(const std::vector<DWORD>& newToOld) {
        IDirect3DVertexBuffer9* vb = nullptr;
        D3DVERTEXBUFFER_DESC desc{};
        if (HRESULT hr = vb_->GetDesc(&desc); FAILED(hr)) return hr;
        const DWORD count = DWORD(std::max<size_t>(newToOld.size(), 1));
        if (HRESULT hr = device_->CreateVertexBuffer(count * layout_.stride, desc.Usage, fvf_, desc.Pool, &vb, nullptr);
            FAILED(hr))
            return hr;
        HRESULT hr = CopyVertices(vb, newToOld);
        if (FAILED(hr)) {
            vb->Release();
            return hr;
        }
        vb_->Release();
        vb_ = vb;
        vertices_ = DWORD(newToOld.size());
        return S_OK;
    }

    HRESULT ReorderVertices(const std::vector<DWORD>& newToOld) {
        bool identity = true;
        for (size_t i = 0; i < newToOld.size() && identity; ++i) identity = newToOld[i] == i;
        if (identity) return S_OK;
        return CopyVertices(vb_, newToOld);
    }

    HRESULT CopyVertices(IDirect3DVertexBuffer9* target, const std::vector<DWORD>& newToOld) {
        void* p = nullptr;
        if (HRESULT hr = vb_->Lock(0, 0, &p, D3DLOCK_READONLY); FAILED(hr)) return hr;
        std::vector<uint8_t> old(static_cast<const uint8_t*>(p),
                                 static_cast<const uint8_t*>(p) + size_t(vertices_) * layout_.stride);
        vb_->Unlock();
        void* q = nullptr;
        if (HRESULT hr = target->Lock(0, 0, &q, 0); FAILED(hr)) return hr;
        for (size_t v = 0; v < newToOld.size(); ++v)
            std::memcpy(static_cast<uint8_t*>(q) + v * layout_.stride,
                        old.data() + size_t(newToOld[v]) * layout_.stride, layout_.stride);
        target->Unlock();
        return S_OK;
    }

    void BuildTable(const std::vector<uint32_t>& indices) {
        table_.clear();
        for (DWORD f = 0; f < faces_;) {
            D3DXATTRIBUTERANGE r{attributes_[f], f, 0, 0xFFFFFFFFu, 0};
            uint32_t highest = 0;
            DWORD end = f;
            for (; end < faces_ && attributes_[end] == r.AttribId; ++end)
                for (int k = 0; k < 3; ++k) {
                    r.VertexStart = std::min<DWORD>(r.VertexStart, indices[3 * end + k]);
                    highest = std::max(highest, indices[3 * end + k]);
                }
            r.FaceCount = end - f;
            r.VertexCount = highest - r.VertexStart + 1;
            table_.push_back(r);
            f = end;
        }
    }

    IDirect3DDevice9* device_;
    DWORD options_;
    DWORD fvf_;
    d3d9::FvfLayout layout_;
    DWORD faces_;
    DWORD vertices_;
    IDirect3DVertexBuffer9* vb_ = nullptr;
    IDirect3DIndexBuffer9* ib_ = nullptr;
    std::vector<DWORD> attributes_;
    std::vector<D3DXATTRIBUTERANGE> table_;
    bool attributesLocked_ = false;
    bool attributesReadOnly_ = false;
};

}  // namespace

HRESULT OptimizeMadeMesh(ID3DXMesh* mesh, DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut) {
    return static_cast<Mesh*>(mesh)->Optimize(flags, adjacencyIn, adjacencyOut, nullptr, nullptr);
}

HRESULT ReadIndices(ID3DXMesh* mesh, std::vector<uint32_t>& indices) {
    const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    const size_t count = size_t(mesh->GetNumFaces()) * 3;
    void* p = nullptr;
    if (HRESULT hr = mesh->LockIndexBuffer(D3DLOCK_READONLY, &p); FAILED(hr)) return hr;
    indices.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (wide) {
            std::memcpy(&indices[i], static_cast<const uint8_t*>(p) + 4 * i, 4);
        } else {
            uint16_t v;
            std::memcpy(&v, static_cast<const uint8_t*>(p) + 2 * i, 2);
            indices[i] = v;
        }
    }
    mesh->UnlockIndexBuffer();
    return S_OK;
}

HRESULT WriteIndices(ID3DXMesh* mesh, const std::vector<uint32_t>& indices) {
    const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    if (indices.size() != size_t(mesh->GetNumFaces()) * 3) return D3DERR_INVALIDCALL;
    for (uint32_t i : indices)
        if (i >= mesh->GetNumVertices()) return D3DERR_INVALIDCALL;
    void* p = nullptr;
    if (HRESULT hr = mesh->LockIndexBuffer(0, &p); FAILED(hr)) return hr;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (wide) {
            std::memcpy(static_cast<uint8_t*>(p) + 4 * i, &indices[i], 4);
        } else {
            const uint16_t v = uint16_t(indices[i]);
            std::memcpy(static_cast<uint8_t*>(p) + 2 * i, &v, 2);
        }
    }
    return mesh->UnlockIndexBuffer();
}

HRESULT WriteAttributes(ID3DXMesh* mesh, const std::vector<DWORD>& attributes) {
    if (attributes.size() != mesh->GetNumFaces()) return D3DERR_INVALIDCALL;
    DWORD* p = nullptr;
    if (HRESULT hr = mesh->LockAttributeBuffer(0, &p); FAILED(hr)) return hr;
    std::copy(attributes.begin(), attributes.end(), p);
    return mesh->UnlockAttributeBuffer();
}

std::vector<DWORD> ComputeAdjacency(const std::vector<uint32_t>& indices) {
    const size_t faces = indices.size() / 3;
    std::vector<DWORD> adjacency(faces * 3, 0xFFFFFFFFu);
    std::unordered_map<uint64_t, std::vector<uint32_t>> edges;  // undirected edge -> face*3 + edge
    for (size_t f = 0; f < faces; ++f)
        for (int k = 0; k < 3; ++k) {
            const uint32_t a = indices[3 * f + k], b = indices[3 * f + (k + 1) % 3];
            if (a == b) continue;
            const uint64_t key = (uint64_t(std::min(a, b)) << 32) | std::max(a, b);
            edges[key].push_back(uint32_t(3 * f + k));
        }
    for (const auto& [key, users] : edges)
        for (uint32_t u : users)
            for (uint32_t other : users)
                if (other / 3 != u / 3) {
                    adjacency[u] = other / 3;
                    break;
                }
    return adjacency;
}

}  // namespace d3dx9

HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options, DWORD FVF,
                                 IDirect3DDevice9* pD3DDevice, LPD3DXMESH* ppMesh) {
    if (!ppMesh) return D3DERR_INVALIDCALL;
    d3dx9::Mesh* mesh = nullptr;
    HRESULT hr = d3dx9::Mesh::Create(NumFaces, NumVertices, Options, FVF, pD3DDevice, &mesh);
    if (SUCCEEDED(hr)) *ppMesh = mesh;
    return hr;
}
