// CD3DHostApp::HandleWindowMessage: sizing, pausing, the menu and accelerator commands, the cursor in
// full screen, and the close sequence that ends the program. Whatever it does not answer itself goes
// on to DefWindowProcA.
#include "host_app.h"

namespace {
const WORD kCommandSettings = 40002;
const WORD kCommandToggleFullscreen = 40003;
const WORD kCommandExit = 40006;
}  // namespace

LRESULT CD3DHostApp::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        // While inactive no frames run, so the window is redrawn from here.
        if (m_pDevice && !m_active && m_windowed && m_deviceObjectsCreated && m_deviceObjectsRestored) {
            DrawFrame();
            m_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
        }
        break;

    case WM_SIZE:
        HandleSize(wParam);
        break;

    case WM_GETMINMAXINFO:
        if (lParam) {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = 100;
            info->ptMinTrackSize.y = 100;
        }
        break;

    case WM_SETCURSOR:
        if (m_active && !m_windowed) {
            SetCursor(nullptr);
            // The device may already be gone (a Fatal box up during the close sequence).
            if (m_showCursorFullscreen && m_pDevice) m_pDevice->ShowCursor(TRUE);
            return TRUE;
        }
        break;

    case WM_NCHITTEST:
        // In full screen the whole window is client area, so it cannot be dragged.
        if (!m_windowed) return HTCLIENT;
        break;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kCommandSettings:
            SetPaused(true);
            RunSettingsDialog();
            SetPaused(false);
            return 0;
        case kCommandToggleFullscreen:
            SetPaused(true);
            if (FAILED(SwitchWindowedFullscreen()))
                ReportError(HostAppError::CannotResetDevice, ReportKind::Fatal);
            SetPaused(false);
            return 0;
        case kCommandExit:
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;

    case WM_SYSCOMMAND:
        // A full-screen window is not moved, sized, maximized, given the keyboard menu or powered down.
        switch (wParam) {
        case SC_MOVE:
        case SC_SIZE:
        case SC_MAXIMIZE:
        case SC_KEYMENU:
        case SC_MONITORPOWER:
            if (!m_windowed) return 1;
            break;
        }
        break;

    case WM_MOUSEMOVE:
        if (m_active && m_pDevice) {
            POINT cursor;
            GetCursorPos(&cursor);
            if (!m_windowed) ScreenToClient(m_hMainWindow, &cursor);
            m_pDevice->SetCursorPosition(cursor.x, cursor.y, 0);
        }
        break;

    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
        SetPaused(true);
        break;

    case WM_EXITMENULOOP:
        SetPaused(false);
        break;

    case WM_EXITSIZEMOVE:
        SetPaused(false);
        OnClientSizeChange();
        break;

    case WM_POWERBROADCAST:
        if (wParam == PBT_APMQUERYSUSPEND || wParam == PBT_APMRESUMESUSPEND) return TRUE;
        break;

    case WM_CLOSE:
        return RunCloseSequence(window);
    }

    return DefWindowProcA(window, message, wParam, lParam);
}

void CD3DHostApp::HandleSize(WPARAM sizeType) {
    // The windowed style follows whatever style the window has now.
    if (m_windowed && m_hMainWindow) m_windowedStyle = static_cast<DWORD>(GetWindowLongA(m_hMainWindow, GWL_STYLE));

    switch (sizeType) {
    case SIZE_MINIMIZED:
        if (m_clipCursorFullscreen && !m_windowed) ClipCursor(nullptr);
        // A repeated minimize notification takes no second pause: only the restore that follows
        // withdraws one, and a second pause would leave the program inactive for good.
        if (!m_minimized) SetPaused(true);
        m_minimized = true;
        m_maximized = false;
        break;
    case SIZE_MAXIMIZED:
        if (m_minimized) SetPaused(false);
        m_minimized = false;
        m_maximized = true;
        OnClientSizeChange();
        break;
    case SIZE_RESTORED:
        if (m_maximized) {
            m_maximized = false;
            OnClientSizeChange();
        } else if (m_minimized) {
            SetPaused(false);
            m_minimized = false;
            OnClientSizeChange();
        }
        // Otherwise a drag-resize, which is handled when the size-move ends.
        break;
    }
}

// Can run nested: a device that keeps references after its release raises a Fatal report, which sends
// WM_CLOSE again. The nested pass finds no device; the outer one then finds no Direct3D object and no
// menu on the destroyed window, and ReleaseAppResources must do nothing the second time.
LRESULT CD3DHostApp::RunCloseSequence(HWND window) {
    ShutdownDevice();
    if (m_pDirect3D) {
        m_pDirect3D->Release();
        m_pDirect3D = nullptr;
    }
    ReleaseAppResources();
    HMENU menu = GetMenu(window);
    if (menu) DestroyMenu(menu);
    DestroyWindow(window);
    PostQuitMessage(0);
    m_hMainWindow = nullptr;
    return 0;
}
