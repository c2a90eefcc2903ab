#include "state_block.h"

#include "call_log.h"
#include "device.h"

namespace d3d9 {

// State blocks must go before a Reset, as default-pool resources do.
StateBlock::StateBlock(Device* device, StateRecord record)
    : ChildObject(device, D3DPOOL_DEFAULT, false), record_(std::move(record)) {}

StateBlock::~StateBlock() { UnbindRecordObjects(record_); }

HRESULT StateBlock::GetDevice(IDirect3DDevice9** ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    OwnerDevice()->AddRef();
    *ppDevice = OwnerDevice();
    return D3D_OK;
}

HRESULT StateBlock::Capture() {
    LogCall("StateBlock::Capture");
    CaptureInto(record_, OwnerDevice()->State());
    return D3D_OK;
}

HRESULT StateBlock::Apply() {
    LogCall("StateBlock::Apply");
    OwnerDevice()->ApplyRecord(record_);
    return D3D_OK;
}

}  // namespace d3d9
