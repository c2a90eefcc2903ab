// CD3DHostApp::ReportError: a failure code becomes a message box. After the first Fatal report nothing
// more is shown, so a failure reported at several levels, or one that sets off further failures while
// the program closes, gives the user one box.
#include "host_app.h"

#include <cstring>

bool g_fatalReported = false;

namespace {

const char kFatalSuffix[] = "\n\nThis sample will now exit.";
const char kReferenceSuffix[] =
    "\n\nSwitching to the reference rasterizer,\n"
    "a software device that implements the entire\n"
    "Direct3D feature set, but runs very slowly.";

void AppendBounded(char* buffer, size_t capacity, const char* text) {
    const size_t used = std::strlen(buffer);
    if (used + 1 >= capacity) return;
    std::strncat(buffer, text, capacity - used - 1);
}

}  // namespace

const char* ErrorReportText(HRESULT code) {
    switch (code) {
    case HostAppError::Direct3DCreateFailed:
        return "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
               "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
               "was compiled with header files that match\nthe installed DirectX DLLs.";
    case HostAppError::NoSuitableDevice:
        return "Could not find any compatible Direct3D\ndevices.";
    case HostAppError::WindowedModeUnavailable:
        return "This sample cannot run in a desktop\nwindow with the current display settings.\n"
               "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\n"
               "sample.";
    case HostAppError::NoAcceleratedDevice:
        return "No hardware-accelerated Direct3D devices\nwere found.";
    case HostAppError::HardwareLacksFeatures:
        return "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
               "accelerator.";
    case HostAppError::HardwareCannotRenderWindowed:
        return "Your Direct3D hardware accelerator cannot\nrender into a window.\n"
               "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case HostAppError::HardwareCannotRenderOnDesktop:
        return "Your Direct3D hardware accelerator cannot\nrender into a window with the current\n"
               "desktop display settings.\n"
               "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case HostAppError::HardwareLacksFeaturesInMode:
        return "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
               "accelerator with the current desktop display\nsettings.\n"
               "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case HostAppError::DeviceStillReferenced:
        return "A D3D object has a non-zero reference\ncount (meaning things were not properly\n"
               "cleaned up).";
    case HostAppError::MediaLoadFailed:
    case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND):
        return "Could not load required media.";
    case HostAppError::CannotResetDevice:
        return "Could not reset the Direct3D device.";
    case HostAppError::StubReferenceDevice:
        return "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\n"
               "computer only has a reduced-functionality reference device\n"
               "installed.  Install the DirectX SDK to get the full\nreference device.\n";
    case E_OUTOFMEMORY:
        return "Not enough memory.";
    case D3DERR_OUTOFVIDEOMEMORY:
        return "Not enough video memory.";
    default:
        return "Generic application error. Enable\ndebug output for detailed information.";
    }
}

HRESULT CD3DHostApp::ReportError(HRESULT code, ReportKind kind) {
    if (g_fatalReported) return code;

    char text[512];
    text[0] = '\0';
    AppendBounded(text, sizeof text, ErrorReportText(code));

    if (kind == ReportKind::Fatal) {
        // Set before the box: a report raised by a message its modal loop dispatches shows nothing.
        g_fatalReported = true;
        AppendBounded(text, sizeof text, kFatalSuffix);
        MessageBoxA(nullptr, text, m_pWindowTitle, MB_ICONERROR);
        if (m_hMainWindow) SendMessageA(m_hMainWindow, WM_CLOSE, 0, 0);
    } else if (kind == ReportKind::ReferenceFallback) {
        AppendBounded(text, sizeof text, kReferenceSuffix);
        MessageBoxA(nullptr, text, m_pWindowTitle, MB_ICONWARNING);
    } else {
        MessageBoxA(nullptr, text, m_pWindowTitle, MB_ICONWARNING);
    }
    return code;
}
