// Device creation validated against the profile, the swap chain it makes, and the caps it answers.
#include <gtest/gtest.h>

#include "machine/machine.h"
#include "support/device_fixture.h"

namespace {

using test::DeviceTest;

struct CreationCase {
    const char* name;
    D3DPRESENT_PARAMETERS params;
    DWORD flags;
    D3DDEVTYPE type;
    HRESULT expected;
};

D3DPRESENT_PARAMETERS Changed(D3DPRESENT_PARAMETERS p, void (*change)(D3DPRESENT_PARAMETERS&)) {
    change(p);
    return p;
}

const DWORD kSoftware = D3DCREATE_SOFTWARE_VERTEXPROCESSING;

class CreationValidation : public DeviceTest, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(CreationValidation, Answer) {
    D3DPRESENT_PARAMETERS params = GetParam().params;
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(0x1);
    EXPECT_EQ(TryDevice(params, &device, GetParam().type, GetParam().flags), GetParam().expected);
    if (GetParam().expected == D3D_OK) {
        ReleaseDevice(device);
    } else {
        EXPECT_EQ(device, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , CreationValidation,
    ::testing::Values(
        CreationCase{"Valid", test::WithDepth(test::Windowed()), kSoftware, D3DDEVTYPE_HAL, D3D_OK},
        CreationCase{"ValidRefWithD16", test::WithDepth(test::Windowed(640, 480, D3DFMT_R5G6B5), D3DFMT_D16),
                     kSoftware, D3DDEVTYPE_REF, D3D_OK},
        CreationCase{"PureHardwareOnHal", test::Windowed(),
                     D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, D3DDEVTYPE_HAL, D3D_OK},
        CreationCase{"HardwareProcessingOnRef", test::Windowed(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                     D3DDEVTYPE_REF, D3DERR_INVALIDCALL},
        CreationCase{"NoVertexProcessingFlag", test::Windowed(), 0, D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"SwDeviceType", test::Windowed(), kSoftware, D3DDEVTYPE_SW, D3DERR_NOTAVAILABLE},
        CreationCase{"WindowedSizeTooLarge", test::Windowed(100000, 10), kSoftware, D3DDEVTYPE_HAL,
                     D3DERR_INVALIDCALL},
        CreationCase{"FullScreenSizeNotAMode", test::FullScreen(800, 601), kSoftware, D3DDEVTYPE_HAL,
                     D3DERR_INVALIDCALL},
        CreationCase{"FullScreenRefreshNotOffered",
                     Changed(test::FullScreen(800, 600), [](auto& p) { p.FullScreen_RefreshRateInHz = 85; }),
                     kSoftware, D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"FormatNotOffered", test::Windowed(320, 240, D3DFMT_A2R10G10B10), kSoftware, D3DDEVTYPE_HAL,
                     D3DERR_INVALIDCALL},
        CreationCase{"DepthFormatNotOffered", test::WithDepth(test::Windowed(), D3DFMT_D15S1), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"DepthFormatIsAColourFormat", test::WithDepth(test::Windowed(), D3DFMT_X8R8G8B8), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"MultisampleNotOffered",
                     Changed(test::Windowed(), [](auto& p) { p.MultiSampleType = D3DMULTISAMPLE_2_SAMPLES; }),
                     kSoftware, D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"MultisampleQualityNotOffered",
                     Changed(test::Windowed(), [](auto& p) { p.MultiSampleQuality = 1; }), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"WindowedIntervalTwo",
                     Changed(test::Windowed(), [](auto& p) { p.PresentationInterval = D3DPRESENT_INTERVAL_TWO; }),
                     kSoftware, D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"IntervalNotAnInterval",
                     Changed(test::Windowed(), [](auto& p) { p.PresentationInterval = 3; }), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"WindowedWithARefreshRate",
                     Changed(test::Windowed(), [](auto& p) { p.FullScreen_RefreshRateInHz = 60; }), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"TwoBackBuffers", Changed(test::Windowed(), [](auto& p) { p.BackBufferCount = 2; }), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        CreationCase{"UnknownSwapEffect",
                     Changed(test::Windowed(), [](auto& p) { p.SwapEffect = D3DSWAPEFFECT(9); }), kSoftware,
                     D3DDEVTYPE_HAL, D3DERR_INVALIDCALL},
        // With the automatic depth buffer off, its format is not looked at.
        CreationCase{"IndeterminateDepthFormatIgnored",
                     Changed(test::Windowed(), [](auto& p) { p.AutoDepthStencilFormat = D3DFORMAT(0x5A5A5A5A); }),
                     kSoftware, D3DDEVTYPE_HAL, D3D_OK}),
    [](const ::testing::TestParamInfo<CreationCase>& info) { return std::string(info.param.name); });

TEST_F(DeviceTest, CreationFillsInTheDefaultsAndReportsThemBack) {
    D3DPRESENT_PARAMETERS params = test::Windowed(0, 0, D3DFMT_UNKNOWN);
    params.BackBufferCount = 0;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(TryDevice(params, &device), D3D_OK);
    const SIZE client = Client();
    EXPECT_EQ(params.BackBufferWidth, UINT(client.cx));
    EXPECT_EQ(params.BackBufferHeight, UINT(client.cy));
    EXPECT_EQ(params.BackBufferFormat, D3DFMT_X8R8G8B8);  // the desktop's
    EXPECT_EQ(params.BackBufferCount, 1u);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, CreationNeedsAWindowThatExists) {
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, kSoftware, &params, &device), D3DERR_INVALIDCALL);
    HWND gone = CreateWindowExA(0, "DeviceTestWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, gone, kSoftware, &params, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d_->CreateDevice(1, D3DDEVTYPE_HAL, window_, kSoftware, &params, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, kSoftware, nullptr, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
}

TEST_F(DeviceTest, ACreateResultInTheProfileRefusesTheType) {
    d3d_->Release();
    d3d9::Profile profile = d3d9::DefaultProfile();
    profile.adapters[0].devices[D3DDEVTYPE_HAL].createResult = D3DERR_OUTOFVIDEOMEMORY;
    d3d9::control::SetAdapterProfile(profile);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params = test::Windowed();
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(TryDevice(params, &device, D3DDEVTYPE_HAL), D3DERR_OUTOFVIDEOMEMORY);
    device = MakeDevice(params, D3DDEVTYPE_REF);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, BackBufferAndDepthBufferDescribeThePresentParameters) {
    IDirect3DDevice9* device = MakeDevice(test::WithDepth(test::Windowed(320, 200, D3DFMT_R5G6B5), D3DFMT_D16));
    ASSERT_NE(device, nullptr);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(back->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 320u);
    EXPECT_EQ(desc.Height, 200u);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(desc.Type, D3DRTYPE_SURFACE);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_RENDERTARGET));
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    // The back buffer cannot be locked unless it was asked lockable.
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(back->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    back->Release();

    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
    ASSERT_EQ(depth->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_D16);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_DEPTHSTENCIL));
    depth->Release();

    EXPECT_EQ(device->GetBackBuffer(0, 1, D3DBACKBUFFER_TYPE_MONO, &back), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3DERR_INVALIDCALL);
    EXPECT_EQ(back, nullptr);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, WithoutDepthBufferThereIsNoDepthSurface) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    IDirect3DSurface9* depth = reinterpret_cast<IDirect3DSurface9*>(0x1);
    EXPECT_EQ(device->GetDepthStencilSurface(&depth), D3DERR_NOTFOUND);
    EXPECT_EQ(depth, nullptr);
    ReleaseDevice(device);
}

TEST_F(DeviceTest, TheDeviceAnswersItsCapsAndCreation) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed(), D3DDEVTYPE_REF);
    D3DCAPS9 caps{};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_REF);
    D3DDEVICE_CREATION_PARAMETERS creation{};
    ASSERT_EQ(device->GetCreationParameters(&creation), D3D_OK);
    EXPECT_EQ(creation.hFocusWindow, window_);
    EXPECT_EQ(creation.BehaviorFlags, kSoftware);
    IDirect3D9* d3d = nullptr;
    ASSERT_EQ(device->GetDirect3D(&d3d), D3D_OK);
    EXPECT_EQ(d3d, d3d_);
    d3d->Release();
    EXPECT_EQ(d3d9::control::DeviceCreations(), 1u);
    const d3d9::control::DeviceDescription described = d3d9::control::LastDevice();
    EXPECT_EQ(described.type, "REF");
    EXPECT_EQ(described.format, "X8R8G8B8");
    EXPECT_EQ(described.depthFormat, "none");
    EXPECT_EQ(described.presentInterval, "IMMEDIATE");
    ReleaseDevice(device);
}

TEST_F(DeviceTest, SceneBracketsPair) {
    IDirect3DDevice9* device = MakeDevice(test::Windowed());
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ReleaseDevice(device);
}

}  // namespace

namespace {

TEST_F(DeviceTest, TheMachinesReportDescribesTheDevice) {
    D3DPRESENT_PARAMETERS params = test::WithDepth(test::Windowed(800, 600));
    IDirect3DDevice9* device = MakeDevice(params);
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    ReleaseDevice(device);  // described as it was, after its release too
    const std::string report = machine::ReportJson(0);
    EXPECT_NE(report.find("\"device\": {\"type\": \"HAL\", \"windowed\": true, \"adapter\": 0, \"width\": 800, "
                          "\"height\": 600, \"format\": \"X8R8G8B8\", \"depth_format\": \"D24S8\", "
                          "\"present_interval\": \"IMMEDIATE\"}"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\"device_creations\": 1"), std::string::npos);
    EXPECT_NE(report.find("\"device_resets\": 1"), std::string::npos);
    EXPECT_NE(report.find("\"display_mode_changes\": 0"), std::string::npos);
}

}  // namespace
