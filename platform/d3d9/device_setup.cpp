// Setting a device up for validated present parameters: the display mode, the back buffer, the automatic
// depth buffer and the default state. Creation and Reset both come here.
#include <new>

#include "child_object.h"
#include "d3d9/format_info.h"
#include "device.h"
#include "full_screen.h"
#include "surface.h"

namespace d3d9 {

namespace {
ChildObject* AsChild(IUnknown* object) { return object ? dynamic_cast<ChildObject*>(object) : nullptr; }
}  // namespace

HRESULT Device::ApplyPresentation(const ResolvedPresentation& resolved) {
    const D3DPRESENT_PARAMETERS& p = resolved.params;
    if (BytesPerPixel(p.BackBufferFormat) == 0 ||
        (p.EnableAutoDepthStencil && BytesPerPixel(p.AutoDepthStencilFormat) == 0))
        return D3DERR_NOTAVAILABLE;  // a profile offered a format the device cannot store

    const HWND window = p.hDeviceWindow ? p.hDeviceWindow : focusWindow_;
    if (!p.Windowed) {
        if (!EnterFullScreen(adapter_, resolved.fullScreenMode, window)) return D3DERR_NOTAVAILABLE;
        fullScreen_ = true;
    } else if (fullScreen_) {
        LeaveFullScreen(adapter_);
        fullScreen_ = false;
    }

    ReleaseSwapChain();
    try {
        SurfaceDesc color;
        color.width = p.BackBufferWidth;
        color.height = p.BackBufferHeight;
        color.format = p.BackBufferFormat;
        color.usage = D3DUSAGE_RENDERTARGET;
        color.multisample = p.MultiSampleType;
        color.multisampleQuality = p.MultiSampleQuality;
        color.lockable = (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
        backBuffer_ = new Surface(this, color, Surface::Owner::Device);
        if (p.EnableAutoDepthStencil) {
            SurfaceDesc depth = color;
            depth.format = p.AutoDepthStencilFormat;
            depth.usage = D3DUSAGE_DEPTHSTENCIL;
            depth.lockable = depth.format == D3DFMT_D16_LOCKABLE || depth.format == D3DFMT_D32F_LOCKABLE;
            depthStencil_ = new Surface(this, depth, Surface::Owner::Device);
        }
    } catch (const std::bad_alloc&) {
        ReleaseSwapChain();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    params_ = p;
    DropRecording();
    ClearBindings();
    ResetToDefaults(state_, p.EnableAutoDepthStencil != FALSE, p.BackBufferWidth, p.BackBufferHeight);
    MarkDirty(kVertexStatesDirty | kPixelStatesDirty);
    inScene_ = false;
    return D3D_OK;
}

void Device::ReleaseSwapChain() {
    queue_.Flush();  // queued work may still write the surfaces freed here
    if (backBuffer_) backBuffer_->DestroyOwned();
    if (depthStencil_) depthStencil_->DestroyOwned();
    backBuffer_ = nullptr;
    depthStencil_ = nullptr;
}

void Device::ClearBindings() {
    MarkDirty(kPixelStatesDirty);
    for (auto& texture : state_.textures) {
        if (ChildObject* child = AsChild(texture)) child->Unbind();
        texture = nullptr;
    }
    for (auto& stream : state_.streams) {
        if (ChildObject* child = AsChild(stream.buffer)) child->Unbind();
        stream = StreamBinding{};
    }
    if (ChildObject* child = AsChild(state_.indices)) child->Unbind();
    state_.indices = nullptr;
}

}  // namespace d3d9
