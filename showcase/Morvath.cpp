// The program's entry and the application object's construction.
#include "Morvath.h"

#include <cstring>
#include <new>

#include "commctrl.h"
#include "d3d_font.h"
#include "dsutil.h"
#include "error_log.h"
#include "high_res_clock.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CSceneApp app;
    g_errorLog.Start("ErrorLog.txt");
    InitHighResTimer();
    InitCommonControls();
    // The framework's start-up itself, not through the operation table.
    if (FAILED(app.CD3DHostApp::Startup(hInstance))) return 0;
    return app.RunMessageLoop();
}

CSceneApp::CSceneApp() {
    m_clientWidth = 800;
    m_clientHeight = 600;
    m_pWindowTitle = "Morvath";
    m_catalog.m_usesDepthBuffer = true;
    m_startFullscreen = false;
    m_showCursorFullscreen = false;

    // Every later user of the HUD font tests it: an allocation failure leaves it null.
    m_pHudFont = new (std::nothrow) CD3DFont("Verdana", 10, FontCreateFlags::Bold);
    m_loading = 1;
    m_pTextMesh = nullptr;
    m_pD3DXFont = nullptr;
    m_pDirectInput = nullptr;
    m_pKeyboard = nullptr;
    m_pMouse = nullptr;
    m_pSoundManager = nullptr;
    m_pBounceSound = nullptr;
    m_pMatrixStack = nullptr;
    m_pTileTexture = nullptr;
    m_currentScene = nullptr;
    strcpy(m_fontFace, "Arial");
    m_fontPointSize = 18;
    memset(&m_input, 0, sizeof(m_input));
    m_worldPitch = 0.0f;
    m_worldYaw = 0.0f;
    m_worldX = 0.0f;
    m_worldY = 0.0f;
    memset(&m_pointLight, 0, sizeof(m_pointLight));
    memset(&m_directionalLight, 0, sizeof(m_directionalLight));
    m_textPosition = {0.0f, 0.0f, 0.0f};
    m_textRotation = {0.0f, 0.0f, 0.0f};
}

CSceneApp::~CSceneApp() {
    // Normally the close sequence has freed everything already. When start-up failed before the
    // window existed, nothing ran it: free what is still held so that it is not lost.
    CSceneApp::ReleaseAppResources();
}

HRESULT CSceneApp::CheckDeviceCaps(const D3DCAPS9*, DWORD, D3DFORMAT) { return S_OK; }
