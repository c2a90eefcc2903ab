// The host's initial-choice operations: the display-settings choice made on its own members.
#include "host_app.h"

bool CD3DHostApp::PickWindowedSettings(bool requireHal, bool requireRef) {
    return ::PickWindowedSettings(&m_settings, m_catalog, m_pDirect3D, m_clientRect, requireHal, requireRef);
}

bool CD3DHostApp::PickFullscreenSettings(bool requireHal, bool requireRef) {
    return ::PickFullscreenSettings(&m_settings, m_catalog, m_pDirect3D, requireHal, requireRef);
}

HRESULT CD3DHostApp::PickInitialSettings() {
    return ::PickInitialSettings(&m_settings, m_catalog, m_pDirect3D, m_clientRect, m_startFullscreen);
}
