// The pixels GDI draws into windows, one surface a window, kept by handle.
#include <algorithm>
#include <map>

#include "gdi/window_surfaces.h"
#include "machine/control.h"
#include "user/window_objects.h"

namespace gdi {
namespace {

std::map<HWND, Bitmap>& Surfaces() {
    static std::map<HWND, Bitmap> surfaces;
    static bool registered = (machine::control::AtReset([] { Surfaces().clear(); }), true);
    (void)registered;
    return surfaces;
}

uint32_t BackgroundColour(const user::Window& window) {
    if (!window.windowClass) return 0;
    auto brush = FindObjectAs<Brush>(window.windowClass->background);
    if (!brush || brush->hollow) return 0;
    // COLORREF is 0x00BBGGRR; pixels are 0x00RRGGBB.
    return (GetRValue(brush->color) << 16) | (GetGValue(brush->color) << 8) | GetBValue(brush->color);
}

}  // namespace

Bitmap* WindowSurface(HWND handle) {
    auto& surfaces = Surfaces();
    // Surfaces of windows that have gone are dropped as they are noticed.
    std::erase_if(surfaces, [](const auto& entry) { return !user::FindWindowObject(entry.first); });
    auto window = user::FindWindowObject(handle);
    if (!window) return nullptr;
    const int width = std::max(0L, static_cast<long>(window->clientRect.right - window->clientRect.left));
    const int height = std::max(0L, static_cast<long>(window->clientRect.bottom - window->clientRect.top));
    auto [entry, made] = surfaces.try_emplace(handle);
    Bitmap& surface = entry->second;
    if (made || surface.width != width || surface.height != height) {
        const uint32_t background = BackgroundColour(*window);
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, background);
        for (int y = 0; y < std::min(height, surface.height); ++y)
            for (int x = 0; x < std::min(width, surface.width); ++x)
                pixels[static_cast<size_t>(y) * width + x] = surface.pixels[static_cast<size_t>(y) * surface.width + x];
        surface.width = width;
        surface.height = height;
        surface.bitsPerPixel = 32;
        surface.pixels = std::move(pixels);
    }
    return &surface;
}

bool ReadWindowSurface(HWND window, machine::Frame& frame) {
    if (!user::FindWindowObject(window)) return false;
    auto found = Surfaces().find(window);
    if (found == Surfaces().end()) return false;
    frame.width = static_cast<uint32_t>(found->second.width);
    frame.height = static_cast<uint32_t>(found->second.height);
    frame.pixels = found->second.pixels;
    return true;
}

}  // namespace gdi
