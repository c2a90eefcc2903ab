// What the device draws, said three times from one table: the caps, the draws it takes or refuses
// (naming what it refused in the debugger output), and the README's list of what it leaves out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "drawn_states.h"
#include "machine/control.h"
#include "support/draw_fixture.h"

namespace {

using test::DrawTest;

class DrawnStates : public DrawTest {
protected:
    // Draws one quad with the state `set` makes on top of the defaults and answers the draw's result.
    HRESULT DrawWith(const std::function<void(IDirect3DDevice9*)>& set) {
        IDirect3DStateBlock9* defaults = nullptr;
        EXPECT_EQ(device_->CreateStateBlock(D3DSBT_ALL, &defaults), D3D_OK);
        set(device_);
        const std::vector<test::ScreenVertex> quad = test::ScreenQuad(0, 0, 8, 8);
        device_->SetFVF(test::kScreenFvf);
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        const HRESULT hr = device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad.data(), sizeof(test::ScreenVertex));
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        if (defaults) {
            defaults->Apply();
            defaults->Release();
        }
        return hr;
    }
};

TEST_F(DrawnStates, TheCapsSayExactlyWhichOperationsFactorsAndAddressModesDraw) {
    D3DCAPS9 caps{};
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    for (DWORD op = D3DTOP_SELECTARG1; op <= D3DTOP_LERP; ++op) {
        const bool capped = (caps.TextureOpCaps & (1u << (op - 1))) != 0;
        const HRESULT hr = DrawWith([&](auto d) {
            d->SetTextureStageState(0, D3DTSS_COLOROP, op);
            d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
            d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        });
        EXPECT_EQ(hr == D3D_OK, capped) << "D3DTOP " << op;
    }
    for (DWORD factor = D3DBLEND_ZERO; factor <= D3DBLEND_INVBLENDFACTOR; ++factor) {
        const DWORD bit = factor == D3DBLEND_INVBLENDFACTOR ? D3DPBLENDCAPS_BLENDFACTOR : 1u << (factor - 1);
        for (const bool source : {true, false}) {
            const HRESULT hr = DrawWith([&](auto d) {
                d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
                d->SetRenderState(D3DRS_SRCBLEND, source ? factor : DWORD(D3DBLEND_ONE));
                d->SetRenderState(D3DRS_DESTBLEND, source ? DWORD(D3DBLEND_ZERO) : factor);
            });
            const DWORD capsOf = source ? caps.SrcBlendCaps : caps.DestBlendCaps;
            EXPECT_EQ(hr == D3D_OK, (capsOf & bit) != 0) << "D3DBLEND " << factor << (source ? " source" : " dest");
        }
    }
    const DWORD addressBits[] = {D3DPTADDRESSCAPS_WRAP, D3DPTADDRESSCAPS_MIRROR, D3DPTADDRESSCAPS_CLAMP,
                                 D3DPTADDRESSCAPS_BORDER, D3DPTADDRESSCAPS_MIRRORONCE};
    for (DWORD mode = D3DTADDRESS_WRAP; mode <= D3DTADDRESS_MIRRORONCE; ++mode) {
        const HRESULT hr = DrawWith([&](auto d) { d->SetSamplerState(0, D3DSAMP_ADDRESSV, mode); });
        EXPECT_EQ(hr == D3D_OK, (caps.TextureAddressCaps & addressBits[mode - 1]) != 0) << "D3DTADDRESS " << mode;
    }
    const HRESULT temp = DrawWith([](auto d) { d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEMP); });
    EXPECT_EQ(temp == D3D_OK, (caps.PrimitiveMiscCaps & D3DPMISCCAPS_TSSARGTEMP) != 0);
}

TEST_F(DrawnStates, ARefusedDrawNamesTheStateItRefusedInTheDebuggerOutput) {
    // One way to ask for each state refused as a whole, and for a value of each table.
    const std::vector<std::pair<std::string, std::function<void(IDirect3DDevice9*)>>> cases = {
        {"D3DRS_STENCILENABLE", [](auto d) { d->SetRenderState(D3DRS_STENCILENABLE, TRUE); }},
        {"D3DRS_VERTEXBLEND", [](auto d) { d->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_1WEIGHTS); }},
        {"D3DRS_INDEXEDVERTEXBLENDENABLE", [](auto d) { d->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, TRUE); }},
        {"D3DRS_FOGTABLEMODE",
         [](auto d) {
             d->SetRenderState(D3DRS_FOGENABLE, TRUE);
             d->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_EXP);
         }},
        {"D3DZB_USEW", [](auto d) { d->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW); }},
        {"D3DRS_SEPARATEALPHABLENDENABLE",
         [](auto d) {
             d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
             d->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
         }},
        {"D3DTSS_TEXTURETRANSFORMFLAGS",
         [](auto d) { d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2); }},
        {"D3DTSS_TEXCOORDINDEX",
         [](auto d) { d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEPOSITION); }},
        {"stage 1 D3DTSS_COLOROP D3DTOP_DOTPRODUCT3",
         [](auto d) { d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3); }},
        {"stage 0 D3DTSS_ALPHAARG2 D3DTA_CONSTANT",
         [](auto d) { d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CONSTANT); }},
        {"D3DRS_SRCBLEND D3DBLEND_BLENDFACTOR",
         [](auto d) {
             d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
             d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_BLENDFACTOR);
         }},
        {"D3DRS_DESTBLEND D3DBLEND_BOTHSRCALPHA",
         [](auto d) {
             d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
             d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_BOTHSRCALPHA);
         }},
        {"sampler 0 D3DSAMP_ADDRESSU D3DTADDRESS_MIRRORONCE",
         [](auto d) { d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRRORONCE); }},
        {"more than 8 lights",
         [](auto d) {  // last: the state block does not switch the lights off
             for (DWORD i = 0; i < 9; ++i) d->LightEnable(i, TRUE);
         }},
    };
    // A draw the device takes says nothing.
    machine::control::ClearDebugLines();
    EXPECT_EQ(DrawWith([](auto) {}), D3D_OK);
    EXPECT_TRUE(machine::control::DebugLines().empty());
    std::set<std::string> covered;
    for (const auto& [name, set] : cases) {
        SCOPED_TRACE(name);
        machine::control::ClearDebugLines();
        EXPECT_EQ(DrawWith(set), D3DERR_INVALIDCALL);
        const std::vector<std::string> lines = machine::control::DebugLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("draw refused"), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find(name), std::string::npos) << lines[0];
        covered.insert(name);
    }
    // Every state the table refuses as a whole has its case above.
    for (const char* state : d3d9::RefusedStates()) EXPECT_TRUE(covered.count(state)) << state;
}

// The names the README's "does not do" section gives in backquotes must be what the tables leave out.
TEST(DrawnStatesReadme, ListsWhatTheTablesLeaveOut) {
    const auto readme = std::filesystem::path(MORVATH_SOURCE_DIR) / "README.md";
    std::ifstream file(readme);
    ASSERT_TRUE(file) << readme;
    std::stringstream text;
    text << file.rdbuf();
    const std::string all = text.str();
    const size_t begin = all.find("## What the system does not do here");
    ASSERT_NE(begin, std::string::npos);
    const size_t end = all.find("\n## ", begin + 1);
    const std::string section = all.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    std::set<std::string> listed;
    const std::regex name("`(D3D[A-Z0-9_]+)`");
    for (auto it = std::sregex_iterator(section.begin(), section.end(), name); it != std::sregex_iterator(); ++it)
        listed.insert((*it)[1]);

    std::set<std::string> leftOut;
    auto add = [&](auto table) {
        for (const auto& e : table)
            if (!e.drawn) leftOut.insert(e.name);
    };
    add(d3d9::TextureOps());
    add(d3d9::ArgSources());
    add(d3d9::BlendFactors());
    add(d3d9::AddressModes());
    for (const char* state : d3d9::RefusedStates()) leftOut.insert(state);
    EXPECT_EQ(listed, leftOut);
}

}  // namespace
