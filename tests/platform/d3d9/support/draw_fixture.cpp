#include "draw_fixture.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "window_device.h"

namespace test {

std::vector<ScreenVertex> ScreenQuad(float x0, float y0, float x1, float y1, uint32_t diffuse, float z) {
    x0 -= 0.5f, y0 -= 0.5f, x1 -= 0.5f, y1 -= 0.5f;
    return {{x0, y1, z, 1, diffuse, 0, 1}, {x0, y0, z, 1, diffuse, 0, 0},
            {x1, y1, z, 1, diffuse, 1, 1}, {x1, y0, z, 1, diffuse, 1, 0}};
}

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1;
    return m;
}

D3DMATRIX LookAt(float ex, float ey, float ez, float ax, float ay, float az) {
    auto normalize = [](float v[3]) {
        const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (int i = 0; i < 3; ++i) v[i] /= l;
    };
    float z[3] = {ax - ex, ay - ey, az - ez};
    normalize(z);
    float x[3] = {z[2], 0, -z[0]};  // up (0, 1, 0) x z
    normalize(x);
    const float y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2], z[0] * x[1] - z[1] * x[0]};
    const float e[3] = {ex, ey, ez};
    D3DMATRIX m = Identity();
    for (int i = 0; i < 3; ++i) {
        m.m[i][0] = x[i];
        m.m[i][1] = y[i];
        m.m[i][2] = z[i];
    }
    m._41 = -(x[0] * e[0] + x[1] * e[1] + x[2] * e[2]);
    m._42 = -(y[0] * e[0] + y[1] * e[1] + y[2] * e[2]);
    m._43 = -(z[0] * e[0] + z[1] * e[1] + z[2] * e[2]);
    return m;
}

D3DMATRIX Perspective(float fovY, float aspect, float zn, float zf) {
    D3DMATRIX m{};
    const float ys = 1.0f / std::tan(fovY / 2);
    m._11 = ys / aspect;
    m._22 = ys;
    m._33 = zf / (zf - zn);
    m._34 = 1;
    m._43 = -zn * zf / (zf - zn);
    return m;
}

D3DMATRIX Translation(float x, float y, float z) {
    D3DMATRIX m = Identity();
    m._41 = x, m._42 = y, m._43 = z;
    return m;
}

D3DMATERIAL9 Material(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient) {
    D3DMATERIAL9 m{};
    m.Diffuse = diffuse;
    m.Ambient = ambient;
    return m;
}

void DrawTest::SetUp() {
    DeviceTest::SetUp();
    D3DPRESENT_PARAMETERS params = WithDepth(Windowed(kDrawWidth, kDrawHeight), D3DFMT_D24S8);
    params.Flags |= D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    device_ = MakeDevice(params);
}

void DrawTest::TearDown() {
    for (IUnknown* object : owned_) object->Release();
    owned_.clear();
    if (device_) ReleaseDevice(device_);
    DeviceTest::TearDown();
}

IDirect3DTexture9* DrawTest::MakeTexture(UINT width, UINT height, UINT levels,
                                         const std::function<uint32_t(UINT, UINT, UINT)>& argbAt) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(width, height, levels, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    if (!texture) return nullptr;
    owned_.push_back(texture);
    for (UINT level = 0; level < texture->GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(level, &desc);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < desc.Height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x) row[x] = argbAt(level, x, y);
        }
        EXPECT_EQ(texture->UnlockRect(level), D3D_OK);
    }
    return texture;
}

void DrawTest::Frame(uint32_t background, const std::function<void()>& draw) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    draw();
    ASSERT_EQ(device_->EndScene(), D3D_OK);
}

std::vector<uint32_t> DrawTest::Pixels() {
    return test_support::BackBufferPixels(device_, kDrawWidth, kDrawHeight, 0xFF000000u);
}

uint32_t DrawTest::Pixel(UINT x, UINT y) { return Pixels()[size_t(y) * kDrawWidth + x]; }

void DrawTest::ExpectGolden(const std::string& name, int tolerance) {
    const std::vector<uint32_t> actual = Pixels();
    const std::filesystem::path folder = goldenFolder_.empty()
                                             ? std::filesystem::path(MORVATH_SOURCE_DIR) / "tests/platform/d3d9/golden"
                                             : std::filesystem::path(goldenFolder_);
    const std::filesystem::path golden = folder / (name + ".png");
    const char* update = std::getenv("MORVATH_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(WritePng(golden.string(), kDrawWidth, kDrawHeight, actual)) << golden;
        return;
    }
    UINT w = 0, h = 0;
    std::vector<uint32_t> expected;
    ASSERT_TRUE(ReadPng(golden.string(), w, h, expected)) << "missing reference " << golden;
    ASSERT_EQ(w, kDrawWidth);
    ASSERT_EQ(h, kDrawHeight);
    std::vector<uint32_t> diff(actual.size(), 0xFF000000u);
    int bad = 0, worst = 0;
    for (size_t i = 0; i < actual.size(); ++i) {
        int d = 0;
        for (int shift = 0; shift < 24; shift += 8)
            d = std::max(d, std::abs(int((actual[i] >> shift) & 0xFF) - int((expected[i] >> shift) & 0xFF)));
        worst = std::max(worst, d);
        if (d > tolerance) {
            ++bad;
            diff[i] = 0xFFFF0000u;
        }
    }
    if (bad > 0) {
        WritePng(name + ".actual.png", kDrawWidth, kDrawHeight, actual);
        WritePng(name + ".diff.png", kDrawWidth, kDrawHeight, diff);
    }
    EXPECT_EQ(bad, 0) << name << ": " << bad << " pixels differ (worst " << worst << "); see " << name
                      << ".diff.png";
}

bool WritePng(const std::string& path, UINT width, UINT height, const std::vector<uint32_t>& argb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in little-endian memory
    return png_image_write_to_file(&image, path.c_str(), 0, argb.data(), 0, nullptr) != 0;
}

bool ReadPng(const std::string& path, UINT& width, UINT& height, std::vector<uint32_t>& argb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_BGRA;
    width = image.width;
    height = image.height;
    argb.assign(size_t(width) * height, 0);
    if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace test
