// A machine with a real display: what the machine's parts hand to it. Headless there is none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "machine/machine.h"

namespace machine::detail {

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // The button the user chose, or 0 when the display could not show the box.
    virtual int AskMessageBox(const MessageBoxRecord& box) = 0;
    virtual void Place(uint64_t id, const HostWindowState& state) = 0;
    virtual void Remove(uint64_t id) = 0;
    virtual void Decorate(uint64_t id, const Frame& menuBar, const std::vector<HostOverlay>& overlays) = 0;
    virtual void ShowContent(uint64_t id, const Frame& content) = 0;
    virtual void ShowMainFrame(const Frame& frame) = 0;
    virtual bool Pump(uint32_t waitMilliseconds) = 0;
    virtual bool EnterFullScreen(const DisplayMode& mode) = 0;
    virtual void LeaveFullScreen() = 0;
    virtual void SetPointer(bool visible, const Frame* image, int32_t hotX, int32_t hotY) = 0;
    virtual void Warp(int32_t x, int32_t y) = 0;
    virtual void Confine(const ScreenRect* rect) = 0;
};

// The backend in use, or null headless.
DisplayBackend* Display();
// Starts the SDL display: null (with the reason) when SDL's video does not start.
std::unique_ptr<DisplayBackend> StartSdlDisplay(std::string& reason);

}  // namespace machine::detail
