// A device on a fresh machine and a temporary working directory for the texture-loader tests, with
// helpers that write files there and read a texture's levels back.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "d3dx9.h"
#include "image_builders.h"
#include "temp_folder.h"
#include "windows.h"

namespace test {

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the device on the current adapter profile.
    void MakeDevice();
    // Writes a file at a path relative to the working directory, with `/` separators.
    void Write(const std::string& relative, const Bytes& bytes) const;

    // Loads with every choice but the format, the mip levels and the filter left to the loader.
    HRESULT Load(const std::string& name, IDirect3DTexture9** texture, D3DFORMAT format = D3DFMT_UNKNOWN,
                 UINT mipLevels = 1, DWORD filter = D3DX_FILTER_NONE);

    // The texels of a level: 32-bit formats as they are, 16-bit formats widened to 32 bits each.
    static std::vector<uint32_t> Texels(IDirect3DTexture9* texture, UINT level = 0);
    // The raw bytes of a level, row by row without padding.
    static Bytes LevelBytes(IDirect3DTexture9* texture, UINT level, size_t rowBytes, UINT rows);
    static D3DSURFACE_DESC Desc(IDirect3DTexture9* texture, UINT level = 0);

    IDirect3DDevice9* device_ = nullptr;

private:
    std::optional<test_support::TempFolder> folder_;
    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
};

}  // namespace test
