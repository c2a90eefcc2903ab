// D3DX fonts: made for any face GDI can make (a missing one is substituted), holding the device.
#include <gtest/gtest.h>

#include "d3dx9.h"
#include "support/loader_fixture.h"

namespace {

class D3dxFontTest : public test::LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        MakeDevice();
    }
};

TEST_F(D3dxFontTest, AnyFaceGivesAFontThatHoldsTheDeviceUntilReleased) {
    for (const char* face : {"Arial", "Verdana", "No Such Face At All", "", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(face ? face : "(null)");
        ID3DXFont* font = nullptr;
        ASSERT_EQ(D3DXCreateFontA(device_, 10, 10, 1, 2, FALSE, DEFAULT_CHARSET, 0, 0, 0, face, &font), D3D_OK);
        ASSERT_NE(font, nullptr);
        IDirect3DDevice9* device = nullptr;
        ASSERT_EQ(font->GetDevice(&device), D3D_OK);
        EXPECT_EQ(device, device_);
        device->Release();
        // Ours, the font's and the one GetDevice gave back minus its release.
        EXPECT_EQ(device_->AddRef(), 3u);
        device_->Release();
        EXPECT_EQ(font->OnLostDevice(), D3D_OK);
        EXPECT_EQ(font->OnResetDevice(), D3D_OK);
        EXPECT_EQ(font->Release(), 0u);
        EXPECT_EQ(device_->AddRef(), 2u);
        device_->Release();
    }
}

TEST_F(D3dxFontTest, QueryInterfaceAnswersTheFontAndIUnknown) {
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3DXCreateFontA(device_, 10, 10, 1, 2, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Arial", &font), D3D_OK);
    void* same = nullptr;
    EXPECT_EQ(font->QueryInterface(IID_ID3DXFont, &same), S_OK);
    EXPECT_EQ(same, font);
    void* other = &same;
    EXPECT_EQ(font->QueryInterface(IID_ID3DXMesh, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(font->Release(), 1u);
    EXPECT_EQ(font->Release(), 0u);
}

TEST_F(D3dxFontTest, NullDeviceOrOutPointerIsRefused) {
    ID3DXFont* font = reinterpret_cast<ID3DXFont*>(&font);
    ID3DXFont* const untouched = font;
    EXPECT_EQ(D3DXCreateFontA(nullptr, 10, 10, 1, 2, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Arial", &font),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(font, untouched);
    EXPECT_EQ(D3DXCreateFontA(device_, 10, 10, 1, 2, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Arial", nullptr),
              D3DERR_INVALIDCALL);
}

}  // namespace
