// CD3DHostApp: the application base class. It owns the main window, the Direct3D object, the device,
// the device catalog and the chosen display settings, and drives the derived class through 16 virtual
// operations at fixed call points. A program derives one class, constructs one object, calls Startup
// and, when that succeeds, RunMessageLoop.
#pragma once

#include "windows.h"
#include "d3d9.h"

#include "device_catalog.h"
#include "display_settings.h"
#include "error_reports.h"

class CD3DHostApp {
public:
    CD3DHostApp();

    // The virtual table, in slot order 0 to 15.
    virtual HRESULT ApplyWindowStyle();
    virtual void RefreshStatsText();
    virtual HRESULT CheckDeviceCaps(const D3DCAPS9* caps, DWORD behaviorFlags, D3DFORMAT backBufferFormat);
    virtual HRESULT CreateAppResources();
    virtual HRESULT CreateDeviceResources();
    virtual HRESULT CreateVolatileResources();
    virtual HRESULT AdvanceScene();
    virtual HRESULT DrawFrame();
    virtual HRESULT ReleaseVolatileResources();
    virtual HRESULT ReleaseDeviceResources();
    virtual HRESULT ReleaseAppResources();
    virtual HRESULT Startup(HINSTANCE instance);
    virtual int RunMessageLoop();
    virtual LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void SetPaused(bool pause);
    virtual ~CD3DHostApp();

    CD3DHostApp(const CD3DHostApp&) = delete;
    CD3DHostApp& operator=(const CD3DHostApp&) = delete;

    // The window procedure of class "D3D Window": hands every message to the application object.
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Stored in the catalog: asks the application whether it accepts a vertex-processing type.
    static bool CheckDeviceCapsCallback(const D3DCAPS9* caps, VertexProcessingType type,
                                        D3DFORMAT backBufferFormat);

    // One frame; negative when a derived operation or a device reset failed.
    HRESULT StepFrame();

    // Shows the code's text in a message box of the given kind; answers the code it was given.
    HRESULT ReportError(HRESULT code, ReportKind kind);

    // The initial choice of display settings.
    bool PickWindowedSettings(bool requireHal, bool requireRef);
    bool PickFullscreenSettings(bool requireHal, bool requireRef);
    HRESULT PickInitialSettings();

    // The device life cycle.
    HRESULT StartDevice();
    void FillPresentParameters();
    HRESULT ResetDevice();
    HRESULT SwitchWindowedFullscreen();
    HRESULT ReturnToWindowed();
    HRESULT RunSettingsDialog();
    HRESULT OnClientSizeChange();
    void ShutdownDevice();

protected:
    CD3DDeviceCatalog m_catalog;
    DisplaySettings m_settings;
    bool m_windowed;
    bool m_active;
    bool m_deviceLost;
    bool m_minimized;
    bool m_maximized;
    bool m_ignoreSizeChanges;
    bool m_deviceObjectsCreated;
    bool m_deviceObjectsRestored;
    bool m_advanceEachFrame;
    bool m_advanceOnce;
    D3DPRESENT_PARAMETERS m_presentParams;
    HWND m_hMainWindow;
    HWND m_hFocusWindow;
    HMENU m_hDetachedMenu;
    IDirect3D9* m_pDirect3D;
    IDirect3DDevice9* m_pDevice;
    D3DCAPS9 m_deviceCaps;
    D3DSURFACE_DESC m_backBufferDesc;
    DWORD m_behaviorFlags;
    DWORD m_windowedStyle;
    RECT m_windowRect;
    RECT m_clientRect;
    float m_sceneTime;
    float m_elapsedTime;
    float m_framesPerSecond;
    char m_deviceStatsText[90];
    char m_frameStatsText[90];
    const char* m_pWindowTitle;
    int32_t m_clientWidth;
    int32_t m_clientHeight;
    bool m_showCursorFullscreen;
    bool m_clipCursorFullscreen;
    bool m_startFullscreen;

private:
    HRESULT FailStartup(HRESULT code);
    // False once a report has run the close sequence (window gone, Direct3D object released): a device
    // change or start must not go on then.
    bool DeviceChangeCanGoOn() const;
    void RestoreWindowPosition();
    void BuildDeviceStatsText(const AdapterRecord* adapter, D3DDEVTYPE deviceType, DWORD behaviorFlags);
    void ReadBackBufferAndCursor();
    LRESULT RunCloseSequence(HWND window);
    void HandleSize(WPARAM sizeType);
};

// The behaviour flags CreateDevice and CheckDeviceCaps get for a vertex-processing type; 0 for others.
DWORD BehaviorFlagsFor(VertexProcessingType type);

// Process-wide state.
extern CD3DHostApp* g_pHostApp;  // the one application object
extern int32_t g_pauseCount;     // outstanding pause requests; active exactly when 0
extern bool g_fatalReported;     // set by the first Fatal report, never cleared
