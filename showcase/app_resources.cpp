// The showcase's application resources: the ones that outlive every Direct3D device.
#include "Morvath.h"
#include "d3d_font.h"
#include "dsutil.h"

HRESULT CSceneApp::CreateAppResources() { return S_OK; }

// May run twice during a nested close: every pointer is cleared as it is freed.
HRESULT CSceneApp::ReleaseAppResources() {
    if (m_pHudFont != nullptr) {
        delete m_pHudFont;
        m_pHudFont = nullptr;
    }
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
