// The device cursor: SetCursorProperties copies the image (the device keeps no reference to the
// surface), ShowCursor answers the previous state, SetCursorPosition moves it. Present draws it.
#include "call_log.h"
#include "device.h"
#include "surface.h"

namespace d3d9 {

HRESULT Device::SetCursorProperties(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface9* pCursorBitmap) {
    LogCall("SetCursorProperties", XHotSpot, YHotSpot, static_cast<const void*>(pCursorBitmap));
    Surface* surface = pCursorBitmap ? dynamic_cast<Surface*>(pCursorBitmap) : nullptr;
    if (!surface || surface->OwnerDevice() != this || surface->Locked()) return D3DERR_INVALIDCALL;
    const SurfaceDesc& desc = surface->Desc();
    // An A8R8G8B8 image no larger than the display, with the hot spot on it.
    if (desc.format != D3DFMT_A8R8G8B8 || XHotSpot >= desc.width || YHotSpot >= desc.height ||
        desc.width > params_.BackBufferWidth || desc.height > params_.BackBufferHeight)
        return D3DERR_INVALIDCALL;
    cursor_.set = true;
    cursor_.hotSpotX = XHotSpot;
    cursor_.hotSpotY = YHotSpot;
    cursor_.width = desc.width;
    cursor_.height = desc.height;
    cursor_.pixels.resize(size_t(desc.width) * desc.height);
    for (UINT y = 0; y < desc.height; ++y)
        for (UINT x = 0; x < desc.width; ++x) cursor_.pixels[size_t(y) * desc.width + x] = surface->ReadArgb(x, y);
    return D3D_OK;
}

void Device::SetCursorPosition(int X, int Y, DWORD Flags) {
    LogCall("SetCursorPosition", X, Y, Flags);
    cursor_.x = X;
    cursor_.y = Y;
}

BOOL Device::ShowCursor(BOOL bShow) {
    LogCall("ShowCursor", bShow);
    const BOOL previous = cursor_.shown ? TRUE : FALSE;
    cursor_.shown = bShow != FALSE;
    return previous;
}

control::CursorRecord control::DeviceCursor(IDirect3DDevice9* device) {
    CursorRecord record;
    auto* d = dynamic_cast<Device*>(device);
    if (!d) return record;
    const d3d9::DeviceCursor& c = d->Cursor();
    record.set = c.set;
    record.hotSpotX = c.hotSpotX;
    record.hotSpotY = c.hotSpotY;
    record.width = c.width;
    record.height = c.height;
    record.pixels = c.pixels;
    record.shown = c.shown;
    record.x = c.x;
    record.y = c.y;
    return record;
}

}  // namespace d3d9
