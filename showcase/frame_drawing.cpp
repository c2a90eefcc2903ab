// Drawing one frame: the current scene, the text lines and the cursor.
#include "Morvath.h"

HRESULT CSceneApp::DrawFrame() { return S_OK; }
