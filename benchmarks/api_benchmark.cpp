// Frames per second of the three benchmark scenes drawn through the Direct3D 9 API as a program draws
// them: a window, a device with a depth buffer at 800 x 600, managed buffers and mip-mapped textures,
// and Clear / BeginScene / draws / EndScene / Present every frame. The scenes are the peer program's
// (scripts/bench runs both): (a) a lit, fogged, two-texture height field of 128 x 128 cells in one
// indexed draw; (b) 250 alpha-blended, textured, fogged quads, one strip each; (c) 300 alpha-tested,
// blended glyph quads in one list of pre-transformed vertices.
// Usage: api_benchmark [frames [scenes]]: 200 frames by default, scenes as letters (default "abc");
// prints one line per scene, "<name>: <fps> fps".
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "d3d9.h"
#include "windows.h"

namespace {

constexpr UINT kWidth = 800, kHeight = 600;
constexpr float kPi = 3.14159265358979f;

struct Matrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

Matrix Translation(float x, float y, float z) {
    Matrix r;
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Matrix RotationX(float degrees) {
    const float c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    Matrix r;
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    return r;
}

// A field of view of 45 degrees, near 1, far 1000, for eye space with z growing into the screen.
Matrix Perspective() {
    const float f = 1.0f / std::tan(kPi / 8), aspect = float(kWidth) / float(kHeight), zn = 1, zf = 1000;
    Matrix r;
    r.m[0][0] = f / aspect;
    r.m[1][1] = f;
    r.m[2][2] = zf / (zf - zn);
    r.m[2][3] = 1;
    r.m[3][2] = -zn * zf / (zf - zn);
    r.m[3][3] = 0;
    return r;
}

// The scenes place things in an eye space that looks down -z; the view turns it to look down +z.
Matrix MirrorZ() {
    Matrix r;
    r.m[2][2] = -1;
    return r;
}

DWORD FloatBits(float f) {
    DWORD d;
    std::memcpy(&d, &f, sizeof d);
    return d;
}

bool Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr)) return true;
    std::fprintf(stderr, "api_benchmark: %s failed (0x%08lX)\n", what, static_cast<unsigned long>(hr));
    return false;
}

// A managed A8R8G8B8 texture with a full mip chain; every level holds the first size x size texels of
// the same pattern (as the peer uploads it).
IDirect3DTexture9* MakeTexture(IDirect3DDevice9* device, UINT size, unsigned seed) {
    std::vector<uint32_t> texels(size_t(size) * size);
    for (UINT y = 0; y < size; ++y)
        for (UINT x = 0; x < size; ++x) {
            const uint32_t v = ((x ^ y ^ seed) * 2654435761u) >> 24;
            texels[y * size + x] = 0xFF000000u | v << 16 | (255 - v) << 8 | ((x * 4) & 255);
        }
    IDirect3DTexture9* texture = nullptr;
    if (!Check(device->CreateTexture(size, size, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
               "CreateTexture"))
        return nullptr;
    for (DWORD level = 0, s = size; level < texture->GetLevelCount(); ++level, s /= 2) {
        D3DLOCKED_RECT locked;
        if (!Check(texture->LockRect(level, &locked, nullptr, 0), "LockRect")) break;
        for (UINT y = 0; y < s; ++y)
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch, &texels[size_t(y) * s], s * 4);
        texture->UnlockRect(level);
    }
    return texture;
}

void SetFilters(IDirect3DDevice9* device, DWORD stage, DWORD min, DWORD mag, DWORD mip) {
    device->SetSamplerState(stage, D3DSAMP_MINFILTER, min);
    device->SetSamplerState(stage, D3DSAMP_MAGFILTER, mag);
    device->SetSamplerState(stage, D3DSAMP_MIPFILTER, mip);
}

// The switches that differ between the scenes.
void Switches(IDirect3DDevice9* device, bool depth, bool lighting, bool fog, bool blend, bool alphaTest) {
    device->SetRenderState(D3DRS_ZENABLE, depth ? D3DZB_TRUE : D3DZB_FALSE);
    device->SetRenderState(D3DRS_LIGHTING, lighting);
    device->SetRenderState(D3DRS_FOGENABLE, fog);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, blend);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, alphaTest);
}

void Modulate(IDirect3DDevice9* device, DWORD stage, DWORD second) {
    device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(stage, D3DTSS_COLORARG2, second);
    device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, second);
}

struct TerrainVertex {
    float x, y, z, nx, ny, nz, u0, v0, u1, v1;
};
constexpr DWORD kTerrainFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
struct QuadVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kQuadFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
struct GlyphVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kGlyphFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr int kCells = 128, kSide = kCells + 1;

class Scenes {
public:
    explicit Scenes(IDirect3DDevice9* device) : device_(device) {}
    ~Scenes() {
        if (vertices_) vertices_->Release();
        if (indices_) indices_->Release();
        if (grass_) grass_->Release();
        if (shadow_) shadow_->Release();
    }

    bool Create() {
        grass_ = MakeTexture(device_, 256, 1);
        shadow_ = MakeTexture(device_, 128, 7);
        if (!grass_ || !shadow_) return false;
        if (!Check(device_->CreateVertexBuffer(kSide * kSide * sizeof(TerrainVertex), D3DUSAGE_WRITEONLY, kTerrainFvf,
                                               D3DPOOL_MANAGED, &vertices_, nullptr),
                   "CreateVertexBuffer") ||
            !Check(device_->CreateIndexBuffer(kCells * kCells * 6 * sizeof(uint16_t), D3DUSAGE_WRITEONLY,
                                              D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices_, nullptr),
                   "CreateIndexBuffer"))
            return false;
        void* bytes = nullptr;
        if (!Check(vertices_->Lock(0, 0, &bytes, 0), "Lock")) return false;
        auto* v = static_cast<TerrainVertex*>(bytes);
        for (int z = 0; z < kSide; ++z)
            for (int x = 0; x < kSide; ++x)
                v[z * kSide + x] = {float(x), 5 * std::sin(x * 0.1f) * std::cos(z * 0.13f), float(z), 0, 1, 0,
                                    x / 8.0f, z / 8.0f, x / 128.0f, z / 128.0f};
        vertices_->Unlock();
        if (!Check(indices_->Lock(0, 0, &bytes, 0), "Lock")) return false;
        auto* i = static_cast<uint16_t*>(bytes);
        for (int z = 0; z < kCells; ++z)
            for (int x = 0; x < kCells; ++x) {
                const uint16_t a = uint16_t(z * kSide + x);
                for (uint16_t k : {a, uint16_t(a + kSide), uint16_t(a + 1), uint16_t(a + 1), uint16_t(a + kSide),
                                   uint16_t(a + kSide + 1)})
                    *i++ = k;
            }
        indices_->Unlock();
        // Lights and material as the scenes' eye space has them (the view only mirrors z).
        D3DMATERIAL9 material{};
        material.Diffuse = {0.8f, 0.8f, 0.8f, 1};
        material.Ambient = {0.2f, 0.2f, 0.2f, 1};
        device_->SetMaterial(&material);
        D3DLIGHT9 lamp{};
        lamp.Type = D3DLIGHT_POINT;
        lamp.Diffuse = {1, 1, 1, 1};
        lamp.Position = {-1, 10, 2};
        lamp.Range = 1000;
        lamp.Attenuation0 = 1;
        D3DLIGHT9 sun{};
        sun.Type = D3DLIGHT_DIRECTIONAL;
        sun.Diffuse = {1, 0, 0, 1};
        sun.Direction = {1, -1, 2};
        device_->SetLight(0, &lamp);
        device_->SetLight(1, &sun);
        device_->LightEnable(0, TRUE);
        device_->LightEnable(1, TRUE);
        device_->SetRenderState(D3DRS_AMBIENT, 0x000F0F0F);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
        device_->SetRenderState(D3DRS_FOGSTART, FloatBits(2));
        device_->SetRenderState(D3DRS_FOGEND, FloatBits(200));
        device_->SetRenderState(D3DRS_FOGCOLOR, 0);
        device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
        device_->SetRenderState(D3DRS_ALPHAREF, 8);
        device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        const Matrix view = MirrorZ(), projection = Perspective();
        device_->SetTransform(D3DTS_VIEW, reinterpret_cast<const D3DMATRIX*>(&view));
        device_->SetTransform(D3DTS_PROJECTION, reinterpret_cast<const D3DMATRIX*>(&projection));
        quads_.resize(4);
        glyphs_.reserve(600 * 3);
        for (int g = 0; g < 300; ++g) {
            const float x = float((g % 40) * 8 + 2) - 0.5f, y = float((g / 40) * 14 + 2) - 0.5f;
            const D3DCOLOR c = 0xC4FFFFFF;
            const GlyphVertex tl{x, y, 0, 1, c, 0, 0}, tr{x + 8, y, 0, 1, c, 0.05f, 0},
                br{x + 8, y + 13, 0, 1, c, 0.05f, 0.05f}, bl{x, y + 13, 0, 1, c, 0, 0.05f};
            glyphs_.insert(glyphs_.end(), {tl, tr, br, tl, br, bl});
        }
        return true;
    }

    bool Draw(int scene, int frame) {
        if (!Check(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), "Clear") ||
            !Check(device_->BeginScene(), "BeginScene"))
            return false;
        bool drawn = scene == 0 ? Terrain() : scene == 1 ? Quads(frame) : Glyphs();
        drawn = Check(device_->EndScene(), "EndScene") && drawn;
        return Check(device_->Present(nullptr, nullptr, nullptr, nullptr), "Present") && drawn;
    }

private:
    bool Terrain() {
        const Matrix world = Multiply(Translation(-64, -40, -120), RotationX(35));
        device_->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&world));
        Switches(device_, true, true, true, false, false);
        device_->SetTexture(0, grass_);
        device_->SetTexture(1, shadow_);
        for (DWORD stage = 0; stage < 2; ++stage) SetFilters(device_, stage, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR);
        Modulate(device_, 0, D3DTA_DIFFUSE);
        Modulate(device_, 1, D3DTA_CURRENT);
        device_->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
        device_->SetFVF(kTerrainFvf);
        device_->SetStreamSource(0, vertices_, 0, sizeof(TerrainVertex));
        device_->SetIndices(indices_);
        const bool drawn = Check(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kSide * kSide, 0,
                                                               kCells * kCells * 2),
                                 "DrawIndexedPrimitive");
        device_->SetTexture(1, nullptr);
        device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device_->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        return drawn;
    }

    bool Quads(int frame) {
        const Matrix world = Translation(0, 0, -60);
        device_->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&world));
        Switches(device_, true, false, true, true, false);
        device_->SetTexture(0, grass_);
        SetFilters(device_, 0, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR);
        Modulate(device_, 0, D3DTA_DIFFUSE);
        device_->SetFVF(kQuadFvf);
        bool drawn = true;
        for (int i = 0; i < 250 && drawn; ++i) {
            const float x = float((i * 37) % 50 - 25) + std::sin(frame * 0.01f + float(i)), y = float((i * 17) % 30 - 15),
                        z = -float((i * 13) % 50);
            const D3DCOLOR c = DWORD(std::lround(255.0f / float(1 + i % 5))) << 24 | 0xFFFFFF;
            quads_[0] = {x - 1, y - 1, z, c, 0, 0};
            quads_[1] = {x + 1, y - 1, z, c, 1, 0};
            quads_[2] = {x - 1, y + 1, z, c, 0, 1};
            quads_[3] = {x + 1, y + 1, z, c, 1, 1};
            drawn = Check(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quads_.data(), sizeof(QuadVertex)),
                          "DrawPrimitiveUP");
        }
        return drawn;
    }

    bool Glyphs() {
        Switches(device_, false, false, false, true, true);
        device_->SetTexture(0, grass_);
        SetFilters(device_, 0, D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTEXF_NONE);
        Modulate(device_, 0, D3DTA_DIFFUSE);
        device_->SetFVF(kGlyphFvf);
        return Check(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 600, glyphs_.data(), sizeof(GlyphVertex)),
                     "DrawPrimitiveUP");
    }

    IDirect3DDevice9* device_;
    IDirect3DVertexBuffer9* vertices_ = nullptr;
    IDirect3DIndexBuffer9* indices_ = nullptr;
    IDirect3DTexture9* grass_ = nullptr;
    IDirect3DTexture9* shadow_ = nullptr;
    std::vector<QuadVertex> quads_;
    std::vector<GlyphVertex> glyphs_;
};

// Lets the machine's messages through, as a program's loop does between frames.
void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int Run(HWND window, int frames, const std::string& which) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) {
        std::fprintf(stderr, "api_benchmark: no Direct3D 9\n");
        return 1;
    }
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = kWidth;
    params.BackBufferHeight = kHeight;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    int status = 1;
    if (Check(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                &params, &device),
              "CreateDevice")) {
        {
            Scenes scenes(device);
            status = scenes.Create() ? 0 : 1;
            const char* names[] = {"a height field", "b blended quads", "c glyph quads"};
            for (int scene = 0; scene < 3 && status == 0; ++scene) {
                if (which.find(char('a' + scene)) == std::string::npos) continue;
                for (int f = 0; f < 10 && status == 0; ++f) status = scenes.Draw(scene, f) ? 0 : 1;
                const auto start = std::chrono::steady_clock::now();
                for (int f = 0; f < frames && status == 0; ++f) {
                    PumpMessages();
                    status = scenes.Draw(scene, f) ? 0 : 1;
                }
                const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                if (status == 0) std::printf("%s: %.1f fps\n", names[scene], frames / seconds);
                std::fflush(stdout);
            }
        }
        device->Release();
    }
    d3d->Release();
    return status;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    int frames = 200;
    char letters[8] = "abc";
    if (commandLine && *commandLine && std::sscanf(commandLine, "%d %7s", &frames, letters) < 1) frames = 0;
    const std::string which = letters;
    if (frames <= 0 || which.find_first_not_of("abc") != std::string::npos) {
        std::fprintf(stderr, "usage: api_benchmark [frames [scenes]]\n");
        return 2;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "ApiBenchmark";
    RegisterClassA(&wc);
    RECT r{0, 0, LONG(kWidth), LONG(kHeight)};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExA(0, "ApiBenchmark", "API benchmark", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                                  r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!window) {
        std::fprintf(stderr, "api_benchmark: no window\n");
        return 1;
    }
    ShowWindow(window, show);
    const int status = Run(window, frames, which);
    DestroyWindow(window);
    return status;
}
