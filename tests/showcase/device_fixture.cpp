#include "device_fixture.h"

#include <cstring>

#include "d3d9/control.h"
#include "machine/control.h"

namespace showcase_test {

void DeviceTest::SetUp() {
    machine::control::Reset();
    d3d9::control::Reset();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "SceneTestWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, "SceneTestWindow", "Scene test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
}

void DeviceTest::TearDown() {
    if (device_) {
        EXPECT_EQ(device_->Release(), 0u) << "a scene object kept a device object";
    }
    if (d3d_) d3d_->Release();
    if (window_) DestroyWindow(window_);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), 0u);
    d3d9::control::Reset();
    machine::control::Reset();
}

IDirect3DDevice9* DeviceTest::MakeDevice(UINT width, UINT height) {
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

std::vector<uint32_t> DeviceTest::Pixels() {
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

void DeviceTest::StartCallLog() {
    d3d9::control::ClearCallLog();
    d3d9::control::EnableCallLog(true);
}

std::vector<std::string> DeviceTest::Calls(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : d3d9::control::CallLog())
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

D3DMATRIX DeviceTest::Transform(D3DTRANSFORMSTATETYPE state) {
    D3DMATRIX m{};
    EXPECT_EQ(device_->GetTransform(state, &m), D3D_OK);
    return m;
}

DWORD DeviceTest::RenderState(D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    EXPECT_EQ(device_->GetRenderState(state, &value), D3D_OK);
    return value;
}

}  // namespace showcase_test
