// An application for the host tests: records which virtual operations ran, in order, can make any of
// them fail, can act from inside one, and exposes the base class's members to the tests.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host_app.h"

namespace test {

class TestApp : public CD3DHostApp {
public:
    TestApp() = default;

    // Slot names in the log: "CheckDeviceCaps", "CreateAppResources", "CreateDeviceResources",
    // "CreateVolatileResources", "AdvanceScene", "DrawFrame", "ReleaseVolatileResources",
    // "ReleaseDeviceResources", "ReleaseAppResources", "ApplyWindowStyle", "RefreshStatsText",
    // "SetPaused(1)" and "SetPaused(0)".
    std::vector<std::string> calls;
    int Count(const std::string& slot) const;
    // Calls without the ones a test rarely cares about (CheckDeviceCaps, ApplyWindowStyle, SetPaused).
    std::vector<std::string> MainCalls() const;

    // A slot listed here answers this result (the base body is not run for it).
    std::map<std::string, HRESULT> results;
    // Called inside a slot, after it is logged.
    std::function<void(const std::string& slot)> onCall;
    // When set, CheckDeviceCaps accepts exactly the behaviour flags this answers true for.
    std::function<bool(DWORD behaviorFlags)> acceptsFlags;

    HRESULT ApplyWindowStyle() override;
    void RefreshStatsText() override;
    HRESULT CheckDeviceCaps(const D3DCAPS9* caps, DWORD behaviorFlags, D3DFORMAT backBufferFormat) override;
    HRESULT CreateAppResources() override;
    HRESULT CreateDeviceResources() override;
    HRESULT CreateVolatileResources() override;
    HRESULT AdvanceScene() override;
    HRESULT DrawFrame() override;
    HRESULT ReleaseVolatileResources() override;
    HRESULT ReleaseDeviceResources() override;
    HRESULT ReleaseAppResources() override;
    void SetPaused(bool pause) override;

    // The main window as the last slot call saw it (it outlives a close that clears m_hMainWindow).
    HWND mainWindowSeen = nullptr;
    // Behaviour flags CheckDeviceCaps was asked about, in order.
    std::vector<DWORD> checkedFlags;
    // Scene times AdvanceScene saw.
    std::vector<float> sceneTimes, elapsedTimes;

    using CD3DHostApp::m_active;
    using CD3DHostApp::m_advanceEachFrame;
    using CD3DHostApp::m_advanceOnce;
    using CD3DHostApp::m_backBufferDesc;
    using CD3DHostApp::m_behaviorFlags;
    using CD3DHostApp::m_catalog;
    using CD3DHostApp::m_clientHeight;
    using CD3DHostApp::m_clientRect;
    using CD3DHostApp::m_clientWidth;
    using CD3DHostApp::m_clipCursorFullscreen;
    using CD3DHostApp::m_deviceLost;
    using CD3DHostApp::m_deviceObjectsCreated;
    using CD3DHostApp::m_deviceObjectsRestored;
    using CD3DHostApp::m_deviceStatsText;
    using CD3DHostApp::m_elapsedTime;
    using CD3DHostApp::m_framesPerSecond;
    using CD3DHostApp::m_frameStatsText;
    using CD3DHostApp::m_hDetachedMenu;
    using CD3DHostApp::m_hFocusWindow;
    using CD3DHostApp::m_hMainWindow;
    using CD3DHostApp::m_ignoreSizeChanges;
    using CD3DHostApp::m_maximized;
    using CD3DHostApp::m_minimized;
    using CD3DHostApp::m_pDevice;
    using CD3DHostApp::m_pDirect3D;
    using CD3DHostApp::m_presentParams;
    using CD3DHostApp::m_pWindowTitle;
    using CD3DHostApp::m_sceneTime;
    using CD3DHostApp::m_settings;
    using CD3DHostApp::m_showCursorFullscreen;
    using CD3DHostApp::m_startFullscreen;
    using CD3DHostApp::m_windowed;
    using CD3DHostApp::m_windowedStyle;
    using CD3DHostApp::m_windowRect;

private:
    HRESULT Slot(const std::string& name);
};

}  // namespace test
