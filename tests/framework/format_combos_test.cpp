// Devices and format combinations: candidate orders, what each combination offers, and the
// combinations and devices that are discarded.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "device_catalog.h"
#include "support/catalog_views.h"
#include "support/fake_direct3d.h"

using test::Adapters;
using test::Combos;
using test::Devices;
using test::FakeDirect3D;
using test::Values;

namespace {

constexpr D3DFORMAT X8 = D3DFMT_X8R8G8B8;
constexpr D3DFORMAT A8 = D3DFMT_A8R8G8B8;
constexpr D3DFORMAT R5 = D3DFMT_R5G6B5;

const char* VpText(VertexProcessingType type) {
    switch (type) {
    case SOFTWARE_VP: return "SOFTWARE_VP";
    case MIXED_VP: return "MIXED_VP";
    case HARDWARE_VP: return "HARDWARE_VP";
    case PURE_HARDWARE_VP: return "PURE_HARDWARE_VP";
    }
    return "?";
}

// The device-check function: logs each question into the fake's call log and refuses the pairs
// listed in `rejected`.
struct DeviceCheck {
    static inline FakeDirect3D* pLog = nullptr;
    static inline std::set<std::pair<VertexProcessingType, D3DFORMAT>> rejected;
    static bool Check(const D3DCAPS9* caps, VertexProcessingType type, D3DFORMAT backBuffer) {
        pLog->Log(std::string("DeviceCheck(") + test::DeviceTypeText(caps->DeviceType) + "," + VpText(type) + "," +
                  test::FormatText(backBuffer) + ")");
        return rejected.count({type, backBuffer}) == 0;
    }
};

class CombosTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceCheck::pLog = &d3d;
        DeviceCheck::rejected.clear();
        test::MakeOneHalTypical(d3d);
        catalog.m_usesDepthBuffer = true;
        catalog.m_pfnDeviceCheck = DeviceCheck::Check;
    }
    HRESULT Build() {
        catalog.AttachDirect3D(&d3d);
        return catalog.Build();
    }
    // The only device's combinations (none when the catalog is empty).
    std::vector<FormatCombo*> TheCombos() {
        if (Adapters(catalog).empty()) return {};
        return Combos(Devices(Adapters(catalog)[0]).at(0));
    }
    FormatCombo* Combo(D3DFORMAT adapterFormat, D3DFORMAT backBuffer, bool windowed) {
        for (FormatCombo* pCombo : TheCombos())
            if (pCombo->m_adapterFormat == adapterFormat && pCombo->m_backBufferFormat == backBuffer &&
                pCombo->m_windowed == windowed)
                return pCombo;
        return nullptr;
    }
    // The calls made between the first CheckDeviceType of the combination and the next one.
    std::vector<std::string> CallsForCombo(const std::string& checkDeviceType) {
        std::vector<std::string> calls;
        bool inside = false;
        for (const std::string& line : d3d.log) {
            if (line.rfind("CheckDeviceType(", 0) == 0) {
                if (inside) break;
                inside = line == checkDeviceType;
                continue;
            }
            if (inside) calls.push_back(line);
        }
        return calls;
    }

    FakeDirect3D d3d;
    CD3DDeviceCatalog catalog;
};

TEST_F(CombosTest, DeviceWithUnreadableCapsHasNoRecord) {
    test::MakeSwCapsFail(d3d);
    ASSERT_EQ(S_OK, Build());
    std::vector<D3DDEVTYPE> types;
    for (const DeviceRecord* pDevice : Devices(Adapters(catalog).at(0))) types.push_back(pDevice->m_deviceType);
    EXPECT_EQ((std::vector<D3DDEVTYPE>{D3DDEVTYPE_HAL, D3DDEVTYPE_REF}), types);
    // No format of the failed type is checked.
    for (const std::string& line : d3d.CallsNamed("CheckDeviceType")) EXPECT_EQ(std::string::npos, line.find(",SW,"));
}

TEST_F(CombosTest, CombinationOrderAndFields) {
    ASSERT_EQ(S_OK, Build());
    EXPECT_EQ((std::vector<std::string>{"X8R8G8B8/A8R8G8B8 fullscreen", "X8R8G8B8/A8R8G8B8 windowed",
                                        "X8R8G8B8/X8R8G8B8 fullscreen", "X8R8G8B8/X8R8G8B8 windowed",
                                        "R5G6B5/R5G6B5 fullscreen", "R5G6B5/R5G6B5 windowed"}),
              test::ComboTexts(Devices(Adapters(catalog)[0])[0]));
    for (const FormatCombo* pCombo : TheCombos()) {
        EXPECT_EQ(0u, pCombo->m_adapterOrdinal);
        EXPECT_EQ(D3DDEVTYPE_HAL, pCombo->m_deviceType);
    }
    // Every back-buffer candidate is asked in order, full screen before windowed, per display format.
    const std::vector<std::string> checks = d3d.CallsNamed("CheckDeviceType");
    ASSERT_EQ(24u, checks.size());
    const char* backBuffers[] = {"A8R8G8B8", "X8R8G8B8", "A2R10G10B10", "R5G6B5", "A1R5G5B5", "X1R5G5B5"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(std::string("CheckDeviceType(0,HAL,X8R8G8B8,") + backBuffers[i / 2] + "," + std::to_string(i % 2) + ")",
                  checks[i]);
}

TEST_F(CombosTest, BackBufferAcceptedFullscreenOnly) {
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE, D3DFORMAT a, D3DFORMAT b, BOOL windowed) {
        return a == X8 && (b == X8 || (b == A8 && !windowed));
    };
    ASSERT_EQ(S_OK, Build());
    EXPECT_EQ((std::vector<std::string>{"X8R8G8B8/A8R8G8B8 fullscreen", "X8R8G8B8/X8R8G8B8 fullscreen",
                                        "X8R8G8B8/X8R8G8B8 windowed"}),
              test::ComboTexts(Devices(Adapters(catalog)[0])[0]));
}

// Depth candidates in order; the match is asked only after the format check passed.
TEST_F(CombosTest, DepthFormatsCallOrder) {
    ASSERT_EQ(S_OK, Build());
    const std::vector<std::string> calls = CallsForCombo("CheckDeviceType(0,HAL,X8R8G8B8,A8R8G8B8,0)");
    const std::vector<std::string> depthCalls(calls.begin(), calls.begin() + 8);
    EXPECT_EQ((std::vector<std::string>{
                  "CheckDeviceFormat(0,HAL,X8R8G8B8,2,1,D16)", "CheckDepthStencilMatch(0,HAL,X8R8G8B8,A8R8G8B8,D16)",
                  "CheckDeviceFormat(0,HAL,X8R8G8B8,2,1,D15S1)", "CheckDeviceFormat(0,HAL,X8R8G8B8,2,1,D24X8)",
                  "CheckDeviceFormat(0,HAL,X8R8G8B8,2,1,D24S8)", "CheckDepthStencilMatch(0,HAL,X8R8G8B8,A8R8G8B8,D24S8)",
                  "CheckDeviceFormat(0,HAL,X8R8G8B8,2,1,D24X4S4)", "CheckDeviceFormat(0,HAL,X8R8G8B8,2,1,D32)"}),
              depthCalls);
    ASSERT_NE(nullptr, Combo(X8, A8, false));
    EXPECT_EQ((std::vector<D3DFORMAT>{D3DFMT_D16, D3DFMT_D24S8}),
              Values<D3DFORMAT>(Combo(X8, A8, false)->m_pDepthStencilFormatList));
}

TEST_F(CombosTest, DepthMatchAndBitMinimums) {
    d3d.depthMatchRule = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT backBuffer, D3DFORMAT depth) {
        return !(backBuffer == R5 && depth == D3DFMT_D24S8);
    };
    catalog.m_minStencilBits = 1;
    ASSERT_EQ(S_OK, Build());
    // D16 has no stencil bits: not even asked about.
    for (const std::string& line : d3d.CallsNamed("CheckDeviceFormat")) EXPECT_EQ(std::string::npos, line.find("D16"));
    EXPECT_EQ((std::vector<D3DFORMAT>{D3DFMT_D24S8}), Values<D3DFORMAT>(Combo(X8, X8, true)->m_pDepthStencilFormatList));
    // R5G6B5 keeps no depth format and so has no combination.
    EXPECT_EQ(nullptr, Combo(R5, R5, false));
    EXPECT_EQ(nullptr, Combo(R5, R5, true));
}

TEST_F(CombosTest, MultisampleTypesQualitiesAndConflicts) {
    ASSERT_EQ(S_OK, Build());
    const FormatCombo* pCombo = Combo(X8, X8, true);
    ASSERT_NE(nullptr, pCombo);
    EXPECT_EQ((std::vector<D3DMULTISAMPLE_TYPE>{D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_4_SAMPLES}),
              Values<D3DMULTISAMPLE_TYPE>(pCombo->m_pMultisampleTypeList));
    EXPECT_EQ((std::vector<DWORD>{1, 2, 3}), Values<DWORD>(pCombo->m_pMultisampleQualityList));
    EXPECT_EQ((std::vector<DepthMultisampleConflict>{{D3DFMT_D16, D3DMULTISAMPLE_4_SAMPLES}}),
              Values<DepthMultisampleConflict>(pCombo->m_pConflictList));

    // All 17 types asked for the back buffer, then the conflicts per depth format and listed type,
    // without a quality count.
    const std::vector<std::string> calls = d3d.CallsNamed("CheckDeviceMultiSampleType");
    std::vector<std::string> forCombo;
    for (const std::string& line : CallsForCombo("CheckDeviceType(0,HAL,X8R8G8B8,X8R8G8B8,1)"))
        if (line.rfind("CheckDeviceMultiSampleType(", 0) == 0) forCombo.push_back(line);
    ASSERT_EQ(17u + 6u, forCombo.size());
    for (int type = 0; type <= 16; ++type)
        EXPECT_EQ("CheckDeviceMultiSampleType(0,HAL,X8R8G8B8,1," + std::to_string(type) + ",levels)", forCombo[type]);
    EXPECT_EQ((std::vector<std::string>{
                  "CheckDeviceMultiSampleType(0,HAL,D16,1,0,null)", "CheckDeviceMultiSampleType(0,HAL,D16,1,2,null)",
                  "CheckDeviceMultiSampleType(0,HAL,D16,1,4,null)", "CheckDeviceMultiSampleType(0,HAL,D24S8,1,0,null)",
                  "CheckDeviceMultiSampleType(0,HAL,D24S8,1,2,null)", "CheckDeviceMultiSampleType(0,HAL,D24S8,1,4,null)"}),
              std::vector<std::string>(forCombo.begin() + 17, forCombo.end()));
}

// A type answered with no quality level cannot be used, so it is not listed.
TEST_F(CombosTest, MultisampleTypeWithoutQualityLevelsIsLeftOut) {
    d3d.multisampleRule = [](UINT, D3DDEVTYPE, D3DFORMAT, BOOL, D3DMULTISAMPLE_TYPE type) -> std::optional<DWORD> {
        if (type == D3DMULTISAMPLE_NONE) return 1;
        if (type == D3DMULTISAMPLE_2_SAMPLES) return 0;
        if (type == D3DMULTISAMPLE_8_SAMPLES) return 4;
        return std::nullopt;
    };
    ASSERT_EQ(S_OK, Build());
    const FormatCombo* pCombo = Combo(X8, X8, false);
    EXPECT_EQ((std::vector<D3DMULTISAMPLE_TYPE>{D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_8_SAMPLES}),
              Values<D3DMULTISAMPLE_TYPE>(pCombo->m_pMultisampleTypeList));
    EXPECT_EQ((std::vector<DWORD>{1, 4}), Values<DWORD>(pCombo->m_pMultisampleQualityList));
}

TEST_F(CombosTest, WithoutDepthBufferNoDepthFormatsNorConflicts) {
    catalog.m_usesDepthBuffer = false;
    d3d.deviceFormatRule = [](UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT) { return false; };
    ASSERT_EQ(S_OK, Build());
    EXPECT_EQ(6u, TheCombos().size());
    for (const FormatCombo* pCombo : TheCombos()) {
        EXPECT_EQ(0u, pCombo->m_pDepthStencilFormatList->Count());
        EXPECT_EQ(0u, pCombo->m_pConflictList->Count());
    }
    EXPECT_TRUE(d3d.CallsNamed("CheckDeviceFormat").empty());
    EXPECT_TRUE(d3d.CallsNamed("CheckDepthStencilMatch").empty());
}

// A combination whose depth, multisample or vertex-processing list stays empty is deleted, and the
// later stages are not asked about it.
struct DiscardCase {
    const char* name;
    std::function<void(FakeDirect3D&)> setup;
    std::set<std::pair<VertexProcessingType, D3DFORMAT>> rejected;
    std::vector<std::string> kept;
    std::vector<std::string> neverAsked; // call-name prefixes
};

class CombosDiscarded : public CombosTest, public ::testing::WithParamInterface<DiscardCase> {};

TEST_P(CombosDiscarded, WhenAListStaysEmpty) {
    GetParam().setup(d3d);
    DeviceCheck::rejected = GetParam().rejected;
    ASSERT_EQ(S_OK, Build());
    std::vector<std::string> kept;
    for (const FormatCombo* pCombo : TheCombos()) kept.push_back(test::ComboText(pCombo));
    EXPECT_EQ(GetParam().kept, kept);
    for (const std::string& name : GetParam().neverAsked) EXPECT_TRUE(d3d.CallsNamed(name).empty()) << name;
}

INSTANTIATE_TEST_SUITE_P(
    , CombosDiscarded,
    ::testing::Values(
        DiscardCase{"NoDepthFormat",
                    [](FakeDirect3D& d3d) {
                        d3d.deviceFormatRule = [](UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT) {
                            return false;
                        };
                    },
                    {},
                    {},
                    {"CheckDepthStencilMatch", "CheckDeviceMultiSampleType", "DeviceCheck"}},
        DiscardCase{"NoMultisampleType",
                    [](FakeDirect3D& d3d) {
                        d3d.multisampleRule = [](UINT, D3DDEVTYPE, D3DFORMAT, BOOL,
                                                 D3DMULTISAMPLE_TYPE) -> std::optional<DWORD> { return std::nullopt; };
                    },
                    {},
                    {},
                    {"DeviceCheck"}},
        DiscardCase{"SoftwareOnlyDeviceRejectedForOneFormat",
                    [](FakeDirect3D& d3d) { test::MakeRefOnly(d3d); },
                    {{SOFTWARE_VP, R5}},
                    {"X8R8G8B8/A8R8G8B8 fullscreen", "X8R8G8B8/A8R8G8B8 windowed", "X8R8G8B8/X8R8G8B8 fullscreen",
                     "X8R8G8B8/X8R8G8B8 windowed"},
                    {}}),
    [](const ::testing::TestParamInfo<DiscardCase>& info) { return info.param.name; });

TEST_F(CombosTest, DeviceWithoutCombinationsIsDropped) {
    test::MakeHalPlusRef(d3d);
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE type, D3DFORMAT a, D3DFORMAT b, BOOL) {
        return type == D3DDEVTYPE_REF && a == b;
    };
    ASSERT_EQ(S_OK, Build());
    ASSERT_EQ(1u, Devices(Adapters(catalog).at(0)).size());
    EXPECT_EQ(D3DDEVTYPE_REF, Devices(Adapters(catalog)[0])[0]->m_deviceType);
}

struct VpCase {
    const char* name;
    DWORD devCaps;
    bool usesMixed;
    bool withCheck;
    std::set<std::pair<VertexProcessingType, D3DFORMAT>> rejected;
    std::vector<VertexProcessingType> listed;
    std::vector<std::string> asked;
};

class CombosVertexProcessing : public CombosTest, public ::testing::WithParamInterface<VpCase> {};

TEST_P(CombosVertexProcessing, ListsAndAsksInOrder) {
    d3d.adapters[0].devices[D3DDEVTYPE_HAL].caps.DevCaps = GetParam().devCaps;
    d3d.deviceTypeRule = [](UINT, D3DDEVTYPE, D3DFORMAT a, D3DFORMAT b, BOOL windowed) {
        return a == X8 && b == X8 && windowed;
    };
    catalog.m_usesMixedVP = GetParam().usesMixed;
    if (!GetParam().withCheck) catalog.m_pfnDeviceCheck = nullptr;
    DeviceCheck::rejected = GetParam().rejected;
    ASSERT_EQ(S_OK, Build());
    std::vector<VertexProcessingType> listed;
    if (!TheCombos().empty()) listed = Values<VertexProcessingType>(TheCombos()[0]->m_pVertexProcessingTypeList);
    EXPECT_EQ(GetParam().listed, listed);
    EXPECT_EQ(GetParam().asked, d3d.CallsNamed("DeviceCheck"));
}

constexpr DWORD kTnl = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
constexpr DWORD kPure = D3DDEVCAPS_PUREDEVICE;
const std::string kAskPure = "DeviceCheck(HAL,PURE_HARDWARE_VP,X8R8G8B8)";
const std::string kAskHw = "DeviceCheck(HAL,HARDWARE_VP,X8R8G8B8)";
const std::string kAskMixed = "DeviceCheck(HAL,MIXED_VP,X8R8G8B8)";
const std::string kAskSw = "DeviceCheck(HAL,SOFTWARE_VP,X8R8G8B8)";

INSTANTIATE_TEST_SUITE_P(
    , CombosVertexProcessing,
    ::testing::Values(
        VpCase{"PureDeviceWithoutMixed", kTnl | kPure, false, true, {},
               {PURE_HARDWARE_VP, HARDWARE_VP, SOFTWARE_VP}, {kAskPure, kAskHw, kAskSw}},
        VpCase{"PureDeviceWithMixed", kTnl | kPure, true, true, {},
               {PURE_HARDWARE_VP, HARDWARE_VP, MIXED_VP, SOFTWARE_VP}, {kAskPure, kAskHw, kAskMixed, kAskSw}},
        VpCase{"HardwareNotPure", kTnl, false, true, {}, {HARDWARE_VP, SOFTWARE_VP}, {kAskHw, kAskSw}},
        VpCase{"PureBitWithoutHardware", kPure, true, true, {}, {SOFTWARE_VP}, {kAskSw}},
        VpCase{"CheckRejectsHardware", kTnl | kPure, false, true, {{HARDWARE_VP, X8}},
               {PURE_HARDWARE_VP, SOFTWARE_VP}, {kAskPure, kAskHw, kAskSw}},
        VpCase{"NoCheckFunctionAcceptsAll", kTnl | kPure, true, false, {},
               {PURE_HARDWARE_VP, HARDWARE_VP, MIXED_VP, SOFTWARE_VP}, {}}),
    [](const ::testing::TestParamInfo<VpCase>& info) { return info.param.name; });

struct IntervalCase {
    const char* name;
    DWORD caps;
    bool windowed;
    std::vector<UINT> listed;
};

class CombosPresentIntervals : public CombosTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(CombosPresentIntervals, FromCapsInCandidateOrder) {
    d3d.adapters[0].devices[D3DDEVTYPE_HAL].caps.PresentationIntervals = GetParam().caps;
    ASSERT_EQ(S_OK, Build());
    const FormatCombo* pCombo = Combo(X8, X8, GetParam().windowed);
    ASSERT_NE(nullptr, pCombo);
    EXPECT_EQ(GetParam().listed, Values<UINT>(pCombo->m_pPresentIntervalList));
}

constexpr UINT kImm = D3DPRESENT_INTERVAL_IMMEDIATE;
constexpr UINT kDef = D3DPRESENT_INTERVAL_DEFAULT;
constexpr UINT kOne = D3DPRESENT_INTERVAL_ONE;
constexpr UINT kTwo = D3DPRESENT_INTERVAL_TWO;
constexpr UINT kThree = D3DPRESENT_INTERVAL_THREE;
constexpr UINT kFour = D3DPRESENT_INTERVAL_FOUR;
constexpr UINT kAll = kImm | kOne | kTwo | kThree | kFour;

INSTANTIATE_TEST_SUITE_P(
    , CombosPresentIntervals,
    ::testing::Values(IntervalCase{"NoneFullscreen", 0, false, {kDef}},
                      IntervalCase{"NoneWindowed", 0, true, {kDef}},
                      IntervalCase{"ImmediateOneWindowed", kImm | kOne, true, {kImm, kDef, kOne}},
                      IntervalCase{"AllWindowedSkipsTwoToFour", kAll, true, {kImm, kDef, kOne}},
                      IntervalCase{"AllFullscreen", kAll, false, {kImm, kDef, kOne, kTwo, kThree, kFour}},
                      IntervalCase{"TwoFourFullscreen", kTwo | kFour, false, {kDef, kTwo, kFour}},
                      IntervalCase{"TwoFourWindowed", kTwo | kFour, true, {kDef}}),
    [](const ::testing::TestParamInfo<IntervalCase>& info) { return info.param.name; });

TEST_F(CombosTest, RequirementFlagsSkipCandidatesUnasked) {
    catalog.m_requiresWindowed = true;
    catalog.m_minAlphaChannelBits = 1;
    ASSERT_EQ(S_OK, Build());
    EXPECT_EQ((std::vector<std::string>{"X8R8G8B8/A8R8G8B8 windowed"}), test::ComboTexts(Devices(Adapters(catalog)[0])[0]));
    // Only the alpha back buffers, windowed: A8R8G8B8, A2R10G10B10, A1R5G5B5 per display format.
    EXPECT_EQ(6u, d3d.CallsNamed("CheckDeviceType").size());
    for (const std::string& line : d3d.CallsNamed("CheckDeviceType")) EXPECT_NE(std::string::npos, line.find(",1)"));
}

TEST_F(CombosTest, RequiresFullscreenMakesNoWindowedCombination) {
    catalog.m_requiresFullscreen = true;
    ASSERT_EQ(S_OK, Build());
    for (const FormatCombo* pCombo : TheCombos()) EXPECT_FALSE(pCombo->m_windowed);
    EXPECT_EQ(3u, TheCombos().size());
}

} // namespace
