// The flexible vertex format decoder the device and D3DX share: sizes and offsets in the fixed order
// of the components, and the formats that are not valid.
#include <gtest/gtest.h>

#include "d3d9/fvf_layout.h"

namespace {

TEST(FvfLayout, ComponentsFollowEachOtherInTheirFixedOrder) {
    constexpr DWORD kThreeSizes = D3DFVF_XYZ | D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE1(0) | D3DFVF_TEXCOORDSIZE3(1) |
                                  D3DFVF_TEXCOORDSIZE4(2);
    const struct {
        DWORD fvf;
        UINT stride, positionSize;
        int normal, pointSize, diffuse, specular;
        std::vector<std::pair<int, UINT>> sets;  // offset and size of each texture set
    } cases[] = {
        {D3DFVF_XYZ, 12, 12, -1, -1, -1, -1, {}},
        {D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, 28, 16, -1, -1, 16, -1, {{20, 8}}},
        {D3DFVF_XYZB3 | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR, 48, 24, 24, 36, 40, 44, {}},
        {kThreeSizes, 44, 12, -1, -1, -1, -1, {{12, 4}, {16, 12}, {28, 16}}},
        {D3DFVF_XYZW | D3DFVF_NORMAL, 28, 16, 16, -1, -1, -1, {}},
        {D3DFVF_DIFFUSE | D3DFVF_SPECULAR, 8, 0, -1, -1, 0, 4, {}},  // no position: still a layout
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.fvf);
        const d3d9::FvfLayout l = d3d9::DecodeFvf(c.fvf);
        EXPECT_EQ(l.stride, c.stride);
        EXPECT_EQ(l.position, c.fvf & D3DFVF_POSITION_MASK);
        EXPECT_EQ(l.positionSize, c.positionSize);
        EXPECT_EQ(l.normal, c.normal);
        EXPECT_EQ(l.pointSize, c.pointSize);
        EXPECT_EQ(l.diffuse, c.diffuse);
        EXPECT_EQ(l.specular, c.specular);
        ASSERT_EQ(l.texSets, c.sets.size());
        for (size_t i = 0; i < c.sets.size(); ++i) {
            EXPECT_EQ(l.texOffset[i], c.sets[i].first) << "set " << i;
            EXPECT_EQ(l.texSize[i], c.sets[i].second) << "set " << i;
        }
    }
}

TEST(FvfLayout, UnknownPositionsAndMoreThanEightSetsAreNotValid) {
    for (DWORD fvf : {DWORD(0x4000), DWORD(0x400E), DWORD(D3DFVF_XYZ | (9 << D3DFVF_TEXCOUNT_SHIFT)),
                      DWORD(D3DFVF_XYZ | D3DFVF_TEXCOUNT_MASK)}) {
        const d3d9::FvfLayout l = d3d9::DecodeFvf(fvf);
        EXPECT_EQ(l.stride, 0u) << std::hex << fvf;
        EXPECT_EQ(l.texSets, 0u) << std::hex << fvf;
    }
}

}  // namespace
