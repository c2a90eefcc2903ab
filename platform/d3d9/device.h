// The device: the API front end. It validates and stores what the program sets, keeps reference counts,
// owns the back buffer and the automatic depth buffer, presents into the window on the machine and
// follows the platform's loss states. Drawing is handed to the pipeline.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device_state.h"
#include "direct3d.h"
#include "machine/machine.h"
#include "pipeline/draw_call.h"
#include "pipeline/draw_queue.h"
#include "pipeline/render_target.h"
#include "pipeline/states.h"
#include "presentation_params.h"
#include "state_record.h"

namespace d3d9 {

class ChildObject;
class Surface;

enum class LossState { Operational, Lost, Resettable };

struct DeviceCursor {
    bool set = false;
    UINT hotSpotX = 0, hotSpotY = 0;
    UINT width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, top-down
    bool shown = false;
    int x = 0, y = 0;
};

class Device final : public com::ComObject<IDirect3DDevice9, IID_IDirect3DDevice9> {
public:
    // Creation, validated against the profile (device_creation.cpp).
    static HRESULT Create(Direct3D* d3d, UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device);

    // Device core (device.cpp)
    HRESULT GetDirect3D(IDirect3D9** ppD3D9) override;
    HRESULT GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override;
    HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                          IDirect3DSurface9** ppBackBuffer) override;
    HRESULT GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;

    // Presentation (presentation.cpp), loss and Reset (device_loss.cpp), cursor (device_cursor.cpp)
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const void* pDirtyRegion) override;
    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
    HRESULT SetCursorProperties(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface9* pCursorBitmap) override;
    void SetCursorPosition(int X, int Y, DWORD Flags) override;
    BOOL ShowCursor(BOOL bShow) override;

    // Resources (device_resources.cpp)
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) override;
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                               IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle) override;
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle) override;
    HRESULT CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool,
                                        IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override;

    // State storage (device_state_calls.cpp)
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* pViewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* pViewport) override;
    HRESULT SetMaterial(const D3DMATERIAL9* pMaterial) override;
    HRESULT GetMaterial(D3DMATERIAL9* pMaterial) override;
    HRESULT SetLight(DWORD Index, const D3DLIGHT9* pLight) override;
    HRESULT GetLight(DWORD Index, D3DLIGHT9* pLight) override;
    HRESULT LightEnable(DWORD Index, BOOL Enable) override;
    HRESULT GetLightEnable(DWORD Index, BOOL* pEnable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) override;
    HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override;
    HRESULT SetFVF(DWORD FVF) override;
    HRESULT GetFVF(DWORD* pFVF) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* pShader) override;
    HRESULT GetVertexShader(IDirect3DVertexShader9** ppShader) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9* pShader) override;
    HRESULT GetPixelShader(IDirect3DPixelShader9** ppShader) override;
    // Bindings (device_bindings.cpp)
    HRESULT GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                            UINT Stride) override;
    HRESULT GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* pOffsetInBytes,
                            UINT* pStride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9** ppIndexData) override;

    // State blocks (device_state_blocks.cpp); drawing, the pipeline's work (device_drawing.cpp)
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) override;
    HRESULT BeginStateBlock() override;
    HRESULT EndStateBlock(IDirect3DStateBlock9** ppSB) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT MinVertexIndex,
                                 UINT NumVertices, UINT startIndex, UINT primCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount, const void* pVertexStreamZeroData,
                            UINT VertexStreamZeroStride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex, UINT NumVertices,
                                   UINT PrimitiveCount, const void* pIndexData, D3DFORMAT IndexDataFormat,
                                   const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) override;

    // ---- For the layer ----
    // A child gained its first outside reference (it now holds the device) or lost its last.
    void ChildReferenced(ChildObject* child);
    void ChildUnreferenced(ChildObject* child);

    const DeviceState& State() const { return state_; }
    LossState Loss() const { return loss_; }
    // A loss may end after some TestCooperativeLevel calls, or (a loss the input script made) once the
    // script has nothing left to deliver.
    void SetLoss(LossState loss, std::optional<unsigned> testsUntilResettable = std::nullopt,
                 bool endsWithScript = false);
    const DeviceCursor& Cursor() const { return cursor_; }
    HWND DeviceWindow() const;
    // Where drawing and clearing land: the back buffer, the depth buffer, the viewport and the queue.
    pipeline::RenderTarget Target() const;
    // The draws and clears waiting for the pipeline's workers.
    pipeline::DrawQueue& Queue() const { return queue_; }
    // Sets every state of the record on the device.
    void ApplyRecord(const StateRecord& record);

private:
    Device(Direct3D* d3d, UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags);
    ~Device() override;
    void Released(ULONG left) override;  // logs the call with the references left

    // Makes the swap chain (back buffer, depth buffer), the display mode and the default state for
    // validated parameters (device_setup.cpp).
    HRESULT ApplyPresentation(const ResolvedPresentation& resolved);
    void ReleaseSwapChain();
    void ClearBindings();
    // References to the device's surfaces or default-pool resources that must be released before Reset.
    bool HoldsVolatileReferences() const;
    void Describe() const;
    void DropRecording();
    // Hands a draw whose buffers are checked to the pipeline with the current state (device_drawing.cpp).
    HRESULT Submit(D3DPRIMITIVETYPE type, pipeline::DrawCall& call, UINT stride);
    // Brings the converted state up to date for a draw: converts again the halves a setter changed;
    // false, naming the state in `refused`, when the state asks for what the pipeline does not draw.
    bool UpdateDrawStates(std::string& refused);
    // A setter changed what the converted vertex or pixel state is made from.
    enum DirtyStates : unsigned { kVertexStatesDirty = 1, kPixelStatesDirty = 2 };
    void MarkDirty(unsigned which) { dirtyStates_ |= which; }
    // After a draw from the program's memory, stream 0 and the indices are unset.
    void UnsetUserStreams();
    // While a state block is recorded, setters store into it instead of the device's state.
    StateRecord* Recording() const { return recording_.get(); }

    Direct3D* d3d_;
    UINT adapter_;
    D3DDEVTYPE type_;
    HWND focusWindow_;
    DWORD behaviorFlags_;
    D3DPRESENT_PARAMETERS params_{};
    bool fullScreen_ = false;  // this device set the display's mode
    Surface* backBuffer_ = nullptr;
    Surface* depthStencil_ = nullptr;
    // Work queued for the surfaces above; flushed before their bytes are read, written or freed.
    mutable pipeline::DrawQueue queue_;
    std::set<ChildObject*> volatileChildren_;  // default-pool children with outside references
    DeviceState state_;
    // state_ as the pipeline takes it, kept between draws (see UpdateDrawStates).
    pipeline::VertexState vertexStates_;
    pipeline::PixelState pixelStates_;
    unsigned dirtyStates_ = kVertexStatesDirty | kPixelStatesDirty;
    bool statesWithDepth_ = false;  // pixelStates_ was converted for a target with a depth buffer
    bool inScene_ = false;
    LossState loss_ = LossState::Operational;
    std::optional<unsigned> testsUntilResettable_;
    bool lossEndsWithScript_ = false;
    DeviceCursor cursor_;
    machine::Frame frameBuffer_;  // Present fills it and swaps it with the frame the machine shows
    std::unique_ptr<StateRecord> recording_;
};

}  // namespace d3d9
