// Textures from BMP and DDS files written to a temporary folder: every bit depth and orientation,
// stored and generated mip levels, DXT blocks, format conversion, filters, the colour key, pool and
// usage, the device's size rules and the argument checks.
#include <gtest/gtest.h>

#include <string>

#include "d3d9/adapter_profile.h"
#include "d3d9/control.h"
#include "support/loader_fixture.h"

namespace {

using test::BmpSpec;
using test::Bytes;
using test::DdsSpec;
using test::LoaderTest;

constexpr uint32_t kOpaque = 0xFF000000u;
// Six colours on a 3 x 2 image, top row first.
const std::vector<uint32_t> kColors = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};

std::vector<uint32_t> Opaque(const std::vector<uint32_t>& colors) {
    std::vector<uint32_t> out;
    for (uint32_t c : colors) out.push_back(kOpaque | c);
    return out;
}

// A 3 x 2 BMP of the given depth showing kColors (two of them for 1 bit).
BmpSpec SixColors(uint16_t bits, bool topDown) {
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bits = bits;
    s.topDown = topDown;
    if (bits == 1) {
        s.palette = {0x123456, 0xABCDEF};
        s.texels = {0, 1, 0, 1, 1, 0};
    } else if (bits == 4) {
        s.palette = kColors;  // a short palette: six entries named by colorsUsed
        s.colorsUsed = 6;
        s.texels = {0, 1, 2, 3, 4, 5};
    } else if (bits == 8) {
        s.palette.assign(256, 0x000000);
        for (size_t i = 0; i < kColors.size(); ++i) s.palette[200 + i] = kColors[i];
        s.texels = {200, 201, 202, 203, 204, 205};
    } else {
        s.texels = kColors;
        if (bits == 32)
            for (uint32_t& t : s.texels) t |= 0x7F000000;  // the unused byte is not alpha
    }
    return s;
}

struct DepthCase {
    uint16_t bits;
    bool topDown;
};

class BmpDepths : public LoaderTest, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(BmpDepths, DecodeToOpaqueX8R8G8B8AtTheFileSize) {
    MakeDevice();
    const DepthCase c = GetParam();
    Write("image.bmp", test::MakeBmp(SixColors(c.bits, c.topDown)));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load("image.bmp", &texture), D3D_OK);
    const D3DSURFACE_DESC desc = Desc(texture);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(desc.Width, 3u);
    EXPECT_EQ(desc.Height, 2u);
    const std::vector<uint32_t> expected =
        c.bits == 1 ? Opaque({0x123456, 0xABCDEF, 0x123456, 0xABCDEF, 0xABCDEF, 0x123456}) : Opaque(kColors);
    EXPECT_EQ(Texels(texture), expected);
    texture->Release();
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpDepths,
                         ::testing::Values(DepthCase{1, false}, DepthCase{1, true}, DepthCase{4, false},
                                           DepthCase{4, true}, DepthCase{8, false}, DepthCase{8, true},
                                           DepthCase{24, false}, DepthCase{24, true}, DepthCase{32, false},
                                           DepthCase{32, true}),
                         [](const ::testing::TestParamInfo<DepthCase>& info) {
                             return std::to_string(info.param.bits) + (info.param.topDown ? "BitTopDown" : "BitBottomUp");
                         });

TEST_F(LoaderTest, BitFieldBmpsKeepTheirFormatAndAlpha) {
    MakeDevice();
    BmpSpec rgb565;
    rgb565.width = 2;
    rgb565.bits = 16;
    rgb565.compression = BI_BITFIELDS;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.texels = {0xF800, 0x07E0};
    BmpSpec x555 = rgb565;
    x555.compression = BI_RGB;
    x555.masks.clear();
    x555.texels = {0x7C00, 0x001F};
    BmpSpec argb = rgb565;
    argb.bits = 32;
    argb.headerSize = 108;
    argb.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    argb.texels = {0x80FF0000, 0x00000000};
    const struct {
        const char* name;
        BmpSpec spec;
        D3DFORMAT format;
        std::vector<uint32_t> texels;
    } cases[] = {
        {"565.bmp", rgb565, D3DFMT_R5G6B5, {0xF800, 0x07E0}},
        {"555.bmp", x555, D3DFMT_X1R5G5B5, {0xFC00, 0x801F}},  // the unused bit is written as 1
        {"argb.bmp", argb, D3DFMT_A8R8G8B8, {0x80FF0000, 0x00000000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.name, test::MakeBmp(c.spec));
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(Load(c.name, &texture), D3D_OK);
        EXPECT_EQ(Desc(texture).Format, c.format);
        EXPECT_EQ(Texels(texture), c.texels);
        texture->Release();
    }
}

TEST_F(LoaderTest, StoredDdsLevelsAreUsedAndMissingOnesGenerated) {
    MakeDevice();
    DdsSpec s;
    s.width = s.height = 4;
    s.mipCount = 3;
    test::AppendTexels32(s.data, std::vector<uint32_t>(16, 0x80FF0000));
    test::AppendTexels32(s.data, std::vector<uint32_t>(4, 0x4000FF00));
    test::AppendTexels32(s.data, std::vector<uint32_t>(1, 0x200000FF));
    Write("levels.dds", test::MakeDds(s));
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "levels.dds", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info,
                                           nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Texels(texture, 1), std::vector<uint32_t>(4, 0x4000FF00));
    EXPECT_EQ(Texels(texture, 2), std::vector<uint32_t>(1, 0x200000FF));
    EXPECT_EQ(info.Width, 4u);
    EXPECT_EQ(info.MipLevels, 3u);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_DDS);
    texture->Release();

    // One stored level of an alpha-less 24-bit file: the rest of the chain is made from it.
    DdsSpec rgb;
    rgb.width = rgb.height = 2;
    rgb.bitCount = 24;
    rgb.alphaPixels = false;
    rgb.masks[3] = 0;
    for (uint32_t t : {0x000000u, 0xFFFFFFu, 0xFF0000u, 0x0000FFu})
        for (int k = 0; k < 3; ++k) rgb.data.push_back(uint8_t(t >> (8 * k)));
    Write("rgb.dds", test::MakeDds(rgb));
    ASSERT_EQ(Load("rgb.dds", &texture, D3DFMT_UNKNOWN, D3DX_DEFAULT), D3D_OK);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_X8R8G8B8);
    ASSERT_EQ(texture->GetLevelCount(), 2u);
    EXPECT_EQ(Texels(texture, 1), std::vector<uint32_t>{0xFF804080});
    texture->Release();
}

TEST_F(LoaderTest, MipCountsDefaultToTheFullChainAndAreCutToIt) {
    MakeDevice();
    BmpSpec s;
    s.width = 8;
    s.height = 2;
    s.texels.assign(16, 0x336699);
    Write("wide.bmp", test::MakeBmp(s));
    for (UINT asked : {UINT(D3DX_DEFAULT), 0u, 10u, 2u}) {
        SCOPED_TRACE(asked);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(Load("wide.bmp", &texture, D3DFMT_UNKNOWN, asked), D3D_OK);
        const UINT levels = asked == 2 ? 2u : 4u;  // 8x2, 4x1, 2x1, 1x1
        ASSERT_EQ(texture->GetLevelCount(), levels);
        const D3DSURFACE_DESC last = Desc(texture, levels - 1);
        EXPECT_EQ(last.Width, 8u >> (levels - 1));
        EXPECT_EQ(last.Height, 1u);
        EXPECT_EQ(Texels(texture, levels - 1), std::vector<uint32_t>(last.Width, 0xFF336699));
        texture->Release();
    }
    // A stored count past the chain of a complete file is cut to the chain.
    DdsSpec one;
    one.width = one.height = 1;
    one.mipCount = 5;
    test::AppendTexels32(one.data, {0xFF102030});
    Write("one.dds", test::MakeDds(one));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load("one.dds", &texture, D3DFMT_UNKNOWN, D3DX_DEFAULT), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    texture->Release();
}

// Blocks of a DXT1 texture of 8 x 8 with four levels: 4 + 1 + 1 + 1 blocks, each made distinct.
Bytes DxtChain() {
    Bytes data;
    for (int block = 0; block < 7; ++block) {
        test::Put16(data, 0xF800 - block);
        test::Put16(data, 0x001F + block);
        test::Put32(data, 0xE4E4E4E4u ^ block);
    }
    return data;
}

TEST_F(LoaderTest, DxtFilesKeepTheirBlocksAndLevels) {
    MakeDevice();
    DdsSpec s;
    s.width = s.height = 8;
    s.mipCount = 4;
    s.fourCC = test::FourCC("DXT1");
    s.data = DxtChain();
    Write("chain.dds", test::MakeDds(s));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load("chain.dds", &texture, D3DFMT_UNKNOWN, D3DX_DEFAULT), D3D_OK);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_DXT1);
    ASSERT_EQ(texture->GetLevelCount(), 4u);
    EXPECT_EQ(LevelBytes(texture, 0, 16, 2), Bytes(s.data.begin(), s.data.begin() + 32));
    EXPECT_EQ(LevelBytes(texture, 3, 8, 1), Bytes(s.data.end() - 8, s.data.end()));
    texture->Release();

    // Asked for its own format too; a size change, a key or a missing level cannot keep blocks.
    ASSERT_EQ(Load("chain.dds", &texture, D3DFMT_DXT1, 4), D3D_OK);
    texture->Release();
    EXPECT_EQ(D3DXCreateTextureFromFileExA(device_, "chain.dds", 16, 16, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED,
                                           D3DX_FILTER_POINT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Load("chain.dds", &texture, D3DFMT_DXT3, 1), D3DERR_NOTAVAILABLE);
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "chain.dds", 16, 16, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                           D3DX_FILTER_POINT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_A8R8G8B8);  // the file's format left open: decoded instead
    texture->Release();
}

TEST_F(LoaderTest, DxtBlocksDecodeToTheirColoursAndAlpha) {
    MakeDevice();
    const auto colorBlock = test::DxtColorBlock;
    Bytes dxt5 = {255, 0};
    uint64_t indices = 0;
    for (int i = 0; i < 16; ++i) indices |= uint64_t(i % 8) << (3 * i);
    for (int i = 0; i < 6; ++i) dxt5.push_back(uint8_t(indices >> (8 * i)));
    Bytes white = colorBlock(0xFFFF, 0xFFFF);
    dxt5.insert(dxt5.end(), white.begin(), white.end());
    Bytes dxt3;
    for (int i = 0; i < 8; ++i) dxt3.push_back(uint8_t((2 * i) | ((2 * i + 1) << 4)));
    dxt3.insert(dxt3.end(), white.begin(), white.end());

    const uint32_t a5[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    std::vector<uint32_t> expect5, expect3;
    for (uint32_t i = 0; i < 16; ++i) {
        expect5.push_back(a5[i % 8] << 24 | 0xFFFFFF);
        expect3.push_back((i * 17) << 24 | 0xFFFFFF);
    }
    const std::vector<uint32_t> fourColors = {0xFFFF0000, 0xFF0000FF, 0xFFAA0055, 0xFF5500AA};
    const std::vector<uint32_t> threeColors = {0xFF0000FF, 0xFFFF0000, 0xFF800080, 0x00000000};
    const struct {
        const char* code;
        Bytes block;
        std::vector<uint32_t> row;  // every row alike (DXT1)
        std::vector<uint32_t> all;  // or every texel
    } cases[] = {
        {"DXT1", colorBlock(0xF800, 0x001F), fourColors, {}},
        {"DXT1", colorBlock(0x001F, 0xF800), threeColors, {}},
        {"DXT5", dxt5, {}, expect5},
        {"DXT3", dxt3, {}, expect3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        DdsSpec s;
        s.fourCC = test::FourCC(c.code);
        s.data = c.block;
        Write("block.dds", test::MakeDds(s));
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(Load("block.dds", &texture, D3DFMT_A8R8G8B8), D3D_OK);
        std::vector<uint32_t> expected = c.all;
        while (expected.size() < 16) expected.insert(expected.end(), c.row.begin(), c.row.end());
        EXPECT_EQ(Texels(texture), expected);
        texture->Release();
    }
}

TEST_F(LoaderTest, TexelsAreConvertedIntoTheAskedFormat) {
    MakeDevice();
    BmpSpec s;
    s.texels = {0xFF8000};
    Write("orange.bmp", test::MakeBmp(s));
    const struct {
        D3DFORMAT format;
        uint32_t texel;
    } cases[] = {
        {D3DFMT_A8R8G8B8, 0xFFFF8000}, {D3DFMT_X8R8G8B8, 0xFFFF8000}, {D3DFMT_R5G6B5, 0xFC00},
        {D3DFMT_X1R5G5B5, 0xFE00},     {D3DFMT_A1R5G5B5, 0xFE00},     {D3DFMT_A4R4G4B4, 0xFF80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(Load("orange.bmp", &texture, c.format), D3D_OK);
        EXPECT_EQ(Desc(texture).Format, c.format);
        EXPECT_EQ(Texels(texture), std::vector<uint32_t>{c.texel});
        texture->Release();
    }
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(Load("orange.bmp", &texture, D3DFMT_DXT1), D3DERR_NOTAVAILABLE);  // pixels are not compressed
    EXPECT_EQ(Load("orange.bmp", &texture, D3DFMT_L8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(LoaderTest, FiltersScaleToTheAskedSize) {
    MakeDevice();
    BmpSpec s;
    s.width = 2;
    s.texels = {0x000000, 0xFFFFFF};
    Write("ramp.bmp", test::MakeBmp(s));
    auto grey = [](uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; };
    const struct {
        DWORD filter;
        UINT width;
        std::vector<uint32_t> texels;
    } cases[] = {
        {D3DX_FILTER_POINT, 4, {grey(0), grey(0), grey(255), grey(255)}},
        {D3DX_FILTER_NONE, 4, {grey(0), grey(255), 0, 0}},  // the rest is transparent black
        {D3DX_FILTER_LINEAR, 4, {grey(64), grey(64), grey(191), grey(191)}},  // wraps at the edges
        {D3DX_FILTER_LINEAR | D3DX_FILTER_MIRROR, 4, {grey(0), grey(64), grey(191), grey(255)}},
        {D3DX_FILTER_BOX, 1, {grey(128)}},
        {D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR | D3DX_FILTER_DITHER, 1, {grey(128)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "ramp.bmp", c.width, 1, 1, 0, D3DFMT_A8R8G8B8,
                                               D3DPOOL_MANAGED, c.filter, D3DX_DEFAULT, 0, nullptr, nullptr,
                                               &texture),
                  D3D_OK);
        EXPECT_EQ(Texels(texture), c.texels);
        texture->Release();
    }
}

TEST_F(LoaderTest, KeyedTexelsBecomeTransparentBlackBeforeTheMipsAreMade) {
    MakeDevice();
    BmpSpec s;
    s.width = s.height = 2;
    s.bits = 32;
    s.texels = {0x000000, 0xFFFFFF, 0x000000, 0xFF0000};
    Write("keyed.bmp", test::MakeBmp(s));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "keyed.bmp", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT,
                                           0xFF000000, nullptr, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_A8R8G8B8);  // an alpha format for the transparency
    EXPECT_EQ(Texels(texture, 0), (std::vector<uint32_t>{0, 0xFFFFFFFF, 0, 0xFFFF0000}));
    EXPECT_EQ(Texels(texture, 1), std::vector<uint32_t>{0x80804040});
    texture->Release();

    // The cursor's kind of file: an alpha-less DDS, keyed on opaque black; a key that matches nothing.
    DdsSpec cursor;
    cursor.width = cursor.height = 1;
    cursor.alphaPixels = false;
    cursor.masks[3] = 0;
    test::AppendTexels32(cursor.data, {0x00000000});
    Write("Media/Cursor.DDS", test::MakeDds(cursor));
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "media\\cursor.dds", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                           0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT,
                                           0xFF000000, nullptr, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Texels(texture), std::vector<uint32_t>{0});
    texture->Release();
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "keyed.bmp", D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, 0xFF123456, nullptr,
                                           nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Texels(texture), (std::vector<uint32_t>{kOpaque, 0xFFFFFFFF, kOpaque, 0xFFFF0000}));
    texture->Release();
}

TEST_F(LoaderTest, PoolUsageAndTheShortFormReachTheTexture) {
    MakeDevice();
    Write("image.bmp", test::MakeBmp(SixColors(24, false)));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "image.bmp", 0, 0, 1, D3DUSAGE_DYNAMIC, D3DFMT_UNKNOWN,
                                           D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                           &texture),
              D3D_OK);
    EXPECT_EQ(Desc(texture).Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(Desc(texture).Usage, DWORD(D3DUSAGE_DYNAMIC));
    texture->Release();

    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "image.bmp", 0, 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_SYSTEMMEM,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(Desc(texture).Pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);
    EXPECT_EQ(info.Width, 3u);
    EXPECT_EQ(info.Height, 2u);
    texture->Release();

    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, "image.bmp", &texture), D3D_OK);
    EXPECT_EQ(Desc(texture).Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(Desc(texture).Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 2u);  // 3x2, 1x1
    texture->Release();

    // A usage the device refuses: its answer comes back and the out pointer is left alone.
    IDirect3DTexture9* untouched = reinterpret_cast<IDirect3DTexture9*>(0x1234);
    EXPECT_EQ(D3DXCreateTextureFromFileExA(device_, "image.bmp", 0, 0, 1, D3DUSAGE_RENDERTARGET, D3DFMT_UNKNOWN,
                                           D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                           &untouched),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(untouched, reinterpret_cast<IDirect3DTexture9*>(0x1234));
}

TEST_F(LoaderTest, SizesFollowTheDevicesPowerOfTwoRuleAndLimit) {
    d3d9::Profile profile = d3d9::DefaultProfile();
    for (auto& [type, device] : profile.adapters[0].devices) {
        device.caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
        device.caps.MaxTextureWidth = 8;
    }
    d3d9::control::SetAdapterProfile(profile);
    MakeDevice();
    const struct {
        int width, height;
        UINT expectWidth, expectHeight;
    } cases[] = {{5, 3, 8, 4}, {12, 3, 8, 4}, {4, 1, 4, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        BmpSpec s;
        s.width = c.width;
        s.height = c.height;
        s.texels.assign(size_t(c.width) * c.height, 0x00FF00);
        Write("sized.bmp", test::MakeBmp(s));
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(Load("sized.bmp", &texture, D3DFMT_UNKNOWN, 1, D3DX_FILTER_POINT), D3D_OK);
        EXPECT_EQ(Desc(texture).Width, c.expectWidth);
        EXPECT_EQ(Desc(texture).Height, c.expectHeight);
        EXPECT_EQ(Texels(texture), std::vector<uint32_t>(c.expectWidth * c.expectHeight, 0xFF00FF00));
        texture->Release();
    }
}

TEST_F(LoaderTest, BadArgumentsAreRefusedWithoutTouchingTheOutPointer) {
    MakeDevice();
    Write("image.bmp", test::MakeBmp(SixColors(24, false)));
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1234);
    auto load = [&](IDirect3DDevice9* device, const char* name, DWORD filter, DWORD mipFilter,
                    IDirect3DTexture9** out) {
        return D3DXCreateTextureFromFileExA(device, name, 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, filter,
                                            mipFilter, 0, nullptr, nullptr, out);
    };
    EXPECT_EQ(load(nullptr, "image.bmp", D3DX_DEFAULT, D3DX_DEFAULT, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(load(device_, nullptr, D3DX_DEFAULT, D3DX_DEFAULT, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(load(device_, "image.bmp", D3DX_DEFAULT, D3DX_DEFAULT, nullptr), D3DERR_INVALIDCALL);
    for (DWORD bad : {DWORD(0), DWORD(6), DWORD(D3DX_FILTER_POINT | 0x100), DWORD(D3DX_FILTER_BOX | (1u << 21))}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(load(device_, "image.bmp", bad, D3DX_DEFAULT, &texture), D3DERR_INVALIDCALL);
        EXPECT_EQ(load(device_, "image.bmp", D3DX_DEFAULT, bad, &texture), D3DERR_INVALIDCALL);
    }
    EXPECT_EQ(texture, reinterpret_cast<IDirect3DTexture9*>(0x1234));
}

}  // namespace
