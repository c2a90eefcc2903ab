#include "device_fixture.h"

#include "machine/control.h"
#include "machine/machine.h"
#include "window_device.h"

namespace test {

namespace {
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DeviceTest::Messages().push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

std::vector<UINT>& DeviceTest::Messages() {
    static std::vector<UINT> messages;
    return messages;
}

D3DPRESENT_PARAMETERS FullScreen(UINT width, UINT height, D3DFORMAT format) {
    D3DPRESENT_PARAMETERS p = Windowed(width, height, format);
    p.Windowed = FALSE;
    p.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    return p;
}

uint32_t FramePixel(int x, int y) {
    const machine::Frame* frame = machine::LastFrame();
    if (!frame || x < 0 || y < 0 || UINT(x) >= frame->width || UINT(y) >= frame->height) return 0xDEADBEEF;
    return frame->pixels[size_t(y) * frame->width + size_t(x)] & 0x00FFFFFF;
}

void DeviceTest::SetUp() {
    machine::control::Reset();
    d3d9::control::Reset();
    Messages().clear();
    window_ = test_support::OpenWindow("DeviceTestWindow", "Device test", RecordingProc, 100, 50, 400, 300);
    ASSERT_NE(window_, nullptr);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
}

void DeviceTest::TearDown() {
    if (d3d_) {
        EXPECT_EQ(d3d_->Release(), 0u);
    }
    if (window_) DestroyWindow(window_);
    EXPECT_EQ(d3d9::control::LiveObjectCount(), 0u) << "an object of the Direct3D area was not released";
    d3d9::control::Reset();
}

HRESULT DeviceTest::TryDevice(D3DPRESENT_PARAMETERS& params, IDirect3DDevice9** device, D3DDEVTYPE type,
                              DWORD flags) {
    return d3d_->CreateDevice(D3DADAPTER_DEFAULT, type, window_, flags, &params, device);
}

IDirect3DDevice9* DeviceTest::MakeDevice(D3DPRESENT_PARAMETERS params, D3DDEVTYPE type, DWORD flags) {
    IDirect3DDevice9* device = nullptr;
    const HRESULT hr = TryDevice(params, &device, type, flags);
    EXPECT_EQ(hr, D3D_OK);
    return device;
}

void DeviceTest::ReleaseDevice(IDirect3DDevice9*& device) {
    if (!device) return;
    EXPECT_EQ(device->Release(), 0u);
    device = nullptr;
}

SIZE DeviceTest::Client() const {
    RECT r{};
    GetClientRect(window_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace test
