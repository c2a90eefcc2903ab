// A fresh machine with one window and a HAL device for the scene classes to build on, the call log,
// and a check at the end that every device object the class made has been given back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "d3d9.h"
#include "windows.h"

namespace showcase_test {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A windowed device with a lockable back buffer of the size and a depth buffer.
    IDirect3DDevice9* MakeDevice(UINT width = 64, UINT height = 64);
    // Clears to black, runs the draw inside a scene and ends the scene.
    template <typename Draw>
    void Frame(Draw draw) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        draw();
        device_->EndScene();
    }
    // The back buffer, 0x00RRGGBB per pixel, rows top-down.
    std::vector<uint32_t> Pixels();
    uint32_t Pixel(UINT x, UINT y) { return Pixels()[size_t(y) * width_ + x]; }
    // The call log from now on, and its lines starting with the name.
    void StartCallLog();
    std::vector<std::string> Calls(const std::string& prefix);
    D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state);
    DWORD RenderState(D3DRENDERSTATETYPE state);

    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    UINT width_ = 0, height_ = 0;
};

}  // namespace showcase_test
