// The message loop, the frame step and pause counting.
#include "host_app.h"

#include "app_timer.h"

int32_t g_pauseCount = 0;

namespace {
const WORD kAcceleratorResource = 113;
}

int CD3DHostApp::RunMessageLoop() {
    HACCEL accelerators = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(kAcceleratorResource));

    MSG msg = {};
    msg.message = WM_NULL;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);

    while (msg.message != WM_QUIT) {
        bool taken;
        if (m_active) {
            taken = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
        } else {
            // -1 is an error, not a message: the record holds nothing to dispatch.
            taken = GetMessageA(&msg, nullptr, 0, 0) > 0;
        }

        if (taken) {
            if (accelerators && m_hMainWindow && TranslateAcceleratorA(m_hMainWindow, accelerators, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            if (m_deviceLost) Sleep(100);
            if (m_active && FAILED(StepFrame())) SendMessageA(m_hMainWindow, WM_CLOSE, 0, 0);
        }
    }

    if (accelerators) DestroyAcceleratorTable(accelerators);
    return static_cast<int>(msg.wParam);
}

HRESULT CD3DHostApp::StepFrame() {
    // No device: a failed device change has already closed the window and posted the quit message.
    if (!m_pDevice) return S_OK;

    if (m_deviceLost) {
        HRESULT hr = m_pDevice->TestCooperativeLevel();
        if (hr == D3DERR_DEVICELOST) return S_OK;  // still lost: the loop sleeps before the next try
        if (hr == D3DERR_DEVICENOTRESET) {
            // The desktop may have changed format while the device was lost.
            if (m_windowed) {
                m_pDirect3D->GetAdapterDisplayMode(m_settings.ActiveAdapter()->m_adapterOrdinal,
                                                   &m_settings.windowedDisplayMode);
                m_presentParams.BackBufferFormat = m_settings.windowedDisplayMode.Format;
            }
            return ResetDevice();
        }
        if (FAILED(hr)) return hr;
        m_deviceLost = false;
    }

    const float runTime = AppTimer(TimerOp::RunSeconds);
    const float elapsed = AppTimer(TimerOp::DeltaSeconds);

    // Frames closer together than the clock's step are skipped entirely.
    if (elapsed == 0.0f && m_advanceEachFrame) return S_OK;

    if (m_advanceEachFrame || m_advanceOnce) {
        m_sceneTime = runTime;
        m_elapsedTime = elapsed;
        HRESULT hr = AdvanceScene();
        if (FAILED(hr)) return hr;  // an armed single step stays armed
        m_advanceOnce = false;
    }

    HRESULT hr = DrawFrame();
    if (FAILED(hr)) return hr;

    RefreshStatsText();

    if (m_pDevice->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) m_deviceLost = true;
    return S_OK;
}

void CD3DHostApp::SetPaused(bool pause) {
    g_pauseCount += pause ? 1 : -1;
    m_active = g_pauseCount == 0;

    // The scene time stands still from the first request until the last is withdrawn.
    if (pause && g_pauseCount == 1 && m_advanceEachFrame) AppTimer(TimerOp::Freeze);
    if (g_pauseCount == 0 && m_advanceEachFrame) AppTimer(TimerOp::Resume);
}
