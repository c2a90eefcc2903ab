// The showcase's application resources: the ones that outlive every Direct3D device (the DirectInput
// keyboard and mouse, the sound manager with its one sound, the HUD font).
#include <new>

#include "Morvath.h"
#include "d3d_font.h"
#include "dsound.h"
#include "dsutil.h"
#include "dxerr9.h"

namespace {
// Traces name the main source file, as the showcase's set-up has always reported itself.
constexpr const char* kTraceFile = "Morvath.cpp";
}  // namespace

HRESULT CSceneApp::CreateAppResources() {
    // Painted now, before the devices and the sound take their time.
    SendMessageA(m_hMainWindow, WM_PAINT, 0, 0);
    InitDirectInput(m_hMainWindow);
    InitSound(m_hMainWindow);
    m_loading = 0;
    return S_OK;
}

HRESULT CSceneApp::InitDirectInput(HWND window) {
    HRESULT hr = DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                    reinterpret_cast<void**>(&m_pDirectInput), nullptr);
    if (FAILED(hr)) return DXTraceA(kTraceFile, __LINE__, hr, "DirectInput8Create", FALSE);
    if (FAILED(hr = m_pDirectInput->CreateDevice(GUID_SysKeyboard, &m_pKeyboard, nullptr)))
        return DXTraceA(kTraceFile, __LINE__, hr, "CreateDevice", FALSE);
    if (FAILED(hr = m_pKeyboard->SetDataFormat(&c_dfDIKeyboard)))
        return DXTraceA(kTraceFile, __LINE__, hr, "SetDataFormat", FALSE);
    if (FAILED(hr = m_pKeyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY)))
        return DXTraceA(kTraceFile, __LINE__, hr, "SetCooperativeLevel", FALSE);
    m_pKeyboard->Acquire();

    // The mouse's results are not acted on, and it is not acquired: its first read fails and
    // acquires it. Only a device that was made is set up.
    m_pDirectInput->CreateDevice(GUID_SysMouse, &m_pMouse, nullptr);
    if (m_pMouse != nullptr) {
        m_pMouse->SetDataFormat(&c_dfDIMouse2);
        m_pMouse->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    }
    return S_OK;
}

HRESULT CSceneApp::InitSound(HWND window) {
    m_pSoundManager = new (std::nothrow) CSoundSystem();
    if (m_pSoundManager == nullptr) return E_OUTOFMEMORY;
    HRESULT hr = m_pSoundManager->Initialize(window, DSSCL_PRIORITY);
    if (FAILED(hr)) return DXTraceA(kTraceFile, __LINE__, hr, "m_pSoundManager->Initialize", FALSE);
    if (FAILED(hr = m_pSoundManager->SetPrimaryBufferFormat(2, 22050, 16)))
        return DXTraceA(kTraceFile, __LINE__, hr, "m_pSoundManager->SetPrimaryBufferFormat", FALSE);
    m_pSoundManager->CreateSample(&m_pBounceSound, "BOUNCE", 0, GUID_NULL, 5);
    return S_OK;
}

// May run twice during a nested close: every pointer is cleared as it is freed.
HRESULT CSceneApp::ReleaseAppResources() {
    if (m_pHudFont != nullptr) {
        delete m_pHudFont;
        m_pHudFont = nullptr;
    }
    ReleaseDirectInput();
    if (m_pBounceSound != nullptr) {
        delete m_pBounceSound;
        m_pBounceSound = nullptr;
    }
    if (m_pSoundManager != nullptr) {
        delete m_pSoundManager;
        m_pSoundManager = nullptr;
    }
    return S_OK;
}

void CSceneApp::ReleaseDirectInput() {
    if (m_pMouse != nullptr) {
        m_pMouse->Release();
        m_pMouse = nullptr;
    }
    if (m_pKeyboard != nullptr) {
        m_pKeyboard->Release();
        m_pKeyboard = nullptr;
    }
    if (m_pDirectInput != nullptr) {
        m_pDirectInput->Release();
        m_pDirectInput = nullptr;
    }
}
