// The stored device state: the platform's defaults, what is set is answered, Reset puts defaults back.
#include <gtest/gtest.h>

#include <cstring>

#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

DWORD RenderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetRenderState(state, &value), D3D_OK);
    return value;
}

DWORD StageState(IDirect3DDevice9* device, DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetTextureStageState(stage, type, &value), D3D_OK);
    return value;
}

DWORD SamplerState(IDirect3DDevice9* device, DWORD sampler, D3DSAMPLERSTATETYPE type) {
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetSamplerState(sampler, type, &value), D3D_OK);
    return value;
}

float AsFloat(DWORD bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

TEST_F(DeviceTest, DefaultsThePipelineRelies) {
    IDirect3DDevice9* device = MakeDevice(test::WithDepth(test::Windowed()));
    EXPECT_EQ(RenderState(device, D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
    EXPECT_EQ(RenderState(device, D3DRS_ZWRITEENABLE), DWORD(TRUE));
    EXPECT_EQ(RenderState(device, D3DRS_ZFUNC), DWORD(D3DCMP_LESSEQUAL));
    EXPECT_EQ(RenderState(device, D3DRS_LIGHTING), DWORD(TRUE));
    EXPECT_EQ(RenderState(device, D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
    EXPECT_EQ(RenderState(device, D3DRS_FILLMODE), DWORD(D3DFILL_SOLID));
    EXPECT_EQ(RenderState(device, D3DRS_ALPHAFUNC), DWORD(D3DCMP_ALWAYS));
    EXPECT_EQ(RenderState(device, D3DRS_SRCBLEND), DWORD(D3DBLEND_ONE));
    EXPECT_EQ(RenderState(device, D3DRS_DESTBLEND), DWORD(D3DBLEND_ZERO));
    EXPECT_EQ(RenderState(device, D3DRS_BLENDOP), DWORD(D3DBLENDOP_ADD));
    EXPECT_EQ(RenderState(device, D3DRS_COLORVERTEX), DWORD(TRUE));
    EXPECT_EQ(RenderState(device, D3DRS_DIFFUSEMATERIALSOURCE), DWORD(D3DMCS_COLOR1));
    EXPECT_EQ(RenderState(device, D3DRS_AMBIENTMATERIALSOURCE), DWORD(D3DMCS_MATERIAL));
    EXPECT_EQ(RenderState(device, D3DRS_FOGTABLEMODE), DWORD(D3DFOG_NONE));
    EXPECT_EQ(RenderState(device, D3DRS_COLORWRITEENABLE), 0x0Fu);
    EXPECT_EQ(RenderState(device, D3DRS_LASTPIXEL), DWORD(TRUE));
    EXPECT_EQ(AsFloat(RenderState(device, D3DRS_FOGEND)), 1.0f);
    EXPECT_EQ(StageState(device, 0, D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
    EXPECT_EQ(StageState(device, 0, D3DTSS_ALPHAOP), DWORD(D3DTOP_SELECTARG1));
    EXPECT_EQ(StageState(device, 1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(StageState(device, 1, D3DTSS_ALPHAOP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(StageState(device, 1, D3DTSS_TEXCOORDINDEX), 1u);
    EXPECT_EQ(StageState(device, 0, D3DTSS_COLORARG1), DWORD(D3DTA_TEXTURE));
    EXPECT_EQ(StageState(device, 0, D3DTSS_COLORARG2), DWORD(D3DTA_CURRENT));
    EXPECT_EQ(SamplerState(device, 1, D3DSAMP_MINFILTER), DWORD(D3DTEXF_POINT));
    EXPECT_EQ(SamplerState(device, 1, D3DSAMP_MIPFILTER), DWORD(D3DTEXF_NONE));
    EXPECT_EQ(SamplerState(device, 0, D3DSAMP_ADDRESSV), DWORD(D3DTADDRESS_WRAP));
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 320u);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    D3DMATRIX world{};
    ASSERT_EQ(device->GetTransform(D3DTS_WORLD, &world), D3D_OK);
    EXPECT_EQ(world._11, 1.0f);
    EXPECT_EQ(world._41, 0.0f);
    ReleaseDevice(device);

    device = MakeDevice(test::Windowed());
    EXPECT_EQ(RenderState(device, D3DRS_ZENABLE), DWORD(D3DZB_FALSE));  // no depth buffer
    ReleaseDevice(device);
}

TEST_F(DeviceTest, WhatIsSetIsAnsweredAndResetPutsDefaultsBack) {
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DDevice9* device = MakeDevice(params);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRENDERSTATETYPE(5000), 42);  // unknown states are kept
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    D3DMATRIX view{};
    view._11 = 2.0f;
    ASSERT_EQ(device->SetTransform(D3DTS_VIEW, &view), D3D_OK);
    D3DMATERIAL9 material{};
    material.Diffuse = {1, 0, 0, 1};
    device->SetMaterial(&material);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    EXPECT_EQ(RenderState(device, D3DRS_LIGHTING), DWORD(FALSE));
    EXPECT_EQ(RenderState(device, D3DRENDERSTATETYPE(5000)), 42u);
    EXPECT_EQ(StageState(device, 1, D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
    EXPECT_EQ(SamplerState(device, 0, D3DSAMP_MAGFILTER), DWORD(D3DTEXF_LINEAR));
    D3DMATRIX answered{};
    device->GetTransform(D3DTS_VIEW, &answered);
    EXPECT_EQ(answered._11, 2.0f);

    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(RenderState(device, D3DRS_LIGHTING), DWORD(TRUE));
    EXPECT_EQ(RenderState(device, D3DRENDERSTATETYPE(5000)), 0u);
    EXPECT_EQ(StageState(device, 1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(SamplerState(device, 0, D3DSAMP_MAGFILTER), DWORD(D3DTEXF_POINT));
    device->GetTransform(D3DTS_VIEW, &answered);
    EXPECT_EQ(answered._11, 1.0f);
    D3DMATERIAL9 cleared{};
    device->GetMaterial(&cleared);
    EXPECT_EQ(cleared.Diffuse.r, 0.0f);
    DWORD fvf = 1;
    device->GetFVF(&fvf);
    EXPECT_EQ(fvf, 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, LightsAndTheirDefaults) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    D3DLIGHT9 light{};
    EXPECT_EQ(device->GetLight(0, &light), D3DERR_INVALIDCALL);  // never set
    ASSERT_EQ(device->LightEnable(3, TRUE), D3D_OK);
    ASSERT_EQ(device->GetLight(3, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_EQ(light.Direction.z, 1.0f);
    BOOL enabled = FALSE;
    ASSERT_EQ(device->GetLightEnable(3, &enabled), D3D_OK);
    EXPECT_TRUE(enabled);
    light.Type = D3DLIGHT_POINT;
    light.Range = 1000.0f;
    ASSERT_EQ(device->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(device->GetLightEnable(0, &enabled), D3D_OK);
    EXPECT_FALSE(enabled);
    light.Type = D3DLIGHTTYPE(7);
    EXPECT_EQ(device->SetLight(1, &light), D3DERR_INVALIDCALL);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, StateCallsRefuseWhatNamesNothing) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed(320, 240));
    D3DMATRIX m{};
    EXPECT_EQ(device->SetTransform(D3DTRANSFORMSTATETYPE(5), &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTransform(D3DTS_WORLD, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_DISABLE), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetSamplerState(16, D3DSAMP_MINFILTER, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 outside{300, 0, 21, 240, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&outside), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 depthRange{0, 0, 320, 240, 0.0f, 2.0f};
    EXPECT_EQ(device->SetViewport(&depthRange), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetRenderState(D3DRS_ZENABLE, nullptr), D3DERR_INVALIDCALL);
    ReleaseDevice(device);
}

}  // namespace
