// CD3DHostApp: construction, the two process-wide entry points and the fixed start-up order.
#include "host_app.h"

#include "app_timer.h"

CD3DHostApp* g_pHostApp = nullptr;

namespace {
const char kWindowClassName[] = "D3D Window";
const WORD kIconResource = 101;
const WORD kMenuResource = 141;
}  // namespace

CD3DHostApp::CD3DHostApp()
    : m_catalog(),
      m_settings(),
      m_windowed(true),
      m_active(false),
      m_deviceLost(false),
      m_minimized(false),
      m_maximized(false),
      m_ignoreSizeChanges(false),
      m_deviceObjectsCreated(false),
      m_deviceObjectsRestored(false),
      m_advanceEachFrame(true),
      m_advanceOnce(false),
      m_presentParams(),
      m_hMainWindow(nullptr),
      m_hFocusWindow(nullptr),
      m_hDetachedMenu(nullptr),
      m_pDirect3D(nullptr),
      m_pDevice(nullptr),
      m_deviceCaps(),
      m_backBufferDesc(),
      m_behaviorFlags(0),
      m_windowedStyle(0),
      m_windowRect(),
      m_clientRect(),
      m_sceneTime(0.0f),
      m_elapsedTime(0.0f),
      m_framesPerSecond(0.0f),
      m_deviceStatsText(),
      m_frameStatsText(),
      m_pWindowTitle("D3D9 Application"),
      m_clientWidth(400),
      m_clientHeight(300),
      m_showCursorFullscreen(false),
      m_clipCursorFullscreen(false),
      m_startFullscreen(false) {
    g_pHostApp = this;
    // The application starts inactive; Startup withdraws this request at its end.
    CD3DHostApp::SetPaused(true);
}

// The close sequence has released the window, the device and the Direct3D object; only the catalog
// (destroyed with its member) remains.
CD3DHostApp::~CD3DHostApp() {
    // A window message that still arrives after the object is gone must not reach it.
    if (g_pHostApp == this) g_pHostApp = nullptr;
}

LRESULT CALLBACK CD3DHostApp::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_pHostApp) return DefWindowProcA(window, message, wParam, lParam);
    return g_pHostApp->HandleWindowMessage(window, message, wParam, lParam);
}

DWORD BehaviorFlagsFor(VertexProcessingType type) {
    switch (type) {
    case SOFTWARE_VP: return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    case MIXED_VP: return D3DCREATE_MIXED_VERTEXPROCESSING;
    case HARDWARE_VP: return D3DCREATE_HARDWARE_VERTEXPROCESSING;
    case PURE_HARDWARE_VP: return D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    }
    return 0;
}

bool CD3DHostApp::CheckDeviceCapsCallback(const D3DCAPS9* caps, VertexProcessingType type,
                                          D3DFORMAT backBufferFormat) {
    if (!g_pHostApp) return true;  // no application to ask: every type passes, as without a check
    return SUCCEEDED(g_pHostApp->CheckDeviceCaps(caps, BehaviorFlagsFor(type), backBufferFormat));
}

HRESULT CD3DHostApp::FailStartup(HRESULT code) {
    if (m_pDirect3D) {
        m_pDirect3D->Release();
        m_pDirect3D = nullptr;
    }
    return ReportError(code, ReportKind::Fatal);
}

HRESULT CD3DHostApp::Startup(HINSTANCE instance) {
    m_pDirect3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!m_pDirect3D) return ReportError(HostAppError::Direct3DCreateFailed, ReportKind::Fatal);

    m_catalog.AttachDirect3D(m_pDirect3D);
    m_catalog.m_pfnDeviceCheck = CheckDeviceCapsCallback;
    HRESULT hr = m_catalog.Build();
    if (FAILED(hr)) return FailStartup(hr);

    // A derived class may bring its own window; then no class or window is made here.
    if (!m_hMainWindow) {
        WNDCLASSA windowClass = {};
        windowClass.style = 0;
        windowClass.lpfnWndProc = StaticWindowProc;
        windowClass.cbClsExtra = 0;
        windowClass.cbWndExtra = 0;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
        windowClass.hCursor = LoadCursorFromFileA("blank.cur");
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszMenuName = nullptr;
        windowClass.lpszClassName = kWindowClassName;
        RegisterClassA(&windowClass);

        m_windowedStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        RECT rect = {0, 0, m_clientWidth, m_clientHeight};
        AdjustWindowRect(&rect, m_windowedStyle, TRUE);

        // Visible from creation: its sizing and painting messages arrive before the handle is stored.
        m_hMainWindow = CreateWindowExA(0, kWindowClassName, m_pWindowTitle, m_windowedStyle, CW_USEDEFAULT,
                                        CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                        LoadMenuA(instance, MAKEINTRESOURCEA(kMenuResource)), instance, nullptr);
    }

    if (!m_hFocusWindow) m_hFocusWindow = m_hMainWindow;

    m_windowedStyle = static_cast<DWORD>(GetWindowLongA(m_hMainWindow, GWL_STYLE));
    GetWindowRect(m_hMainWindow, &m_windowRect);
    GetClientRect(m_hMainWindow, &m_clientRect);

    hr = PickInitialSettings();
    if (FAILED(hr)) return FailStartup(hr);

    // The scene time counts from here.
    AppTimer(TimerOp::Resume);

    hr = CreateAppResources();
    if (FAILED(hr)) return FailStartup(hr);

    // On failure the device operations have already shut the device down.
    hr = StartDevice();
    if (FAILED(hr)) return FailStartup(hr);

    SetPaused(false);
    return S_OK;
}

HRESULT CD3DHostApp::CheckDeviceCaps(const D3DCAPS9*, DWORD, D3DFORMAT) { return S_OK; }
HRESULT CD3DHostApp::CreateAppResources() { return S_OK; }
HRESULT CD3DHostApp::CreateDeviceResources() { return S_OK; }
HRESULT CD3DHostApp::CreateVolatileResources() { return S_OK; }
HRESULT CD3DHostApp::AdvanceScene() { return S_OK; }
HRESULT CD3DHostApp::DrawFrame() { return S_OK; }
HRESULT CD3DHostApp::ReleaseVolatileResources() { return S_OK; }
HRESULT CD3DHostApp::ReleaseDeviceResources() { return S_OK; }
HRESULT CD3DHostApp::ReleaseAppResources() { return S_OK; }
