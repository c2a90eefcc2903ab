// The showcase's application class: the framework's host application with the showcase's fonts,
// input devices, sound, lights, textures and scene objects, all owned and held inline.
#pragma once

#include "blur_quad.h"
#include "camera.h"
#include "cursor.h"
#include "d3d9.h"
#include "d3dx9.h"
#include "dinput.h"
#include "host_app.h"
#include "input_state.h"
#include "mesh_object.h"
#include "terrain.h"
#include "windows.h"

class CD3DFont;
class CSoundSystem;
class CSoundSample;

constexpr int kBlurQuadCount = 50;

// One line of the HUD: where it is drawn (x is 2.0) and its text.
struct HudLine {
    float y;
    char text[260];
};
constexpr int kHudLineCount = 8;

class CSceneApp : public CD3DHostApp {
public:
    CSceneApp();
    ~CSceneApp() override;
    CSceneApp(const CSceneApp&) = delete;
    CSceneApp& operator=(const CSceneApp&) = delete;

    HRESULT CheckDeviceCaps(const D3DCAPS9* caps, DWORD behaviorFlags, D3DFORMAT backBufferFormat) override;
    HRESULT CreateAppResources() override;
    HRESULT CreateDeviceResources() override;
    HRESULT CreateVolatileResources() override;
    HRESULT AdvanceScene() override;
    HRESULT DrawFrame() override;
    HRESULT ReleaseVolatileResources() override;
    HRESULT ReleaseDeviceResources() override;
    HRESULT ReleaseAppResources() override;
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Application resources (app_resources.cpp).
    HRESULT InitDirectInput(HWND window);
    HRESULT InitSound(HWND window);
    void ReleaseDirectInput();
    // Per-device builders, also used by the font chooser (device_resources.cpp). Each writes its out
    // pointer only on success.
    HRESULT CreateD3DXFont(ID3DXFont** font, const char* face, INT points);
    HRESULT CreateTextMesh(ID3DXMesh** mesh, const char* face, INT height);
    // This frame's keyboard and mouse state (frame_update.cpp).
    void PollInput(InputState* input);
    // The scenes and the HUD (frame_drawing.cpp).
    HRESULT DrawTerrainScene();
    HRESULT DrawMeshScene();
    HRESULT DrawBlurScene();
    HRESULT DrawHud();
    // This frame's HUD lines, in the order they are drawn.
    void FormatHud(HudLine (&lines)[kHudLineCount]) const;
    // Command 40011: a font dialog whose choice replaces the HUD font, the text mesh and the D3DX font
    // (showcase_messages.cpp).
    void ChooseNewFont();

    BOOL m_loading;                  // until CreateAppResources has set up input and sound
    CD3DFont* m_pHudFont;            // HUD lines, the viewport-scaled line and the scene-placed text
    ID3DXMesh* m_pTextMesh;
    ID3DXFont* m_pD3DXFont;
    char m_fontFace[32];             // face and size of the text mesh and the utility-library font
    INT m_fontPointSize;
    IDirectInput8* m_pDirectInput;
    IDirectInputDevice8* m_pKeyboard;
    IDirectInputDevice8* m_pMouse;
    InputState m_input;
    CSoundSystem* m_pSoundManager;
    CSoundSample* m_pBounceSound;    // "BOUNCE", 5 buffers
    float m_worldPitch;              // world placement; nothing changes these four
    float m_worldYaw;
    float m_worldX;
    float m_worldY;
    CCursor m_cursor;
    CMeshObject m_cube1;             // the second cube is drawn in the first one's frame,
    CMeshObject m_cube2;             // the third in the second one's
    CMeshObject m_cube3;
    CMeshObject m_sphere1;
    CMeshObject m_sphere2;
    CMeshObject m_sphere3;
    ID3DXMatrixStack* m_pMatrixStack;
    D3DLIGHT9 m_pointLight;          // light 0, filled per device
    D3DLIGHT9 m_directionalLight;    // light 1, filled per device
    IDirect3DTexture9* m_pTileTexture;
    CTerrain m_terrain;
    CCamera m_camera;
    CBlurQuad m_blurQuads[kBlurQuadCount];
    D3DVECTOR m_textPosition;        // placement of the "Motion blur" text, set per device
    struct {
        float yaw;
        float pitch;
        float roll;                  // radians
    } m_textRotation;
    HRESULT (CSceneApp::*m_currentScene)();  // the scene DrawFrame draws, set per device
};
