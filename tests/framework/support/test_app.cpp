#include "test_app.h"

#include <algorithm>

namespace test {

int TestApp::Count(const std::string& slot) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), slot));
}

std::vector<std::string> TestApp::MainCalls() const {
    std::vector<std::string> main;
    for (const std::string& call : calls) {
        if (call == "CheckDeviceCaps" || call == "ApplyWindowStyle" || call.rfind("SetPaused", 0) == 0) continue;
        main.push_back(call);
    }
    return main;
}

HRESULT TestApp::Slot(const std::string& name) {
    calls.push_back(name);
    if (m_hMainWindow) mainWindowSeen = m_hMainWindow;
    if (onCall) onCall(name);
    auto found = results.find(name);
    return found == results.end() ? S_OK : found->second;
}

HRESULT TestApp::ApplyWindowStyle() {
    calls.push_back("ApplyWindowStyle");
    return CD3DHostApp::ApplyWindowStyle();
}

void TestApp::RefreshStatsText() {
    calls.push_back("RefreshStatsText");
    CD3DHostApp::RefreshStatsText();
}

HRESULT TestApp::CheckDeviceCaps(const D3DCAPS9*, DWORD behaviorFlags, D3DFORMAT) {
    checkedFlags.push_back(behaviorFlags);
    const HRESULT hr = Slot("CheckDeviceCaps");
    if (acceptsFlags && !acceptsFlags(behaviorFlags)) return E_FAIL;
    return hr;
}

HRESULT TestApp::CreateAppResources() { return Slot("CreateAppResources"); }
HRESULT TestApp::CreateDeviceResources() { return Slot("CreateDeviceResources"); }
HRESULT TestApp::CreateVolatileResources() { return Slot("CreateVolatileResources"); }

HRESULT TestApp::AdvanceScene() {
    sceneTimes.push_back(m_sceneTime);
    elapsedTimes.push_back(m_elapsedTime);
    return Slot("AdvanceScene");
}

HRESULT TestApp::DrawFrame() { return Slot("DrawFrame"); }
HRESULT TestApp::ReleaseVolatileResources() { return Slot("ReleaseVolatileResources"); }
HRESULT TestApp::ReleaseDeviceResources() { return Slot("ReleaseDeviceResources"); }
HRESULT TestApp::ReleaseAppResources() { return Slot("ReleaseAppResources"); }

void TestApp::SetPaused(bool pause) {
    calls.push_back(pause ? "SetPaused(1)" : "SetPaused(0)");
    CD3DHostApp::SetPaused(pause);
}

}  // namespace test
