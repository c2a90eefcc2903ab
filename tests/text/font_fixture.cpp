#include "font_fixture.h"

#include <cstring>

#include "d3d9/adapter_profile.h"
#include "d3d9/control.h"
#include "machine/control.h"
#include "machine/machine.h"

namespace text_test {

void FontTest::SetUp() {
    machine::control::Reset();
    d3d9::control::Reset();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "FontTestWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, "FontTestWindow", "Font test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
}

void FontTest::TearDown() {
    for (CD3DFont* font : fonts_) delete font;
    fonts_.clear();
    if (device_) {
        EXPECT_EQ(device_->Release(), 0u) << "the font kept a device object";
    }
    if (d3d_) d3d_->Release();
    if (window_) DestroyWindow(window_);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), 0u);
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
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    EXPECT_NE(d3d_, nullptr);
    if (!d3d_) return nullptr;
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = TRUE;
    p.AutoDepthStencilFormat = D3DFMT_D24S8;
    p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    EXPECT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p,
                                 &device_),
              D3D_OK);
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

std::vector<uint32_t> FontTest::Pixels() {
    std::vector<uint32_t> pixels(size_t(width_) * height_, 0);
    IDirect3DSurface9* back = nullptr;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    if (!back) return pixels;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(back->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    if (locked.pBits) {
        for (UINT y = 0; y < height_; ++y)
            for (UINT x = 0; x < width_; ++x) {
                uint32_t v;
                std::memcpy(&v, static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch + x * 4, 4);
                pixels[size_t(y) * width_ + x] = v & 0x00FFFFFF;
            }
        back->UnlockRect();
    }
    back->Release();
    return pixels;
}

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
