// The SDL display. Each top-level window the layer shows is an SDL window whose pixels are the
// layer's non-client rows (the menu bar) above the client area; the caption and frame are the window
// manager's. Events become the machine's input, scheduled for the current frame, so they take the
// same path to window messages and DirectInput as scripted input.
#include "sdl_display.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "machine/control.h"
#include "sdl_keys.h"

namespace machine::sdl {
namespace {

constexpr int32_t kX8R8G8B8 = 22;
constexpr int32_t kR5G6B5 = 23;

void Schedule(InputEvent event) {
    event.frame = FramesPresented();
    control::ScheduleInput(event);
}

void ScheduleWindow(uint64_t id, WindowAction action, int32_t x = 0, int32_t y = 0) {
    InputEvent e;
    e.kind = InputKind::Window;
    e.windowAction = action;
    e.hostWindow = id;
    e.x = x;
    e.y = y;
    Schedule(e);
}

void ScheduleDevice(DeviceAction action) {
    InputEvent e;
    e.kind = InputKind::Device;
    e.deviceAction = action;
    Schedule(e);
}

// The display's modes in the formats the device can show full screen.
void OfferDisplayModes() {
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return;
    auto rate = [](int hz) { return static_cast<uint32_t>(hz > 0 ? hz : 60); };
    std::vector<DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        for (int32_t format : {kX8R8G8B8, kR5G6B5})
            modes.push_back({static_cast<uint32_t>(m.w), static_cast<uint32_t>(m.h), rate(m.refresh_rate), format});
    }
    control::SetDesktop({static_cast<uint32_t>(desktop.w), static_cast<uint32_t>(desktop.h), rate(desktop.refresh_rate),
                         kX8R8G8B8},
                        modes);
}

}  // namespace

SdlDisplay::SdlDisplay() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    OfferDisplayModes();
}

SdlDisplay::~SdlDisplay() {
    for (auto& [id, host] : windows_) {
        (void)id;
        if (host.renderer) SDL_DestroyRenderer(host.renderer);
        if (host.window) SDL_DestroyWindow(host.window);
    }
    if (cursor_) SDL_FreeCursor(cursor_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

HostWindow* SdlDisplay::Find(uint64_t id) {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
}

HostWindow* SdlDisplay::Main() { return Find(mainId_); }

uint64_t SdlDisplay::IdOf(uint32_t sdlWindowId) const {
    for (const auto& [id, host] : windows_)
        if (host.window && SDL_GetWindowID(host.window) == sdlWindowId) return id;
    return 0;
}

void SdlDisplay::Create(HostWindow& host) {
    const HostWindowState& s = host.state;
    host.width = std::max(1, s.area.right - s.area.left);
    host.height = std::max(1, s.area.bottom - s.area.top);
    host.x = s.area.left;
    host.y = s.area.top;
    Uint32 flags = SDL_WINDOW_HIDDEN | (s.resizable ? SDL_WINDOW_RESIZABLE : 0);
    host.window = SDL_CreateWindow(s.title.c_str(), host.x, host.y, host.width, host.height, flags);
    if (!host.window) {
        std::fprintf(stderr, "[machine] cannot open a window: %s\n", SDL_GetError());
        return;
    }
    host.renderer = SDL_CreateRenderer(host.window, -1, 0);
    if (!host.renderer) host.renderer = SDL_CreateRenderer(host.window, -1, SDL_RENDERER_SOFTWARE);
    if (!host.renderer) std::fprintf(stderr, "[machine] cannot draw into the window: %s\n", SDL_GetError());
}

void SdlDisplay::Place(uint64_t id, const HostWindowState& state) {
    HostWindow& host = windows_[id];
    const HostWindowState before = host.state;
    host.state = state;
    if (state.main) mainId_ = id;
    if (!host.window) {
        if (!state.visible) return;
        Create(host);
        if (!host.window) return;
        if (id == mainId_ && fullScreen_) ApplyFullScreen(host);
    }
    SDL_Window* w = host.window;
    if (state.title != before.title) SDL_SetWindowTitle(w, state.title.c_str());
    const bool fullScreenHere = id == mainId_ && fullScreen_;
    if (!fullScreenHere && !state.minimized && !state.maximized) {
        const int32_t width = std::max(1, state.area.right - state.area.left);
        const int32_t height = std::max(1, state.area.bottom - state.area.top);
        if (width != host.width || height != host.height) {
            host.width = width;
            host.height = height;
            SDL_SetWindowSize(w, width, height);
        }
        if (state.area.left != host.x || state.area.top != host.y) {
            host.x = state.area.left;
            host.y = state.area.top;
            SDL_SetWindowPosition(w, host.x, host.y);
        }
    }
    SDL_SetWindowResizable(w, state.resizable ? SDL_TRUE : SDL_FALSE);
    if (state.visible && !before.visible) {
        SDL_ShowWindow(w);
        SDL_RaiseWindow(w);
    }
    if (!state.visible && before.visible) SDL_HideWindow(w);
    if (state.visible) {
        const Uint32 flags = SDL_GetWindowFlags(w);
        if (state.minimized && !(flags & SDL_WINDOW_MINIMIZED)) SDL_MinimizeWindow(w);
        if (state.maximized && !(flags & SDL_WINDOW_MAXIMIZED)) SDL_MaximizeWindow(w);
        if (!state.minimized && !state.maximized && (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED)))
            SDL_RestoreWindow(w);
    }
    Redraw(host);
}

void SdlDisplay::Remove(uint64_t id) {
    HostWindow* host = Find(id);
    if (!host) return;
    if (host->renderer) SDL_DestroyRenderer(host->renderer);  // its textures go with it
    if (host->window) SDL_DestroyWindow(host->window);
    windows_.erase(id);
    if (id == mainId_) mainId_ = 0;
    // A dialog that goes gives the keyboard back to the main window.
    if (HostWindow* main = Main(); main && main->window && main->state.visible) {
        SDL_RaiseWindow(main->window);
        SDL_SetWindowInputFocus(main->window);
    }
}

void SdlDisplay::Upload(HostWindow& host, Picture& picture, const Frame& frame) {
    if (!host.renderer) return;
    if (frame.width == 0 || frame.height == 0 || frame.pixels.size() < size_t(frame.width) * frame.height) {
        picture.width = picture.height = 0;
        return;
    }
    if (!picture.texture || picture.width != frame.width || picture.height != frame.height) {
        if (picture.texture) SDL_DestroyTexture(picture.texture);
        picture.texture = SDL_CreateTexture(host.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                            int(frame.width), int(frame.height));
        picture.width = frame.width;
        picture.height = frame.height;
        if (!picture.texture) return;
        SDL_SetTextureBlendMode(picture.texture, SDL_BLENDMODE_NONE);
    }
    SDL_UpdateTexture(picture.texture, nullptr, frame.pixels.data(), int(frame.width * 4));
}

void SdlDisplay::Redraw(HostWindow& host) {
    if (!host.renderer || !host.state.visible) return;
    SDL_SetRenderDrawColor(host.renderer, 0, 0, 0, 255);
    SDL_RenderClear(host.renderer);
    const int top = (Main() == &host && fullScreen_) ? 0 : host.state.menuBarHeight;
    auto draw = [&](const Picture& p, int x, int y) {
        if (!p.texture || p.width == 0) return;
        SDL_Rect to{x, y, int(p.width), int(p.height)};
        SDL_RenderCopy(host.renderer, p.texture, nullptr, &to);
    };
    if (top > 0) draw(host.menuBar, 0, 0);
    draw(host.content, 0, top);
    for (const Picture& p : host.overlays) draw(p, p.x, top + p.y);
    SDL_RenderPresent(host.renderer);
}

void SdlDisplay::Decorate(uint64_t id, const Frame& menuBar, const std::vector<HostOverlay>& overlays) {
    HostWindow* host = Find(id);
    if (!host || !host->renderer) return;
    Upload(*host, host->menuBar, menuBar);
    for (size_t i = overlays.size(); i < host->overlays.size(); ++i)
        if (host->overlays[i].texture) SDL_DestroyTexture(host->overlays[i].texture);
    host->overlays.resize(overlays.size());
    for (size_t i = 0; i < overlays.size(); ++i) {
        Upload(*host, host->overlays[i], overlays[i].image);
        host->overlays[i].x = overlays[i].x;
        host->overlays[i].y = overlays[i].y;
    }
    Redraw(*host);
}

void SdlDisplay::ShowContent(uint64_t id, const Frame& content) {
    HostWindow* host = Find(id);
    if (!host) return;
    Upload(*host, host->content, content);
    Redraw(*host);
}

// Frames are shown on a steady schedule of refresh deadlines, one period apart, so the time the frame
// takes to draw and show counts within the period. A frame that misses its deadline is shown at once
// and the schedule goes on from that deadline (the next frames catch up); one that is more than a
// period behind starts the schedule afresh, so late frames never come in a burst.
void SdlDisplay::PaceToRefresh() {
    const DisplayMode mode = CurrentDisplayMode();
    const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(1.0 / (mode.refreshRate > 0 ? mode.refreshRate : 60)));
    const auto now = std::chrono::steady_clock::now();
    if (!paced_ || now > nextRefresh_ + period) nextRefresh_ = now;
    if (now < nextRefresh_) std::this_thread::sleep_until(nextRefresh_);
    nextRefresh_ += period;
}

void SdlDisplay::ShowMainFrame(const Frame& frame) {
    HostWindow* host = Main();
    if (!host) return;
    if (frame.waitForRefresh) PaceToRefresh();
    paced_ = frame.waitForRefresh;  // after an unpaced frame the next paced one starts the schedule
    Upload(*host, host->content, frame);
    Redraw(*host);
    Pump(0);
}

void SdlDisplay::ApplyFullScreen(HostWindow& host) {
    SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, int(fullScreenMode_.width), int(fullScreenMode_.height),
                           int(fullScreenMode_.refreshRate), nullptr};
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest)) SDL_SetWindowDisplayMode(host.window, &closest);
    // Without a window manager to obey the full-screen state the window covers the screen itself.
    SDL_SetWindowPosition(host.window, 0, 0);
    SDL_SetWindowSize(host.window, int(fullScreenMode_.width), int(fullScreenMode_.height));
    if (SDL_SetWindowFullscreen(host.window, SDL_WINDOW_FULLSCREEN) != 0)
        std::fprintf(stderr, "[machine] cannot go full screen: %s\n", SDL_GetError());
}

bool SdlDisplay::EnterFullScreen(const DisplayMode& mode) {
    fullScreenMode_ = mode;
    fullScreen_ = true;
    if (HostWindow* host = Main(); host && host->window) ApplyFullScreen(*host);
    return true;
}

void SdlDisplay::LeaveFullScreen() {
    if (!fullScreen_) return;
    fullScreen_ = false;
    HostWindow* host = Main();
    if (!host || !host->window) return;
    SDL_SetWindowFullscreen(host->window, 0);
    // Back on the desktop the window takes the size and place the layer gives it.
    SDL_SetWindowSize(host->window, host->width, host->height);
    SDL_SetWindowPosition(host->window, host->x, host->y);
}

void SdlDisplay::SetPointer(bool visible, const Frame* image, int32_t hotX, int32_t hotY) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    if (!visible) return;
    if (!image) {
        if (cursor_) SDL_FreeCursor(cursor_);
        cursor_ = nullptr;
        cursorPixels_.clear();
        SDL_SetCursor(SDL_GetDefaultCursor());
        return;
    }
    if (cursor_ && image->pixels == cursorPixels_) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(image->pixels.data()), int(image->width), int(image->height), 32,
        int(image->width * 4), SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    if (!cursor) return;
    SDL_SetCursor(cursor);
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = cursor;
    cursorPixels_ = image->pixels;
}

void SdlDisplay::Warp(int32_t x, int32_t y) { SDL_WarpMouseGlobal(x, y); }

void SdlDisplay::Confine(const ScreenRect* rect) {
    HostWindow* host = Main();
    confined_ = rect != nullptr;
    if (rect) confinement_ = *rect;
    if (!host || !host->window) return;
    if (!rect) {
        SDL_SetWindowMouseRect(host->window, nullptr);
        return;
    }
    // The confinement in the window's own coordinates, kept inside it.
    SDL_Rect r{rect->left - host->x, rect->top - host->y, rect->right - rect->left, rect->bottom - rect->top};
    SDL_Rect inside{0, 0, host->width, host->height};
    SDL_Rect both{};
    if (SDL_IntersectRect(&r, &inside, &both)) SDL_SetWindowMouseRect(host->window, &both);
}

void SdlDisplay::TranslateWindowEvent(uint64_t id, HostWindow& host, const SDL_WindowEvent& e) {
    const bool isMain = id == mainId_;
    switch (e.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (isMain && fullScreen_) break;
            if (e.data1 != host.width || e.data2 != host.height) {
                host.width = e.data1;
                host.height = e.data2;
                ScheduleWindow(id, WindowAction::Resize, e.data1, std::max(0, e.data2 - host.state.menuBarHeight));
            }
            break;
        case SDL_WINDOWEVENT_MOVED:
            if (isMain && fullScreen_) break;
            if (e.data1 != host.x || e.data2 != host.y) {
                host.x = e.data1;
                host.y = e.data2;
                ScheduleWindow(id, WindowAction::Move, e.data1, e.data2);
            }
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!host.state.minimized) ScheduleWindow(id, WindowAction::Minimize);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (!host.state.maximized) ScheduleWindow(id, WindowAction::Maximize);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (host.state.minimized || host.state.maximized) ScheduleWindow(id, WindowAction::Restore);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            if (isMain) closeRequested_ = true;
            ScheduleWindow(id, WindowAction::Close);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            ScheduleWindow(id, WindowAction::Activate);
            if (isMain && fullScreen_) ScheduleDevice(DeviceAction::Restore);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // A full-screen device loses its display with the foreground, until it comes back.
            if (isMain && fullScreen_) ScheduleDevice(DeviceAction::LoseUntilRestored);
            ScheduleWindow(id, WindowAction::Deactivate);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            Redraw(host);
            ScheduleWindow(id, WindowAction::Expose);
            break;
        default: break;
    }
}

void SdlDisplay::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // SIGINT or SIGTERM (SDL turns them into this event), or the last window closing: the main
            // window is closed as its close box would, once, so the program ends in its own way.
            if (mainId_ != 0 && !closeRequested_) {
                closeRequested_ = true;
                ScheduleWindow(mainId_, WindowAction::Close);
            }
            // Before there is a main window (a start-up failure's message box waits), the windows
            // there are closed as their close boxes would: a box answers as to Escape.
            if (mainId_ == 0)
                for (const auto& [id, host] : windows_)
                    if (host.state.visible) ScheduleWindow(id, WindowAction::Close);
            break;
        case SDL_WINDOWEVENT: {
            const uint64_t id = IdOf(event.window.windowID);
            if (HostWindow* host = Find(id)) TranslateWindowEvent(id, *host, event.window);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            KeyCodes codes;
            const bool numLock = (SDL_GetModState() & KMOD_NUM) != 0;
            if (!TranslateKey(event.key.keysym.scancode, numLock, codes)) break;
            InputEvent e;
            e.kind = InputKind::Key;
            e.virtualKey = codes.virtualKey;
            e.scanCode = codes.scanCode;
            e.keyAction = event.type == SDL_KEYDOWN ? KeyAction::Down : KeyAction::Up;
            e.hostWindow = IdOf(event.key.windowID);
            Schedule(e);
            break;
        }
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool motion = event.type == SDL_MOUSEMOTION;
            const uint64_t id = IdOf(motion ? event.motion.windowID : event.button.windowID);
            HostWindow* host = Find(id);
            if (!host) break;
            const int top = (id == mainId_ && fullScreen_) ? 0 : host->state.menuBarHeight;
            InputEvent move;
            move.kind = InputKind::MouseMove;
            move.hostWindow = id;
            move.x = motion ? event.motion.x : event.button.x;
            move.y = (motion ? event.motion.y : event.button.y) - top;
            Schedule(move);
            if (motion) break;
            InputEvent button;
            button.kind = InputKind::MouseButton;
            button.hostWindow = id;
            button.buttonDown = event.type == SDL_MOUSEBUTTONDOWN;
            if (event.button.button == SDL_BUTTON_LEFT) button.button = MouseButtonId::Left;
            else if (event.button.button == SDL_BUTTON_RIGHT) button.button = MouseButtonId::Right;
            else if (event.button.button == SDL_BUTTON_MIDDLE) button.button = MouseButtonId::Middle;
            else break;
            Schedule(button);
            break;
        }
        case SDL_MOUSEWHEEL: {
            InputEvent e;
            e.kind = InputKind::MouseWheel;
            e.hostWindow = IdOf(event.wheel.windowID);
            e.wheelDelta = event.wheel.y * 120;
            if (e.wheelDelta != 0) Schedule(e);
            break;
        }
        default: break;
    }
}

bool SdlDisplay::Pump(uint32_t waitMilliseconds) {
    SDL_Event event;
    bool any = false;
    if (waitMilliseconds > 0) {
        if (!SDL_WaitEventTimeout(&event, int(waitMilliseconds))) return false;
        Translate(event);
        any = true;
    }
    while (SDL_PollEvent(&event)) {
        Translate(event);
        any = true;
    }
    return any;
}

std::unique_ptr<detail::DisplayBackend> StartDisplay(std::string& reason) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason = SDL_GetError();
        return nullptr;
    }
    // SDL's drivers that show nothing (it takes "offscreen" when it finds no display): no one would see
    // the window, and the run would go on unseen until it is killed.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver == "offscreen" || driver == "dummy") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        reason = "there is no display: SDL's video has only its \"" + driver + "\" driver, which shows nothing";
        return nullptr;
    }
    return std::make_unique<SdlDisplay>();
}

}  // namespace machine::sdl

namespace machine::detail {
std::unique_ptr<DisplayBackend> StartSdlDisplay(std::string& reason) { return sdl::StartDisplay(reason); }
}  // namespace machine::detail
