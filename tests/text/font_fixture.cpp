#include "font_fixture.h"

#include <cstring>

#include "d3d9/adapter_profile.h"
#include "d3d9/control.h"
#include "machine/control.h"
#include "machine/machine.h"
#include "window_device.h"

namespace text_test {

void FontTest::SetUp() {
    machine::control::Reset();
    d3d9::control::Reset();
    window_ = test_support::OpenWindow("FontTestWindow", "Font test", DefWindowProcA, 0, 0, 400, 300);
    ASSERT_NE(window_, nullptr);
}

void FontTest::TearDown() {
    for (CD3DFont* font : fonts_) delete font;
    fonts_.clear();
    test_support::ReleaseDeviceAndWindow(device_, d3d_, window_, "the font kept a device object");
    EXPECT_EQ(machine::control::LiveObjects("memory dc"), 0);
    EXPECT_EQ(machine::control::LiveObjects("bitmap"), 0);
    EXPECT_EQ(machine::control::LiveObjects("font"), 0);
    d3d9::control::Reset();
}

IDirect3DDevice9* FontTest::MakeDevice(UINT width, UINT height, UINT maxTextureWidth) {
    if (maxTextureWidth != 0) {
        d3d9::Profile profile = d3d9::DefaultProfile();
        for (auto& adapter : profile.adapters)
            for (auto& [type, device] : adapter.devices) device.caps.MaxTextureWidth = maxTextureWidth;
        d3d9::control::SetAdapterProfile(profile);
    }
    device_ = test_support::MakeLockableDevice(window_, width, height, d3d_);
    width_ = width;
    height_ = height;
    return device_;
}

CD3DFont* FontTest::MakeFont(const char* face, DWORD points, DWORD flags) {
    CD3DFont* font = new CD3DFont(face, points, flags);
    fonts_.push_back(font);
    EXPECT_EQ(font->CreateDeviceResources(device_), S_OK);
    EXPECT_EQ(font->CreateVolatileResources(), S_OK);
    return font;
}

std::vector<uint16_t> FontTest::Texels(const CD3DFont& font) {
    std::vector<uint16_t> texels(size_t(font.m_textureWidth) * font.m_textureHeight, 0xDEAD);
    D3DLOCKED_RECT locked{};
    if (!font.m_pGlyphTexture || FAILED(font.m_pGlyphTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)))
        return texels;
    for (UINT y = 0; y < font.m_textureHeight; ++y)
        std::memcpy(&texels[size_t(y) * font.m_textureWidth], static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch,
                    font.m_textureWidth * 2);
    font.m_pGlyphTexture->UnlockRect(0);
    return texels;
}

std::vector<uint32_t> FontTest::Pixels() { return test_support::BackBufferPixels(device_, width_, height_); }

void FontTest::Frame(uint32_t background, const std::function<void()>& draw) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    draw();
    ASSERT_EQ(device_->EndScene(), D3D_OK);
}

void FontTest::WriteBackBuffer(const std::string& file) {
    machine::Frame frame;
    frame.width = width_;
    frame.height = height_;
    frame.pixels = Pixels();
    std::string error;
    EXPECT_TRUE(machine::WritePng(frame, file, error)) << error;
}

}  // namespace text_test
