// Test control of the Direct3D 9 area: the adapter profile, a test's own Direct3D object, the call log,
// device loss, reference counts and the figures the machine's report shows. The program never includes it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "d3d9.h"
#include "d3d9/adapter_profile.h"

namespace d3d9::control {

// Puts the area back to its start state: default profile, no hook, empty log, zero counts, no scripts.
void Reset();

// While set, Direct3DCreate9 answers what the hook returns (which may be null); cleared by passing {}.
using CreateHook = std::function<IDirect3D9*(UINT sdkVersion)>;
void SetCreateHook(CreateHook hook);

// Direct3D objects created from now on answer from this profile. A profile whose adapter 0 has a desktop
// mode also becomes the machine's display (its desktop and mode list), so full-screen switches agree.
void SetAdapterProfile(const Profile& profile);
void UseDefaultProfile();
const Profile& ActiveProfile();

// Call log of the Direct3D object and the devices, one line a call, e.g.
// "CheckDepthStencilMatch(0,HAL,X8R8G8B8,A8R8G8B8,D16)". Off until enabled.
void EnableCallLog(bool enable);
std::vector<std::string> CallLog();
std::vector<std::string> CallsNamed(const std::string& name);
void ClearCallLog();

// ---- Device loss -------------------------------------------------------------------------------
// Every live device becomes lost (Present and TestCooperativeLevel answer D3DERR_DEVICELOST).
// With testsUntilResettable, the device becomes resettable on its own after that many
// TestCooperativeLevel calls; otherwise it stays lost until RestoreDevices.
void LoseDevices(std::optional<unsigned> testsUntilResettable = std::nullopt);
// Lost devices become resettable (TestCooperativeLevel answers D3DERR_DEVICENOTRESET).
void RestoreDevices();
// The next Reset of any device answers this failure; with loseDevice it also leaves the device lost.
void FailNextReset(HRESULT result, bool loseDevice = false);

// ---- Objects and references ---------------------------------------------------------------------
std::vector<IDirect3DDevice9*> LiveDevices();
// Adds k references to a device, as a leaking owner would.
void AddDeviceReferences(IDirect3DDevice9* device, unsigned k);
// Direct3D objects, devices and resources not yet destroyed.
unsigned LiveObjectCount();

// ---- Device cursor ------------------------------------------------------------------------------
struct CursorRecord {
    bool set = false;
    UINT hotSpotX = 0, hotSpotY = 0;
    UINT width = 0, height = 0;
    std::vector<uint32_t> pixels;  // A8R8G8B8, top-down
    bool shown = false;
    int x = 0, y = 0;  // the position as last set
};
CursorRecord DeviceCursor(IDirect3DDevice9* device);

// ---- The machine's report -----------------------------------------------------------------------
struct DeviceDescription {
    bool exists = false;   // false until a device has been created
    std::string type;      // "HAL", "REF", "SW"
    bool windowed = true;
    UINT adapter = 0;
    UINT width = 0, height = 0;
    std::string format;       // "X8R8G8B8" ...
    std::string depthFormat;  // "D24S8" ..., "none" without an automatic depth buffer
    std::string presentInterval;  // "IMMEDIATE", "DEFAULT", "ONE" ... "FOUR"
};
// The last device created or reset, as it was then (it stays described after its release).
DeviceDescription LastDevice();
unsigned DeviceCreations();
unsigned DeviceResets();
unsigned DisplayModeChanges();
// The machine's report shows these as "device" (the description, or null), "device_creations",
// "device_resets" and "display_mode_changes", from the first Direct3DCreate9 on.

// What the devices drew since the area's reset: the report's "draw_calls" shows the draws and
// primitives per presented frame, averaged.
struct DrawCounts {
    uint64_t frames = 0, draws = 0, primitives = 0;
};
DrawCounts DrawCallCounts();

// Names used by the log and the report.
std::string FormatName(D3DFORMAT format);
std::string DeviceTypeName(D3DDEVTYPE type);

}  // namespace d3d9::control
