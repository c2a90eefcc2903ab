#include "device_fixture.h"

#include "d3d9/control.h"
#include "machine/control.h"
#include "window_device.h"

namespace showcase_test {

void DeviceTest::SetUp() {
    machine::control::Reset();
    d3d9::control::Reset();
    window_ = test_support::OpenWindow("SceneTestWindow", "Scene test", DefWindowProcA, 0, 0, 300, 300);
    ASSERT_NE(window_, nullptr);
}

void DeviceTest::TearDown() {
    test_support::ReleaseDeviceAndWindow(device_, d3d_, window_, "a scene object kept a device object");
    d3d9::control::Reset();
    machine::control::Reset();
}

IDirect3DDevice9* DeviceTest::MakeDevice(UINT width, UINT height) {
    device_ = test_support::MakeLockableDevice(window_, width, height, d3d_);
    width_ = width;
    height_ = height;
    return device_;
}

std::vector<uint32_t> DeviceTest::Pixels() { return test_support::BackBufferPixels(device_, width_, height_); }

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
