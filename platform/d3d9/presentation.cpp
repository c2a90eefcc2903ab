// Present: the back buffer is copied into the window's client area on the machine, stretched when the
// sizes differ, with the device cursor drawn over it while shown. Full screen, the frame is the display.
#include <algorithm>
#include <vector>

#include "call_log.h"
#include "device.h"
#include "device_window.h"
#include "draw_stats.h"
#include "machine/machine.h"
#include "surface.h"

namespace d3d9 {

namespace {

bool InsideRect(const RECT& r, LONG width, LONG height) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= width &&
           r.bottom <= height;
}

// Nearest-texel stretch of the source rectangle of the back buffer into the destination rectangle,
// opaque (the window shows no alpha). Rows that keep their width are read straight into the frame.
void Stretch(const Surface& source, const RECT& from, machine::Frame& frame, const RECT& to) {
    const LONG srcW = from.right - from.left, srcH = from.bottom - from.top;
    const LONG dstW = to.right - to.left, dstH = to.bottom - to.top;
    const LONG firstX = std::max<LONG>(to.left, 0), endX = std::min<LONG>(to.right, LONG(frame.width));
    if (firstX >= endX) return;
    const bool sameWidth = srcW == dstW;
    std::vector<uint32_t> row, columns;
    if (!sameWidth) {
        row.resize(static_cast<size_t>(srcW));
        // The source column of each destination column, worked out once.
        columns.resize(size_t(endX - firstX));
        for (LONG dx = firstX; dx < endX; ++dx)
            columns[size_t(dx - firstX)] = uint32_t((int64_t(2 * (dx - to.left) + 1) * srcW) / (2 * int64_t(dstW)));
    }
    LONG loadedRow = -1;
    for (LONG dy = std::max<LONG>(to.top, 0); dy < std::min<LONG>(to.bottom, LONG(frame.height)); ++dy) {
        const LONG sy = from.top + LONG((int64_t(2 * (dy - to.top) + 1) * srcH) / (2 * int64_t(dstH)));
        uint32_t* out = frame.pixels.data() + size_t(dy) * frame.width;
        if (sameWidth) {
            source.ReadRowOpaque(UINT(from.left + (firstX - to.left)), UINT(sy), UINT(endX - firstX), out + firstX);
            continue;
        }
        if (sy != loadedRow) {
            source.ReadRowOpaque(UINT(from.left), UINT(sy), UINT(srcW), row.data());
            loadedRow = sy;
        }
        for (LONG dx = firstX; dx < endX; ++dx) out[dx] = row[columns[size_t(dx - firstX)]];
    }
}

uint32_t Blend(uint32_t over, uint32_t under) {
    const uint32_t a = over >> 24;
    auto channel = [&](int shift) {
        const uint32_t o = (over >> shift) & 0xFF, u = (under >> shift) & 0xFF;
        return ((o * a + u * (255 - a) + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// The cursor's hot spot at (x, y) in frame coordinates.
void DrawCursor(const DeviceCursor& cursor, int x, int y, machine::Frame& frame) {
    const int left = x - int(cursor.hotSpotX), top = y - int(cursor.hotSpotY);
    for (UINT j = 0; j < cursor.height; ++j) {
        const int fy = top + int(j);
        if (fy < 0 || fy >= int(frame.height)) continue;
        for (UINT i = 0; i < cursor.width; ++i) {
            const int fx = left + int(i);
            if (fx < 0 || fx >= int(frame.width)) continue;
            uint32_t& pixel = frame.pixels[size_t(fy) * frame.width + size_t(fx)];
            pixel = Blend(cursor.pixels[size_t(j) * cursor.width + i], pixel);
        }
    }
}

}  // namespace

HRESULT Device::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                        const void* pDirtyRegion) {
    LogCall("Present", static_cast<const void*>(pSourceRect), static_cast<const void*>(pDestRect),
            static_cast<const void*>(hDestWindowOverride), pDirtyRegion);
    if (inScene_) return D3DERR_INVALIDCALL;
    if (loss_ != LossState::Operational) return D3DERR_DEVICELOST;
    // Rectangles belong to the copy swap effect; another window only to windowed use.
    if ((pSourceRect || pDestRect) && params_.SwapEffect != D3DSWAPEFFECT_COPY) return D3DERR_INVALIDCALL;
    if (hDestWindowOverride && !params_.Windowed) return D3DERR_INVALIDCALL;
    const HWND window = hDestWindowOverride ? hDestWindowOverride : DeviceWindow();
    if (!WindowExists(window)) return D3DERR_INVALIDCALL;

    const Surface& source = *backBuffer_;
    const LONG bbW = LONG(source.Desc().width), bbH = LONG(source.Desc().height);
    LONG frameW = bbW, frameH = bbH;
    if (params_.Windowed) {
        const SIZE client = ClientSize(window);
        frameW = std::max<LONG>(client.cx, 0);
        frameH = std::max<LONG>(client.cy, 0);
    }
    const RECT from = pSourceRect ? *pSourceRect : RECT{0, 0, bbW, bbH};
    const RECT to = pDestRect ? *pDestRect : RECT{0, 0, frameW, frameH};
    if (!InsideRect(from, bbW, bbH) || to.left >= to.right || to.top >= to.bottom) return D3DERR_INVALIDCALL;

    if (frameW > 0 && frameH > 0) {
        // The frame is filled in the device's own buffer, which then changes places with the one the
        // machine shows. A copy into part of the window keeps what the window showed elsewhere.
        machine::Frame& frame = frameBuffer_;
        const machine::Frame* last = machine::LastFrame();
        const bool sized = frame.width == UINT(frameW) && frame.height == UINT(frameH) &&
                           frame.pixels.size() == size_t(frameW) * size_t(frameH);
        if (pDestRect && last && last->width == UINT(frameW) && last->height == UINT(frameH)) {
            frame = *last;
        } else if (pDestRect || !sized) {
            frame.width = UINT(frameW);
            frame.height = UINT(frameH);
            frame.pixels.assign(size_t(frameW) * size_t(frameH), 0xFF000000u);
        }
        if (!pSourceRect && !pDestRect && frameW == bbW && frameH == bbH) {
            // The whole back buffer, unstretched: the frame's queued draws and clears run, and every
            // band of rows is copied by the thread that drew it, as soon as it is done.
            uint32_t* pixels = frame.pixels.data();
            Queue().FlushAndRead(int(bbH), [&source, pixels, bbW](int top, int bottom) {
                for (int y = top; y < bottom; ++y)
                    source.ReadFinishedRowOpaque(0, UINT(y), UINT(bbW), pixels + size_t(y) * size_t(bbW));
            });
        } else {
            source.WaitForPipeline();  // the frame's draws and clears may still be queued
            Stretch(source, from, frame, to);
        }
        if (cursor_.set && cursor_.shown) {
            POINT at{cursor_.x, cursor_.y};
            if (params_.Windowed) {
                const POINT origin = ClientOrigin(window);
                at.x -= origin.x;
                at.y -= origin.y;
            }
            DrawCursor(cursor_, at.x, at.y, frame);
        }
        frame.waitForRefresh = params_.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
        machine::ShowFrameSwapped(frame);
    }
    machine::FramePresented();
    CountFrame();
    return D3D_OK;
}

}  // namespace d3d9
