// The real display's calls as the layer makes them: each goes to the backend, or does nothing headless.
#include "display_backend.h"

namespace machine {

bool HasRealDisplay() { return detail::Display() != nullptr; }

void PlaceHostWindow(uint64_t id, const HostWindowState& state) {
    if (auto* display = detail::Display()) display->Place(id, state);
}

void RemoveHostWindow(uint64_t id) {
    if (auto* display = detail::Display()) display->Remove(id);
}

void ShowHostDecoration(uint64_t id, const Frame& menuBar, const std::vector<HostOverlay>& overlays) {
    if (auto* display = detail::Display()) display->Decorate(id, menuBar, overlays);
}

void ShowHostContent(uint64_t id, const Frame& content) {
    if (auto* display = detail::Display()) display->ShowContent(id, content);
}

bool WaitForDisplayEvents(uint32_t milliseconds) {
    auto* display = detail::Display();
    return display != nullptr && display->Pump(milliseconds);
}

void SetPointerImage(bool visible, const Frame* image, int32_t hotSpotX, int32_t hotSpotY) {
    if (auto* display = detail::Display()) display->SetPointer(visible, image, hotSpotX, hotSpotY);
}

void WarpPointer(int32_t x, int32_t y) {
    if (auto* display = detail::Display()) display->Warp(x, y);
}

}  // namespace machine
