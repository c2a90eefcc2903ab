// The host tests' common fixture: a clean machine and clean framework process state for every case,
// and a Direct3D double that Direct3DCreate9 hands out when a case asks for one.
#pragma once

#include <gtest/gtest.h>

#include "windows.h"
#include "d3d9/control.h"
#include "machine/control.h"

#include "fake_device.h"
#include "process_state.h"

namespace test {

// The reset runs in the constructor, before a derived fixture's members (an application, say) exist.
class HostTest : public ::testing::Test {
protected:
    HostTest() {
        machine::control::Reset();
        ResetFrameworkProcessState();
        d3d9::control::SetCreateHook({});
    }
    void TearDown() override {
        d3d9::control::SetCreateHook({});
        machine::control::Reset();
        ResetFrameworkProcessState();
    }

    // Direct3DCreate9 answers this object (created with its one reference).
    void UseDirect3D(FakeDeviceDirect3D& d3d) {
        d3d9::control::SetCreateHook([&d3d](UINT) -> IDirect3D9* { return &d3d; });
    }

    static HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
    static std::vector<machine::MessageBoxRecord> Boxes() { return machine::control::MessageBoxes(); }
};

// The client size of a window, from GetClientRect.
inline SIZE ClientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace test

namespace test {

// An application that has started on a fake Direct3D object; the logs are cleared after start-up.
template <typename App>
class StartedHost : public HostTest {
protected:
    // Configures the Direct3D double (a typical HAL by default) and starts; false when Startup failed.
    // After a successful start the slot log is cleared.
    bool Start(void (*scenario)(FakeDirect3D&) = MakeOneHalTypical) {
        scenario(d3d);
        UseDirect3D(d3d);
        started = SUCCEEDED(app.Startup(Instance()));
        // After a failed start the window is gone; keep the handle it had.
        window = app.m_hMainWindow ? app.m_hMainWindow : app.mainWindowSeen;
        if (started) app.calls.clear();  // a failed start keeps its log for the case to read
        return started;
    }
    FakeDevice* Device() const { return d3d.LastDevice(); }
    void TearDown() override {
        if (app.m_hMainWindow) SendMessageA(app.m_hMainWindow, WM_CLOSE, 0, 0);
        HostTest::TearDown();
    }

    FakeDeviceDirect3D d3d;
    App app;
    HWND window = nullptr;
    bool started = false;
};

}  // namespace test
