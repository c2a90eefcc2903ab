// The showcase's per-device and per-reset resources and render state.
#include "Morvath.h"

HRESULT CSceneApp::CreateDeviceResources() { return S_OK; }

HRESULT CSceneApp::CreateVolatileResources() { return S_OK; }

HRESULT CSceneApp::ReleaseVolatileResources() { return S_OK; }

HRESULT CSceneApp::ReleaseDeviceResources() { return S_OK; }
