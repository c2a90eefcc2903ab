#include "blur_quad.h"

#include <cstdlib>

#include "placement.h"

namespace {

constexpr DWORD kBlurFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 0x152

struct BlurVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    float u, v;
};
static_assert(sizeof(BlurVertex) == 36);

// The corners in strip order, as (x sign, z sign, u, v).
constexpr float kCorners[4][4] = {{-1, 1, 0, 0}, {-1, -1, 0, 1}, {1, 1, 1, 0}, {1, -1, 1, 1}};

void WritePositions(BlurVertex* vertices, float s, const CVector3& offset, D3DCOLOR diffuse) {
    for (int i = 0; i < 4; ++i) {
        vertices[i].x = offset.x + kCorners[i][0] * s;
        vertices[i].y = offset.y;
        vertices[i].z = offset.z + kCorners[i][1] * s;
        vertices[i].diffuse = diffuse;
    }
}

}  // namespace

CBlurQuad::CBlurQuad() : m_halfSize(5.0f), m_pVertexBuffer(nullptr) {}

CBlurQuad::~CBlurQuad() {}

HRESULT CBlurQuad::CreateVertexBuffer(IDirect3DDevice9*& device) {
    // A buffer of an earlier device is let go first, so nothing leaks.
    ReleaseVertexBuffer();
    if (!device) return S_OK;
    if (FAILED(device->CreateVertexBuffer(4 * sizeof(BlurVertex), D3DUSAGE_WRITEONLY, kBlurFvf, D3DPOOL_MANAGED,
                                          &m_pVertexBuffer, nullptr))) {
        m_pVertexBuffer = nullptr;
        return S_OK;
    }
    void* data = nullptr;
    if (FAILED(m_pVertexBuffer->Lock(0, 0, &data, 0)) || !data) return S_OK;
    auto* vertices = static_cast<BlurVertex*>(data);
    WritePositions(vertices, m_halfSize, CVector3(0, 0, 0), 0x7FFFFFFF);
    for (int i = 0; i < 4; ++i) {
        vertices[i].nx = 0.0f, vertices[i].ny = 1.0f, vertices[i].nz = 0.0f;
        vertices[i].u = kCorners[i][2];
        vertices[i].v = kCorners[i][3];
    }
    m_pVertexBuffer->Unlock();
    return S_OK;
}

HRESULT CBlurQuad::ReleaseVertexBuffer() {
    if (m_pVertexBuffer) {
        m_pVertexBuffer->Release();
        m_pVertexBuffer = nullptr;
    }
    return S_OK;
}

HRESULT CBlurQuad::Move(float boundX, float boundY, float boundZ) {
    m_position += m_velocity;
    auto wrap = [](float& c, float bound) {
        if (c * c > bound) c = -0.9f * c;
    };
    wrap(m_position.x, boundX);
    wrap(m_position.y, boundY);
    wrap(m_position.z, boundZ);
    return S_OK;
}

void CBlurQuad::DrawVertices(IDirect3DDevice9* device) const {
    device->SetFVF(kBlurFvf);
    device->SetStreamSource(0, m_pVertexBuffer, 0, sizeof(BlurVertex));
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
}

HRESULT CBlurQuad::DrawBlurred(IDirect3DDevice9*& device, ID3DXMatrixStack*& stack, int copies, float spread) {
    if (!device) return S_OK;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    for (int i = copies - 1; i >= 0 && m_pVertexBuffer && stack; --i) {
        const float steps = static_cast<float>(i + 1);
        const CVector3 offset = m_velocity / static_cast<float>(copies) * steps * spread;
        const D3DCOLOR alpha = static_cast<D3DCOLOR>(255 / (copies - i));
        void* data = nullptr;
        // A copy whose vertices cannot be written is not drawn.
        if (FAILED(m_pVertexBuffer->Lock(0, 0, &data, 0)) || !data) continue;
        WritePositions(static_cast<BlurVertex*>(data), m_halfSize, offset, alpha << 24 | 0x00FFFFFF);
        m_pVertexBuffer->Unlock();
        PushPlacement(device, stack, m_position, m_rotation);
        DrawVertices(device);
        stack->Pop();
        device->SetTransform(D3DTS_WORLD, stack->GetTop());
    }
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    return S_OK;
}

HRESULT CBlurQuad::Draw(IDirect3DDevice9*& device, ID3DXMatrixStack*& stack, bool pop) {
    if (!device || !stack) return S_OK;
    PushPlacement(device, stack, m_position, m_rotation);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    if (m_pVertexBuffer) DrawVertices(device);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    if (pop) {
        stack->Pop();
        device->SetTransform(D3DTS_WORLD, stack->GetTop());
    }
    return S_OK;
}

void PlaceBlurQuadAtRandom(CBlurQuad& quad, int index) {
    const int r1 = std::rand();
    const int r2 = std::rand();
    const int r3 = std::rand();
    const int r4 = std::rand();
    quad.m_position.x = static_cast<float>(r1 % 50) - 25.0f;
    quad.m_position.z = static_cast<float>(r2 % 50) - 25.0f;
    const float speed = static_cast<float>(((r4 % 100) - 50) * 0.005);
    if (index % 2 == 0) {
        quad.m_position.y = static_cast<float>(r3 % 10) + 5.0f;
        quad.m_velocity.x = speed;
    } else {
        quad.m_position.y = -static_cast<float>(r3 % 10) - 5.0f;
        quad.m_velocity.z = speed;
    }
}
