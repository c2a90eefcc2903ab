// The framework's own failure codes and the kinds of report CD3DHostApp::ReportError shows.
#pragma once

#include "windef.h"
#include "winerror.h"

// Application-defined HRESULTs: severity bit set, facility 0x200, codes 1 and 3 to 13.
namespace HostAppError {
inline constexpr HRESULT Direct3DCreateFailed = static_cast<HRESULT>(0x82000001u);
inline constexpr HRESULT NoSuitableDevice = static_cast<HRESULT>(0x82000003u);
inline constexpr HRESULT WindowedModeUnavailable = static_cast<HRESULT>(0x82000004u);
inline constexpr HRESULT NoAcceleratedDevice = static_cast<HRESULT>(0x82000005u);
inline constexpr HRESULT HardwareLacksFeatures = static_cast<HRESULT>(0x82000006u);
inline constexpr HRESULT HardwareCannotRenderWindowed = static_cast<HRESULT>(0x82000007u);
inline constexpr HRESULT HardwareCannotRenderOnDesktop = static_cast<HRESULT>(0x82000008u);
inline constexpr HRESULT HardwareLacksFeaturesInMode = static_cast<HRESULT>(0x82000009u);
inline constexpr HRESULT DeviceStillReferenced = static_cast<HRESULT>(0x8200000Au);
inline constexpr HRESULT MediaLoadFailed = static_cast<HRESULT>(0x8200000Bu);
inline constexpr HRESULT CannotResetDevice = static_cast<HRESULT>(0x8200000Cu);
inline constexpr HRESULT StubReferenceDevice = static_cast<HRESULT>(0x8200000Du);
}  // namespace HostAppError

// How a failure is shown. Any other value is shown as a warning.
enum class ReportKind : int32_t {
    Warning = 0,
    Fatal = 1,              // error box, then the main window is closed; later reports show nothing
    ReferenceFallback = 2,  // warning box with the note on the reference rasterizer
};

// The text shown for a code: the family's own texts, three platform codes, else the general text.
const char* ErrorReportText(HRESULT code);
