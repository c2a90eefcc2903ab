// The two recorded state blocks: what the drawing block sets, and that a draw gives the caller's states
// back.
#include <gtest/gtest.h>

#include "d3d9/control.h"
#include "font_fixture.h"

namespace {

using text_test::FontTest;

enum class Kind { Render, Stage, Sampler };
struct State {
    Kind kind;
    DWORD stage, type, fontValue, callerValue;
};

// The font's states and, for each, a value a caller might have set instead.
const State kStates[] = {
    {Kind::Render, 0, D3DRS_ALPHABLENDENABLE, TRUE, FALSE},
    {Kind::Render, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
    {Kind::Render, 0, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DBLEND_ZERO},
    {Kind::Render, 0, D3DRS_ALPHATESTENABLE, TRUE, FALSE},
    {Kind::Render, 0, D3DRS_ALPHAREF, 0x08, 0x80},
    {Kind::Render, 0, D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL, D3DCMP_LESS},
    {Kind::Render, 0, D3DRS_FILLMODE, D3DFILL_SOLID, D3DFILL_WIREFRAME},
    {Kind::Render, 0, D3DRS_CULLMODE, D3DCULL_CCW, D3DCULL_CW},
    {Kind::Render, 0, D3DRS_STENCILENABLE, FALSE, TRUE},
    {Kind::Render, 0, D3DRS_CLIPPING, TRUE, FALSE},
    {Kind::Render, 0, D3DRS_CLIPPLANEENABLE, 0, 3},
    {Kind::Render, 0, D3DRS_VERTEXBLEND, D3DVBF_DISABLE, D3DVBF_1WEIGHTS},
    {Kind::Render, 0, D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE, TRUE},
    {Kind::Render, 0, D3DRS_FOGENABLE, FALSE, TRUE},
    {Kind::Render, 0, D3DRS_COLORWRITEENABLE, 0x0F, 0x07},
    {Kind::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE, D3DTOP_SELECTARG2},
    {Kind::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
    {Kind::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE, D3DTA_TFACTOR},
    {Kind::Stage, 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE, D3DTOP_SELECTARG1},
    {Kind::Stage, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
    {Kind::Stage, 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE, D3DTA_TEXTURE},
    {Kind::Stage, 0, D3DTSS_TEXCOORDINDEX, 0, 1},
    {Kind::Stage, 0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE, D3DTTFF_COUNT2},
    {Kind::Stage, 1, D3DTSS_COLOROP, D3DTOP_DISABLE, D3DTOP_ADD},
    {Kind::Stage, 1, D3DTSS_ALPHAOP, D3DTOP_DISABLE, D3DTOP_SELECTARG1},
    {Kind::Sampler, 0, D3DSAMP_MINFILTER, D3DTEXF_POINT, D3DTEXF_ANISOTROPIC},
    {Kind::Sampler, 0, D3DSAMP_MAGFILTER, D3DTEXF_POINT, D3DTEXF_ANISOTROPIC},
    {Kind::Sampler, 0, D3DSAMP_MIPFILTER, D3DTEXF_NONE, D3DTEXF_LINEAR},
};

class FontStateTest : public FontTest {
protected:
    void Set(const State& s, DWORD value) {
        switch (s.kind) {
        case Kind::Render: device_->SetRenderState(D3DRENDERSTATETYPE(s.type), value); break;
        case Kind::Stage: device_->SetTextureStageState(s.stage, D3DTEXTURESTAGESTATETYPE(s.type), value); break;
        case Kind::Sampler: device_->SetSamplerState(s.stage, D3DSAMPLERSTATETYPE(s.type), value); break;
        }
    }
    DWORD Get(const State& s) {
        DWORD value = 0xDEADBEEF;
        switch (s.kind) {
        case Kind::Render: device_->GetRenderState(D3DRENDERSTATETYPE(s.type), &value); break;
        case Kind::Stage: device_->GetTextureStageState(s.stage, D3DTEXTURESTAGESTATETYPE(s.type), &value); break;
        case Kind::Sampler: device_->GetSamplerState(s.stage, D3DSAMPLERSTATETYPE(s.type), &value); break;
        }
        return value;
    }
    IDirect3DBaseTexture9* BoundTexture() {
        IDirect3DBaseTexture9* texture = nullptr;
        device_->GetTexture(0, &texture);
        if (texture) texture->Release();
        return texture;
    }
    // The caller's own states: every recorded state differs from the font's.
    void SetCallerStates(IDirect3DBaseTexture9* texture) {
        for (const State& s : kStates) Set(s, s.callerValue);
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        device_->SetTexture(0, texture);
    }
};

TEST_F(FontStateTest, TheDrawingBlockSetsTheFontsStatesAndNothingElse) {
    MakeDevice();
    for (DWORD flags : {0u, FontCreateFlags::DepthTest}) {
        CD3DFont* font = MakeFont("Verdana", 10, flags);
        SetCallerStates(nullptr);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        device_->SetRenderState(D3DRS_AMBIENT, 0x00123456);
        ASSERT_EQ(font->m_pDrawState->Apply(), D3D_OK);
        for (const State& s : kStates) EXPECT_EQ(Get(s), s.fontValue) << "state " << s.type << " stage " << s.stage;
        DWORD value = 0;
        device_->GetRenderState(D3DRS_ZENABLE, &value);
        EXPECT_EQ(value, (flags & FontCreateFlags::DepthTest) ? DWORD(TRUE) : DWORD(FALSE));
        EXPECT_EQ(BoundTexture(), font->m_pGlyphTexture);
        // Lighting is not the font's: the caller's material and lights light 3D text.
        device_->GetRenderState(D3DRS_LIGHTING, &value);
        EXPECT_EQ(value, DWORD(FALSE));
        device_->GetRenderState(D3DRS_AMBIENT, &value);
        EXPECT_EQ(value, 0x00123456u);
    }
}

TEST_F(FontStateTest, EveryDrawGivesTheCallersStatesBackButLeavesItsVertexInput) {
    MakeDevice();
    CD3DFont* font = MakeFont("Verdana", 10, 0);
    IDirect3DTexture9* own = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &own, nullptr), D3D_OK);
    const DWORD allFlags = FontDrawFlags::CenterX | FontDrawFlags::CenterY | FontDrawFlags::NoCulling |
                           FontDrawFlags::LinearFilter;
    const std::function<HRESULT()> draws[] = {
        [&] { return font->DrawScreenText(10, 10, 0xFFFFFFFF, "State", allFlags); },
        [&] { return font->DrawTextScaled(-1, -1, 0.5f, 0.1f, 0.1f, 0xFFFFFFFF, "State", allFlags); },
        [&] { return font->DrawTextIn3D("State", allFlags); },
    };
    const DWORD fvfs[] = {kFontScreenFvf, kFontScreenFvf, kFontModelFvf};
    const UINT strides[] = {28, 28, 32};
    for (int i = 0; i < 3; ++i) {
        SetCallerStates(own);
        device_->SetFVF(D3DFVF_XYZ);
        Frame(0, [&] { EXPECT_EQ(draws[i](), S_OK); });
        for (const State& s : kStates) EXPECT_EQ(Get(s), s.callerValue) << "draw " << i << " state " << s.type;
        DWORD value = 0;
        device_->GetRenderState(D3DRS_ZENABLE, &value);
        EXPECT_EQ(value, DWORD(D3DZB_TRUE));
        EXPECT_EQ(BoundTexture(), own);
        DWORD fvf = 0;
        device_->GetFVF(&fvf);
        EXPECT_EQ(fvf, fvfs[i]);
        IDirect3DVertexBuffer9* stream = nullptr;
        UINT offset = 1, stride = 0;
        device_->GetStreamSource(0, &stream, &offset, &stride);
        EXPECT_EQ(stream, font->m_pVertexBuffer);
        EXPECT_EQ(offset, 0u);
        EXPECT_EQ(stride, strides[i]);
        if (stream) stream->Release();
    }
    device_->SetTexture(0, nullptr);
    own->Release();
}

TEST_F(FontStateTest, AFailedRecordingLeavesTheFontUnableToDraw) {
    MakeDevice();
    CD3DFont font("Verdana", 10, 0);
    ASSERT_EQ(font.CreateDeviceResources(device_), S_OK);
    // A recording already under way makes the font's own BeginStateBlock fail.
    ASSERT_EQ(device_->BeginStateBlock(), D3D_OK);
    EXPECT_TRUE(FAILED(font.CreateVolatileResources()));
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(device_->EndStateBlock(&block), D3D_OK);
    block->Release();
    EXPECT_EQ(font.m_pVertexBuffer, nullptr);
    EXPECT_EQ(font.m_pSavedState, nullptr);
    EXPECT_EQ(font.m_pDrawState, nullptr);
    d3d9::control::EnableCallLog(true);
    Frame(0, [&] {
        EXPECT_EQ(font.DrawScreenText(0, 0, 0xFFFFFFFF, "Text", 0), E_FAIL);
        EXPECT_EQ(font.DrawTextScaled(0, 0, 0, 0.1f, 0.1f, 0xFFFFFFFF, "Text", 0), E_FAIL);
        EXPECT_EQ(font.DrawTextIn3D("Text", 0), E_FAIL);
    });
    EXPECT_TRUE(d3d9::control::CallsNamed("DrawPrimitive").empty());
    // Recording works again once the device is free.
    EXPECT_EQ(font.CreateVolatileResources(), S_OK);
    Frame(0, [&] { EXPECT_EQ(font.DrawScreenText(0, 0, 0xFFFFFFFF, "Text", 0), S_OK); });
}

}  // namespace
