// A fresh machine with one window and a device to build fonts on, and helpers to read back the glyph
// texture and the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "d3d9.h"
#include "d3d_font.h"
#include "windows.h"

namespace text_test {

class FontTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A HAL device with a lockable back buffer and a depth buffer; maxTextureWidth other than 0 gives
    // the device that texture width limit. Fails the test when the device cannot be made.
    IDirect3DDevice9* MakeDevice(UINT width = 256, UINT height = 64, UINT maxTextureWidth = 0);
    // A font built on the device (both stages).
    CD3DFont* MakeFont(const char* face, DWORD points, DWORD flags);

    // The glyph texture's texels, row by row.
    std::vector<uint16_t> Texels(const CD3DFont& font);
    // The back buffer, 0x00RRGGBB per pixel, rows top-down.
    std::vector<uint32_t> Pixels();
    uint32_t Pixel(UINT x, UINT y) { return Pixels()[size_t(y) * width_ + x]; }
    // Clears to the colour, draws inside a scene and ends the scene.
    void Frame(uint32_t background, const std::function<void()>& draw);
    // Writes the back buffer as a PNG file in the working directory (the build folder).
    void WriteBackBuffer(const std::string& file);
    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    UINT width_ = 0, height_ = 0;
    std::vector<CD3DFont*> fonts_;  // deleted at the end of the test
};

}  // namespace text_test
