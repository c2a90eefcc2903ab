// Bounding spheres and vertex normals.
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "mesh_layout.h"

HRESULT WINAPI D3DXComputeBoundingSphere(const D3DXVECTOR3* pFirstPosition, DWORD NumVertices, DWORD dwStride,
                                         D3DXVECTOR3* pCenter, FLOAT* pRadius) {
    if (!pFirstPosition || !pCenter || !pRadius || NumVertices == 0 || dwStride < 12) return D3DERR_INVALIDCALL;
    if (HRESULT hr = d3dx9::InjectedFailure("D3DXComputeBoundingSphere"); FAILED(hr)) return hr;
    const auto* base = reinterpret_cast<const uint8_t*>(pFirstPosition);
    auto at = [&](DWORD i) {
        float p[3];
        std::memcpy(p, base + size_t(i) * dwStride, sizeof p);
        return D3DXVECTOR3(p[0], p[1], p[2]);
    };
    double sx = 0, sy = 0, sz = 0;
    for (DWORD i = 0; i < NumVertices; ++i) {
        const D3DXVECTOR3 p = at(i);
        sx += p.x, sy += p.y, sz += p.z;
    }
    const D3DXVECTOR3 centre(float(sx / NumVertices), float(sy / NumVertices), float(sz / NumVertices));
    float radius = 0.0f;
    for (DWORD i = 0; i < NumVertices; ++i) {
        const D3DXVECTOR3 d = at(i) - centre;
        radius = std::fmax(radius, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
    }
    *pCenter = centre;
    *pRadius = radius;
    return S_OK;
}

HRESULT WINAPI D3DXComputeNormals(LPD3DXBASEMESH pMesh, const DWORD*) {
    if (!pMesh) return D3DERR_INVALIDCALL;
    if (HRESULT hr = d3dx9::InjectedFailure("D3DXComputeNormals"); FAILED(hr)) return hr;
    ID3DXMesh* mesh = nullptr;
    if (FAILED(pMesh->QueryInterface(IID_ID3DXMesh, reinterpret_cast<void**>(&mesh)))) return D3DERR_INVALIDCALL;
    const d3d9::FvfLayout layout = d3dx9::LayoutOfFvf(mesh->GetFVF());
    HRESULT hr = S_OK;
    if (layout.normal < 0 || layout.stride == 0) hr = D3DERR_INVALIDCALL;
    try {
        std::vector<uint32_t> indices;
        if (SUCCEEDED(hr)) hr = d3dx9::ReadIndices(mesh, indices);
        void* p = nullptr;
        if (SUCCEEDED(hr)) hr = mesh->LockVertexBuffer(0, &p);
        if (SUCCEEDED(hr)) {
            auto* bytes = static_cast<uint8_t*>(p);
            const DWORD count = mesh->GetNumVertices();
            std::vector<D3DXVECTOR3> sums(count, D3DXVECTOR3(0, 0, 0));
            auto position = [&](uint32_t i) {
                float v[3];
                std::memcpy(v, bytes + size_t(i) * layout.stride, sizeof v);
                return D3DXVECTOR3(v[0], v[1], v[2]);
            };
            for (size_t f = 0; f + 2 < indices.size(); f += 3) {
                const uint32_t a = indices[f], b = indices[f + 1], c = indices[f + 2];
                if (a >= count || b >= count || c >= count) continue;
                // Clockwise faces face the viewer: (b - a) x (c - a), its length twice the area.
                D3DXVECTOR3 n;
                const D3DXVECTOR3 e1 = position(b) - position(a), e2 = position(c) - position(a);
                D3DXVec3Cross(&n, &e1, &e2);
                sums[a] += n, sums[b] += n, sums[c] += n;
            }
            for (DWORD i = 0; i < count; ++i) {
                D3DXVECTOR3 n;
                D3DXVec3Normalize(&n, &sums[i]);
                std::memcpy(bytes + size_t(i) * layout.stride + layout.normal, &n.x, 12);
            }
            mesh->UnlockVertexBuffer();
        }
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    mesh->Release();
    return hr;
}
