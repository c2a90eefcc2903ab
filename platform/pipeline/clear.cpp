// Clear(): fills rectangles of the colour, depth and stencil surfaces within the drawable area.
#include <algorithm>
#include <cstring>

#include "pipeline/pipeline.h"
#include "queue/draw_queue.h"

namespace pipeline {

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return r.right > r.left && r.bottom > r.top ? r : Rect{};
}

void FillRow(uint8_t* row, int left, int right, int bytes, uint32_t value, uint32_t keepMask) {
    if (bytes == 4 && !keepMask && (reinterpret_cast<uintptr_t>(row) & 3) == 0) {
        std::fill(reinterpret_cast<uint32_t*>(row) + left, reinterpret_cast<uint32_t*>(row) + right, value);
        return;
    }
    if (bytes == 4 && (reinterpret_cast<uintptr_t>(row) & 3) == 0) {
        uint32_t* p = reinterpret_cast<uint32_t*>(row);
        for (int x = left; x < right; ++x) p[x] = (p[x] & keepMask) | (value & ~keepMask);
        return;
    }
    for (int x = left; x < right; ++x) {
        uint8_t* p = row + static_cast<size_t>(x) * bytes;
        if (bytes == 2) {
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
        } else {
            uint32_t v = value;
            if (keepMask) {
                uint32_t old;
                std::memcpy(&old, p, 4);
                v = (old & keepMask) | (value & ~keepMask);
            }
            std::memcpy(p, &v, 4);
        }
    }
}

}  // namespace

void ClearRows(const ClearCommand& c, int top, int bottom) {
    const ColorSurface& color = c.target.color;
    const DepthSurface& depth = c.target.depth;
    const int colorBytes = BytesPerPixel(color.format), depthBytes = BytesPerPixel(depth.format);
    for (const Rect& rect : c.rects) {
        const int y0 = std::max(rect.top, top), y1 = std::min(rect.bottom, bottom);
        if (y0 >= y1) continue;
        const Rect d = Intersect(rect, c.depthArea);
        for (int y = y0; y < y1; ++y) {
            if (c.color)
                FillRow(color.data + static_cast<size_t>(y) * color.pitch, rect.left, rect.right, colorBytes,
                        c.colorValue, 0);
            if (c.depth && d.right > d.left && y >= d.top && y < d.bottom)
                FillRow(depth.data + static_cast<size_t>(y) * depth.pitch, d.left, d.right, depthBytes, c.depthValue,
                        c.depthKeep);
        }
    }
}

void Clear(RenderTarget& target, const Rect* rects, int rectCount, uint32_t flags, uint32_t argb, float z,
           uint32_t stencil) {
    const Rect area = DrawableArea(target);
    const ColorSurface& color = target.color;
    const DepthSurface& depth = target.depth;
    const bool clearColor = (flags & kClearColor) && color.data &&
                            color.pitch >= color.width * BytesPerPixel(color.format);
    const bool hasDepth = depth.data && depth.format != DepthFormat::None &&
                          depth.pitch >= depth.width * BytesPerPixel(depth.format);
    const bool clearDepth = (flags & kClearDepth) && hasDepth;
    const bool clearStencil = (flags & kClearStencil) && hasDepth && depth.format == DepthFormat::D24S8;
    if (!clearColor && !clearDepth && !clearStencil) return;

    ClearCommand c;
    c.target = target;
    c.color = clearColor;
    c.depth = clearDepth || clearStencil;
    c.colorValue = FromArgb8(color.format, argb);
    c.depthValue = PackDepth(depth.format, z);
    if (depth.format == DepthFormat::D24X8 || depth.format == DepthFormat::D24S8) {
        c.depthValue = c.depthValue << 8 | (stencil & 0xFF);
        c.depthKeep = clearDepth ? (clearStencil ? 0u : 0xFFu) : 0xFFFFFF00u;
    }
    c.depthArea = Intersect(area, {0, 0, depth.width, depth.height});
    const int count = rectCount > 0 && rects ? rectCount : 1;
    for (int r = 0; r < count; ++r) {
        const Rect rect = rectCount > 0 && rects ? Intersect(rects[r], area) : area;
        if (rect.right > rect.left) c.rects.push_back(rect);
    }
    if (c.rects.empty()) return;

    const int threads = ThreadCount();
    if (!target.queue) {
        ClearRows(c, 0, area.bottom);
        return;
    }
    QueuedWork& queue = target.queue->Work();
    std::lock_guard<std::mutex> lock(queue.mutex);
    if (threads <= 1 || queue.OtherTarget(target) || queue.Full()) queue.Run();
    if (threads > 1) {
        // Queued: the clear runs band by band just before the draws that follow it.
        queue.AddClear(std::move(c), threads);
        return;
    }
    ClearRows(c, 0, area.bottom);
}

}  // namespace pipeline
