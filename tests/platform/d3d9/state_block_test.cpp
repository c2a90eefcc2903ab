// State blocks: recording only records, Capture takes the device's values of the recorded states,
// Apply sets them; a block holds the device and must go before Reset.
#include <gtest/gtest.h>

#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

DWORD RenderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
    DWORD value = 0xDEADBEEF;
    device->GetRenderState(state, &value);
    return value;
}

TEST_F(DeviceTest, RecordingLeavesTheDevicesStateAlone) {
    IDirect3DDevice9* device = MakeDevice(test::WithDepth(test::Windowed()));
    IDirect3DTexture9* glyphs = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &glyphs, nullptr), D3D_OK);
    ASSERT_EQ(device->BeginStateBlock(), D3D_OK);
    EXPECT_EQ(device->BeginStateBlock(), D3DERR_INVALIDCALL);
    device->SetTexture(0, glyphs);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(device->EndStateBlock(&block), D3D_OK);
    ASSERT_NE(block, nullptr);
    IDirect3DStateBlock9* none = reinterpret_cast<IDirect3DStateBlock9*>(0x1);
    EXPECT_EQ(device->EndStateBlock(&none), D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
    // Nothing recorded was applied.
    EXPECT_EQ(RenderState(device, D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
    IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(0x1);
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
    block->Apply();
    EXPECT_EQ(RenderState(device, D3DRS_ZENABLE), DWORD(FALSE));
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, glyphs);
    bound->Release();
    device->SetTexture(0, nullptr);
    EXPECT_EQ(block->Release(), 0u);
    EXPECT_EQ(glyphs->Release(), 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, CaptureTakesTheCurrentValuesOfExactlyTheRecordedStates) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DTexture9* glyphs = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &glyphs, nullptr), D3D_OK);
    device->BeginStateBlock();
    device->SetTexture(0, glyphs);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    IDirect3DStateBlock9* saved = nullptr;
    device->EndStateBlock(&saved);

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    ASSERT_EQ(saved->Capture(), D3D_OK);  // saves CW and no texture; the fill mode is not recorded
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_POINT);
    device->SetTexture(0, glyphs);
    ASSERT_EQ(saved->Apply(), D3D_OK);
    EXPECT_EQ(RenderState(device, D3DRS_CULLMODE), DWORD(D3DCULL_CW));
    EXPECT_EQ(RenderState(device, D3DRS_FILLMODE), DWORD(D3DFILL_POINT));
    IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(0x1);
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
    // The block's texture is a binding: it holds no reference.
    EXPECT_EQ(glyphs->Release(), 0u);
    EXPECT_EQ(device->AddRef(), 3u);  // the test's, the block's, this one
    device->Release();
    EXPECT_EQ(saved->Release(), 0u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, CreatedBlocksCaptureTheirKindOfState) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    IDirect3DStateBlock9* pixel = nullptr;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_PIXELSTATE, &pixel), D3D_OK);
    IDirect3DStateBlock9* all = nullptr;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_ALL, &all), D3D_OK);
    D3DMATRIX view{};
    view._11 = 3.0f;
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    pixel->Apply();
    EXPECT_EQ(RenderState(device, D3DRS_ALPHABLENDENABLE), DWORD(TRUE));
    EXPECT_EQ(RenderState(device, D3DRS_LIGHTING), DWORD(TRUE));  // a vertex state
    all->Apply();
    EXPECT_EQ(RenderState(device, D3DRS_LIGHTING), DWORD(FALSE));
    D3DMATRIX answered{};
    device->GetTransform(D3DTS_VIEW, &answered);
    EXPECT_EQ(answered._11, 1.0f);
    IDirect3DStateBlock9* unknown = nullptr;
    EXPECT_EQ(device->CreateStateBlock(D3DSTATEBLOCKTYPE(9), &unknown), D3DERR_INVALIDCALL);
    EXPECT_EQ(all->Release(), 0u);
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DStateBlock9* blocker = nullptr;
    device->CreateStateBlock(D3DSBT_VERTEXSTATE, &blocker);
    // A living state block refuses Reset, as a default-pool resource does.
    IDirect3DStateBlock9* stale = nullptr;
    device->CreateStateBlock(D3DSBT_PIXELSTATE, &stale);
    stale->Release();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    blocker->Release();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);  // the pixel block is still alive
    EXPECT_EQ(pixel->Release(), 0u);
    EXPECT_EQ(device->Reset(&params), D3D_OK);
    ReleaseDevice(device);
}

}  // namespace
