// The showcase's own window messages; every message then goes on to the framework's handler.
#include "Morvath.h"

LRESULT CSceneApp::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CD3DHostApp::HandleWindowMessage(window, message, wParam, lParam);
}
