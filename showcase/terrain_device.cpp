// The terrain's device side: one vertex per grid point in a managed vertex buffer, a fixed index
// buffer of two triangles per cell, the grass and shadow textures, the vertex rewrite and the draw.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "crtcompat.h"
#include "d3dx9.h"
#include "terrain.h"

namespace {

constexpr DWORD kTerrainFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2;  // 0x252

struct TerrainVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    float u0, v0;  // grass, by slope
    float u1, v1;  // shadow, once over the grid
};
static_assert(sizeof(TerrainVertex) == 44);

int VertexIndex(int x, int z) { return z * kTerrainPoints + x; }

// 255 * n truncated toward zero, of which the low 8 bits count; a value that is not a number gives 0.
uint32_t ColourByte(float n) {
    const float v = 255.0f * n;
    if (!(v > -2147483520.0f && v < 2147483520.0f)) return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(v)) & 0xFFu;
}

template <typename T>
void ReleaseObject(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

HRESULT LoadTexture(IDirect3DDevice9* device, const char* file, IDirect3DTexture9*& texture) {
    return D3DXCreateTextureFromFileExA(device, file, D3DX_DEFAULT, D3DX_DEFAULT, 5, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_FILTER_POINT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                        &texture);
}

}  // namespace

HRESULT CTerrain::CreateDeviceResources(IDirect3DDevice9*& device) {
    // Whatever an earlier device left is let go first, so nothing leaks.
    ReleaseDeviceResources();
    for (int x = 0; x < kTerrainPoints; ++x)
        for (int z = 0; z < kTerrainPoints; ++z) m_target[x][z] = m_height[x][z] = 0.0f;
    if (!device) return D3DERR_INVALIDCALL;

    if (SUCCEEDED(device->CreateVertexBuffer(m_numVertices * sizeof(TerrainVertex), D3DUSAGE_WRITEONLY, kTerrainFvf,
                                             D3DPOOL_MANAGED, &m_pVertexBuffer, nullptr))) {
        void* data = nullptr;
        if (SUCCEEDED(m_pVertexBuffer->Lock(0, 0, &data, 0)) && data) {
            auto* vertices = static_cast<TerrainVertex*>(data);
            for (int z = 0; z < kTerrainPoints; ++z)
                for (int x = 0; x < kTerrainPoints; ++x) {
                    TerrainVertex& v = vertices[VertexIndex(x, z)];
                    v.x = float(x - 64);
                    v.y = m_height[x][z];
                    v.z = float(z - 64);
                    v.nx = 0.0f, v.ny = 1.0f, v.nz = 0.0f;
                    v.diffuse = 0xFFFFFFFF;
                    v.u0 = v.v0 = 1.0f;
                }
            m_pVertexBuffer->Unlock();
        }
    } else {
        m_pVertexBuffer = nullptr;
    }

    if (SUCCEEDED(device->CreateIndexBuffer(m_numTriangles * 3 * sizeof(uint16_t), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                            D3DPOOL_MANAGED, &m_pIndexBuffer, nullptr))) {
        void* data = nullptr;
        if (SUCCEEDED(m_pIndexBuffer->Lock(0, 0, &data, 0)) && data) {
            auto* index = static_cast<uint16_t*>(data);
            for (int z = 0; z < kTerrainWorking; ++z)
                for (int x = 0; x < kTerrainWorking; ++x) {
                    const auto v = static_cast<uint16_t>(VertexIndex(x, z));
                    const uint16_t cell[6] = {v, uint16_t(v + 1), uint16_t(v + 130), v, uint16_t(v + 130),
                                              uint16_t(v + 129)};
                    for (uint16_t i : cell) *index++ = i;
                }
            m_pIndexBuffer->Unlock();
        }
    } else {
        m_pIndexBuffer = nullptr;
    }

    LoadTexture(device, "Media/grass.bmp", m_pGrassTexture);
    return LoadTexture(device, "Media/shadow.bmp", m_pShadowTexture);
}

void CTerrain::UpdateVertices(IDirect3DDevice9*&) {
    if (!m_pVertexBuffer) return;
    void* data = nullptr;
    if (FAILED(m_pVertexBuffer->Lock(0, 0, &data, 0)) || !data) return;
    auto* vertices = static_cast<TerrainVertex*>(data);
    for (int z = 0; z < kTerrainPoints; ++z)
        for (int x = 0; x < kTerrainPoints; ++x) {
            TerrainVertex& v = vertices[VertexIndex(x, z)];
            const CVector3& n = m_normals[x][z];
            const uint32_t level = ColourByte(m_normalised[x][z]);
            v.x = float(x - 64);
            v.y = m_height[x][z];
            v.z = float(z - 64);
            v.nx = n.x, v.ny = n.y, v.nz = n.z;
            v.diffuse = 0xFF000000u | (level << 16) | 0x0000FF00u | level;
            v.u0 = n.x * 0.5f + 0.5f;
            v.v0 = n.y * 0.5f + 0.5f;
            v.u1 = float(x) * 0.0078125f;
            v.v1 = float(z) * 0.0078125f;
        }
    m_pVertexBuffer->Unlock();
}

void CTerrain::RefreshIfDirty(IDirect3DDevice9*& device) {
    if (m_bDirty) UpdateVertices(device);
}

void CTerrain::Draw(IDirect3DDevice9*& device) {
    if (!device) return;
    device->SetTexture(0, m_pGrassTexture);
    device->SetTexture(1, m_pShadowTexture);
    // Without both buffers there is nothing to draw from.
    if (m_pVertexBuffer && m_pIndexBuffer) {
        device->SetFVF(kTerrainFvf);
        device->SetStreamSource(0, m_pVertexBuffer, 0, sizeof(TerrainVertex));
        device->SetIndices(m_pIndexBuffer);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, m_numVertices, 0, m_numTriangles);
    }
    device->SetTexture(0, nullptr);
    device->SetTexture(1, nullptr);
}

HRESULT CTerrain::ReleaseDeviceResources() {
    ReleaseObject(m_pVertexBuffer);
    ReleaseObject(m_pIndexBuffer);
    ReleaseObject(m_pGrassTexture);
    ReleaseObject(m_pShadowTexture);
    return S_OK;
}

void CTerrain::LoadRaw(const char* path, float maximumHeight) {
    if (!path) return;
    FILE* file = fopen(path, "rb");
    // A file that does not open changes nothing.
    if (!file) return;
    const double scale = maximumHeight / 255.0;
    bool read = false;
    // Rows of 129 bytes, one per z; a short file sets the targets its bytes reach and leaves the rest.
    for (int z = 0; z < kTerrainPoints; ++z)
        for (int x = 0; x < kTerrainPoints; ++x) {
            const int b = std::fgetc(file);
            if (b == EOF) {
                z = kTerrainPoints;
                break;
            }
            m_target[x][z] = static_cast<float>(b * scale);
            read = true;
        }
    std::fclose(file);
    if (read) m_bDirty = true;
}
