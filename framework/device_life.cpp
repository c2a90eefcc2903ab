// The device life cycle: creation from the display settings, reset, the windowed/full-screen switch,
// client-size changes and shutdown, with the derived class's resource operations at fixed points.
#include "host_app.h"

#include <algorithm>
#include <cstring>

#include "app_timer.h"
#include "device_cursor.h"
#include "media_files.h"
#include "settings_dialog.h"

namespace {

// Without per-frame advancing, a new device or new settings arm one step that shows the scene as of
// now, with no time elapsed.
void ArmSingleStep(bool advanceEachFrame, bool& advanceOnce) {
    if (advanceEachFrame) return;
    advanceOnce = true;
    AppTimer(TimerOp::Resume);
    AppTimer(TimerOp::Freeze);
}

const DWORD kFullscreenStyle = WS_POPUP | WS_SYSMENU | WS_VISIBLE;
const int kDeviceStatsLimit = 89;  // characters of m_deviceStatsText, without the terminator

const char* DeviceTypeText(D3DDEVTYPE type) {
    switch (type) {
    case D3DDEVTYPE_REF: return "REF";
    case D3DDEVTYPE_HAL: return "HAL";
    case D3DDEVTYPE_SW: return "SW";
    default: return "";
    }
}

// Switches, new settings and client-size resets keep the video-memory text; every other failure is
// reported as a reset that could not be done.
HRESULT DeviceChangeReportCode(HRESULT hr) {
    return hr == D3DERR_OUTOFVIDEOMEMORY ? hr : HostAppError::CannotResetDevice;
}
}  // namespace

bool CD3DHostApp::DeviceChangeCanGoOn() const { return m_pDirect3D != nullptr && m_hMainWindow != nullptr; }

void CD3DHostApp::RestoreWindowPosition() {
    SetWindowPos(m_hMainWindow, HWND_NOTOPMOST, m_windowRect.left, m_windowRect.top,
                 m_windowRect.right - m_windowRect.left, m_windowRect.bottom - m_windowRect.top, SWP_SHOWWINDOW);
}

void CD3DHostApp::FillPresentParameters() {
    m_presentParams.Windowed = m_settings.windowed ? TRUE : FALSE;
    m_presentParams.BackBufferCount = 1;
    m_presentParams.MultiSampleType = m_settings.ActiveMultisampleType();
    m_presentParams.MultiSampleQuality = m_settings.ActiveMultisampleQuality();
    m_presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_presentParams.hDeviceWindow = m_hMainWindow;

    if (m_catalog.m_usesDepthBuffer) {
        m_presentParams.EnableAutoDepthStencil = TRUE;
        m_presentParams.AutoDepthStencilFormat = m_settings.ActiveDepthStencilFormat();
        m_presentParams.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    } else {
        m_presentParams.EnableAutoDepthStencil = FALSE;
        m_presentParams.Flags = 0;
    }

    if (m_windowed) {
        m_presentParams.BackBufferWidth = static_cast<UINT>(m_clientRect.right - m_clientRect.left);
        m_presentParams.BackBufferHeight = static_cast<UINT>(m_clientRect.bottom - m_clientRect.top);
        m_presentParams.BackBufferFormat = m_settings.ActiveBackBufferFormat();
        m_presentParams.FullScreen_RefreshRateInHz = 0;
    } else {
        const D3DDISPLAYMODE mode = m_settings.ActiveDisplayMode();
        m_presentParams.BackBufferWidth = mode.Width;
        m_presentParams.BackBufferHeight = mode.Height;
        m_presentParams.BackBufferFormat = m_settings.ActiveBackBufferFormat();
        m_presentParams.FullScreen_RefreshRateInHz = m_settings.fullscreenDisplayMode.RefreshRate;
    }
    m_presentParams.PresentationInterval = m_settings.ActivePresentInterval();
}

void CD3DHostApp::BuildDeviceStatsText(const AdapterRecord* adapter, D3DDEVTYPE deviceType, DWORD flags) {
    const bool hal = deviceType == D3DDEVTYPE_HAL;
    std::strcpy(m_deviceStatsText, DeviceTypeText(deviceType));

    const char* processing = "";
    if ((flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) && (flags & D3DCREATE_PUREDEVICE))
        processing = hal ? " (pure hw vp)" : " (simulated pure hw vp)";
    else if (flags & D3DCREATE_HARDWARE_VERTEXPROCESSING)
        processing = hal ? " (hw vp)" : " (simulated hw vp)";
    else if (flags & D3DCREATE_MIXED_VERTEXPROCESSING)
        processing = hal ? " (mixed vp)" : " (simulated mixed vp)";
    else if (flags & D3DCREATE_SOFTWARE_VERTEXPROCESSING)
        processing = " (sw vp)";
    std::strcat(m_deviceStatsText, processing);

    if (hal && adapter) {
        std::strcat(m_deviceStatsText, ": ");
        char description[512];
        AnsiToText(description, adapter->m_identifier.Description, sizeof description);
        // Cut the whole text at its limit.
        const size_t used = std::strlen(m_deviceStatsText);
        const size_t limit = static_cast<size_t>(kDeviceStatsLimit);
        const size_t room = used < limit ? limit - used : 0;
        const size_t count = std::min(room, std::strlen(description));
        std::memcpy(m_deviceStatsText + used, description, count);
        m_deviceStatsText[used + count] = 0;
    }
}

// Shared by device start and reset: the back-buffer description, the device cursor and the cursor
// confinement.
void CD3DHostApp::ReadBackBufferAndCursor() {
    IDirect3DSurface9* backBuffer = nullptr;
    m_pDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (backBuffer) {
        backBuffer->GetDesc(&m_backBufferDesc);
        backBuffer->Release();
    }

    if (m_showCursorFullscreen && !m_windowed) {
        // The full-screen device shows the window class's cursor as its own image.
        HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongA(m_hMainWindow, GCL_HCURSOR));
        ApplyCursorToDevice(m_pDevice, cursor, true);
        m_pDevice->ShowCursor(TRUE);
    }

    if (m_clipCursorFullscreen) {
        if (!m_windowed) {
            RECT windowRect;
            GetWindowRect(m_hMainWindow, &windowRect);
            ClipCursor(&windowRect);
        } else {
            ClipCursor(nullptr);
        }
    }
}

HRESULT CD3DHostApp::StartDevice() {
    AdapterRecord* adapter = m_settings.ActiveAdapter();
    DeviceRecord* device = m_settings.ActiveDevice();
    m_windowed = m_settings.windowed;

    ApplyWindowStyle();
    FillPresentParameters();

    if (device->m_caps.PrimitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE) {
        ReportError(HostAppError::StubReferenceDevice, ReportKind::Warning);
        // The window may have been closed while the box was up.
        if (!DeviceChangeCanGoOn()) return E_ABORT;
    }

    const DWORD flags = BehaviorFlagsFor(m_settings.ActiveVertexProcessingType());
    HRESULT hr = m_pDirect3D->CreateDevice(m_settings.ActiveAdapterOrdinal(), device->m_deviceType, m_hFocusWindow,
                                           flags, &m_presentParams, &m_pDevice);
    if (SUCCEEDED(hr)) {
        if (m_windowed) RestoreWindowPosition();

        m_pDevice->GetDeviceCaps(&m_deviceCaps);
        m_behaviorFlags = flags;
        BuildDeviceStatsText(adapter, device->m_deviceType, flags);
        ReadBackBufferAndCursor();

        hr = CreateDeviceResources();
        if (FAILED(hr)) {
            ReleaseDeviceResources();
            ShutdownDevice();
        } else {
            m_deviceObjectsCreated = true;
            hr = CreateVolatileResources();
            if (FAILED(hr)) {
                ReleaseVolatileResources();
                ShutdownDevice();
            } else {
                m_deviceObjectsRestored = true;
                return S_OK;
            }
        }
    } else {
        m_pDevice = nullptr;
    }

    // A leak found by the shutdown above has closed the window and released the Direct3D object.
    if (!DeviceChangeCanGoOn()) return hr;

    // Once, from a HAL device to a windowed reference device; missing media never fall back.
    const bool mediaMissing = hr == HostAppError::MediaLoadFailed || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (!mediaMissing && device->m_deviceType == D3DDEVTYPE_HAL && PickWindowedSettings(false, true)) {
        m_windowed = true;
        ApplyWindowStyle();
        RestoreWindowPosition();
        ReportError(hr, ReportKind::ReferenceFallback);
        if (!DeviceChangeCanGoOn()) return hr;
        return StartDevice();
    }
    return hr;
}

HRESULT CD3DHostApp::ResetDevice() {
    if (m_deviceObjectsRestored) {
        m_deviceObjectsRestored = false;
        ReleaseVolatileResources();
    }

    HRESULT hr = m_pDevice->Reset(&m_presentParams);
    if (FAILED(hr)) return hr;

    ReadBackBufferAndCursor();

    hr = CreateVolatileResources();
    if (FAILED(hr)) {
        ReleaseVolatileResources();
        return hr;
    }
    m_deviceObjectsRestored = true;

    ArmSingleStep(m_advanceEachFrame, m_advanceOnce);
    return S_OK;
}

HRESULT CD3DHostApp::SwitchWindowedFullscreen() {
    // A half that start-up never filled cannot be switched to: the program keeps its current mode.
    if (m_windowed ? m_settings.fullscreenCombo == nullptr : m_settings.windowedCombo == nullptr) {
        ReportError(m_windowed ? HostAppError::NoSuitableDevice : HostAppError::WindowedModeUnavailable,
                    ReportKind::Warning);
        return S_FALSE;
    }

    const UINT oldAdapter = m_settings.ActiveAdapterOrdinal();
    const D3DDEVTYPE oldType = m_settings.ActiveDeviceType();

    SetPaused(true);
    m_ignoreSizeChanges = true;

    m_windowed = !m_windowed;
    m_settings.windowed = m_windowed;
    ApplyWindowStyle();

    HRESULT hr;
    if (m_settings.ActiveAdapterOrdinal() == oldAdapter && m_settings.ActiveDeviceType() == oldType) {
        FillPresentParameters();
        hr = ResetDevice();
    } else {
        ShutdownDevice();
        hr = DeviceChangeCanGoOn() ? StartDevice() : HostAppError::DeviceStillReferenced;
    }

    if (SUCCEEDED(hr)) {
        m_ignoreSizeChanges = false;
        if (m_windowed) RestoreWindowPosition();
        SetPaused(false);
        return S_OK;
    }

    // The pause request stays: the Fatal report closes the window.
    m_ignoreSizeChanges = false;
    if (!m_windowed) {
        m_windowed = true;
        m_settings.windowed = true;
        ApplyWindowStyle();
        RestoreWindowPosition();
    }
    return ReportError(DeviceChangeReportCode(hr), ReportKind::Fatal);
}

HRESULT CD3DHostApp::RunSettingsDialog() {
    // The dialog is shown over the desktop: a full-screen program goes windowed first.
    if (!m_windowed) {
        if (FAILED(SwitchWindowedFullscreen())) {
            ReportError(HostAppError::CannotResetDevice, ReportKind::Fatal);
            return E_FAIL;
        }
        // Without a windowed choice the switch was refused with a warning: the program stays full
        // screen and the dialog is not shown.
        if (!m_windowed) return S_FALSE;
        if (!DeviceChangeCanGoOn()) return E_ABORT;
    }

    CDisplaySettingsDialog dialog(&m_catalog, &m_settings);
    const int result = dialog.RunModal(m_hMainWindow);
    if (result == -1) {
        // A dialog that cannot be shown is a failure, not a Cancel.
        return ReportError(E_FAIL, ReportKind::Warning);
    }
    if (result != IDOK) return S_OK;
    // The window may have been closed while the dialog was up.
    if (!DeviceChangeCanGoOn()) return E_ABORT;

    dialog.GetSettings(&m_settings);
    m_windowed = m_settings.windowed;

    // New settings always mean a new device, even when nothing was changed.
    ShutdownDevice();
    const HRESULT hr = DeviceChangeCanGoOn() ? StartDevice() : HostAppError::DeviceStillReferenced;
    if (FAILED(hr)) {
        if (!m_windowed) {
            m_windowed = true;
            m_settings.windowed = true;
            ApplyWindowStyle();
            RestoreWindowPosition();
        }
        return ReportError(DeviceChangeReportCode(hr), ReportKind::Fatal);
    }

    ArmSingleStep(m_advanceEachFrame, m_advanceOnce);
    return S_OK;
}

HRESULT CD3DHostApp::ReturnToWindowed() {
    if (m_windowed) return S_OK;
    if (!PickWindowedSettings(false, false)) return E_FAIL;

    m_windowed = true;
    SetPaused(true);
    ShutdownDevice();
    const HRESULT hr = DeviceChangeCanGoOn() ? StartDevice() : HostAppError::DeviceStillReferenced;
    if (FAILED(hr)) return ReportError(hr, ReportKind::Fatal);
    SetPaused(false);
    return S_OK;
}

HRESULT CD3DHostApp::ApplyWindowStyle() {
    if (m_windowed) {
        SetWindowLongA(m_hMainWindow, GWL_STYLE, static_cast<LONG>(m_windowedStyle));
        if (m_hDetachedMenu) {
            SetMenu(m_hMainWindow, m_hDetachedMenu);
            m_hDetachedMenu = nullptr;
        }
    } else {
        SetWindowLongA(m_hMainWindow, GWL_STYLE, static_cast<LONG>(kFullscreenStyle));
        if (!m_hDetachedMenu) {
            m_hDetachedMenu = GetMenu(m_hMainWindow);
            SetMenu(m_hMainWindow, nullptr);
        }
    }
    return S_OK;
}

HRESULT CD3DHostApp::OnClientSizeChange() {
    const RECT oldClient = m_clientRect;
    if (m_ignoreSizeChanges) return S_OK;

    GetWindowRect(m_hMainWindow, &m_windowRect);
    GetClientRect(m_hMainWindow, &m_clientRect);
    const LONG width = m_clientRect.right - m_clientRect.left;
    const LONG height = m_clientRect.bottom - m_clientRect.top;
    if (width == oldClient.right - oldClient.left && height == oldClient.bottom - oldClient.top) return S_OK;

    SetPaused(true);
    m_presentParams.BackBufferWidth = static_cast<UINT>(width);
    m_presentParams.BackBufferHeight = static_cast<UINT>(height);

    HRESULT hr = S_OK;
    if (m_pDevice) {
        hr = ResetDevice();
        if (FAILED(hr)) ReportError(DeviceChangeReportCode(hr), ReportKind::Fatal);
    }
    SetPaused(false);
    return hr;
}

void CD3DHostApp::ShutdownDevice() {
    if (!m_pDevice) return;

    if (m_deviceObjectsRestored) {
        m_deviceObjectsRestored = false;
        ReleaseVolatileResources();
    }
    if (m_deviceObjectsCreated) {
        m_deviceObjectsCreated = false;
        ReleaseDeviceResources();
    }

    // Cleared before the report: a Fatal report closes the window, and a close sequence running
    // nested must find no device to release again.
    const ULONG remaining = m_pDevice->Release();
    m_pDevice = nullptr;
    if (remaining > 0) ReportError(HostAppError::DeviceStillReferenced, ReportKind::Fatal);
}
