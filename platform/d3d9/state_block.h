// A state block: a record of states that holds the device, captured from it and applied to it.
#pragma once

#include "child_object.h"
#include "com/com_object.h"
#include "state_record.h"

namespace d3d9 {

class StateBlock final : public com::InterfaceList<IDirect3DStateBlock9, IID_IDirect3DStateBlock9>, public ChildObject {
public:
    // Takes over a record whose objects are bound.
    StateBlock(Device* device, StateRecord record);

    ULONG AddRef() override { return AddChildReference(); }
    ULONG Release() override { return ReleaseChildReference(); }

    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
    HRESULT Capture() override;
    HRESULT Apply() override;

private:
    ~StateBlock() override;

    StateRecord record_;
};

}  // namespace d3d9
