// The catalog's records, adapters and display modes: filter, order, adapters left out, failures.
#include <gtest/gtest.h>

#include <cstring>

#include "device_catalog.h"
#include "grow_array.h"
#include "support/catalog_views.h"
#include "support/grow_array_allocator.h"
#include "support/fake_direct3d.h"

using test::Adapters;
using test::Devices;
using test::FakeDirect3D;
using test::Values;

namespace {

class CatalogTest : public ::testing::Test {
protected:
    HRESULT Build() {
        catalog.AttachDirect3D(&d3d);
        catalog.m_usesDepthBuffer = true;
        return catalog.Build();
    }

    FakeDirect3D d3d;
    CD3DDeviceCatalog catalog;
};

// Each mode is answered under its own format.
struct ModeCase {
    const char* name;
    std::vector<D3DDISPLAYMODE> reported;
    std::vector<D3DDISPLAYMODE> listed;
};

class CatalogModes : public CatalogTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(CatalogModes, FiltersAndSorts) {
    test::MakeOneHalTypical(d3d);
    d3d.adapters[0].modes.clear();
    for (const D3DDISPLAYMODE& mode : GetParam().reported) d3d.adapters[0].modes[mode.Format].push_back(mode);
    ASSERT_EQ(S_OK, Build());
    std::vector<D3DDISPLAYMODE> listed;
    if (!Adapters(catalog).empty()) listed = Values<D3DDISPLAYMODE>(Adapters(catalog)[0]->m_pDisplayModeList);
    EXPECT_EQ(GetParam().listed, listed);
}

constexpr D3DFORMAT X8 = D3DFMT_X8R8G8B8;
constexpr D3DFORMAT R5 = D3DFMT_R5G6B5;

INSTANTIATE_TEST_SUITE_P(
    , CatalogModes,
    ::testing::Values(
        ModeCase{"SmallestListed", {{640, 480, 60, X8}}, {{640, 480, 60, X8}}},
        ModeCase{"BelowMinimumDropped", {{639, 480, 60, X8}, {640, 479, 60, X8}, {640, 480, 60, X8}},
                 {{640, 480, 60, X8}}},
        ModeCase{"WidthHeightFormatRefresh",
                 {{800, 600, 60, X8}, {640, 480, 75, R5}, {640, 480, 60, X8}, {640, 480, 0, X8}},
                 {{640, 480, 0, X8}, {640, 480, 60, X8}, {640, 480, 75, R5}, {800, 600, 60, X8}}},
        ModeCase{"WidthBeforeHeight", {{1024, 600, 60, X8}, {800, 1024, 60, X8}},
                 {{800, 1024, 60, X8}, {1024, 600, 60, X8}}},
        ModeCase{"DuplicatesKeptSideBySide", {{800, 600, 60, X8}, {640, 480, 60, X8}, {800, 600, 60, X8}},
                 {{640, 480, 60, X8}, {800, 600, 60, X8}, {800, 600, 60, X8}}},
        ModeCase{"FiveAndTenBitFormats", {{640, 480, 60, D3DFMT_A2R10G10B10}, {640, 480, 60, D3DFMT_X1R5G5B5}},
                 {{640, 480, 60, D3DFMT_X1R5G5B5}, {640, 480, 60, D3DFMT_A2R10G10B10}}},
        ModeCase{"OnlySmallModesLeaveNoAdapter", {{320, 240, 60, X8}, {639, 479, 60, X8}}, {}}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

TEST(CompareDisplayModes, FirstDifferingFieldDecides) {
    struct Case {
        D3DDISPLAYMODE a, b;
        int expected;
    };
    Case cases[] = {
        {{640, 480, 60, X8}, {640, 480, 60, X8}, 0},
        {{640, 480, 85, X8}, {800, 480, 60, X8}, -1},
        {{800, 600, 60, X8}, {800, 480, 85, X8}, 1},
        {{800, 600, 85, X8}, {800, 600, 60, R5}, -1},          // X8R8G8B8 (22) before R5G6B5 (23)
        {{800, 600, 60, D3DFMT_UNKNOWN}, {800, 600, 60, X8}, -1}, // the format compares signed (below)
        {{800, 600, 75, X8}, {800, 600, 60, X8}, 1},
        {{0xFFFFFFFFu, 480, 60, X8}, {640, 480, 60, X8}, 1},  // sizes compare unsigned
    };
    // A code with the top bit set, as raw bytes: it is no value of the enumeration.
    const int32_t negative = INT32_MIN;
    std::memcpy(&cases[4].a.Format, &negative, sizeof(negative));
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CompareDisplayModes(&c.a, &c.b));
        EXPECT_EQ(-c.expected, CompareDisplayModes(&c.b, &c.a));
    }
}

TEST(FormatBits, Tables) {
    struct Case {
        D3DFORMAT format;
        UINT channel, alpha, depth, stencil;
    };
    const Case cases[] = {
        {D3DFMT_R8G8B8, 8, 0, 0, 0},      {D3DFMT_A8R8G8B8, 8, 8, 0, 0},    {D3DFMT_X8R8G8B8, 8, 0, 0, 0},
        {D3DFMT_R5G6B5, 5, 0, 0, 0},      {D3DFMT_X1R5G5B5, 5, 0, 0, 0},    {D3DFMT_A1R5G5B5, 5, 1, 0, 0},
        {D3DFMT_A4R4G4B4, 4, 4, 0, 0},    {D3DFMT_X4R4G4B4, 4, 0, 0, 0},    {D3DFMT_R3G3B2, 2, 0, 0, 0},
        {D3DFMT_A8R3G3B2, 2, 8, 0, 0},    {D3DFMT_A2B10G10R10, 10, 2, 0, 0}, {D3DFMT_A2R10G10B10, 10, 2, 0, 0},
        {D3DFMT_A8, 0, 0, 0, 0},          {D3DFMT_A8B8G8R8, 0, 0, 0, 0},    {D3DFMT_X8B8G8R8, 0, 0, 0, 0},
        {D3DFMT_G16R16, 0, 0, 0, 0},      {D3DFMT_D32, 0, 0, 32, 0},        {D3DFMT_D24S8, 0, 0, 24, 8},
        {D3DFMT_D24X8, 0, 0, 24, 0},      {D3DFMT_D24X4S4, 0, 0, 24, 4},    {D3DFMT_D16, 0, 0, 16, 0},
        {D3DFMT_D15S1, 0, 0, 15, 1},      {D3DFMT_D16_LOCKABLE, 0, 0, 0, 0}, {D3DFMT_UNKNOWN, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(test::FormatText(c.format));
        EXPECT_EQ(c.channel, ChannelBitsInFormat(c.format));
        EXPECT_EQ(c.alpha, AlphaBitsInFormat(c.format));
        EXPECT_EQ(c.depth, DepthBitsInFormat(c.format));
        EXPECT_EQ(c.stencil, StencilBitsInFormat(c.format));
    }
}

TEST_F(CatalogTest, ModesAskedPerAllowedFormatInOrder) {
    test::MakeOneHalTypical(d3d);
    ASSERT_EQ(S_OK, Build());
    EXPECT_EQ((std::vector<std::string>{"GetAdapterModeCount(0,X8R8G8B8)", "GetAdapterModeCount(0,X1R5G5B5)",
                                        "GetAdapterModeCount(0,R5G6B5)", "GetAdapterModeCount(0,A2R10G10B10)"}),
              d3d.CallsNamed("GetAdapterModeCount"));
    EXPECT_EQ((std::vector<D3DFORMAT>{D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A2R10G10B10}),
              Values<D3DFORMAT>(catalog.m_pAllowedAdapterFormats));
    // The identifier comes first, with flags 0, and names the adapter.
    EXPECT_EQ("GetAdapterIdentifier(0,0)", d3d.log.at(1));
    EXPECT_STREQ("Fake HAL adapter", Adapters(catalog).at(0)->m_identifier.Description);
}

TEST_F(CatalogTest, DisplayFormatsFollowAllowedOrderNotModeOrder) {
    test::MakeOneHalTypical(d3d);
    ASSERT_EQ(S_OK, Build());
    // R5G6B5 modes sort among the X8R8G8B8 ones, but every X8R8G8B8 combination comes first.
    std::vector<D3DFORMAT> displayFormats;
    for (const FormatCombo* pCombo : test::Combos(Devices(Adapters(catalog)[0])[0]))
        displayFormats.push_back(pCombo->m_adapterFormat);
    EXPECT_EQ((std::vector<D3DFORMAT>{X8, X8, X8, X8, R5, R5}), displayFormats);
}

TEST_F(CatalogTest, ModeOwnFormatDecides) {
    test::MakeOneHalTypical(d3d);
    d3d.adapters[0].modes.clear();
    // Asked for X8R8G8B8, the platform answers an R5G6B5 mode and an A8 mode (no colour channels).
    d3d.adapters[0].modes[X8] = {{800, 600, 60, R5}, {800, 600, 60, D3DFMT_A8}};
    ASSERT_EQ(S_OK, Build());
    AdapterRecord* pAdapter = Adapters(catalog).at(0);
    EXPECT_EQ((std::vector<D3DDISPLAYMODE>{{800, 600, 60, R5}}), Values<D3DDISPLAYMODE>(pAdapter->m_pDisplayModeList));
    EXPECT_EQ((std::vector<std::string>{"R5G6B5/R5G6B5 fullscreen", "R5G6B5/R5G6B5 windowed"}),
              test::ComboTexts(Devices(pAdapter)[0]));
}

TEST_F(CatalogTest, UnusableFirstAdapterIsLeftOut) {
    test::MakeTwoAdaptersFirstUnusable(d3d);
    ASSERT_EQ(S_OK, Build());
    ASSERT_EQ(1u, Adapters(catalog).size());
    EXPECT_EQ(1u, Adapters(catalog)[0]->m_adapterOrdinal);
    EXPECT_EQ(1u, Devices(Adapters(catalog)[0])[0]->m_adapterOrdinal);
    // Without a kept mode adapter 0 has no display format to check.
    for (const std::string& line : d3d.CallsNamed("CheckDeviceType")) EXPECT_EQ(0u, line.find("CheckDeviceType(1,"));
}

TEST_F(CatalogTest, NothingUsableIsNoFailure) {
    test::MakeNothingUsable(d3d);
    EXPECT_EQ(S_OK, Build());
    ASSERT_NE(nullptr, catalog.m_pAdapterList);
    EXPECT_EQ(0u, catalog.m_pAdapterList->Count());
}

TEST_F(CatalogTest, WithoutDirect3DFailsBeforeCreatingAnything) {
    EXPECT_EQ(E_FAIL, catalog.Build());
    EXPECT_EQ(nullptr, catalog.m_pAdapterList);
    EXPECT_EQ(nullptr, catalog.m_pAllowedAdapterFormats);
}

TEST_F(CatalogTest, ConstructorValues) {
    EXPECT_EQ(640u, catalog.m_minFullscreenWidth);
    EXPECT_EQ(480u, catalog.m_minFullscreenHeight);
    EXPECT_EQ(5u, catalog.m_minColorChannelBits);
    EXPECT_EQ(0u, catalog.m_minAlphaChannelBits);
    EXPECT_EQ(15u, catalog.m_minDepthBits);
    EXPECT_EQ(0u, catalog.m_minStencilBits);
    EXPECT_FALSE(catalog.m_usesDepthBuffer);
    EXPECT_FALSE(catalog.m_usesMixedVP);
    EXPECT_FALSE(catalog.m_requiresWindowed);
    EXPECT_FALSE(catalog.m_requiresFullscreen);
    EXPECT_EQ(nullptr, catalog.m_pfnDeviceCheck);
}

TEST_F(CatalogTest, SecondBuildChangesNothing) {
    test::MakeOneHalTypical(d3d);
    ASSERT_EQ(S_OK, Build());
    AdapterRecord* pAdapter = Adapters(catalog).at(0);
    const size_t calls = d3d.log.size();
    EXPECT_EQ(S_FALSE, catalog.Build());
    EXPECT_EQ(calls, d3d.log.size());
    EXPECT_EQ(pAdapter, Adapters(catalog).at(0));
    EXPECT_EQ(1u, catalog.m_pAdapterList->Count());
}

TEST_F(CatalogTest, TakesNoReferenceAndNeverCallsOnDestruction) {
    test::MakeOneHalTypical(d3d);
    {
        CD3DDeviceCatalog local;
        local.AttachDirect3D(&d3d);
        ASSERT_EQ(S_OK, local.Build());
        d3d.log.clear();
    }
    EXPECT_TRUE(d3d.log.empty());
    EXPECT_EQ(1u, d3d.refCount);
    EXPECT_EQ(0u, d3d.addRefCalls);
    EXPECT_EQ(0u, d3d.releaseCalls);
}

// A failed identifier query leaves an empty identifier, not what the call left behind.
TEST_F(CatalogTest, FailedIdentifierGivesEmptyIdentifier) {
    test::MakeOneHalTypical(d3d);
    d3d.adapters[0].identifierFails = true;
    ASSERT_EQ(S_OK, Build());
    const D3DADAPTER_IDENTIFIER9& identifier = Adapters(catalog).at(0)->m_identifier;
    EXPECT_STREQ("", identifier.Description);
    EXPECT_STREQ("", identifier.Driver);
    EXPECT_EQ(0u, identifier.VendorId);
}

// A mode that cannot be read is skipped; the stale mode the call left is not listed.
TEST_F(CatalogTest, FailedModeIsSkipped) {
    test::MakeOneHalTypical(d3d);
    d3d.adapters[0].modes.clear();
    d3d.adapters[0].modes[X8] = {{640, 480, 60, X8}, {800, 600, 60, X8}, {1280, 1024, 60, X8}};
    d3d.adapters[0].failingModes = {{X8, 1}, {X8, 2}};
    d3d.staleMode = {640, 480, 60, X8};
    ASSERT_EQ(S_OK, Build());
    EXPECT_EQ((std::vector<D3DDISPLAYMODE>{{640, 480, 60, X8}}),
              Values<D3DDISPLAYMODE>(Adapters(catalog).at(0)->m_pDisplayModeList));
}

// Every record in the catalog is complete, its parallel lists equally long.
void ExpectComplete(const CD3DDeviceCatalog& catalog) {
    for (AdapterRecord* pAdapter : Adapters(catalog)) {
        ASSERT_GT(pAdapter->m_pDisplayModeList->Count(), 0u);
        ASSERT_FALSE(Devices(pAdapter).empty());
        for (DeviceRecord* pDevice : Devices(pAdapter)) {
            ASSERT_FALSE(test::Combos(pDevice).empty());
            for (FormatCombo* pCombo : test::Combos(pDevice)) {
                EXPECT_EQ(pCombo->m_pMultisampleTypeList->Count(), pCombo->m_pMultisampleQualityList->Count());
                EXPECT_GT(pCombo->m_pDepthStencilFormatList->Count(), 0u);
                EXPECT_GT(pCombo->m_pVertexProcessingTypeList->Count(), 0u);
                EXPECT_GT(pCombo->m_pPresentIntervalList->Count(), 0u);
            }
        }
    }
}

// Whatever append fails, the build answers E_OUTOFMEMORY, every record left in the catalog is
// complete, and no list block outlives the catalog (the sanitizer build checks the records too).
TEST(CatalogOutOfMemory, EveryFailedAppendFailsTheBuildCleanly) {
    test::FakeDirect3D probe;
    test::MakeTwoAdaptersFirstUnusable(probe);
    probe.adapters.push_back(probe.adapters[1]);
    ScopedGrowArrayAllocator allocator;
    int blocks = 0;
    {
        CD3DDeviceCatalog counting;
        counting.AttachDirect3D(&probe);
        counting.m_usesDepthBuffer = true;
        ASSERT_EQ(S_OK, counting.Build());
        blocks = allocator.Allocations();
    }
    ASSERT_GT(blocks, 20);

    for (int failing = 1; failing <= blocks; ++failing) {
        SCOPED_TRACE("failing block " + std::to_string(failing));
        {
            CD3DDeviceCatalog partial;
            partial.AttachDirect3D(&probe);
            partial.m_usesDepthBuffer = true;
            allocator.FailAllocation(failing);
            EXPECT_EQ(E_OUTOFMEMORY, partial.Build());
            allocator.FailAllocation(0);
            ExpectComplete(partial);
        }
        // Every record that was made is freed with the catalog, appended or not.
        EXPECT_EQ(0, allocator.LiveBlocks());
    }
}

} // namespace
