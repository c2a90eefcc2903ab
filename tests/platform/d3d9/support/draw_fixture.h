// Drawing through the device: a small device with a lockable back buffer and a depth buffer, vertex
// helpers, matrices, textures made through the API, and golden images compared as PNG files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device_fixture.h"

namespace test {

constexpr UINT kDrawWidth = 64, kDrawHeight = 64;

// Pre-transformed, coloured, one texture set (FVF XYZRHW | DIFFUSE | TEX1).
struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Model space with a normal and one texture set (FVF XYZ | NORMAL | TEX1).
struct ModelVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
constexpr DWORD kModelFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// Model space, coloured (FVF XYZ | DIFFUSE).
struct ColoredVertex {
    float x, y, z;
    uint32_t diffuse;
};
constexpr DWORD kColoredFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// Four pre-transformed corners of the rectangle [x0, x1) x [y0, y1) as a strip, shifted by -0.5 so
// texel centres land on pixel centres.
std::vector<ScreenVertex> ScreenQuad(float x0, float y0, float x1, float y1, uint32_t diffuse = 0xFFFFFFFF,
                                     float z = 0.5f);

D3DMATRIX Identity();
D3DMATRIX LookAt(float ex, float ey, float ez, float ax, float ay, float az);
D3DMATRIX Perspective(float fovY, float aspect, float zn, float zf);
D3DMATRIX Translation(float x, float y, float z);

D3DMATERIAL9 Material(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient);

class DrawTest : public DeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes a managed A8R8G8B8 texture whose every level is filled by argbAt(level, x, y).
    IDirect3DTexture9* MakeTexture(UINT width, UINT height, UINT levels,
                                   const std::function<uint32_t(UINT level, UINT x, UINT y)>& argbAt);
    // Clears, draws inside a scene, and ends the scene.
    void Frame(uint32_t background, const std::function<void()>& draw);
    template <typename Vertex>
    void DrawStrip(const std::vector<Vertex>& vertices, DWORD fvf) {
        ASSERT_EQ(device_->SetFVF(fvf), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, UINT(vertices.size() - 2), vertices.data(),
                                           sizeof(Vertex)),
                  D3D_OK);
    }
    // The back buffer's pixels, 0xAARRGGBB with alpha 255, read through LockRect.
    std::vector<uint32_t> Pixels();
    uint32_t Pixel(UINT x, UINT y);
    // Compares the back buffer with golden/<name>.png within `tolerance` per channel. With
    // MORVATH_UPDATE_GOLDEN=1 the reference is written instead. On a mismatch <name>.actual.png and
    // <name>.diff.png are written to the working directory (the build folder).
    void ExpectGolden(const std::string& name, int tolerance = 2);

    std::string goldenFolder_;  // where ExpectGolden's references are; empty: this area's golden/

    IDirect3DDevice9* device_ = nullptr;
    std::vector<IUnknown*> owned_;  // released at the end of the test
};

bool WritePng(const std::string& path, UINT width, UINT height, const std::vector<uint32_t>& argb);
bool ReadPng(const std::string& path, UINT& width, UINT& height, std::vector<uint32_t>& argb);

}  // namespace test
