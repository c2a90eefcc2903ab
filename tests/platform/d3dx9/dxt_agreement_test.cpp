// A DXT texture looks the same whether D3DX decodes it while loading or the device samples its blocks:
// both read them with one decoder. The three-colour DXT1 block's midpoint once differed between them.
#include <gtest/gtest.h>

#include "support/loader_fixture.h"

namespace {

using test::Bytes;
using test::DdsSpec;
using test::LoaderTest;

// The 4 x 4 back-buffer pixels of a quad textured with `texture`, texel for pixel.
std::vector<uint32_t> DrawnTexels(IDirect3DDevice9* device, IDirect3DTexture9* texture) {
    struct Vertex {
        float x, y, z, rhw, u, v;
    };
    const Vertex quad[4] = {
        {-0.5f, -0.5f, 0, 1, 0, 0}, {3.5f, -0.5f, 0, 1, 1, 0}, {-0.5f, 3.5f, 0, 1, 0, 1}, {3.5f, 3.5f, 0, 1, 1, 1}};
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF123456, 1.0f, 0), D3D_OK);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    device->SetTexture(0, nullptr);

    std::vector<uint32_t> pixels;
    IDirect3DSurface9* back = nullptr;
    EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    if (!back) return pixels;
    D3DLOCKED_RECT locked{};
    if (back->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                pixels.push_back(static_cast<const uint32_t*>(locked.pBits)[y * (locked.Pitch / 4) + x] & 0xFFFFFF);
        back->UnlockRect();
    }
    back->Release();
    return pixels;
}

TEST_F(LoaderTest, DxtTexelsAreTheSameDecodedByD3dxAndSampledByTheDevice) {
    MakeDevice();
    const auto colorBlock = test::DxtColorBlock;
    const struct {
        const char* what;
        Bytes block;
        uint32_t third;  // the colour of index 2, as both must decode it
    } cases[] = {
        {"three colours: the midpoint of blue and red rounds up", colorBlock(0x001F, 0xF800), 0x800080},
        {"four colours: two thirds red", colorBlock(0xF800, 0x001F), 0xAA0055},
        {"three colours of odd channels", colorBlock(0x0821, 0x39E7), 0x212021},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DdsSpec s;
        s.fourCC = test::FourCC("DXT1");
        s.data = c.block;
        Write("block.dds", test::MakeDds(s));
        IDirect3DTexture9* decoded = nullptr;
        IDirect3DTexture9* blocks = nullptr;
        ASSERT_EQ(Load("block.dds", &decoded, D3DFMT_A8R8G8B8), D3D_OK);
        ASSERT_EQ(Load("block.dds", &blocks, D3DFMT_DXT1), D3D_OK);
        std::vector<uint32_t> expected;
        for (uint32_t texel : Texels(decoded)) expected.push_back(texel & 0xFFFFFF);
        EXPECT_EQ(expected[2], c.third);
        EXPECT_EQ(DrawnTexels(device_, blocks), expected);
        decoded->Release();
        blocks->Release();
    }
}

}  // namespace
