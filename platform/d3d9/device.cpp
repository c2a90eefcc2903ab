// The device's lifetime, references and the plain queries: the Direct3D object, caps, display mode,
// creation parameters, the back buffer and depth buffer with the target that drawing and clearing land
// in, and the scene brackets.
#include "device.h"

#include "call_log.h"
#include "child_object.h"
#include "device_registry.h"
#include "device_stats.h"
#include "full_screen.h"
#include "live_objects.h"
#include "surface.h"

namespace d3d9 {

Device::Device(Direct3D* d3d, UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags)
    : d3d_(d3d), adapter_(adapter), type_(type), focusWindow_(focusWindow), behaviorFlags_(behaviorFlags) {
    d3d_->AddRef();
    CountObjectCreated();
    RegisterDevice(this);
}

Device::~Device() {
    DropRecording();
    ClearBindings();
    ReleaseSwapChain();
    if (fullScreen_) LeaveFullScreen(adapter_);
    UnregisterDevice(this);
    CountObjectDestroyed();
    d3d_->Release();
}

void Device::Released(ULONG left) { LogCall("Release", left); }

void Device::ChildReferenced(ChildObject* child) {
    AddRef();
    if (child->Pool() == D3DPOOL_DEFAULT) volatileChildren_.insert(child);
}

void Device::ChildUnreferenced(ChildObject* child) { volatileChildren_.erase(child); }

bool Device::HoldsVolatileReferences() const { return !volatileChildren_.empty(); }

HWND Device::DeviceWindow() const { return params_.hDeviceWindow ? params_.hDeviceWindow : focusWindow_; }

void Device::SetLoss(LossState loss, std::optional<unsigned> testsUntilResettable, bool endsWithScript) {
    loss_ = loss;
    testsUntilResettable_ = loss == LossState::Lost ? testsUntilResettable : std::nullopt;
    lossEndsWithScript_ = loss == LossState::Lost && endsWithScript;
}

HRESULT Device::GetDirect3D(IDirect3D9** ppD3D9) {
    LogCall("GetDirect3D");
    if (!ppD3D9) return D3DERR_INVALIDCALL;
    d3d_->AddRef();
    *ppD3D9 = d3d_;
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* pCaps) {
    LogCall("GetDeviceCaps");
    if (!pCaps) return D3DERR_INVALIDCALL;
    *pCaps = d3d_->Caps(adapter_, type_);
    return D3D_OK;
}

HRESULT Device::GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) {
    LogCall("GetDisplayMode", iSwapChain);
    if (iSwapChain != 0 || !pMode) return D3DERR_INVALIDCALL;
    *pMode = d3d_->CurrentMode(adapter_);
    return D3D_OK;
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) {
    LogCall("GetCreationParameters");
    if (!pParameters) return D3DERR_INVALIDCALL;
    *pParameters = {adapter_, type_, focusWindow_, behaviorFlags_};
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                              IDirect3DSurface9** ppBackBuffer) {
    LogCall("GetBackBuffer", iSwapChain, iBackBuffer, Type);
    if (!ppBackBuffer) return D3DERR_INVALIDCALL;
    *ppBackBuffer = nullptr;
    if (iSwapChain != 0 || iBackBuffer != 0 || Type != D3DBACKBUFFER_TYPE_MONO) return D3DERR_INVALIDCALL;
    backBuffer_->AddRef();
    *ppBackBuffer = backBuffer_;
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) {
    LogCall("GetRenderTarget", RenderTargetIndex);
    if (!ppRenderTarget) return D3DERR_INVALIDCALL;
    *ppRenderTarget = nullptr;
    if (RenderTargetIndex != 0) return D3DERR_NOTFOUND;
    backBuffer_->AddRef();
    *ppRenderTarget = backBuffer_;
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) {
    LogCall("GetDepthStencilSurface");
    if (!ppZStencilSurface) return D3DERR_INVALIDCALL;
    *ppZStencilSurface = nullptr;
    if (!depthStencil_) return D3DERR_NOTFOUND;
    depthStencil_->AddRef();
    *ppZStencilSurface = depthStencil_;
    return D3D_OK;
}

pipeline::RenderTarget Device::Target() const {
    pipeline::RenderTarget target;
    target.color = backBuffer_->ColorView();
    if (depthStencil_) target.depth = depthStencil_->DepthView();
    const D3DVIEWPORT9& vp = state_.viewport;
    target.viewport = {int(vp.X), int(vp.Y), int(vp.Width), int(vp.Height), vp.MinZ, vp.MaxZ};
    // The interface has no scissor rectangle: the scissor test, when on, keeps to the whole target.
    target.scissorEnabled = false;
    target.queue = &queue_;
    return target;
}

HRESULT Device::BeginScene() {
    LogCall("BeginScene");
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    LogCall("EndScene");
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

void Device::Describe() const {
    control::DeviceDescription d;
    d.exists = true;
    d.type = control::DeviceTypeName(type_);
    d.windowed = params_.Windowed != FALSE;
    d.adapter = adapter_;
    d.width = params_.BackBufferWidth;
    d.height = params_.BackBufferHeight;
    d.format = control::FormatName(params_.BackBufferFormat);
    d.depthFormat = params_.EnableAutoDepthStencil ? control::FormatName(params_.AutoDepthStencilFormat) : "none";
    switch (params_.PresentationInterval) {
    case D3DPRESENT_INTERVAL_IMMEDIATE: d.presentInterval = "IMMEDIATE"; break;
    case D3DPRESENT_INTERVAL_ONE: d.presentInterval = "ONE"; break;
    case D3DPRESENT_INTERVAL_TWO: d.presentInterval = "TWO"; break;
    case D3DPRESENT_INTERVAL_THREE: d.presentInterval = "THREE"; break;
    case D3DPRESENT_INTERVAL_FOUR: d.presentInterval = "FOUR"; break;
    default: d.presentInterval = "DEFAULT"; break;
    }
    RecordDevice(d);
}

}  // namespace d3d9
