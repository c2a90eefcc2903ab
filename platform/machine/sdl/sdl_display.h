// The SDL display: the desktop's windows, their pixels and their events.
#pragma once

#include <SDL.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "../display_backend.h"

namespace machine::sdl {

// An SDL texture of a frame's size, made again when the size changes.
struct Picture {
    SDL_Texture* texture = nullptr;
    uint32_t width = 0, height = 0;
    int32_t x = 0, y = 0;
};

struct HostWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    HostWindowState state;
    int32_t width = 0, height = 0;  // the window's size as last set or reported
    int32_t x = 0, y = 0;
    Picture content, menuBar;
    std::vector<Picture> overlays;
};

class SdlDisplay final : public detail::DisplayBackend {
public:
    SdlDisplay();
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    int AskMessageBox(const MessageBoxRecord& box) override;
    void Place(uint64_t id, const HostWindowState& state) override;
    void Remove(uint64_t id) override;
    void Decorate(uint64_t id, const Frame& menuBar, const std::vector<HostOverlay>& overlays) override;
    void ShowContent(uint64_t id, const Frame& content) override;
    void ShowMainFrame(const Frame& frame) override;
    bool Pump(uint32_t waitMilliseconds) override;
    bool EnterFullScreen(const DisplayMode& mode) override;
    void LeaveFullScreen() override;
    void SetPointer(bool visible, const Frame* image, int32_t hotX, int32_t hotY) override;
    void Warp(int32_t x, int32_t y) override;
    void Confine(const ScreenRect* rect) override;

private:
    HostWindow* Find(uint64_t id);
    HostWindow* Main();
    uint64_t IdOf(uint32_t sdlWindowId) const;
    void Create(HostWindow& host);
    void ApplyFullScreen(HostWindow& host);
    void Redraw(HostWindow& host);
    void Upload(HostWindow& host, Picture& picture, const Frame& frame);
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(uint64_t id, HostWindow& host, const SDL_WindowEvent& event);
    void PaceToRefresh();

    std::map<uint64_t, HostWindow> windows_;
    uint64_t mainId_ = 0;
    bool closeRequested_ = false;  // the main window's close was asked for (close box or quit)
    bool fullScreen_ = false;
    DisplayMode fullScreenMode_;
    bool confined_ = false;
    ScreenRect confinement_;
    SDL_Cursor* cursor_ = nullptr;
    std::vector<uint32_t> cursorPixels_;
    // The next refresh a paced frame waits for (PaceToRefresh), while frames are paced.
    bool paced_ = false;
    std::chrono::steady_clock::time_point nextRefresh_;
};

}  // namespace machine::sdl
