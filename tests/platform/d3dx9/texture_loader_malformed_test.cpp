// Broken BMP and DDS files: truncated headers and data, sizes that overflow, unknown formats, palettes
// with too many entries and offsets past the end all fail cleanly, leave the out pointer alone and
// read nothing outside the file (the sanitizer build checks the last).
#include <gtest/gtest.h>

#include <functional>

#include "support/loader_fixture.h"

namespace {

using test::BmpSpec;
using test::Bytes;
using test::DdsSpec;
using test::LoaderTest;

Bytes GoodBmp(uint16_t bits = 24) {
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bits = bits;
    if (bits <= 8) s.palette.assign(size_t(1) << bits, 0x102030);
    s.texels.assign(6, bits <= 8 ? 1 : 0x405060);
    return test::MakeBmp(s);
}

Bytes GoodDds(uint32_t fourCC = 0, uint32_t mipCount = 1) {
    DdsSpec s;
    s.width = s.height = 4;
    s.fourCC = fourCC;
    s.mipCount = mipCount;
    s.data.assign(fourCC ? 8 : 64, 0x55);
    return test::MakeDds(s);
}

Bytes Changed(Bytes b, const std::function<void(Bytes&)>& change) {
    change(b);
    return b;
}

Bytes Cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}

TEST_F(LoaderTest, MalformedFilesFailWithInvalidData) {
    MakeDevice();
    using test::Poke32;
    const uint32_t bmpSize = uint32_t(GoodBmp().size());
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"unknown signature", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"BMP signature only", {'B', 'M'}},
        {"BMP file header cut short", Cut(GoodBmp(), 10)},
        {"BMP info header cut short", Cut(GoodBmp(), 30)},
        {"BMP header of unknown size", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 14, 64); })},
        {"BMP header larger than the file", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 14, 0xFFFFFFF0); })},
        {"BMP zero width", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 18, 0); })},
        {"BMP negative width", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 18, uint32_t(-3)); })},
        {"BMP zero height", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 22, 0); })},
        {"BMP most negative height", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 22, 0x80000000u); })},
        {"BMP two planes", Changed(GoodBmp(), [](Bytes& b) { b[26] = 2; })},
        {"BMP 2 bits a pixel", Changed(GoodBmp(), [](Bytes& b) { b[28] = 2; })},
        {"BMP run-length compressed", Changed(GoodBmp(8), [](Bytes& b) { Poke32(b, 30, 1); })},
        {"BMP bit fields on 24 bits", Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 30, 3); })},
        {"BMP bit-field masks past the end",
         Cut(Changed(GoodBmp(32), [](Bytes& b) { Poke32(b, 30, 3); }), 58)},
        {"BMP palette with too many entries",
         Changed(GoodBmp(8), [](Bytes& b) { Poke32(b, test::kBmpColorsUsedField, 257); })},
        {"BMP 1-bit palette with three entries",
         Changed(GoodBmp(1), [](Bytes& b) { Poke32(b, test::kBmpColorsUsedField, 3); })},
        {"BMP palette past the end", Cut(GoodBmp(8), 54 + 100)},
        {"BMP pixel offset past the end",
         Changed(GoodBmp(), [=](Bytes& b) { Poke32(b, test::kBmpPixelOffsetField, bmpSize + 16); })},
        {"BMP pixel offset near 4 GiB",
         Changed(GoodBmp(), [](Bytes& b) { Poke32(b, test::kBmpPixelOffsetField, 0xFFFFFFF0u); })},
        {"BMP pixel data one byte short", Cut(GoodBmp(), bmpSize - 1)},
        {"BMP pixel count past 32 bits",
         Changed(GoodBmp(), [](Bytes& b) { Poke32(b, 18, 0x10000), Poke32(b, 22, 0x10000); })},
        {"BMP row bytes past 32 bits",
         Changed(GoodBmp(32), [](Bytes& b) { Poke32(b, 18, 0x40000000), Poke32(b, 22, 1); })},
        {"DDS header cut short", Cut(GoodDds(), 60)},
        {"DDS wrong header size", Changed(GoodDds(), [](Bytes& b) { Poke32(b, 4, 100); })},
        {"DDS wrong pixel-format size", Changed(GoodDds(), [](Bytes& b) { Poke32(b, 76, 24); })},
        {"DDS unknown four-character code", GoodDds(test::FourCC("ATI2"))},
        {"DDS extended header", GoodDds(test::FourCC("DX10"))},
        {"DDS four-character code of 0x80000000", GoodDds(0x80000000u)},
        {"DDS four-character code of all ones", GoodDds(0xFFFFFFFFu)},
        {"DDS luminance format",
         Changed(GoodDds(), [](Bytes& b) { Poke32(b, test::kDdsFlagsOfFormatField, 0x20000); })},
        {"DDS RGB without masks",
         Changed(GoodDds(), [](Bytes& b) { Poke32(b, 92, 0), Poke32(b, 96, 0), Poke32(b, 100, 0); })},
        {"DDS 8-bit RGB", Changed(GoodDds(), [](Bytes& b) { Poke32(b, 88, 8); })},
        {"DDS zero width", Changed(GoodDds(), [](Bytes& b) { Poke32(b, test::kDdsWidthField, 0); })},
        {"DDS pixel count past 32 bits", Changed(GoodDds(), [](Bytes& b) {
             Poke32(b, test::kDdsWidthField, 0x10000), Poke32(b, test::kDdsHeightField, 0x10000);
         })},
        {"DDS level data cut short", Cut(GoodDds(), 128 + 60)},
        {"DDS stored mip level missing", GoodDds(0, 3)},
        {"DDS mip count of all ones", GoodDds(0, 0xFFFFFFFFu)},
        {"DDS cube map", Changed(GoodDds(), [](Bytes& b) { Poke32(b, 112, 0x200); })},
        {"DDS DXT blocks cut short", Cut(GoodDds(test::FourCC("DXT5")), 128 + 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write("broken.img", c.bytes);
        IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1234);
        EXPECT_EQ(Load("broken.img", &texture), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, reinterpret_cast<IDirect3DTexture9*>(0x1234));
    }
}

TEST_F(LoaderTest, MissingFilesAndFoldersFailWithInvalidData) {
    MakeDevice();
    Write("folder/inside.bmp", GoodBmp());
    for (const char* name : {"absent.bmp", "", "folder", "folder/absent/inside.bmp"}) {
        SCOPED_TRACE(name);
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(Load(name, &texture), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load("FOLDER\\Inside.bmp", &texture), D3D_OK);
    texture->Release();
}

}  // namespace
