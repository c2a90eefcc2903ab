// FormatName: the published names of the table, with and without the prefix, and "Unknown format".
#include "format_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NamedFormat {
    int32_t code;
    const char* name;
};

constexpr int32_t FourCC(char a, char b, char c, char d) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(a)) |
                                static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
                                static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
                                static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

// Every row of the table, by value, so a wrong enumerator value in a header shows up too.
const NamedFormat kTable[] = {
    {0, "D3DFMT_UNKNOWN"},
    {20, "D3DFMT_R8G8B8"}, {21, "D3DFMT_A8R8G8B8"}, {22, "D3DFMT_X8R8G8B8"}, {23, "D3DFMT_R5G6B5"},
    {24, "D3DFMT_X1R5G5B5"}, {25, "D3DFMT_A1R5G5B5"}, {26, "D3DFMT_A4R4G4B4"}, {27, "D3DFMT_R3G3B2"},
    {28, "D3DFMT_A8"}, {29, "D3DFMT_A8R3G3B2"}, {30, "D3DFMT_X4R4G4B4"}, {31, "D3DFMT_A2B10G10R10"},
    {32, "D3DFMT_A8B8G8R8"}, {33, "D3DFMT_X8B8G8R8"}, {34, "D3DFMT_G16R16"}, {35, "D3DFMT_A2R10G10B10"},
    {36, "D3DFMT_A16B16G16R16"},
    {40, "D3DFMT_A8P8"}, {41, "D3DFMT_P8"},
    {50, "D3DFMT_L8"}, {51, "D3DFMT_A8L8"}, {52, "D3DFMT_A4L4"},
    {60, "D3DFMT_V8U8"}, {61, "D3DFMT_L6V5U5"}, {62, "D3DFMT_X8L8V8U8"}, {63, "D3DFMT_Q8W8V8U8"},
    {64, "D3DFMT_V16U16"}, {67, "D3DFMT_A2W10V10U10"},
    {70, "D3DFMT_D16_LOCKABLE"}, {71, "D3DFMT_D32"}, {73, "D3DFMT_D15S1"}, {75, "D3DFMT_D24S8"},
    {77, "D3DFMT_D24X8"}, {79, "D3DFMT_D24X4S4"}, {80, "D3DFMT_D16"}, {81, "D3DFMT_L16"},
    {100, "D3DFMT_VERTEXDATA"}, {101, "D3DFMT_INDEX16"}, {102, "D3DFMT_INDEX32"},
    {110, "D3DFMT_Q16W16V16U16"}, {111, "D3DFMT_R16F"}, {112, "D3DFMT_G16R16F"},
    {113, "D3DFMT_A16B16G16R16F"}, {114, "D3DFMT_R32F"}, {115, "D3DFMT_G32R32F"},
    {116, "D3DFMT_A32B32G32R32F"}, {117, "D3DFMT_CxV8U8"},
    {827606349, "D3DFMT_MULTI2_ARGB8"}, {827611204, "D3DFMT_DXT1"}, {844388420, "D3DFMT_DXT2"},
    {844715353, "D3DFMT_YUY2"}, {861165636, "D3DFMT_DXT3"}, {877942852, "D3DFMT_DXT4"},
    {894720068, "D3DFMT_DXT5"}, {1498831189, "D3DFMT_UYVY"},
};

D3DFORMAT Format(int32_t code) { return static_cast<D3DFORMAT>(code); }

}  // namespace

TEST(FormatNames, EveryTableRowWithAndWithoutPrefix) {
    EXPECT_EQ(std::size(kTable), 56u);
    for (const NamedFormat& row : kTable) {
        EXPECT_STREQ(FormatName(Format(row.code), true), row.name) << row.code;
        EXPECT_STREQ(FormatName(Format(row.code), false), row.name + 7) << row.code;
    }
    EXPECT_STREQ(FormatName(D3DFMT_X8R8G8B8, false), "X8R8G8B8");
    EXPECT_STREQ(FormatName(D3DFMT_UNKNOWN, false), "UNKNOWN");
    EXPECT_STREQ(FormatName(D3DFMT_DXT1, false), "DXT1");
}

TEST(FormatNames, FourCharacterCodesPutTheFirstCharacterLowest) {
    EXPECT_EQ(FourCC('D', 'X', 'T', '1'), 827611204);
    EXPECT_EQ(FourCC('M', 'E', 'T', '1'), 827606349);
    EXPECT_EQ(FourCC('U', 'Y', 'V', 'Y'), 1498831189);
}

TEST(FormatNames, CodesOutsideTheTableAreUnknownFormat) {
    const int32_t unknown[] = {
        1, 19, 37, 39, 65, 66, 72, 74, 76, 78, 82, 83, 118, 200, -1, -21, INT32_MIN, INT32_MAX,
        FourCC('D', 'X', 'T', '6'), FourCC('D', 'X', 'T', '0'), FourCC('d', 'x', 't', '1'),
        FourCC('R', 'G', 'B', 'G'), FourCC('G', 'R', 'G', 'B'), FourCC('M', 'E', 'T', '2'),
    };
    for (int32_t code : unknown) {
        EXPECT_STREQ(FormatName(Format(code), true), "Unknown format") << code;
        EXPECT_STREQ(FormatName(Format(code), false), "Unknown format") << code;
    }
}

TEST(FormatNames, TheSameCodeGivesTheSameLastingText) {
    const char* first = FormatName(D3DFMT_D24S8, true);
    EXPECT_EQ(FormatName(D3DFMT_D24S8, true), first);
    EXPECT_EQ(FormatName(D3DFMT_D24S8, false), first + 7);
    EXPECT_EQ(FormatName(Format(37), true), FormatName(Format(118), false));
}
