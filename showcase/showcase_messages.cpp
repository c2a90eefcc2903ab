// The showcase's own window messages; every message then goes on to the framework's handler.
#include <cstring>
#include <new>

#include "Morvath.h"
#include "commdlg.h"
#include "d3d_font.h"

namespace {
constexpr WORD kChooseFontCommand = 40011;  // sent by no menu item or key of the program
}  // namespace

LRESULT CSceneApp::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        if (m_loading) {
            HDC context = GetDC(window);
            char text[64];
            wsprintfA(text, "Loading... Please wait");
            RECT client;
            GetClientRect(window, &client);
            DrawTextA(context, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            ReleaseDC(window, context);
        }
        break;
    case WM_MOUSEMOVE: {
        // The message's own coordinates are not used: the cursor's position, in client coordinates.
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(window, &cursor);
        m_input.cursorX = cursor.x;
        m_input.cursorY = cursor.y;
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kChooseFontCommand) ChooseNewFont();
        break;
    default: break;
    }
    return CD3DHostApp::HandleWindowMessage(window, message, wParam, lParam);
}

void CSceneApp::ChooseNewFont() {
    // Between devices there is nothing to build the fonts on.
    if (m_pDevice == nullptr) return;
    LOGFONTA logFont;
    std::memset(&logFont, 0, sizeof logFont);
    HDC context = GetDC(m_hMainWindow);
    logFont.lfHeight = -MulDiv(m_fontPointSize, GetDeviceCaps(context, LOGPIXELSY), 72);
    ReleaseDC(m_hMainWindow, context);
    lstrcpynA(logFont.lfFaceName, m_fontFace, LF_FACESIZE);
    CHOOSEFONTA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = m_hMainWindow;
    request.lpLogFont = &logFont;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY;
    if (!ChooseFontA(&request)) return;  // cancelled: nothing changes

    char face[LF_FACESIZE];
    lstrcpynA(face, logFont.lfFaceName, LF_FACESIZE);
    const INT points = request.iPointSize / 10;
    CD3DFont* font = new (std::nothrow) CD3DFont(face, static_cast<DWORD>(points), 0);
    ID3DXMesh* mesh = nullptr;
    ID3DXFont* d3dxFont = nullptr;
    bool made = font != nullptr && SUCCEEDED(font->CreateDeviceResources(m_pDevice)) &&
                SUCCEEDED(font->CreateVolatileResources()) && SUCCEEDED(CreateTextMesh(&mesh, face, points)) &&
                SUCCEEDED(CreateD3DXFont(&d3dxFont, face, points));
    if (made) {
        delete m_pHudFont;
        m_pHudFont = font;
        font = nullptr;
        if (m_pTextMesh != nullptr) m_pTextMesh->Release();
        m_pTextMesh = mesh;
        mesh = nullptr;
        if (m_pD3DXFont != nullptr) m_pD3DXFont->Release();
        m_pD3DXFont = d3dxFont;
        d3dxFont = nullptr;
        lstrcpynA(m_fontFace, face, sizeof m_fontFace);
        m_fontPointSize = points;
    }
    delete font;  // whatever was not put in place
    if (mesh != nullptr) mesh->Release();
    if (d3dxFont != nullptr) d3dxFont->Release();
    if (!made) MessageBoxA(m_hMainWindow, "Could not create that font.", m_pWindowTitle, MB_OK);
}
